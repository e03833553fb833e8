// The picture Copy and the EMF export put on the system clipboard: the
// enhanced metafile of the export, and for the other programs of the desktop
// the same drawing as SVG and as a PNG image.
#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

#include "document/board.h"
#include "platform/core/canvas.h"
#include "view/main_view_paint.h"
#include "view/render_settings.h"
#include "view/view_state.h"

class QMimeData;

namespace plavesk {

// The clipboard's images are at most this many pixels wide and high; larger
// pictures are drawn smaller.
constexpr int kClipboardImageMaxSide = 4096;

// A device frame around a world rectangle at `pixelsPerUnit`, reduced so
// neither side exceeds `maxSide` pixels.
struct TPictureFrame {
  CanvasMapping mapping;
  int32_t width = 0;
  int32_t height = 0;
};
TPictureFrame pictureFrame(const TRect& world, double pixelsPerUnit, int32_t maxSide);

struct TClipboardPicture {
  std::vector<uint8_t> emf;
  std::vector<uint8_t> svg;
  QImage image;  // transparent where nothing is drawn
};

// The metafile of the export (main view mapping at the current zoom) and the
// SVG and image of the same drawing cut to the board or, with
// `selectionOnly`, to the selected elements. The selection is kept.
TClipboardPicture makeClipboardPicture(TObjektList& list, const TBoardRecord& state,
                                       const TViewState& view, const TRenderSettings& settings,
                                       bool selectionOnly, const TTemplateImages& templates);

// "image/emf", "image/svg+xml" and "image/png" (with the image itself).
QMimeData* clipboardMimeData(const TClipboardPicture& picture);
void putOnClipboard(const TClipboardPicture& picture);

}  // namespace plavesk
