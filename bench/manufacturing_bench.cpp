// The window's manufacturing exports on the 100,000-element synthetic board
// with both ground planes on, from the dialog's OK to the written files:
// the eight Gerber outputs and the drill file (target: below 4 s together),
// each through the worker thread and the file set writer as the window runs
// them. And the progress window: how long until it appears (target: within
// 300 ms) and until a cancel returns (target: within 200 ms).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app/long_job.h"
#include "app/manufacturing_commands.h"
#include "output/gerber_texts.h"
#include "synthetic_board.h"

namespace plavesk {
namespace {

using Clock = std::chrono::steady_clock;

// Answers No to "open the folder?" and records nothing.
class TSilentDialogs : public TUserDialogs {
 public:
  TAnswer askYesNoCancel(const std::string&, const std::string&) override { return TAnswer::No; }
  bool askYesNo(const std::string&, const std::string&) override { return false; }
  bool askOkCancel(const std::string&, const std::string&) override { return false; }
  void message(TMessageKind, const std::string&, const std::string& text) override {
    errors += text;
  }
  std::string chooseOpenFile(const std::string&, const std::string&, const std::string&) override {
    return {};
  }
  std::string chooseSaveFile(const std::string&, const std::string&, const std::string&,
                             const std::string&) override {
    return {};
  }
  std::string errors;
};

TEditor& editor() {
  static TEditor* e = [] {
    auto* ed = new TEditor;
    ed->layout = makeSyntheticLayout(100000);
    ed->layout.working().groundPlane1 = ed->layout.working().groundPlane2 = 1;
    return ed;
  }();
  return *e;
}

std::filesystem::path outputFolder() {
  auto folder =
      std::filesystem::temp_directory_path() / ("plavesk-fab-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  return folder;
}

void BM_FabSetFromDialog(benchmark::State& state) {
  TSilentDialogs dialogs;
  TLongJobs jobs(nullptr, 1);
  TManufacturingCommands commands(editor(), dialogs, jobs, 1);
  const auto folder = outputFolder();
  for (auto _ : state) {
    for (int i = 0; i < kGerberOutputCount; ++i) {
      const auto output = TGerberOutput(i);
      TGerberOptions options = gerberDefaults(output);
      if (options.punchEnabled() && !isSmdOnlyOutput(output)) options.setPunch(true);
      if (!commands.writeGerber(options, (folder / gerberFileName(output, 1)).string()))
        state.SkipWithError(dialogs.errors.c_str());
    }
    if (!commands.writeDrill({}, (folder / "board.drl").string()))
      state.SkipWithError(dialogs.errors.c_str());
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_FabSetFromDialog)->Unit(benchmark::kMillisecond)->Iterations(3);

// A job that runs until cancelled; the cancel is clicked as soon as the
// window is there. Reported: the time until the window appeared.
void BM_ProgressWindowAppears(benchmark::State& state) {
  TLongJobs jobs(nullptr, 1);
  for (auto _ : state) {
    const auto start = Clock::now();
    Clock::time_point shown;
    jobs.windowShown = [&] {
      shown = Clock::now();
      jobs.cancelButton()->click();
    };
    jobs.run("bench", [](TJobControl& c) {
      while (!c.cancelled()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
  }
}
BENCHMARK(BM_ProgressWindowAppears)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The worker computes without looking at cancelled() for 2 s; reported: the
// time from the click to the window's return.
void BM_CancelAnswered(benchmark::State& state) {
  TLongJobs jobs(nullptr, 1);
  for (auto _ : state) {
    Clock::time_point clicked;
    jobs.windowShown = [&] {
      QTimer::singleShot(50, [&] {
        clicked = Clock::now();
        jobs.cancelButton()->click();
      });
    };
    jobs.run("bench", [](TJobControl&) { std::this_thread::sleep_for(std::chrono::seconds(2)); });
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - clicked).count());
  }
}
BENCHMARK(BM_CancelAnswered)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace plavesk

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
