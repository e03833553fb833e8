// The project information dialog: title, author, company and a comment.
// Only OK takes the texts over; closing it any other way discards the edit.
#pragma once

#include <QDialog>

#include "document/board.h"

class QLineEdit;
class QPlainTextEdit;

namespace plavesk {

class TProjectInfoDialog : public QDialog {
  Q_OBJECT

 public:
  TProjectInfoDialog(int language, const TProjectInfo& info, QWidget* parent = nullptr);

  // The texts as typed, cut to their limits.
  TProjectInfo info() const;

  QLineEdit* titleField() const { return title_; }
  QPlainTextEdit* commentField() const { return comment_; }

 private:
  QLineEdit* title_;
  QLineEdit* author_;
  QLineEdit* company_;
  QPlainTextEdit* comment_;
};

}  // namespace plavesk
