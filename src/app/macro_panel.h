// The macro library panel at the right edge of the main window: the folder
// tree below the macro root, the macro files of one folder, the preview of
// the chosen macro with its two description lines and its mirror, side and
// through-pad buttons. A macro is dragged from the list or the preview onto
// the drawing area.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "editing/macro_library.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QToolButton;

namespace plavesk {

class TEditor;
class TRenderSettings;
class TUserDialogs;

// The mime type of a dragged macro; the data is the macro file's path.
inline constexpr const char* kMacroMimeType = "application/x-plavesk-macro";

class TMacroPanel : public QWidget {
  Q_OBJECT

 public:
  TMacroPanel(int language, TEditor& editor, TUserDialogs& dialogs, const TRenderSettings& render,
              QWidget* parent = nullptr);

  // The root from the settings and the subfolder below it ("..." or ".."
  // for the root itself). A root that no longer exists falls back to
  // `fallbackRoot` (the program folder's macros) with a message.
  void setFolders(const std::string& root, const std::string& subfolder,
                  const std::string& fallbackRoot);
  const std::string& root() const { return root_; }
  // The current folder below the root, "/"-separated; "" for the root.
  const std::string& subfolder() const { return subfolder_; }
  std::string folderPath() const;

  // Shows the files of a folder below the root ("" the root) and loads the
  // first one.
  void openFolder(const std::string& subfolder);
  // Reads the folder again, keeping the chosen file where it still exists.
  void refreshList();
  // Chooses a file of the list by name (any case) and loads it.
  bool selectFile(const std::string& name);
  // The macro in the preview, as dragged onto the board.
  TMacroPreview& preview() { return preview_; }
  const TObjektList& macro() const { return preview_.macro.elements; }

  // The commands: "als Makro speichern...", "Makro-Stammverzeichnis...",
  // the delete button.
  void saveAsMacro();
  void chooseRoot();
  void deleteMacro();
  // Typed descriptions go to the file (focus loss, closing the program).
  void saveDescriptions();
  // Another active layer: the preview turns to its side.
  void orientToActiveSide(int activeLayer);

  // The hide button.
  std::function<void()> hideRequested;
  // The folder browser; the platform's by default. Empty when cancelled.
  std::function<std::string(const std::string& start, const std::string& title)> chooseFolder;

  QListWidget* fileList() const { return list_; }
  QWidget* previewBox() const { return previewBox_; }
  QToolButton* subfolderButton() const { return subfolderButton_; }
  QLineEdit* description(int line) const { return line == 1 ? description1_ : description2_; }
  QToolButton* mirrorButton() const { return mirror_; }
  QToolButton* sideButton() const { return side_; }
  QToolButton* throughPadsButton() const { return through_; }
  QMenu* folderMenu() const { return folderMenu_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void loadChosen();
  void rebuildFolderMenu();
  void showToggles();
  void startDrag();
  void message(int kind, const std::string& text);

  int language_;
  TEditor& editor_;
  TUserDialogs& dialogs_;
  const TRenderSettings& render_;
  TMacroPreview preview_;
  std::string root_;
  std::string subfolder_;
  QToolButton* subfolderButton_;
  QMenu* folderMenu_;
  QListWidget* list_;
  QLineEdit* description1_;
  QLineEdit* description2_;
  QWidget* previewBox_;
  QToolButton* side_;
  QToolButton* mirror_;
  QToolButton* through_;
  QPoint pressAt_;
  bool pressed_ = false;
  bool loading_ = false;
};

}  // namespace plavesk
