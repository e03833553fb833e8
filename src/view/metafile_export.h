// The vector picture of the board (menu "EMF") and of the selection (the
// picture that Copy puts on the clipboard): the main view's mapping at the
// current zoom, without mirroring.
#pragma once

#include <cstdint>
#include <vector>

#include "document/board.h"
#include "platform/core/canvas.h"
#include "view/main_view_paint.h"
#include "view/render_settings.h"
#include "view/view_state.h"

namespace plavesk {

// The main view's mapping with the paint surface's current position
// (scrolled) as viewport origin and no mirroring.
CanvasMapping metafileMapping(const TViewState& view);

// Draws the picture on a canvas whose mapping is installed: with
// `selectionOnly` just the selected elements and their holes, otherwise
// background, ground plane, template and every element. Nothing is drawn in
// the selection look; the selection is kept.
void drawMetafilePicture(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                         const TRenderSettings& settings, bool selectionOnly,
                         const TTemplateImages& templates = {});

// The enhanced metafile of that picture.
std::vector<uint8_t> exportMetafile(const TObjektList& list, const TBoardRecord& state,
                                    const TViewState& view, const TRenderSettings& settings,
                                    bool selectionOnly, const TTemplateImages& templates = {});

}  // namespace plavesk
