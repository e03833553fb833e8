// Texts: the text dialog prepares a text (above the board, selected), its
// preview follows the pointer kept on the board, and a click places it.
// Every placed text is one undo step: the snapshot taken when the text was
// prepared; a prepared text that is never placed takes its snapshot along.
#include <algorithm>
#include <utility>

#include "editing/editor.h"
#include "editing/tools/draw_tools.h"
#include "editing/tools/tool_manager.h"

namespace plavesk {

namespace {

// Where the prepared text waits: its box's left and lower edges at (0, 100),
// above the board, so the preview shifted by (x, y - 100) shows it at (x, y).
constexpr TPoint kPreparedAt{0, 100};
constexpr int32_t kPreviewPen = 20;

class TTextTool : public TTool {
 public:
  using TTool::TTool;

  bool prepare() override {
    TTextSettings& s = m_.dialogs().text;
    // The dialog opens unmirrored, mirrored horizontally on side 2.
    s.mirrorV = false;
    s.mirrorH = isSide2Layer(m_.editor().working().activeLayer);
    return runDialog();
  }

  bool holdsElement() const override { return prepared_ != nullptr; }

  TToolResult press(const TInputEvent& e) override {
    TToolState& st = m_.state();
    TObjekt* t = prepared();
    if (!t) {
      // The prepared text went (a board change): prepare the next one.
      if (!prepareText()) m_.backToEditMode();
      return TToolResult::changed;
    }
    m_.hideFeedback(TFeedbackKind::textPreview);
    st.current = keepOnBoard(m_.pointerAt(e), *t);
    TEditor& ed = m_.editor();
    TDrawingDialogs& d = m_.dialogs();
    ++ed.layout.suppressSnapshots;
    drop(*t);
    // The placed text gets the number the prepared one showed.
    if (d.text.addNumber) --d.counter.value;
    TObjekt& placed = createTextElement(ed.elements(), st.current, d.text, d.counter, context());
    ed.invalidate(placed);
    --ed.layout.suppressSnapshots;
    snapshotTaken_ = false;
    ed.repaint();
    // Numbered texts go on without the dialog.
    const bool next = d.text.addNumber ? prepareText() : runDialog();
    if (!next) {
      m_.backToEditMode();
      return TToolResult::changed;
    }
    showPreview();
    return TToolResult::changed;
  }

  TToolResult move(const TInputEvent& e) override {
    TObjekt* t = prepared();
    if (!t) return TToolResult::ignored;
    TToolState& st = m_.state();
    const TPoint p = keepOnBoard(m_.pointerAt(e), *t);
    if (p == st.current && m_.feedbackVisible(TFeedbackKind::textPreview))
      return TToolResult::handled;
    m_.hideFeedback(TFeedbackKind::textPreview);
    st.current = p;
    showPreview();
    return TToolResult::handled;
  }

  TToolResult rightClick(const TInputEvent&) override {
    // Leaving the mode drops the prepared text with its snapshot.
    m_.eraseAllFeedback();
    m_.backToEditMode();
    m_.host().releasePointer();
    return TToolResult::changed;
  }

  void leave() override {
    m_.hideFeedback(TFeedbackKind::textPreview);
    if (TObjekt* t = prepared()) {
      TEditor& ed = m_.editor();
      ++ed.layout.suppressSnapshots;
      drop(*t);
      --ed.layout.suppressSnapshots;
      if (snapshotTaken_ && undoSize() == snapshotDepth_) ed.discardNewestSnapshot();
      ed.repaint();
    }
    prepared_ = nullptr;
    snapshotTaken_ = false;
    m_.host().releasePointer();
  }

 private:
  TTextContext context() const {
    const TEditor& ed = m_.editor();
    return {ed.working().activeLayer, m_.values().clearance, ed.working().grid};
  }

  size_t undoSize() const {
    const TEditor& ed = m_.editor();
    return ed.layout.hasActiveBoard() ? ed.layout.active().undoStack.size() : 0;
  }

  // The prepared text while it is still the one this tool made.
  TObjekt* prepared() {
    if (!prepared_) return nullptr;
    TEditor& ed = m_.editor();
    if (ed.layout.hasActiveBoard())
      for (const auto& e : ed.elements())
        if (e.get() == prepared_ && e->kind == kText) return prepared_;
    prepared_ = nullptr;
    snapshotTaken_ = false;
    return nullptr;
  }

  void drop(TObjekt& t) {
    const TObjekt* doomed = &t;
    deleteElementsIf(m_.editor().elements(), [doomed](const TObjekt& e) { return &e == doomed; });
    prepared_ = nullptr;
  }

  // The text dialog with the pointer free; on confirmation the counter
  // restarts and the text is prepared.
  bool runDialog() {
    m_.host().releasePointer();
    TDrawingDialogs& d = m_.dialogs();
    TTextSettings s = d.text;
    if (!m_.host().askTextSettings(s, false)) return false;
    d.text = limited(s);
    d.counter.restart(d.text);
    return prepareText();
  }

  // Creates the prepared text (one undo snapshot) and selects it; a text
  // without strokes is removed again with its snapshot and the warning.
  bool prepareText() {
    TEditor& ed = m_.editor();
    if (!ed.layout.hasActiveBoard()) return false;
    TDrawingDialogs& d = m_.dialogs();
    const size_t before = undoSize();
    ed.takeSnapshot();
    snapshotTaken_ = undoSize() > before;
    snapshotDepth_ = undoSize();
    TObjekt& t = createTextElement(ed.elements(), kPreparedAt, d.text, d.counter, context());
    if (!hasStrokes(t)) {
      drop(t);
      if (snapshotTaken_) ed.discardNewestSnapshot();
      snapshotTaken_ = false;
      ed.commandStatesChanged();
      m_.host().warnTextNotGenerated();
      return false;
    }
    prepared_ = &t;
    ed.setSelected(t, true);
    m_.host().confinePointer();
    ed.commandStatesChanged();
    return true;
  }

  // The text's box from p keeps inside the board: its left and lower edges
  // lie at p (as placing puts them), so p moves left and down as far as the
  // box needs; a text larger than the board keeps its left and lower edges
  // on it.
  TPoint keepOnBoard(TPoint p, const TObjekt& t) const {
    const TRect b = elementBounds(t);
    const int64_t w = int64_t(b.right) - b.left, h = int64_t(b.bottom) - b.top;
    const TBoardRecord& r = m_.editor().working();
    int64_t x = std::min<int64_t>(p.x, r.width - w);
    int64_t y = std::min<int64_t>(p.y, -h);
    x = std::max<int64_t>(x, 0);
    y = std::max<int64_t>(y, -int64_t(r.height));
    return {int32_t(x), int32_t(y)};
  }

  void showPreview() {
    TObjekt* t = prepared();
    if (!t) return;
    const TToolState& st = m_.state();
    TFeedback fb{TFeedbackKind::textPreview, {}};
    TFeedbackFigure& f = fb.figures.emplace_back();
    f.shape = TFeedbackFigure::elementList;
    f.colour = m_.layerColour();
    f.activeLayer = m_.editor().working().activeLayer;
    TObjektPtr copy = copyElement(*t);
    for (auto& stroke : copy->strokes) stroke->dim3 = kPreviewPen;
    copy->clearance = 0;
    f.owned.push_back(std::move(copy));
    f.offset = {st.current.x - kPreparedAt.x, st.current.y - kPreparedAt.y};
    m_.showFeedback(std::move(fb));
  }

  TObjekt* prepared_ = nullptr;
  bool snapshotTaken_ = false;
  size_t snapshotDepth_ = 0;
};

}  // namespace

std::unique_ptr<TTool> makeTextTool(TToolManager& manager) {
  return std::make_unique<TTextTool>(manager);
}

}  // namespace plavesk
