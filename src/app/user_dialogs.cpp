#include "app/user_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace plavesk {

namespace {

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

TAnswer TQtUserDialogs::askYesNoCancel(const std::string& title, const std::string& text) {
  const auto button = QMessageBox::question(
      parent_, q(title), q(text), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (button == QMessageBox::Yes) return TAnswer::Yes;
  if (button == QMessageBox::No) return TAnswer::No;
  return TAnswer::Cancel;
}

bool TQtUserDialogs::askYesNo(const std::string& title, const std::string& text) {
  return QMessageBox::question(parent_, q(title), q(text), QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

bool TQtUserDialogs::askOkCancel(const std::string& title, const std::string& text) {
  return QMessageBox::question(parent_, q(title), q(text), QMessageBox::Ok | QMessageBox::Cancel) ==
         QMessageBox::Ok;
}

bool TQtUserDialogs::askOkCancelWarning(const std::string& title, const std::string& text) {
  return QMessageBox::warning(parent_, q(title), q(text).replace('\r', '\n'),
                              QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void TQtUserDialogs::message(TMessageKind kind, const std::string& title, const std::string& text) {
  switch (kind) {
    case TMessageKind::Information:
      QMessageBox::information(parent_, q(title), q(text));
      break;
    case TMessageKind::Warning:
      QMessageBox::warning(parent_, q(title), q(text));
      break;
    case TMessageKind::Error:
      QMessageBox::critical(parent_, q(title), q(text));
      break;
  }
}

std::string TQtUserDialogs::chooseOpenFile(const std::string& title, const std::string& folder,
                                           const std::string& filter) {
  return QFileDialog::getOpenFileName(parent_, q(title), q(folder), q(filter)).toStdString();
}

std::string TQtUserDialogs::chooseSaveFile(const std::string& title, const std::string& folder,
                                           const std::string& filter,
                                           const std::string& defaultSuffix) {
  QFileDialog dialog(parent_, q(title), q(folder), q(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(q(defaultSuffix));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first().toStdString();
}

}  // namespace plavesk
