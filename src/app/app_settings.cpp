#include "app/app_settings.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "document/file_io.h"

namespace plavesk {

namespace {

const char* const kOptions = "Optionen";
const char* const kFolders = "Ordner";
const char* const kHistory = "History";
const std::array<const char*, kFolderCount> kFolderKeys{"Layout", "Gerber", "Bitmap", "Vorlage",
                                                        "PLT"};

bool isFolder(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

struct ListFormat {
  const char* section;
  int firstIndex;
  bool hasValues;
  bool indentCaptions;
};

const ListFormat kTrackList{"L_POPUP", 0, true, false};
const ListFormat kGridList{"R_POPUP", kGridListFirstIndex, true, true};
const ListFormat kPadList{"LA_POPUP", 0, false, false};
const ListFormat kSmdList{"SMD_POPUP", 0, false, false};

std::vector<TValueListEntry> readList(const TIniFile& ini, const ListFormat& f) {
  std::vector<TValueListEntry> list;
  for (int n = f.firstIndex;; ++n) {
    const std::string t = "T" + std::to_string(n), s = "S" + std::to_string(n);
    if (f.hasValues) {
      if (!ini.hasKey(f.section, t)) break;
      const int value = ini.readInteger(f.section, t, -1);
      if (value < 0) continue;
      std::string caption = ini.readString(f.section, s, "");
      if (f.indentCaptions) caption = kGridCaptionIndent + caption;
      list.push_back({value, caption});
    } else {
      const std::string caption = ini.readString(f.section, s, "");
      if (caption.empty()) break;
      list.push_back({-1, caption});
    }
  }
  return list;
}

void writeList(TIniFile& ini, const ListFormat& f, const std::vector<TValueListEntry>& list) {
  ini.eraseSection(f.section);
  int n = f.firstIndex;
  for (const TValueListEntry& e : list) {
    if (f.hasValues) ini.writeInteger(f.section, "T" + std::to_string(n), e.value);
    // Grid captions are stored without the indentation the menu shows.
    std::string caption = e.caption;
    if (f.indentCaptions && caption.starts_with(kGridCaptionIndent))
      caption.erase(0, std::string_view(kGridCaptionIndent).size());
    ini.writeString(f.section, "S" + std::to_string(n), caption);
    ++n;
  }
}

}  // namespace

TAppSettings defaultSettings(const std::string& programFolder) {
  TAppSettings s;
  s.folders.fill(programFolder);
  s.macroRoot = programFolder + "Makros";
  return s;
}

TValueLists readValueLists(const TIniFile& ini) {
  return TValueLists{readList(ini, kTrackList), readList(ini, kGridList), readList(ini, kPadList),
                     readList(ini, kSmdList)};
}

void writeValueLists(TIniFile& ini, const TValueLists& lists) {
  writeList(ini, kTrackList, lists.trackWidths);
  writeList(ini, kGridList, lists.grids);
  writeList(ini, kPadList, lists.padSizes);
  writeList(ini, kSmdList, lists.smdSizes);
}

TAppSettings readSettings(const TIniFile& ini, const std::string& programFolder) {
  TAppSettings s = defaultSettings(programFolder);
  s.hints = ini.readBool(kOptions, "Kurzhilfe", s.hints);
  s.macroPanel = ini.readBool(kOptions, "Makro", s.macroPanel);
  s.autoSave = ini.readBool(kOptions, "AutoSave", s.autoSave);
  s.autoSaveTime = ini.readInteger(kOptions, "AutoSaveTime", s.autoSaveTime);
  s.colourScheme = ini.readInteger(kOptions, "Farbschema", s.colourScheme);
  s.boardZoom = ini.readBool(kOptions, "PlatinenZoom", s.boardZoom);
  s.undoDepth = ini.readInteger(kOptions, "Undo", s.undoDepth);
  s.gridMarking = ini.readInteger(kOptions, "RasterMarkierung", s.gridMarking);
  s.gridVisible = ini.readBool(kOptions, "RasterSichtbar", s.gridVisible);
  // A hand-edited or damaged file: values outside their choices count as
  // missing.
  const TAppSettings defaults;
  if (s.autoSaveTime <= 0) s.autoSaveTime = defaults.autoSaveTime;
  if (s.colourScheme < 0 || s.colourScheme > 3) s.colourScheme = defaults.colourScheme;
  if (s.undoDepth < 0 || s.undoDepth > 50) s.undoDepth = defaults.undoDepth;
  if (s.gridMarking != 0 && s.gridMarking != 2 && s.gridMarking != 4 && s.gridMarking != 5 &&
      s.gridMarking != 10)
    s.gridMarking = defaults.gridMarking;
  for (int i = 0; i < kFolderCount; ++i)
    s.folders[size_t(i)] = ini.readString(kFolders, kFolderKeys[size_t(i)], s.folders[size_t(i)]);
  s.macroRoot = ini.readString(kFolders, "Makro", s.macroRoot);
  if (!isFolder(s.macroRoot)) s.macroRoot = programFolder;
  s.macroSubfolder = ini.readString(kFolders, "MakroOrdner", s.macroSubfolder);
  if (!isFolder(s.macroRoot + "/" + s.macroSubfolder)) s.macroSubfolder = "...";
  for (int i = 0; i < kRecentFileCount; ++i)
    s.recentFiles[size_t(i)] = ini.readString(kHistory, "D" + std::to_string(i + 1), "");
  s.valueLists = readValueLists(ini);
  return s;
}

void writeSettings(TIniFile& ini, const TAppSettings& s) {
  ini.writeBool(kOptions, "Kurzhilfe", s.hints);
  ini.writeBool(kOptions, "Makro", s.macroPanel);
  ini.writeBool(kOptions, "AutoSave", s.autoSave);
  ini.writeInteger(kOptions, "AutoSaveTime", s.autoSaveTime);
  ini.writeInteger(kOptions, "RasterMarkierung", s.gridMarking);
  ini.writeBool(kOptions, "RasterSichtbar", s.gridVisible);
  ini.writeInteger(kOptions, "Farbschema", s.colourScheme);
  ini.writeBool(kOptions, "PlatinenZoom", s.boardZoom);
  ini.writeInteger(kOptions, "Undo", s.undoDepth);
  for (int i = 0; i < kFolderCount; ++i)
    ini.writeString(kFolders, kFolderKeys[size_t(i)], s.folders[size_t(i)]);
  ini.writeString(kFolders, "Makro", s.macroRoot);
  ini.writeString(kFolders, "MakroOrdner", s.macroSubfolder);
  writeValueLists(ini, s.valueLists);
}

void writeRecentFiles(TIniFile& ini, const std::array<std::string, kRecentFileCount>& files) {
  for (int i = 0; i < kRecentFileCount; ++i)
    ini.writeString(kHistory, "D" + std::to_string(i + 1), files[size_t(i)]);
}

std::string settingsFilePath(const std::string& programFolder, const std::string& configFolder) {
  const std::string inProgramFolder = programFolder + "PLAVESKA.INI";
  if (::access(programFolder.c_str(), W_OK) == 0) {
    // An existing file that cannot be written would lose every change.
    if (::access(inProgramFolder.c_str(), F_OK) != 0 ||
        ::access(inProgramFolder.c_str(), W_OK) == 0)
      return inProgramFolder;
  }
  std::error_code ec;
  std::filesystem::create_directories(configFolder, ec);
  return (std::filesystem::path(configFolder) / "PLAVESKA.INI").string();
}

TIniFile loadIniFile(const std::string& path) {
  std::vector<uint8_t> data;
  std::string error;
  if (!readWholeFile(path, data, error)) return TIniFile{};
  return TIniFile::parse(std::string(data.begin(), data.end()));
}

bool saveIniFile(const TIniFile& ini, const std::string& path, std::string& error) {
  const std::string text = ini.text();
  return writeFileAtomically(path, std::vector<uint8_t>(text.begin(), text.end()), error);
}

}  // namespace plavesk
