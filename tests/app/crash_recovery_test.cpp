// Crash recovery: a window killed with SIGKILL after an edit offers the edit
// back on the next start; what a run closed normally or already handled is
// never offered.
#include "app/crash_recovery.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "app/main_window.h"
#include "app/recent_files.h"
#include "document/layout_file.h"
#include "editing/action_runner.h"
#include "editing/layout_commands.h"
#include "scripted_dialogs.h"

extern char** environ;

namespace plavesk::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kChildFolder = "PLAVESK_CRASH_TEST_FOLDER";

std::unique_ptr<TMainWindow> openWindow(const fs::path& folder, TScriptedDialogs*& dialogs) {
  TMainWindowOptions options;
  options.language = kEnglish;
  options.programFolder = folder.string() + "/";
  options.settingsPath = (folder / "PLAVESKA.INI").string();
  options.recoveryFolder = (folder / "data").string();
  auto scripted = std::make_unique<TScriptedDialogs>();
  dialogs = scripted.get();
  auto window = std::make_unique<TMainWindow>(options, std::move(scripted));
  window->show();
  return window;
}

// A track drawn with the mouse, as the runner draws it.
void drawTrack(TEditor& editor) {
  std::ostringstream out;
  TActionContext context{editor, out};
  for (const char* action :
       {"tool track", "click 2000 -6000", "click 6000 -6000", "click 6000 -6000 --right"}) {
    std::string error;
    ASSERT_TRUE(runAction(context, action, error)) << action << ": " << error;
  }
}

// Turns the event loop until `done` or `seconds` passed.
bool waitFor(const std::function<bool()>& done, int seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

std::vector<fs::path> filesIn(const fs::path& folder, const std::string& extension) {
  std::vector<fs::path> found;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec))
    if (e.path().extension() == extension) found.push_back(e.path());
  return found;
}

class CrashRecovery : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("plavesk_crash_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override {
    window.reset();
    fs::remove_all(folder);
  }
  // Closes the window as the user does, answering "No" to the save question.
  void closeNormally() {
    dialogs->answers.push_back(TAnswer::No);
    window->close();
    window.reset();
  }

  fs::path folder;
  std::unique_ptr<TMainWindow> window;
  TScriptedDialogs* dialogs = nullptr;
};

// Run by the test below in a process of its own, never on its own: draws a
// track in an unnamed layout, waits for the autosave to keep the recovery
// copy, says so with a file and waits to be killed.
TEST(CrashRecoveryChild, DISABLED_EditAndWaitToBeKilled) {
  const char* where = std::getenv(kChildFolder);
  ASSERT_NE(where, nullptr);
  const fs::path folder(where);
  TScriptedDialogs* dialogs = nullptr;
  auto window = openWindow(folder, dialogs);
  window->openStartFile("");
  drawTrack(window->editor());
  window->setAutoSave(true, 100);
  ASSERT_TRUE(waitFor([&] { return !filesIn(folder / "data", ".lay").empty(); }, 20));
  std::ofstream(folder / "ready") << "edited\n";
  waitFor([] { return false; }, 120);
  FAIL() << "not killed";
}

TEST_F(CrashRecovery, AnEditBeforeSigkillIsOfferedOnTheNextStart) {
  char self[4096] = {};
  ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
  const std::string folderSetting = std::string(kChildFolder) + "=" + folder.string();
  std::vector<std::string> env{folderSetting, "QT_QPA_PLATFORM=offscreen"};
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind(kChildFolder, 0) != 0) env.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string a0 = self, a1 = "--gtest_also_run_disabled_tests",
              a2 = "--gtest_filter=CrashRecoveryChild.DISABLED_EditAndWaitToBeKilled";
  char* argv[] = {a0.data(), a1.data(), a2.data(), nullptr};
  pid_t child = 0;
  ASSERT_EQ(::posix_spawn(&child, self, nullptr, nullptr, argv, envp.data()), 0);
  const bool ready = waitFor([&] { return fs::exists(folder / "ready"); }, 60);
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(ready) << "the child never reported its edit";
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

  window = openWindow(folder, dialogs);
  dialogs->yesNo.push_back(true);
  window->openStartFile("");
  ASSERT_EQ(dialogs->questions.size(), 1u);
  EXPECT_NE(dialogs->questions[0].find("did not close normally"), std::string::npos)
      << dialogs->questions[0];
  // The track is back, in a layout that still has to be saved.
  ASSERT_EQ(window->editor().elements().size(), 1u);
  EXPECT_EQ(window->editor().elements().front()->kind, kTrack);
  EXPECT_TRUE(window->editor().layout.modified);
  EXPECT_TRUE(window->files().fileName.empty());
  EXPECT_EQ(window->windowTitle().toStdString(), "Plavesk 4.0");
  // The copy is this run's own now; after a normal close nothing is left.
  EXPECT_EQ(filesIn(folder / "data", ".lay").size(), 1u);
  closeNormally();
  EXPECT_TRUE(filesIn(folder / "data", ".lay").empty());
  EXPECT_TRUE(filesIn(folder / "data", ".session").empty());

  window = openWindow(folder, dialogs);
  window->openStartFile("");
  EXPECT_TRUE(dialogs->questions.empty());
}

// A run that ends without closing: the session's lock goes with it, as it
// goes with a killed process.
void abandonRun(const fs::path& data, const std::function<void(TRecoverySession&)>& work) {
  TRecoverySession run(data.string());
  ASSERT_TRUE(run.start());
  work(run);
}

TEST_F(CrashRecovery, DecliningRemovesTheCopyAndASecondRunningProgramIsLeftAlone) {
  const fs::path data = folder / "data";
  abandonRun(data, [](TRecoverySession& run) {
    TLayout layout;
    layout.addBoard("Board 1");
    layout.elements().push_back(std::make_unique<TObjekt>());
    layout.elements().back()->kind = kPad;
    ASSERT_TRUE(run.autosave(layout, "", true));
  });
  // A program still running keeps its copy out of the offer.
  TRecoverySession running(data.string());
  ASSERT_TRUE(running.start());
  TLayout layout;
  layout.addBoard("Board 1");
  ASSERT_TRUE(running.autosave(layout, "", true));

  window = openWindow(folder, dialogs);
  dialogs->yesNo.push_back(false);
  window->openStartFile("");
  EXPECT_EQ(dialogs->questions.size(), 1u);
  EXPECT_TRUE(window->editor().elements().empty());
  // Left: the running program's copy only.
  const auto copies = filesIn(data, ".lay");
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].string(), running.recoveryCopyPath());
  closeNormally();
  running.finish();
  EXPECT_TRUE(filesIn(data, ".session").empty());
}

TEST_F(CrashRecovery, TheBackupOfANamedLayoutIsOfferedWhenNewerThanTheFile) {
  struct Case {
    const char* name;
    bool backup;
    int backupAge;  // seconds younger (+) or older (-) than the layout file
    bool offered;
  };
  for (const Case& c :
       {Case{"newer backup", true, 60, true}, Case{"older backup", true, -60, false},
        Case{"no backup", false, 0, false}}) {
    SCOPED_TRACE(c.name);
    const fs::path data = folder / c.name;
    const fs::path file = folder / (std::string(c.name) + ".lay");
    TLayout saved;
    saved.addBoard("Board 1");
    std::string error;
    ASSERT_TRUE(saveLayout(saved, file.string(), false, error)) << error;
    if (c.backup) {
      TLayout later;
      later.addBoard("Board 1");
      later.addBoard("Board 2");
      ASSERT_TRUE(saveLayout(later, backupPathFor(file.string()), true, error)) << error;
      fs::last_write_time(backupPathFor(file.string()),
                          fs::last_write_time(file) + std::chrono::seconds(c.backupAge));
    }
    abandonRun(data, [&](TRecoverySession& run) { run.setLayoutFile(file.string()); });

    TRecoverySession next(data.string());
    const std::vector<TRecoveryItem> items = next.leftOver();
    ASSERT_EQ(items.size(), c.offered ? 1u : 0u);
    if (!c.offered) continue;
    EXPECT_EQ(items[0].kind, TRecoveryItem::backup);
    EXPECT_EQ(items[0].layout, file.string());
    // Restored, it keeps the layout's name and needs saving.
    TScriptedDialogs* d = nullptr;
    TMainWindowOptions options;
    options.programFolder = folder.string() + "/";
    options.settingsPath = (folder / "PLAVESKA.INI").string();
    options.recoveryFolder = data.string();
    options.language = kEnglish;
    auto scripted = std::make_unique<TScriptedDialogs>();
    d = scripted.get();
    window = std::make_unique<TMainWindow>(options, std::move(scripted));
    d->yesNo.push_back(true);
    window->openStartFile("");
    ASSERT_EQ(d->questions.size(), 1u);
    EXPECT_NE(d->questions[0].find(file.string()), std::string::npos);
    EXPECT_EQ(window->editor().layout.boards.size(), 2u);
    EXPECT_EQ(window->files().fileName, file.string());
    EXPECT_TRUE(window->editor().layout.modified);
    // Handled: the .bak stays, and only the running window's own session
    // (which holds its lock) still names the layout.
    EXPECT_TRUE(fs::exists(backupPathFor(file.string())));
    EXPECT_TRUE(TRecoverySession(data.string()).leftOver().empty());
    d->answers.push_back(TAnswer::No);
    window->close();
    window.reset();
    EXPECT_TRUE(TRecoverySession(data.string()).leftOver().empty());
  }
}

TEST_F(CrashRecovery, WithoutChangesOrWithAFileNameNoCopyIsKept) {
  TRecoverySession run((folder / "data").string());
  ASSERT_TRUE(run.start());
  TLayout layout;
  layout.addBoard("Board 1");
  EXPECT_TRUE(run.autosave(layout, "", true));
  EXPECT_TRUE(fs::exists(run.recoveryCopyPath()));
  EXPECT_FALSE(run.autosave(layout, "", false));
  EXPECT_FALSE(fs::exists(run.recoveryCopyPath()));
  EXPECT_TRUE(run.autosave(layout, "", true));
  EXPECT_FALSE(run.autosave(layout, (folder / "named.lay").string(), true));
  EXPECT_FALSE(fs::exists(run.recoveryCopyPath()));
  // A session file that is no session file is left out and left alone; one
  // naming a file elsewhere neither offers nor removes that file.
  std::ofstream(folder / "data" / "junk.session") << std::string(5000, '\xff');
  TLayout other;
  other.addBoard("Board 1");
  std::string error;
  ASSERT_TRUE(saveLayout(other, (folder / "mine.lay").string(), false, error)) << error;
  std::ofstream(folder / "data" / "forged.session")
      << "Plavesk session 1\nfile=\nrecovery=" << (folder / "mine.lay").string() << "\n";
  EXPECT_TRUE(TRecoverySession((folder / "data").string()).leftOver().empty());
  EXPECT_TRUE(fs::exists(folder / "data" / "junk.session"));
  EXPECT_TRUE(fs::exists(folder / "mine.lay"));
}

}  // namespace
}  // namespace plavesk::testing
