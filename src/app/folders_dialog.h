// The working-folders dialog ("Arbeitsverzeichnisse"): the five default
// folders of the file dialogs, each with a field and a "..." button that
// opens a folder browser. OK keeps the fields, Cancel discards them.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "app/app_settings.h"

class QLabel;
class QLineEdit;
class QToolButton;

namespace plavesk {

class TFoldersDialog : public QDialog {
  Q_OBJECT

 public:
  TFoldersDialog(int language, const std::array<std::string, kFolderCount>& folders,
                 QWidget* parent = nullptr);

  std::array<std::string, kFolderCount> folders() const;

  QLineEdit* field(int row) const { return fields_[size_t(row)]; }
  QToolButton* browseButton(int row) const { return buttons_[size_t(row)]; }
  QLabel* label(int row) const { return labels_[size_t(row)]; }

  // The folder browser: title, prompt and start folder in, the chosen folder
  // out (empty when cancelled). The platform's browser unless a test
  // replaces it.
  std::function<std::string(const QString& title, const QString& prompt, const std::string& start)>
      chooseFolder;

  // The browser's prompt for a row: the fixed text and the row's label.
  QString prompt(int row) const;
  QString browserTitle() const;

 private:
  void browse(int row);

  int language_;
  std::array<QLineEdit*, kFolderCount> fields_{};
  std::array<QToolButton*, kFolderCount> buttons_{};
  std::array<QLabel*, kFolderCount> labels_{};
};

}  // namespace plavesk
