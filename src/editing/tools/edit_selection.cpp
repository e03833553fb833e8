#include "editing/tools/edit_selection.h"

#include <utility>

#include "editing/editor.h"
#include "editing/tools/tool_manager.h"
#include "view/layer_visibility.h"

namespace plavesk {

void clickSelect(TEditor& editor, int hit, bool shift) {
  if (hit < 0) {
    if (!shift) editor.deselectAll();
    return;
  }
  TObjekt& e = *editor.elements()[hit];
  if (!e.selected && !shift) editor.deselectAll();
  if (shift)
    editor.setSelected(e, !e.selected);
  else if (isLayerVisible(editor.working(), e.layer))
    editor.setSelected(e, true);
}

void dragSelectionFrame(TToolManager& m, TPoint q) {
  TToolState& st = m.state();
  m.hideFeedback(TFeedbackKind::selectionFrame);
  st.current = q;
  TFeedback frame{TFeedbackKind::selectionFrame, {}};
  TFeedbackFigure& f = frame.figures.emplace_back();
  f.shape = TFeedbackFigure::frame;
  f.mode = TFeedbackFigure::notXor;
  f.colour = 0x0000FF;
  f.points = {st.anchor, st.current};
  m.showFeedback(std::move(frame));
}

}  // namespace plavesk
