// Tracks and areas, drawn point by point: each click fixes the bend mode's
// corner and the clicked point, the rubber band shows the next two segments.
#include <algorithm>
#include <utility>

#include "editing/editor.h"
#include "editing/tools/draw_tools.h"
#include "editing/tools/tool_manager.h"

namespace plavesk {

namespace {

class TPolylineTool : public TTool {
 public:
  TPolylineTool(TToolManager& manager, uint8_t kind) : TTool(manager), kind_(kind) {}

  TToolResult press(const TInputEvent& e) override {
    TToolState& s = m_.state();
    const TPoint p = m_.pointerAt(e);
    m_.host().confinePointer();
    m_.hideFeedback(TFeedbackKind::trackRubberBand);
    m_.hideFeedback(TFeedbackKind::toolDot);
    TObjekt* t = drawing();
    if (!t) {
      start(p);
      return TToolResult::changed;
    }
    // The corner for the clicked point, not for the last position shown: a
    // click may come without a move before it.
    s.corner = bendCorner(s.bendMode, s.anchor, p);
    if (s.corner != p && s.corner != t->points.back()) addPoint(*t, s.corner);
    addPoint(*t, p);
    m_.editor().invalidate(*t);
    s.anchor = s.current = p;
    if (kind_ == kArea && t->points.front() == p) {
      finishArea();
      m_.host().releasePointer();
    }
    return TToolResult::changed;
  }

  TToolResult move(const TInputEvent& e) override {
    TToolState& s = m_.state();
    const TPoint p = m_.pointerAt(e);
    const TFeedbackKind kind = drawing() ? TFeedbackKind::trackRubberBand : TFeedbackKind::toolDot;
    if (p == s.current && m_.feedbackVisible(kind)) return TToolResult::handled;
    m_.hideFeedback(kind);
    s.current = p;
    if (kind == TFeedbackKind::trackRubberBand)
      m_.showTrackRubberBand();
    else
      m_.showToolDot();
    return TToolResult::handled;
  }

  TToolResult rightClick(const TInputEvent&) override {
    TObjekt* t = drawing();
    if (!t) {
      m_.backToEditMode();
      m_.host().releasePointer();
      return TToolResult::handled;
    }
    m_.hideFeedback(TFeedbackKind::trackRubberBand);
    if (kind_ == kArea) {
      // Closed without a corner point.
      addPoint(*t, t->points.front());
      finishArea();
    } else {
      endTrack();
    }
    m_.showToolDot();
    m_.host().releasePointer();
    return TToolResult::changed;
  }

  TToolResult key(const TInputEvent& e) override {
    if (e.kind != TInputEvent::keyDown || e.key != "Delete") return TToolResult::ignored;
    TObjekt* t = drawing();
    if (!t || t->points.size() < 2) return TToolResult::ignored;
    m_.hideFeedback(TFeedbackKind::trackRubberBand);
    m_.editor().invalidate(*t);
    t->points.pop_back();
    m_.state().anchor = t->points.back();
    m_.editor().invalidate(*t);
    m_.showTrackRubberBand();
    return TToolResult::changed;
  }

  void leave() override {
    TObjekt* t = drawing();
    if (!t) return;
    // What was fixed so far stays, unless it is no line at all.
    if (t->points.size() < 2) {
      discard(*t);
    } else {
      t->closed = 1;
      m_.editor().invalidate(*t);
    }
    drawing_ = nullptr;
    m_.state().inProgress = false;
    m_.host().releasePointer();
  }

 private:
  // The element under construction: the last of the list. Anything that
  // took it away (another board, a command) ends the construction.
  TObjekt* drawing() {
    if (!m_.state().inProgress || !drawing_) return nullptr;
    TEditor& ed = m_.editor();
    if (ed.layout.hasActiveBoard()) {
      const TObjektList& list = ed.elements();
      if (!list.empty() && list.back().get() == drawing_ && drawing_->kind == kind_)
        return drawing_;
    }
    drawing_ = nullptr;
    m_.state().inProgress = false;
    return nullptr;
  }

  size_t undoSize() const {
    const TEditor& ed = m_.editor();
    return ed.layout.hasActiveBoard() ? ed.layout.active().undoStack.size() : 0;
  }

  void start(TPoint p) {
    TEditor& ed = m_.editor();
    const TToolValues& v = m_.values();
    const size_t before = undoSize();
    ed.takeSnapshot();
    snapshotTaken_ = undoSize() > before;
    snapshotDepth_ = undoSize();
    int layer = ed.working().activeLayer;
    TObjektPtr e;
    if (kind_ == kArea) {
      if (v.cutout) {
        // Cutouts belong to the copper of the side.
        if (layer == kSilk1) layer = kCopper1;
        if (layer == kSilk2) layer = kCopper2;
      }
      e = createArea(v.trackWidth, layer);
      e->cutout = v.cutout ? 1 : 0;
      e->closed = 0;  // shown open until it is finished
    } else {
      e = createTrack(v.trackWidth, layer);
    }
    e->clearance = v.clearance;
    addPoint(*e, p);
    drawing_ = e.get();
    ed.elements().push_back(std::move(e));
    ed.invalidate(*drawing_);
    TToolState& s = m_.state();
    s.anchor = s.current = p;
    s.inProgress = true;
  }

  // Removes the element drawn so far; the snapshot of its start goes too
  // when no later one was taken, so nothing is left to undo.
  void discard(TObjekt& t) {
    TEditor& ed = m_.editor();
    ed.invalidate(t);
    deleteElementsIf(ed.elements(), [&t](const TObjekt& x) { return &x == &t; });
    if (snapshotTaken_ && undoSize() == snapshotDepth_) ed.discardNewestSnapshot();
    snapshotTaken_ = false;
    drawing_ = nullptr;
    ed.repaint();
  }

  void endTrack() {
    TObjekt* t = drawing_;
    if (t->points.size() < 2)
      discard(*t);
    else
      m_.editor().invalidate(*t);
    drawing_ = nullptr;
    m_.state().inProgress = false;
  }

  // An area is kept when it has extent both ways and more than three points
  // (the closing point counts, so a triangle has four).
  void finishArea() {
    m_.hideFeedback(TFeedbackKind::trackRubberBand);
    m_.hideFeedback(TFeedbackKind::toolDot);
    TObjekt& t = *drawing_;
    const TPoint p0 = t.points.front();
    const bool wide =
        std::any_of(t.points.begin(), t.points.end(), [&](const TPoint& p) { return p.x != p0.x; });
    const bool tall =
        std::any_of(t.points.begin(), t.points.end(), [&](const TPoint& p) { return p.y != p0.y; });
    if (wide && tall && t.points.size() > 3) {
      t.closed = 1;
      m_.editor().invalidate(t);
      drawing_ = nullptr;
    } else {
      discard(t);
      m_.eraseAllFeedback();
    }
    m_.state().inProgress = false;
  }

  uint8_t kind_;
  TObjekt* drawing_ = nullptr;
  bool snapshotTaken_ = false;
  size_t snapshotDepth_ = 0;
};

}  // namespace

std::unique_ptr<TTool> makeTrackTool(TToolManager& manager) {
  return std::make_unique<TPolylineTool>(manager, kTrack);
}

std::unique_ptr<TTool> makeAreaTool(TToolManager& manager) {
  return std::make_unique<TPolylineTool>(manager, kArea);
}

}  // namespace plavesk
