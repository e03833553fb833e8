#include "app/hint_text.h"

#include <QAction>
#include <QWidget>

namespace plavesk {

THintParts splitHint(const QString& hint) {
  const qsizetype bar = hint.indexOf('|');
  if (bar < 0) return {hint, hint};
  return {hint.left(bar), hint.mid(bar + 1)};
}

void applyHint(QWidget* widget, int language, const TText& hint) {
  const THintParts parts = splitHint(pick(language, hint));
  widget->setToolTip(parts.tip);
  widget->setStatusTip(parts.status);
  if (widget->accessibleName().isEmpty()) widget->setAccessibleName(parts.tip);
}

void applyHint(QAction* action, int language, const TText& hint) {
  const THintParts parts = splitHint(pick(language, hint));
  action->setToolTip(parts.tip);
  action->setStatusTip(parts.status);
}

}  // namespace plavesk
