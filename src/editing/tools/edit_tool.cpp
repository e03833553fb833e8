#include "editing/tools/edit_tool.h"

#include "editing/editor.h"
#include "editing/element_at.h"
#include "editing/tools/edit_move.h"
#include "editing/tools/edit_node_drag.h"
#include "editing/tools/edit_selection.h"
#include "editing/tools/tool_manager.h"

namespace plavesk {

const std::vector<std::string>& contextMenuIds() {
  static const std::vector<std::string> ids = {
      "edit.copy",
      "edit.cut",
      "edit.paste",
      "edit.duplicate",
      "edit.delete",
      "",
      "fn.rotate",
      "fn.mirrorH",
      "fn.mirrorV",
      "",
      "fn.changeSide",
      "fn.setLayer>",
      "fn.setLayer1",
      "fn.setLayer2",
      "fn.setLayer3",
      "fn.setLayer4",
      "<",
      "",
      "fn.group",
      "fn.ungroup",
      "",
      "fn.segment",
      "",
      "view.setOrigin",
  };
  return ids;
}

const std::vector<std::string>& nodeMenuIds() {
  static const std::vector<std::string> ids = {"node.remove", "node.add", "node.snap",
                                               "node.split"};
  return ids;
}

namespace {

bool hasNodes(const TObjekt& e) {
  return e.kind == kArea || e.kind == kCircle || e.kind == kTrack;
}

class TEditTool : public TTool {
 public:
  explicit TEditTool(TToolManager& m) : TTool(m), preview_(m), nodes_(m) {}

  void enter() override { changerShown_ = false; }

  void leave() override {
    TToolState& st = m_.state();
    if (st.nodeDrag) nodes_.cancel();
    preview_.clear();
    m_.hideFeedback(TFeedbackKind::selectionFrame);
    framed_ = false;
    if (st.inProgress) m_.host().releasePointer();
    st.inProgress = st.movingSelection = st.nodeDrag = false;
  }

  TToolResult press(const TInputEvent& event) override {
    TEditor& editor = m_.editor();
    TToolState& st = m_.state();
    m_.host().confinePointer();
    // Whatever a press before left behind (its release went elsewhere).
    if (st.nodeDrag) nodes_.cancel();
    st.nodeDrag = false;
    preview_.clear();
    m_.hideFeedback(TFeedbackKind::selectionFrame);
    framed_ = false;
    st.moveOffset = {};
    const TPoint q = m_.worldAt(event.pixel, false);
    const int i = elementAt(editor.elements(), editor.working(), q, false);
    const bool wasSelected = i >= 0 && editor.elements()[i]->selected;
    clickSelect(editor, i, event.shift);
    if (i < 0) {
      // Empty ground: a selection frame may follow.
      st.movingSelection = false;
      st.anchor = st.current = q;
      st.inProgress = true;
    } else {
      st.movingSelection = true;
      const TObjekt& e = *editor.elements()[i];
      // A second press on a corner of a selected, ungrouped element drags it.
      if (wasSelected && e.selected && e.groupIds.empty()) nodes_.start(i, q);
      if (!st.nodeDrag) {
        st.anchor = st.current = m_.pointerAt(event);
        st.inProgress = true;
      }
    }
    m_.fields().takeOverFromSelection(event.ctrl);
    editor.commandStatesChanged();
    return TToolResult::handled;
  }

  TToolResult move(const TInputEvent& event) override {
    TToolState& st = m_.state();
    if (!st.inProgress) {
      showCursor(overDraggableNode(m_.worldAt(event.pixel, false)));
      return TToolResult::ignored;
    }
    if (st.nodeDrag) {
      nodes_.move(event);
    } else if (st.movingSelection) {
      const TPoint s = m_.pointerAt(event);
      // Autoscroll erases the preview; the next move shows it again.
      const bool shown = m_.feedbackVisible(TFeedbackKind::movePreview);
      if (s == st.current && (shown || !preview_.prepared())) return TToolResult::handled;
      st.current = s;
      if (!preview_.prepared()) {
        st.selectionBounds = selectionBounds(m_.editor().elements());
        preview_.prepare(m_.editor().elements(), false);
      }
      preview_.show(event.ctrl);
    } else {
      dragSelectionFrame(m_, m_.worldAt(event.pixel, false));
      framed_ = true;
    }
    return TToolResult::handled;
  }

  TToolResult release(const TInputEvent& event) override {
    TEditor& editor = m_.editor();
    TToolState& st = m_.state();
    m_.host().releasePointer();
    // The frame and the preview may have been erased by autoscroll: what
    // they last showed still counts.
    if (framed_) {
      m_.hideFeedback(TFeedbackKind::selectionFrame);
      editor.selectInFrame(st.anchor, st.current);
      framed_ = false;
      m_.fields().takeOverFromSelection(event.ctrl);
    }
    if (preview_.prepared()) {
      preview_.clear();
      editor.moveSelection(st.moveOffset.x, st.moveOffset.y);
    }
    if (st.nodeDrag) nodes_.finish();
    st.inProgress = st.movingSelection = st.nodeDrag = false;
    editor.commandStatesChanged();
    return TToolResult::changed;
  }

  TToolResult rightClick(const TInputEvent& event) override {
    TEditor& editor = m_.editor();
    TToolState& st = m_.state();
    const TPoint q = m_.worldAt(event.pixel, false);
    const int i = elementAt(editor.elements(), editor.working(), q, false);
    if (i >= 0 && !editor.elements()[i]->selected) {
      editor.deselectAll();
      editor.setSelected(*editor.elements()[i], true);
    }
    // The corner under the pointer of a selected, ungrouped track or area;
    // the last one in list order wins.
    st.nodeDrag = false;
    st.nodeIndex = -1;
    const double zoom = editor.working().zoom;
    const TObjektList& list = editor.elements();
    for (size_t k = 0; k < list.size(); ++k) {
      const TObjekt& e = *list[k];
      if (!e.selected || !e.groupIds.empty() || !e.hasPoints()) continue;
      const int n = hitNode(e, q, zoom);
      if (n < 0) continue;
      st.nodeElement = int(k);
      st.nodeIndex = n;
    }
    editor.nodeTarget = st.nodeIndex < 0
                            ? TNodeRef{}
                            : TNodeRef{st.nodeElement, st.nodeIndex, list[st.nodeElement].get()};
    editor.commandStatesChanged();
    if (st.nodeIndex < 0) {
      m_.eraseAllFeedback();
      m_.host().openMenu("PopupMenu", contextMenuIds(), event.pixel);
    } else {
      m_.host().openMenu("KnotenPopup", nodeMenuIds(), event.pixel);
    }
    return TToolResult::handled;
  }

  TToolResult key(const TInputEvent& event) override {
    if (event.kind != TInputEvent::keyDown || m_.state().inProgress) return TToolResult::ignored;
    TNudge direction;
    if (event.key == "Left")
      direction = TNudge::left;
    else if (event.key == "Right")
      direction = TNudge::right;
    else if (event.key == "Up")
      direction = TNudge::up;
    else if (event.key == "Down")
      direction = TNudge::down;
    else
      return TToolResult::ignored;
    return m_.editor().nudgeSelection(direction, event.ctrl) ? TToolResult::changed
                                                             : TToolResult::handled;
  }

 private:
  // Whether the pointer rests on a corner that a press would drag. Only
  // selected, ungrouped tracks, areas and circles have such corners, so the
  // full hit test runs only when one of them has a corner here.
  bool overDraggableNode(TPoint q) const {
    TEditor& editor = m_.editor();
    const double zoom = editor.working().zoom;
    bool candidate = false;
    for (const auto& e : editor.elements())
      if (e->selected && e->groupIds.empty() && hasNodes(*e) && hitNode(*e, q, zoom) >= 0) {
        candidate = true;
        break;
      }
    if (!candidate) return false;
    const int i = elementAt(editor.elements(), editor.working(), q, false);
    if (i < 0) return false;
    const TObjekt& e = *editor.elements()[i];
    return e.selected && e.groupIds.empty() && hasNodes(e) && hitNode(e, q, zoom) >= 0;
  }

  void showCursor(bool changer) {
    if (changer == changerShown_) return;
    changerShown_ = changer;
    m_.host().setCursor(changer ? TCursor::changer : TCursor::arrow);
  }

  TMovePreview preview_;
  TNodeDrag nodes_;
  bool framed_ = false;  // a frame was shown since the press
  bool changerShown_ = false;
};

}  // namespace

std::unique_ptr<TTool> makeEditTool(TToolManager& manager) {
  return std::make_unique<TEditTool>(manager);
}

}  // namespace plavesk
