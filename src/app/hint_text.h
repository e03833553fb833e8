// Hints of the form "short|long": the short part becomes the tooltip, the
// long part the status-line text.
#pragma once

#include <QString>

#include "app/language.h"

class QAction;
class QWidget;

namespace plavesk {

struct THintParts {
  QString tip;
  QString status;
};
// Without "|" the whole text is both parts.
THintParts splitHint(const QString& hint);

void applyHint(QWidget* widget, int language, const TText& hint);
void applyHint(QAction* action, int language, const TText& hint);

}  // namespace plavesk
