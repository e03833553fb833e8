#include "app/file_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "document/file_io.h"
#include "document/layout_file.h"
#include "scripted_dialogs.h"
#include "support/sample_layout.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

// An editor with the file commands, a scripted user and a scratch folder
// holding "board.lay" (the sample layout) and "other.lay" (two boards).
class FileCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("plavesk_files_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    board = (folder / "board.lay").string();
    other = (folder / "other.lay").string();
    TLayout sample = testing::makeSampleLayout();
    writeFile(board, encodeLayout(sample));
    TLayout two;
    two.addBoard("Left");
    two.addBoard("Right");
    testing::addPad(two.elements(), 500, -500);
    writeFile(other, encodeLayout(two));
    editor.layout.addBoard("Board 1");
    editor.layout.modified = false;
    files.recentChanged = [this] { ++recentWrites; };
    files.titleChanged = [this] { ++titleChanges; };
  }
  void TearDown() override { fs::remove_all(folder); }

  static void writeFile(const std::string& path, const std::vector<uint8_t>& data) {
    std::string error;
    ASSERT_TRUE(writeFileAtomically(path, data, error)) << error;
  }
  void modify() {
    editor.takeSnapshot();
    testing::addPad(editor.elements(), 2000, -2000);
  }
  std::vector<uint8_t> bytesOf(const std::string& path) {
    std::vector<uint8_t> data;
    std::string error;
    EXPECT_TRUE(readWholeFile(path, data, error)) << error;
    return data;
  }

  fs::path folder;
  std::string board, other;
  TEditor editor;
  testing::TScriptedDialogs dialogs;
  TFileCommands files{editor, dialogs, 1};
  int recentWrites = 0;
  int titleChanges = 0;
};

TEST_F(FileCommandsTest, OpenReadsTheFileAndNamesTheWindowAfterIt) {
  dialogs.openFiles = {board};
  ASSERT_TRUE(files.open(false));
  EXPECT_EQ(files.fileName, board);
  EXPECT_EQ(files.windowTitle(), "Plavesk 4.0 - [" + board + "]");
  EXPECT_EQ(files.layoutFolder, folder.string());
  EXPECT_EQ(editor.elements().size(), testing::makeSampleLayout().elements().size());
  EXPECT_FALSE(editor.layout.modified);
  EXPECT_EQ(files.recent.paths[0], board);
  EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(FileCommandsTest, SaveQuestionDecidesWhetherOpenGoesOn) {
  struct Case {
    const char* what;
    TAnswer answer;
    std::string saveAs;  // the Save as dialog's choice for an unnamed layout
    bool opens;
    bool written;
  } cases[] = {
      {"No discards the changes", TAnswer::No, "", true, false},
      {"Cancel keeps the layout", TAnswer::Cancel, "", false, false},
      {"Yes saves first", TAnswer::Yes, "saved.lay", true, true},
      {"Yes but Save as cancelled", TAnswer::Yes, "", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    editor.layout.close();
    editor.layout.addBoard("Board 1");
    files.fileName.clear();
    modify();
    const std::string target = c.saveAs.empty() ? "" : (folder / c.saveAs).string();
    dialogs.answers = {c.answer};
    dialogs.saveFiles = {target};
    dialogs.questions.clear();
    EXPECT_EQ(files.openFile(board, false), c.opens);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0], "Save changes?");
    EXPECT_EQ(files.fileName == board, c.opens);
    EXPECT_EQ(editor.layout.modified, !c.opens);
    if (!target.empty()) {
      EXPECT_EQ(fs::exists(target), c.written);
    }
    if (!c.opens) {
      EXPECT_EQ(editor.elements().size(), 1u);
    }
  }
}

TEST_F(FileCommandsTest, NoQuestionForATriviallyEmptyLayout) {
  // Modified, but one board without elements: nothing to lose.
  editor.layout.modified = true;
  EXPECT_FALSE(layoutNeedsSaveQuestion(editor.layout));
  EXPECT_TRUE(files.openFile(board, false));
  EXPECT_TRUE(dialogs.questions.empty());

  // Two empty boards are worth asking about.
  TLayout two;
  two.addBoard("A");
  two.addBoard("B");
  two.modified = true;
  EXPECT_TRUE(layoutNeedsSaveQuestion(two));
}

TEST_F(FileCommandsTest, FailedOpenLeavesThePreviousLayoutAndFileName) {
  ASSERT_TRUE(files.openFile(other, false));
  modify();
  const size_t elementsBefore = editor.elements().size();

  // A file that passes the header check but breaks off in the middle.
  std::vector<uint8_t> data = bytesOf(board);
  data.resize(data.size() / 2);
  const std::string broken = (folder / "broken.lay").string();
  writeFile(broken, data);
  dialogs.answers = {TAnswer::No};
  EXPECT_FALSE(files.openFile(broken, false));

  EXPECT_EQ(files.fileName, other);
  EXPECT_EQ(editor.layout.boards.size(), 2u);
  EXPECT_EQ(editor.elements().size(), elementsBefore);
  EXPECT_TRUE(editor.layout.modified);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].kind, TMessageKind::Error);
  EXPECT_EQ(dialogs.messages[0].title, "Plavesk 4.0");

  // Saving afterwards writes the layout that was open, to its own file.
  ASSERT_TRUE(files.save());
  TLayout reread;
  ASSERT_TRUE(readLayoutFile(reread, other, {}).ok);
  EXPECT_EQ(reread.boards.size(), 2u);
}

TEST_F(FileCommandsTest, RefusesFilesThatAreNotLayoutsOrDoNotExist) {
  const std::string text = (folder / "notes.lay").string();
  writeFile(text, {'h', 'e', 'l', 'l', 'o'});
  struct Case {
    std::string path;
    TMessageKind kind;
    std::string message;
  } cases[] = {
      {text, TMessageKind::Error, "\"notes.lay\" is not a Plavesk file."},
      {(folder / "missing.lay").string(), TMessageKind::Warning, "File not found!"},
  };
  for (const Case& c : cases) {
    dialogs.messages.clear();
    EXPECT_FALSE(files.openFile(c.path, false)) << c.path;
    ASSERT_EQ(dialogs.messages.size(), 1u) << c.path;
    EXPECT_EQ(dialogs.messages[0].kind, c.kind);
    EXPECT_EQ(dialogs.messages[0].text, c.message);
    EXPECT_TRUE(files.fileName.empty());
  }
}

TEST_F(FileCommandsTest, SaveWritesTheCurrentFileAndSaveAsRenamesIt) {
  ASSERT_TRUE(files.openFile(board, false));
  modify();
  ASSERT_TRUE(files.save());
  EXPECT_FALSE(editor.layout.modified);
  TLayout reread;
  ASSERT_TRUE(readLayoutFile(reread, board, {}).ok);
  EXPECT_EQ(reread.elements().size(), editor.elements().size());

  const std::string copy = (folder / "copy.lay").string();
  dialogs.saveFiles = {copy};
  ASSERT_TRUE(files.saveAs());
  EXPECT_EQ(files.fileName, copy);
  EXPECT_EQ(bytesOf(copy), bytesOf(board));
  EXPECT_EQ(files.recent.paths[0], copy);
  EXPECT_EQ(files.recent.paths[1], board);

  dialogs.saveFiles = {""};
  EXPECT_FALSE(files.saveAs());
  EXPECT_EQ(files.fileName, copy);
}

TEST_F(FileCommandsTest, AutosaveWritesTheBackupAndLeavesTheRestAlone) {
  ASSERT_TRUE(files.openFile(board, false));
  modify();
  const auto boardBytes = bytesOf(board);
  const int titlesBefore = titleChanges;
  const auto recentBefore = files.recent.paths;
  std::vector<bool> running;
  files.autosaveRunning = [&](bool on) { running.push_back(on); };

  ASSERT_TRUE(files.autosave());
  const std::string backup = (folder / "board.bak").string();
  ASSERT_TRUE(fs::exists(backup));
  EXPECT_EQ(files.fileName, board);
  EXPECT_EQ(titleChanges, titlesBefore);
  EXPECT_TRUE(editor.layout.modified);
  EXPECT_EQ(files.recent.paths, recentBefore);
  EXPECT_EQ(bytesOf(board), boardBytes);
  EXPECT_EQ(running, (std::vector<bool>{true, false}));
  TLayout reread;
  ASSERT_TRUE(readLayoutFile(reread, backup, {}).ok);
  EXPECT_EQ(reread.elements().size(), editor.elements().size());
}

TEST_F(FileCommandsTest, AutosaveKeepsElementsOutsideTheBoard) {
  ASSERT_TRUE(files.openFile(board, false));
  testing::addPad(editor.elements(), -5000, 5000);
  const size_t count = editor.elements().size();
  ASSERT_TRUE(files.autosave());
  EXPECT_EQ(editor.elements().size(), count);
  TLayout reread;
  ASSERT_TRUE(readLayoutFile(reread, (folder / "board.bak").string(), {}).ok);
  EXPECT_EQ(reread.elements().size(), count);
}

TEST_F(FileCommandsTest, NoAutosaveWithoutAFileOrForABackupFile) {
  EXPECT_FALSE(files.autosave());  // never saved
  const std::string bak = (folder / "old.BAK").string();
  fs::copy_file(board, bak);
  ASSERT_TRUE(files.openFile(bak, false));
  EXPECT_FALSE(files.autosave());
  EXPECT_TRUE(files.recent.paths[0].empty());  // .bak files stay out of the list
}

TEST_F(FileCommandsTest, ImportAppendsBoardsAndKeepsTheFileName) {
  ASSERT_TRUE(files.openFile(board, false));
  ASSERT_TRUE(files.openFile(other, true));
  EXPECT_EQ(files.fileName, board);
  EXPECT_EQ(editor.layout.boards.size(), 3u);
  EXPECT_TRUE(editor.layout.modified);
  EXPECT_TRUE(dialogs.questions.empty());
  ASSERT_TRUE(files.save());
  TLayout reread;
  ASSERT_TRUE(readLayoutFile(reread, board, {}).ok);
  EXPECT_EQ(reread.boards.size(), 3u);
}

TEST_F(FileCommandsTest, NewAsksThenStartsWithOneUnmodifiedBoard) {
  ASSERT_TRUE(files.openFile(other, false));
  modify();
  int propertiesShown = 0;
  files.boardPropertiesForNew = [&] { ++propertiesShown; };
  dialogs.answers = {TAnswer::No};
  ASSERT_TRUE(files.newLayout());
  EXPECT_TRUE(files.fileName.empty());
  EXPECT_EQ(files.windowTitle(), "Plavesk 4.0");
  ASSERT_EQ(editor.layout.boards.size(), 1u);
  EXPECT_EQ(editor.layout.boards[0]->name, "Board 1");
  EXPECT_TRUE(editor.elements().empty());
  EXPECT_FALSE(editor.layout.modified);
  EXPECT_EQ(propertiesShown, 1);
}

TEST_F(FileCommandsTest, RecentFilesFollowOpenAndReopen) {
  ASSERT_TRUE(files.openFile(board, false));
  ASSERT_TRUE(files.openFile(other, false));
  EXPECT_EQ(files.recent.paths[0], other);
  EXPECT_EQ(files.recent.paths[1], board);
  const int writes = recentWrites;
  // Opening a file already in the list leaves the order as it was.
  ASSERT_TRUE(files.openRecent(1));
  EXPECT_EQ(files.fileName, board);
  EXPECT_EQ(files.recent.paths[0], other);
  EXPECT_EQ(recentWrites, writes);

  fs::remove(other);
  dialogs.messages.clear();
  EXPECT_FALSE(files.openRecent(0));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "File not found");
  EXPECT_EQ(files.fileName, board);
}

TEST_F(FileCommandsTest, CommandLineIgnoresMissingFilesSilently) {
  EXPECT_FALSE(files.openFromCommandLine((folder / "nothing here.lay").string()));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(files.openFromCommandLine(board));
  EXPECT_EQ(files.fileName, board);
}

TEST_F(FileCommandsTest, AFailedWriteReportsAndKeepsTheModifiedFlag) {
  files.fileName = (folder / "no such folder" / "x.lay").string();
  modify();
  files.saveCompleted = false;
  EXPECT_FALSE(files.save());
  EXPECT_FALSE(files.saveCompleted);
  EXPECT_TRUE(editor.layout.modified);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].kind, TMessageKind::Error);
}

}  // namespace
}  // namespace plavesk
