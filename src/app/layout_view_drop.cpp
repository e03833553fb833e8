// The drawing area's side of the macro library: a macro dragged from the
// panel shows its outline under the pointer and is inserted where dropped.
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

#include "app/layout_view.h"
#include "app/macro_panel.h"
#include "editing/editor.h"
#include "editing/tools/macro_drag.h"

namespace plavesk {

namespace {

// The macro a drag carries, when it comes from the panel and is not empty.
const TObjektList* macroOf(const QMimeData* data,
                           const std::function<const TObjektList*()>& dragged) {
  if (!data || !data->hasFormat(kMacroMimeType) || !dragged) return nullptr;
  const TObjektList* macro = dragged();
  return macro && TMacroDrag::accepts(*macro) ? macro : nullptr;
}

}  // namespace

void TLayoutView::flush() {
  viewport()->repaint();
}

void TLayoutView::dragEnterEvent(QDragEnterEvent* event) {
  if (tools_ && editor_.layout.hasActiveBoard() && macroOf(event->mimeData(), draggedMacro))
    event->acceptProposedAction();
  else
    event->ignore();
}

void TLayoutView::dragMoveEvent(QDragMoveEvent* event) {
  const TObjektList* macro = macroOf(event->mimeData(), draggedMacro);
  if (!tools_ || !macro || !editor_.layout.hasActiveBoard()) {
    event->ignore();
    return;
  }
  const QPoint at = event->position().toPoint();
  const TPoint pixel{at.x() + view_.scrollX(), at.y() + view_.scrollY()};
  tools_->macroDrag().over(*macro, view_.deviceToWorld(pixel, false),
                           event->modifiers() & Qt::ControlModifier);
  event->acceptProposedAction();
}

void TLayoutView::dragLeaveEvent(QDragLeaveEvent* event) {
  if (tools_) tools_->macroDrag().leave();
  event->accept();
}

void TLayoutView::dropEvent(QDropEvent* event) {
  const TObjektList* macro = macroOf(event->mimeData(), draggedMacro);
  if (!tools_ || !macro || !editor_.layout.hasActiveBoard()) {
    if (tools_) tools_->macroDrag().leave();
    event->ignore();
    return;
  }
  const QPoint at = event->position().toPoint();
  const TPoint pixel{at.x() + view_.scrollX(), at.y() + view_.scrollY()};
  if (tools_->macroDrag().drop(*macro, view_.deviceToWorld(pixel, false),
                               event->modifiers() & Qt::ControlModifier)) {
    event->acceptProposedAction();
    if (macroDropped) macroDropped();
  }
}

}  // namespace plavesk
