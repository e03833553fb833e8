#include "app/route_all_job.h"

#include <QString>
#include <memory>
#include <vector>

#include "app/user_dialogs.h"
#include "document/language_text.h"
#include "editing/autoroute_tool.h"
#include "editing/command_table.h"
#include "editing/editor.h"

namespace plavesk {
namespace {

constexpr TText kBandOf{"Luftlinie %1 von %2", "Rubberband %1 of %2", "Connexion %1 sur %2"};
constexpr TText kRouted{"%1 Luftlinien verlegt, %2 nicht gefunden.",
                        "%1 rubberbands routed, %2 not found.",
                        "%1 connexions routées, %2 non trouvées."};
constexpr TText kJobFailed{
    "Das Verlegen ist fehlgeschlagen: ", "Routing failed: ", "Le routage a échoué : "};

std::string caption(int language) {
  const TCommand* command = findCommand("fn.routeAll");
  return command ? std::string(commandCaption(*command, language)) : std::string();
}

}  // namespace

std::string routeAllStep(size_t index, size_t count, int language) {
  return QString::fromUtf8(pickText(language, kBandOf))
      .arg(qulonglong(index + 1))
      .arg(qulonglong(count))
      .toStdString();
}

std::string routeAllMessage(size_t routed, size_t failed, int language) {
  return QString::fromUtf8(pickText(language, kRouted))
      .arg(qulonglong(routed))
      .arg(qulonglong(failed))
      .toStdString();
}

TRouteAllSummary routeAllRubberbands(TEditor& editor, const TRouteSettings& settings,
                                     TLongJobs& jobs, TUserDialogs& dialogs, int language) {
  TRouteAllSummary summary;
  if (!editor.layout.hasActiveBoard()) return summary;
  // Everything the worker touches lives here: a cancelled worker runs on to
  // its next look at the cancel after the window has dropped the job.
  struct TJob {
    std::shared_ptr<TJobBoard> board;
    size_t originalCount = 0;
    TRouteSettings settings;
    int language = 0;
    std::vector<TRoutedBand> bands;
  };
  auto job = std::make_shared<TJob>();
  job->board = copyBoardForJob(editor.layout);
  job->originalCount = job->board->elements.size();
  job->settings = settings;
  job->language = language;
  const std::string title = caption(language);
  summary.outcome = jobs.run(
      QString::fromStdString(title),
      [job](TJobControl& control) {
        TObjektList& list = job->board->elements;
        job->bands = listBands(list);
        TRouterHooks hooks = listRouterHooks(list, job->board->board);
        hooks.stopped = [&control] { return control.cancelled(); };
        routeBands(list, job->board->board, job->bands, job->settings, hooks,
                   [&](size_t index, size_t count) {
                     if (control.cancelled()) return false;
                     control.setStep(routeAllStep(index, count, job->language));
                     control.setProgress(index, count);
                     return true;
                   });
      },
      &summary.error);
  if (summary.outcome == TJobOutcome::cancelled) return summary;
  if (summary.outcome == TJobOutcome::failed) {
    dialogs.message(TMessageKind::Error, title, pickText(language, kJobFailed) + summary.error);
    return summary;
  }
  applyRoutedCopy(editor, job->board->elements, job->originalCount);
  for (const TRoutedBand& band : job->bands) ++(band.routed ? summary.routed : summary.failed);
  dialogs.message(TMessageKind::Information, title,
                  routeAllMessage(summary.routed, summary.failed, language));
  return summary;
}

}  // namespace plavesk
