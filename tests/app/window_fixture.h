// A main window in a scratch program folder without settings file, answering
// its questions from a script; for the tests of the window's commands.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "scripted_dialogs.h"

namespace plavesk::testing {

class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("plavesk_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  void TearDown() override {
    window.reset();
    std::filesystem::remove_all(folder);
  }
  TMainWindow& open(int language = kEnglish) {
    TMainWindowOptions options;
    options.language = language;
    options.programFolder = folder.string() + "/";
    options.settingsPath = (folder / "PLAVESKA.INI").string();
    auto scripted = std::make_unique<TScriptedDialogs>();
    dialogs = scripted.get();
    window = std::make_unique<TMainWindow>(options, std::move(scripted));
    window->resize(1000, 700);
    window->show();
    return *window;
  }
  std::string path(const std::string& name) const { return (folder / name).string(); }

  std::filesystem::path folder;
  std::unique_ptr<TMainWindow> window;
  TScriptedDialogs* dialogs = nullptr;
};

// Runs `answer` on the next modal dialog of type D once its event loop runs.
template <class D>
void answerNextDialog(std::function<void(D&)> answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
    if (!dialog) {
      ADD_FAILURE() << "no dialog of the expected type";
      if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget())) other->reject();
      return;
    }
    answer(*dialog);
  });
}

}  // namespace plavesk::testing
