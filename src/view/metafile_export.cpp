#include "view/metafile_export.h"

#include "view/emf_canvas.h"
#include "view/layer_passes.h"
#include "view/main_view_paint.h"

namespace plavesk {

CanvasMapping metafileMapping(const TViewState& view) {
  CanvasMapping m = zoomMapping(view.zoom());
  m.viewportOrgX = -view.scrollX();
  m.viewportOrgY = -view.scrollY();
  return m;
}

void drawMetafilePicture(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                         const TRenderSettings& baseSettings, bool selectionOnly,
                         const TTemplateImages& templates) {
  TRenderSettings settings = baseSettings;
  settings.selectionShown = false;
  if (!selectionOnly) {
    drawBoardBackground(canvas, state, settings, 1);
    drawGroundPlane(list, canvas, state, settings);
    if (!settings.photoView) drawTemplate(canvas, state, settings, templates);
  }
  drawElements(list, canvas, state, settings, selectionOnly);
}

std::vector<uint8_t> exportMetafile(const TObjektList& list, const TBoardRecord& state,
                                    const TViewState& view, const TRenderSettings& settings,
                                    bool selectionOnly, const TTemplateImages& templates) {
  EmfCanvas canvas(view.surfaceWidth(), view.surfaceHeight());
  canvas.setMapping(metafileMapping(view));
  canvas.setClip({-view.scrollX(), -view.scrollY(), view.surfaceWidth() - view.scrollX(),
                  view.surfaceHeight() - view.scrollY()});
  drawMetafilePicture(list, canvas, state, settings, selectionOnly, templates);
  return canvas.finish();
}

}  // namespace plavesk
