// Long jobs (contours, large Gerber sets, many autoroutes, big pictures)
// without a frozen window. The job runs on a worker thread over data of its
// own (a copy of the elements it reads), while the window's event loop keeps
// running: the drawing area repaints, and after a short moment a progress
// window shows the step and how far it is, with a cancel button. A cancelled
// job's results are dropped: it writes nothing and changes nothing, because
// only the caller, after a finished run, writes files or touches the layout.
#pragma once

#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "document/board.h"

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace plavesk {

// Shared by the worker (reports, asks whether to go on) and the window.
class TJobControl {
 public:
  // The worker: the step shown above the bar, and the bar's position.
  void setStep(const std::string& text);
  void setProgress(size_t position, size_t range);
  // True once the user cancelled; the worker stops at its next look.
  bool cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

  // The window's side.
  void cancel() { cancelled_ = true; }
  struct TSnapshot {
    std::string step;
    size_t position = 0, range = 0;
    unsigned serial = 0;  // changes with every report
  };
  TSnapshot snapshot() const;

 private:
  std::atomic<bool> cancelled_{false};
  mutable std::mutex mutex_;
  TSnapshot state_;
};

enum class TJobOutcome { finished, cancelled, failed };

// The active board's elements and record as a job reads them: a copy the
// window can change or drop while the job runs. The selection is kept (the
// milling of marked texts reads it).
struct TJobBoard {
  TObjektList elements;
  TBoardRecord board;
};
std::shared_ptr<TJobBoard> copyBoardForJob(const TLayout& layout);

class TLongJobs {
 public:
  TLongJobs(QWidget* parent, int language);
  // Waits for workers still running on after a cancel.
  ~TLongJobs();
  TLongJobs(const TLongJobs&) = delete;
  TLongJobs& operator=(const TLongJobs&) = delete;

  // Runs `work` on a worker thread and returns when it has finished, failed
  // (an exception; its text in `error`) or was cancelled. A cancel returns at
  // once: the worker runs on to its next look at cancelled() over its own
  // data and its result is never used.
  TJobOutcome run(const QString& title, const std::function<void(TJobControl&)>& work,
                  std::string* error = nullptr);

  // The progress window appears when the job takes longer than this.
  int showAfterMs = 100;
  // The open progress window (null between jobs and before it appears).
  QDialog* progressWindow() const { return window_; }
  QLabel* stepLabel() const { return step_; }
  QProgressBar* progressBar() const { return bar_; }
  QPushButton* cancelButton() const { return cancelButton_; }
  // Tests and benchmarks: called when the progress window has appeared, and
  // on the worker thread before the work starts.
  std::function<void()> windowShown;
  std::function<void(TJobControl&)> beforeWork;

 private:
  struct TWorker;
  void joinFinished(bool all);

  QWidget* parent_;
  int language_;
  QDialog* window_ = nullptr;
  QLabel* step_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  std::vector<std::shared_ptr<TWorker>> workers_;
};

}  // namespace plavesk
