#include "app/long_job.h"

#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>

#include "app/language.h"

namespace plavesk {

namespace {
constexpr TText kCancel{"&Abbrechen", "&Cancel", "&Annuler"};
// How often the window looks at the worker's reports.
constexpr int kPollMs = 25;
}  // namespace

void TJobControl::setStep(const std::string& text) {
  std::lock_guard lock(mutex_);
  state_.step = text;
  state_.position = state_.range = 0;
  ++state_.serial;
}

void TJobControl::setProgress(size_t position, size_t range) {
  std::lock_guard lock(mutex_);
  state_.position = position;
  state_.range = range;
  ++state_.serial;
}

TJobControl::TSnapshot TJobControl::snapshot() const {
  std::lock_guard lock(mutex_);
  return state_;
}

std::shared_ptr<TJobBoard> copyBoardForJob(const TLayout& layout) {
  auto copy = std::make_shared<TJobBoard>();
  const TObjektList& source = layout.elements();
  copyList(copy->elements, source);
  for (size_t i = 0; i < source.size() && i < copy->elements.size(); ++i)
    copy->elements[i]->selected = source[i]->selected;
  copy->board = layout.working();
  return copy;
}

struct TLongJobs::TWorker {
  TJobControl control;
  std::atomic<bool> done{false};
  std::string error;
  bool failed = false;
  std::thread thread;
};

TLongJobs::TLongJobs(QWidget* parent, int language) : parent_(parent), language_(language) {}

TLongJobs::~TLongJobs() {
  joinFinished(true);
}

void TLongJobs::joinFinished(bool all) {
  std::erase_if(workers_, [all](const std::shared_ptr<TWorker>& w) {
    if (!all && !w->done) return false;
    if (w->thread.joinable()) w->thread.join();
    return true;
  });
}

TJobOutcome TLongJobs::run(const QString& title, const std::function<void(TJobControl&)>& work,
                           std::string* error) {
  joinFinished(false);
  auto worker = std::make_shared<TWorker>();
  TWorker* w = worker.get();
  QEventLoop loop;
  worker->thread = std::thread([w, work, before = beforeWork] {
    try {
      if (before) before(w->control);
      work(w->control);
    } catch (const std::exception& e) {
      w->error = e.what();
      w->failed = true;
    } catch (...) {
      w->error = "unknown error";
      w->failed = true;
    }
    // The window sees this at its next poll; a cancelled run's window is
    // gone by then, and the flag is all that is read.
    w->done = true;
  });
  workers_.push_back(worker);

  QDialog window(parent_);
  window.setObjectName("LongJob");
  window.setWindowTitle(title);
  window.setWindowModality(Qt::ApplicationModal);
  window.setAccessibleName(title);
  auto* layout = new QVBoxLayout(&window);
  auto* step = new QLabel;
  step->setObjectName("L_Step");
  step->setMinimumWidth(320);
  auto* bar = new QProgressBar;
  bar->setObjectName("ProgressBar");
  bar->setAccessibleName(title);
  bar->setRange(0, 0);
  auto* cancel = new QPushButton(pick(language_, kCancel));
  cancel->setObjectName("CancelBtn");
  cancel->setAccessibleName(QString(pick(language_, kCancel)).remove('&'));
  layout->addWidget(step);
  layout->addWidget(bar);
  layout->addWidget(cancel, 0, Qt::AlignHCenter);
  window_ = &window;
  step_ = step;
  bar_ = bar;
  cancelButton_ = cancel;

  bool cancelled = false;
  auto stop = [&] {
    if (cancelled) return;
    cancelled = true;
    w->control.cancel();
    loop.quit();
  };
  QObject::connect(cancel, &QPushButton::clicked, &loop, stop);
  QObject::connect(&window, &QDialog::rejected, &loop, stop);

  unsigned shownSerial = ~0u;
  auto refresh = [&] {
    const TJobControl::TSnapshot s = w->control.snapshot();
    if (s.serial == shownSerial) return;
    shownSerial = s.serial;
    step->setText(QString::fromStdString(s.step));
    if (s.range == 0) {
      bar->setRange(0, 0);
    } else {
      // The bar counts in thousandths so that ranges beyond int fit.
      bar->setRange(0, 1000);
      bar->setValue(int(double(s.position) / double(s.range) * 1000.0));
    }
  };
  QTimer poll;
  poll.setInterval(kPollMs);
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (w->done) {
      loop.quit();
      return;
    }
    refresh();
  });
  QTimer::singleShot(showAfterMs, &window, [&] {
    if (w->done || cancelled) return;
    refresh();
    window.show();
    if (windowShown) windowShown();
  });
  poll.start();
  if (!w->done) loop.exec();
  poll.stop();
  window_ = nullptr;
  step_ = nullptr;
  bar_ = nullptr;
  cancelButton_ = nullptr;
  window.hide();

  if (cancelled && !w->done) return TJobOutcome::cancelled;
  joinFinished(false);
  if (cancelled) return TJobOutcome::cancelled;
  if (worker->failed) {
    if (error) *error = worker->error;
    return TJobOutcome::failed;
  }
  return TJobOutcome::finished;
}

}  // namespace plavesk
