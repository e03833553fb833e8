// Long jobs on a worker thread: the result of a finished job, a failure's
// text, and a cancel from the progress window that returns before the work
// ends, while the window's event loop keeps running.
#include "app/long_job.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace plavesk {
namespace {

TEST(LongJobTest, FinishedJobHandsBackItsResult) {
  TLongJobs jobs(nullptr, 1);
  auto sum = std::make_shared<long>(0);
  const TJobOutcome outcome = jobs.run("Sum", [sum](TJobControl& c) {
    c.setStep("adding");
    for (long i = 1; i <= 1000; ++i) *sum += i;
  });
  EXPECT_EQ(outcome, TJobOutcome::finished);
  EXPECT_EQ(*sum, 500500);
  EXPECT_EQ(jobs.progressWindow(), nullptr);
}

TEST(LongJobTest, AnExceptionIsAFailureWithItsText) {
  TLongJobs jobs(nullptr, 1);
  std::string error;
  const TJobOutcome outcome = jobs.run(
      "Fail", [](TJobControl&) { throw std::runtime_error("out of paper"); }, &error);
  EXPECT_EQ(outcome, TJobOutcome::failed);
  EXPECT_EQ(error, "out of paper");
}

// The window shows the step and the bar, keeps handling events, and Cancel
// returns at once although the worker is still busy; the worker then sees
// the cancel and its result is never handed back.
TEST(LongJobTest, CancelReturnsWhileTheWorkerRunsOn) {
  TLongJobs jobs(nullptr, 0);
  jobs.showAfterMs = 0;
  auto release = std::make_shared<std::atomic<bool>>(false);
  auto sawCancel = std::make_shared<std::atomic<bool>>(false);
  auto result = std::make_shared<int>(0);
  // The worker reports, then waits until the test lets it go.
  jobs.beforeWork = [release](TJobControl& c) {
    c.setStep("Schritt 2");
    c.setProgress(250, 1000);
  };
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(5);
  QString shownStep;
  int shownValue = -1;
  jobs.windowShown = [&] {
    // The next poll has shown the report by the time the cancel is clicked.
    QTimer::singleShot(100, jobs.progressWindow(), [&] {
      shownStep = jobs.stepLabel()->text();
      shownValue = jobs.progressBar()->value();
      EXPECT_TRUE(jobs.progressWindow()->isVisible());
      jobs.cancelButton()->click();
    });
  };
  const TJobOutcome outcome = jobs.run("Wait", [release, sawCancel, result](TJobControl& c) {
    while (!release->load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (c.cancelled()) {
      *sawCancel = true;
      return;
    }
    *result = 42;
  });
  EXPECT_EQ(outcome, TJobOutcome::cancelled);
  EXPECT_EQ(shownStep, "Schritt 2");
  EXPECT_EQ(shownValue, 250);
  EXPECT_GT(ticks, 5);  // the event loop ran while the job did
  EXPECT_EQ(jobs.progressWindow(), nullptr);
  release->store(true);
  jobs.windowShown = {};
  // The next run waits for nothing: the cancelled worker ends by itself.
  EXPECT_EQ(jobs.run("Next", [](TJobControl&) {}), TJobOutcome::finished);
  for (int i = 0; i < 1000 && !sawCancel->load(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_TRUE(sawCancel->load());
  EXPECT_EQ(*result, 0);
}

}  // namespace
}  // namespace plavesk
