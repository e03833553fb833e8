// The layout file commands of the File menu: New, Open, Save, Save as,
// Import boards, the recent files, the save question and autosave. They work
// on the editor's layout and ask the user through TUserDialogs; the window
// listens to the hooks to refresh what it shows.
#pragma once

#include <functional>
#include <string>

#include "app/recent_files.h"
#include "app/user_dialogs.h"
#include "editing/editor.h"

namespace plavesk {

class TFileCommands {
 public:
  TFileCommands(TEditor& editor, TUserDialogs& dialogs, int language);

  std::string fileName;      // empty for a layout never saved
  std::string layoutFolder;  // where the layout file dialogs start
  TRecentFiles recent;
  bool saveCompleted = false;  // set when a Save wrote a file
  double pixelsPerInch = 96;   // for the conversion of legacy font texts

  // The whole layout was replaced or boards were added: views, tabs, title.
  std::function<void()> layoutReplaced;
  std::function<void()> titleChanged;
  std::function<void()> recentChanged;  // write the list to the settings
  std::function<void(bool running)> autosaveRunning;
  // New asks for the size of the first board.
  std::function<void()> boardPropertiesForNew;

  // The save question: false when the pending action must not go on. A
  // modified layout that is not trivially empty is asked about.
  bool askToSave();
  // The question, then the layout is emptied (no board active).
  bool closeLayout();

  bool newLayout();
  // Open or, with `import`, Import boards: chooses a file with the dialog.
  bool open(bool import);
  // The part of Open after the file dialog. Reads into a separate layout and
  // replaces the open one only when reading succeeded.
  bool openFile(const std::string& path, bool import);
  bool openRecent(int index);
  // Start-up: a path that does not exist is ignored without message.
  bool openFromCommandLine(const std::string& path);
  bool save();
  bool saveAs();
  // Writes "<name>.bak" beside the current file; the title, the modified flag
  // and the recent files stay. Returns whether a file was written.
  bool autosave();

  // "Plavesk 4.0" or "Plavesk 4.0 - [path]".
  std::string windowTitle() const;

 private:
  // The layout check of the first bytes; shows the refusal.
  bool checkFile(const std::string& path, std::vector<uint8_t>& data);
  bool readChecked(const std::string& path, const std::vector<uint8_t>& data, bool import);
  bool write(const std::string& path);
  void offerRecent(const std::string& path);
  void reportError(const std::string& text);
  void setFileName(const std::string& path);

  TEditor& editor_;
  TUserDialogs& dialogs_;
  int language_;
};

// Whether the save question is needed: modified, and more than one board or
// elements on the active one.
bool layoutNeedsSaveQuestion(const TLayout& layout);

}  // namespace plavesk
