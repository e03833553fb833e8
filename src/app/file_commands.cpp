#include "app/file_commands.h"

#include <filesystem>
#include <system_error>

#include "app/error_report.h"
#include "app/main_window_texts.h"
#include "document/file_io.h"
#include "document/layout_file.h"
#include "editing/font_text_conversion.h"
#include "editing/layout_commands.h"

namespace plavesk {

namespace {

bool fileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

bool folderExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

std::string folderOf(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

void call(const std::function<void()>& hook) {
  if (hook) hook();
}

}  // namespace

bool layoutNeedsSaveQuestion(const TLayout& layout) {
  if (!layout.modified) return false;
  if (layout.boards.size() > 1) return true;
  return layout.hasActiveBoard() && !layout.elements().empty();
}

TFileCommands::TFileCommands(TEditor& editor, TUserDialogs& dialogs, int language)
    : editor_(editor), dialogs_(dialogs), language_(language) {}

std::string TFileCommands::windowTitle() const {
  std::string title = texts::kProgramTitle;
  if (!fileName.empty()) title += " - [" + fileName + "]";
  return title;
}

void TFileCommands::reportError(const std::string& text) {
  dialogs_.message(TMessageKind::Error, texts::kProgramTitle, errorReportText(text));
}

void TFileCommands::setFileName(const std::string& path) {
  fileName = path;
  call(titleChanged);
}

void TFileCommands::offerRecent(const std::string& path) {
  if (recent.offer(path)) call(recentChanged);
}

bool TFileCommands::askToSave() {
  if (!layoutNeedsSaveQuestion(editor_.layout)) return true;
  switch (dialogs_.askYesNoCancel(texts::kProgramName, pickText(language_, texts::kSaveQuestion))) {
    case TAnswer::Yes:
      saveCompleted = false;
      save();
      return saveCompleted;
    case TAnswer::No:
      return true;
    case TAnswer::Cancel:
      return false;
  }
  return false;
}

bool TFileCommands::closeLayout() {
  if (!askToSave()) return false;
  editor_.closeLayout();
  return true;
}

bool TFileCommands::newLayout() {
  if (!closeLayout()) return false;
  setFileName("");
  editor_.newLayout(boardBaseName(language_) + "1");
  call(layoutReplaced);
  call(boardPropertiesForNew);
  return true;
}

bool TFileCommands::checkFile(const std::string& path, std::vector<uint8_t>& data) {
  std::string error;
  if (!readWholeFile(path, data, error)) {
    reportError(error);
    return false;
  }
  if (!layoutFileVersion(data.data(), data.size())) {
    dialogs_.message(TMessageKind::Error, openTitle(language_),
                     notLayoutFileMessage(path, language_));
    return false;
  }
  return true;
}

bool TFileCommands::readChecked(const std::string& path, const std::vector<uint8_t>& data,
                                bool import) {
  TReadOptions options;
  options.import = import;
  options.language = language_;
  const TReadReport report = editor_.readLayout(data.data(), data.size(), path, options);
  if (!report.ok) {
    reportError(report.error);
    return false;
  }
  offerRecent(path);
  call(layoutReplaced);
  const int fontTexts = countFontTexts(editor_.layout);
  if (fontTexts > 0 &&
      dialogs_.askYesNo(texts::kProgramName, fontTextQuestion(language_, fontTexts))) {
    editor_.convertFontTexts(pixelsPerInch);
    dialogs_.message(TMessageKind::Information, texts::kProgramName, fontTextReport(language_));
  }
  if (report.version < kCurrentFileVersion)
    dialogs_.message(TMessageKind::Warning, texts::kProgramName, olderVersionMessage(language_));
  return true;
}

bool TFileCommands::openFile(const std::string& path, bool import) {
  if (!fileExists(path)) {
    dialogs_.message(TMessageKind::Warning, pickText(language_, texts::kOpenTitle),
                     pickText(language_, texts::kFileNotFound));
    return false;
  }
  std::vector<uint8_t> data;
  if (!checkFile(path, data)) return false;
  if (import) return readChecked(path, data, true);
  if (!askToSave()) return false;
  if (!readChecked(path, data, false)) return false;
  setFileName(path);
  layoutFolder = folderOf(path);
  return true;
}

bool TFileCommands::open(bool import) {
  const std::string path =
      dialogs_.chooseOpenFile(pickText(language_, texts::kOpenTitle),
                              folderExists(layoutFolder) ? layoutFolder : std::string(),
                              pickText(language_, texts::kLayoutFilter));
  if (path.empty()) return false;
  editor_.repaint();
  return openFile(path, import);
}

bool TFileCommands::openRecent(int index) {
  if (index < 0 || index >= kRecentFileCount) return false;
  const std::string path = recent.paths[size_t(index)];
  if (!fileExists(path)) {
    dialogs_.message(TMessageKind::Warning, pickText(language_, texts::kOpenTitle),
                     pickText(language_, texts::kRecentNotFound));
    return false;
  }
  std::vector<uint8_t> data;
  if (!checkFile(path, data) || !askToSave() || !readChecked(path, data, false)) return false;
  setFileName(path);
  return true;
}

bool TFileCommands::openFromCommandLine(const std::string& path) {
  if (!fileExists(path)) return false;
  std::vector<uint8_t> data;
  if (!checkFile(path, data) || !askToSave() || !readChecked(path, data, false)) return false;
  setFileName(path);
  layoutFolder = folderOf(path);
  return true;
}

bool TFileCommands::write(const std::string& path) {
  std::string error;
  if (!saveLayout(editor_.layout, path, false, error)) {
    reportError(error);
    return false;
  }
  saveCompleted = true;
  // Saving removes what lies outside the board.
  editor_.repaint();
  editor_.commandStatesChanged();
  offerRecent(path);
  return true;
}

bool TFileCommands::save() {
  if (fileName.empty()) return saveAs();
  return write(fileName);
}

bool TFileCommands::saveAs() {
  const std::string path =
      dialogs_.chooseSaveFile(pickText(language_, texts::kSaveAsTitle),
                              folderExists(layoutFolder) ? layoutFolder : std::string(),
                              pickText(language_, texts::kLayoutFilter), "lay");
  if (path.empty()) return false;
  if (!write(path)) return false;
  setFileName(path);
  layoutFolder = folderOf(path);
  return true;
}

bool TFileCommands::autosave() {
  if (fileName.empty() || isBackupPath(fileName) || !editor_.layout.hasActiveBoard()) return false;
  if (autosaveRunning) autosaveRunning(true);
  std::string error;
  const bool ok = saveLayout(editor_.layout, backupPathFor(fileName), true, error);
  if (autosaveRunning) autosaveRunning(false);
  if (!ok) reportError(error);
  return ok;
}

}  // namespace plavesk
