// Paste placement: the clipboard follows the pointer with the centre of its
// box on the snapped pointer; a click places it as one undo step and the
// editor returns to edit mode.
#include "editing/editor.h"
#include "editing/tools/edit_move.h"
#include "editing/tools/edit_tool.h"
#include "editing/tools/tool_manager.h"
#include "view/units.h"

namespace plavesk {
namespace {

class TPasteTool : public TTool {
 public:
  explicit TPasteTool(TToolManager& m) : TTool(m), preview_(m) {}

  void enter() override {
    TToolState& st = m_.state();
    const TObjektList& clip = m_.editor().clipboard();
    preview_.prepare(clip, true);
    TRect box;
    for (const auto& e : clip)
      if (auto outline = elementOutline(*e)) box = unite(box, toRect(outline->boundingBox()));
    st.selectionBounds = box;
    // The box's centre is the point the pointer carries.
    const TPoint centre{int32_t(box.left + (int64_t(box.right) - box.left) / 2),
                        int32_t(box.top + (int64_t(box.bottom) - box.top) / 2)};
    st.anchor = snapToGrid(centre, m_.editor().working().grid);
  }

  void leave() override { preview_.clear(); }

  TToolResult move(const TInputEvent& event) override {
    TToolState& st = m_.state();
    const TPoint s = m_.pointerAt(event);
    if (s == st.current && m_.feedbackVisible(TFeedbackKind::movePreview))
      return TToolResult::handled;
    st.current = s;
    preview_.show(event.ctrl);
    return TToolResult::handled;
  }

  // placeClipboard: the block goes where the preview showed it; a click
  // without a move before places it under the pointer all the same.
  TToolResult press(const TInputEvent& event) override {
    TToolState& st = m_.state();
    if (!m_.feedbackVisible(TFeedbackKind::movePreview)) move(event);
    const TPoint offset = st.moveOffset;
    preview_.clear();
    TEditor& editor = m_.editor();
    const size_t first = editor.elements().size();
    const bool placed = editor.paste(offset.x, offset.y);
    m_.backToEditMode();
    // The placed block stays selected, ready to be moved on, although the
    // switch to edit mode clears the selection.
    if (placed) {
      for (size_t i = first; i < editor.elements().size(); ++i)
        editor.setSelected(*editor.elements()[i], true);
      editor.commandStatesChanged();
    }
    return TToolResult::changed;
  }

  TToolResult rightClick(const TInputEvent&) override {
    m_.eraseAllFeedback();
    m_.backToEditMode();
    return TToolResult::handled;
  }

 private:
  TMovePreview preview_;
};

}  // namespace

std::unique_ptr<TTool> makePasteTool(TToolManager& manager) {
  return std::make_unique<TPasteTool>(manager);
}

}  // namespace plavesk
