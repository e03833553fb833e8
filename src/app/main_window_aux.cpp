// The "?" menu's windows and the working-folders dialog of the main window.
#include "app/about_window.h"
#include "app/folders_dialog.h"
#include "app/image_commands.h"
#include "app/main_window.h"
#include "app/manufacturing_commands.h"
#include "app/update_window.h"

namespace plavesk {

void TMainWindow::showFoldersDialog() {
  TFoldersDialog dialog(language_, settings_.folders, this);
  if (dialog.exec() == QDialog::Accepted) setDefaultFolders(dialog.folders());
}

void TMainWindow::setDefaultFolders(const std::array<std::string, kFolderCount>& folders) {
  // Written to the settings file when the program closes.
  settings_.folders = folders;
  files_->layoutFolder = folders[kFolderLayout];
  images_->bitmapFolder = folders[kFolderBitmap];
  templateFolder_ = folders[kFolderTemplate];
  manufacturing_->exportFolder = folders[kFolderGerber];
  manufacturing_->millingFolder = folders[kFolderPlt];
}

void TMainWindow::showAboutWindow() {
  TAboutWindow window(language_, programFolder_, TAboutWindow::Mode::about, this);
  window.exec();
}

void TMainWindow::showUpdateWindow() {
  TUpdateWindow window(language_, updateAddressFromSettings(settingsPath_), this);
  window.exec();
}

}  // namespace plavesk
