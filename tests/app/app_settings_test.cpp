#include "app/app_settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace plavesk {
namespace {

namespace fs = std::filesystem;

TEST(AppSettings, FirstStartWithoutSettingsFile) {
  const TAppSettings s = readSettings(TIniFile{}, "/nonexistent/prog/");
  EXPECT_TRUE(s.hints);
  EXPECT_FALSE(s.macroPanel);
  EXPECT_FALSE(s.autoSave);
  EXPECT_EQ(s.autoSaveTime, 300000);
  EXPECT_EQ(s.colourScheme, 0);
  EXPECT_TRUE(s.boardZoom);
  EXPECT_EQ(s.undoDepth, 50);
  EXPECT_EQ(s.gridMarking, 4);
  EXPECT_TRUE(s.gridVisible);
  for (const std::string& f : s.folders) EXPECT_EQ(f, "/nonexistent/prog/");
  // "Makros" does not exist there, so the program folder serves.
  EXPECT_EQ(s.macroRoot, "/nonexistent/prog/");
  EXPECT_EQ(s.macroSubfolder, "...");
  for (const std::string& r : s.recentFiles) EXPECT_TRUE(r.empty());
}

TEST(AppSettings, MacroFoldersFallBackWhenMissing) {
  const fs::path prog = fs::temp_directory_path() / ("plavesk_prog_" + std::to_string(::getpid()));
  fs::create_directories(prog / "Makros" / "ICs");
  const std::string folder = prog.string() + "/";
  EXPECT_EQ(readSettings(TIniFile{}, folder).macroRoot, folder + "Makros");

  struct Case {
    std::string root, sub;
    std::string expectRoot, expectSub;
  } cases[] = {
      {folder + "Makros", "ICs", folder + "Makros", "ICs"},
      {folder + "Makros", "Gone", folder + "Makros", "..."},
      {folder + "Nowhere", "ICs", folder, "..."},
  };
  for (const Case& c : cases) {
    TIniFile ini;
    ini.writeString("Ordner", "Makro", c.root);
    ini.writeString("Ordner", "MakroOrdner", c.sub);
    const TAppSettings s = readSettings(ini, folder);
    EXPECT_EQ(s.macroRoot, c.expectRoot) << c.root;
    EXPECT_EQ(s.macroSubfolder, c.expectSub) << c.root << " " << c.sub;
  }
  fs::remove_all(prog);
}

TEST(AppSettings, RoundTripThroughTheFileText) {
  TAppSettings s = defaultSettings("/prog/");
  s.hints = false;
  s.macroPanel = true;
  s.autoSave = true;
  s.autoSaveTime = 120000;
  s.colourScheme = 2;
  s.boardZoom = false;
  s.undoDepth = 12;
  s.gridMarking = 10;
  s.gridVisible = false;
  s.folders = {"/a/", "/b/", "/c/", "/d/", "/e/"};
  s.valueLists.trackWidths = {{80, "0.8 mm"}, {150, "1.5 mm"}};
  s.valueLists.grids = {{127, "      1.27 mm"}, {5000000, "      0.5 mm"}};
  s.valueLists.padSizes = {{-1, "1.8 x 0.6 mm"}};
  s.valueLists.smdSizes = {{-1, "0.90 x 1.80 mm"}, {-1, "1.20 x 0.60 mm"}};
  s.recentFiles = {"/x/one.lay", "/x/two.lay", "", ""};

  TIniFile ini;
  writeSettings(ini, s);
  writeRecentFiles(ini, s.recentFiles);
  // Twice through the file: nothing may grow, least of all the grid captions'
  // blanks.
  for (int round = 0; round < 2; ++round) {
    TAppSettings back = readSettings(TIniFile::parse(ini.text()), "/prog/");
    back.macroRoot = s.macroRoot;  // the folder check needs real folders
    back.macroSubfolder = s.macroSubfolder;
    EXPECT_EQ(back, s) << "round " << round;
    ini = TIniFile::parse(ini.text());
    writeSettings(ini, back);
  }
  const std::string text = ini.text();
  EXPECT_NE(
      text.find("[Optionen]\r\nKurzhilfe=0\r\nMakro=1\r\nAutoSave=1\r\nAutoSaveTime=120000\r\n"),
      std::string::npos);
  // Grid captions are stored without the menu's indentation.
  EXPECT_NE(text.find("[R_POPUP]\r\nT8=127\r\nS8=1.27 mm\r\nT9=5000000\r\n"), std::string::npos);
  EXPECT_NE(text.find("[History]\r\nD1=/x/one.lay\r\nD2=/x/two.lay\r\nD3=\r\nD4=\r\n"),
            std::string::npos);
}

TEST(AppSettings, ValueListsStopAndSkipAsStored) {
  const TIniFile ini = TIniFile::parse(
      "[L_POPUP]\nT0=80\nS0= 0.8 mm \nT1=-1\nS1=skipped\nT2=200\nS2=2.0 mm\nT4=999\nS4=after gap\n"
      "[R_POPUP]\nT0=1\nS0=before the first grid index\nT8=254\nS8=2.54 mm\n"
      "[LA_POPUP]\nS0=1.8 x 0.6 mm\nS1=\nS2=after empty\n"
      "[SMD_POPUP]\nS1=no S0\n");
  const TValueLists lists = readValueLists(ini);
  EXPECT_EQ(lists.trackWidths, (std::vector<TValueListEntry>{{80, "0.8 mm"}, {200, "2.0 mm"}}));
  EXPECT_EQ(lists.grids, (std::vector<TValueListEntry>{{254, "      2.54 mm"}}));
  EXPECT_EQ(lists.padSizes, (std::vector<TValueListEntry>{{-1, "1.8 x 0.6 mm"}}));
  EXPECT_TRUE(lists.smdSizes.empty());

  // Writing erases what the section held before.
  TIniFile out = ini;
  writeValueLists(out, TValueLists{});
  EXPECT_FALSE(out.hasSection("L_POPUP"));
  EXPECT_FALSE(out.hasKey("R_POPUP", "T0"));
}

TEST(AppSettings, SettingsFileInTheProgramFolderWhenWritable) {
  const fs::path prog = fs::temp_directory_path() / ("plavesk_ini_" + std::to_string(::getpid()));
  fs::create_directories(prog);
  const std::string folder = prog.string() + "/";
  EXPECT_EQ(settingsFilePath(folder, (prog / "config").string()), folder + "PLAVESKA.INI");
  const std::string elsewhere = settingsFilePath("/nonexistent/prog/", (prog / "config").string());
  EXPECT_EQ(elsewhere, (prog / "config" / "PLAVESKA.INI").string());
  EXPECT_TRUE(fs::is_directory(prog / "config"));

  TIniFile ini;
  ini.writeString("Optionen", "Undo", "7");
  std::string error;
  ASSERT_TRUE(saveIniFile(ini, elsewhere, error)) << error;
  EXPECT_EQ(loadIniFile(elsewhere).readInteger("Optionen", "Undo", 0), 7);
  EXPECT_TRUE(loadIniFile(folder + "missing.ini").sections().empty());
  fs::remove_all(prog);
}

}  // namespace
}  // namespace plavesk
