// The settings file "PLAVESKA.INI": every key with its default, read at
// start-up and written when the program closes. The recent files are written
// on their own whenever they change.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/core/ini_file.h"

namespace plavesk {

constexpr int kDefaultAutoSaveTime = 300000;  // ms
constexpr int kRecentFileCount = 4;
// Grid entries of the value list carry six blanks before their caption.
constexpr const char* kGridCaptionIndent = "      ";

// One user entry of a remembered-value list; lists of captions only keep
// value -1.
struct TValueListEntry {
  int value = -1;
  std::string caption;
  bool operator==(const TValueListEntry&) const = default;
};

struct TValueLists {
  std::vector<TValueListEntry> trackWidths;  // L_POPUP, from index 0
  std::vector<TValueListEntry> grids;        // R_POPUP, from index 8
  std::vector<TValueListEntry> padSizes;     // LA_POPUP, captions, from 0
  std::vector<TValueListEntry> smdSizes;     // SMD_POPUP, captions, from 0
  bool operator==(const TValueLists&) const = default;
};

constexpr int kGridListFirstIndex = 8;  // the fixed grid entries come first

// The five default folders of the file dialogs.
enum FolderKind : int { kFolderLayout, kFolderGerber, kFolderBitmap, kFolderTemplate, kFolderPlt };
constexpr int kFolderCount = 5;

struct TAppSettings {
  bool hints = true;        // Kurzhilfe
  bool macroPanel = false;  // Makro
  bool autoSave = false;    // AutoSave
  int autoSaveTime = kDefaultAutoSaveTime;
  int colourScheme = 0;                           // Farbschema
  bool boardZoom = true;                          // PlatinenZoom
  int undoDepth = 50;                             // Undo
  int gridMarking = 4;                            // RasterMarkierung: 0, 2, 4, 5 or 10
  bool gridVisible = true;                        // RasterSichtbar
  std::array<std::string, kFolderCount> folders;  // Layout, Gerber, Bitmap, Vorlage, PLT
  std::string macroRoot;                          // Makro (section Ordner)
  std::string macroSubfolder = "...";
  std::array<std::string, kRecentFileCount> recentFiles;  // History D1..D4
  TValueLists valueLists;

  bool operator==(const TAppSettings&) const = default;
};

// The defaults of a first start: folders = `programFolder` (ending in a
// separator), macro root = programFolder + "Makros".
TAppSettings defaultSettings(const std::string& programFolder);

// Missing keys keep the defaults. The macro root falls back to the program
// folder when it does not exist, the subfolder to "..." when root + "/" +
// subfolder does not exist.
TAppSettings readSettings(const TIniFile& ini, const std::string& programFolder);

// Sections Optionen, Ordner and the four value lists (each erased and written
// anew). History is left as it is.
void writeSettings(TIniFile& ini, const TAppSettings& settings);
// Section History: D1..D4.
void writeRecentFiles(TIniFile& ini, const std::array<std::string, kRecentFileCount>& files);

// The value lists alone, as the value-list sections store them.
TValueLists readValueLists(const TIniFile& ini);
void writeValueLists(TIniFile& ini, const TValueLists& lists);

// Where the settings file lives: the program folder when it is writable,
// otherwise `configFolder` (which is created when missing).
std::string settingsFilePath(const std::string& programFolder, const std::string& configFolder);

// Reading a missing or unreadable file gives an empty INI.
TIniFile loadIniFile(const std::string& path);
bool saveIniFile(const TIniFile& ini, const std::string& path, std::string& error);

}  // namespace plavesk
