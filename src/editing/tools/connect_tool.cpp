// The connection tool: the pad under the pointer is highlighted, a click
// picks the first pad, a dotted line follows the pointer from its centre,
// and a click on a second pad adds the band between them or, when it
// exists, removes it. The right button drops the first pad, or leaves.
#include "editing/connections.h"
#include "editing/editor.h"
#include "editing/element_at.h"
#include "editing/tools/connection_tools.h"
#include "editing/tools/tool_manager.h"

namespace plavesk {
namespace {

class TConnectTool : public TTool {
 public:
  using TTool::TTool;

  void enter() override {
    TToolState& st = m_.state();
    st.connectFirstPad = st.connectHoverPad = -1;
    m_.editor().discardContours();
  }

  void leave() override {
    unhighlight();
    TToolState& st = m_.state();
    st.connectFirstPad = st.connectHoverPad = -1;
  }

  TToolResult move(const TInputEvent& e) override {
    TToolState& st = m_.state();
    TEditor& editor = m_.editor();
    m_.hideFeedback(TFeedbackKind::connectionLine);
    const TObjektList& list = editor.elements();
    const TPoint world = m_.worldAt(e.pixel, false);
    const int i = elementAt(list, editor.working(), world, true);
    const int before = st.connectHoverPad;
    if (i < 0 || !canConnect(*list[size_t(i)])) {
      unhighlight();
    } else if (i != st.connectHoverPad) {
      unhighlight();
      TObjekt& pad = *list[size_t(i)];
      // The flag alone: the pad is drawn in the selection look, its group
      // and through-pad partner are not.
      pad.selected = 1;
      editor.invalidate(pad);
      st.connectHoverPad = i;
    }
    // The highlight is a selection: the fields and commands that follow the
    // selection must not go on showing a pad the pointer has left.
    if (st.connectHoverPad != before) editor.commandStatesChanged();
    if (const TObjekt* first = pad(st.connectFirstPad)) {
      st.current = world;
      TFeedback line{TFeedbackKind::connectionLine, {}};
      TFeedbackFigure& f = line.figures.emplace_back();
      f.shape = TFeedbackFigure::dottedLine;
      f.colour = 0xFF0000;  // blue
      f.points = {{first->x, first->y}, world};
      m_.showFeedback(std::move(line));
    }
    return TToolResult::handled;
  }

  TToolResult press(const TInputEvent&) override {
    TToolState& st = m_.state();
    TEditor& editor = m_.editor();
    TObjekt* hovered = pad(st.connectHoverPad);
    TObjekt* first = pad(st.connectFirstPad);
    if (!first) {
      if (hovered) st.connectFirstPad = st.connectHoverPad;
      return TToolResult::handled;
    }
    if (!hovered || hovered == first) return TToolResult::handled;
    editor.takeSnapshot();
    m_.hideFeedback(TFeedbackKind::connectionLine);
    // Removing a band repaints where it was already; a new band lies
    // anywhere between its pads.
    if (toggleConnection(editor, *first, *hovered)) editor.repaint();
    st.connectFirstPad = -1;
    editor.commandStatesChanged();
    return TToolResult::changed;
  }

  TToolResult release(const TInputEvent&) override {
    m_.state().inProgress = false;
    return TToolResult::handled;
  }

  TToolResult rightClick(const TInputEvent&) override {
    if (!m_.feedbackVisible(TFeedbackKind::connectionLine)) return TToolResult::ignored;
    m_.hideFeedback(TFeedbackKind::connectionLine);
    m_.state().connectFirstPad = -1;
    return TToolResult::handled;
  }

  TCursor cursor() const override { return TCursor::connect; }

 private:
  // The pad at a remembered position, while it still is one (an undo may
  // have replaced the list meanwhile).
  TObjekt* pad(int index) const {
    const TObjektList& list = m_.editor().elements();
    if (index < 0 || size_t(index) >= list.size()) return nullptr;
    TObjekt& e = *list[size_t(index)];
    return canConnect(e) ? &e : nullptr;
  }

  void unhighlight() {
    TToolState& st = m_.state();
    if (TObjekt* old = pad(st.connectHoverPad)) {
      // The first pad keeps no highlight of its own once the pointer left it.
      old->selected = 0;
      m_.editor().invalidate(*old);
    }
    st.connectHoverPad = -1;
  }
};

}  // namespace

std::unique_ptr<TTool> makeConnectTool(TToolManager& manager) {
  return std::make_unique<TConnectTool>(manager);
}

}  // namespace plavesk
