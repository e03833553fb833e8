// "Route all rubberbands" in the window: the autorouter works through every
// band of the active board on a worker thread over a copy of the board,
// while a progress window names the band it is at ("Rubberband 3 of 12")
// and offers to cancel. Only a finished run touches the layout: its tracks
// come over in one undo step; a cancelled or failed run changes nothing.
#pragma once

#include <cstddef>
#include <string>

#include "app/long_job.h"
#include "routing/autorouter.h"

namespace plavesk {

class TEditor;
class TUserDialogs;

struct TRouteAllSummary {
  TJobOutcome outcome = TJobOutcome::finished;
  size_t routed = 0;
  size_t failed = 0;  // not found, and bands between SMD pads of both sides
  std::string error;  // a failed job's text
};

// Runs the job; afterwards tells the user how many bands were routed (or
// why the job failed). A cancel says nothing.
TRouteAllSummary routeAllRubberbands(TEditor& editor, const TRouteSettings& settings,
                                     TLongJobs& jobs, TUserDialogs& dialogs, int language);

// The progress window's step for band `index` (from 0) of `count`.
std::string routeAllStep(size_t index, size_t count, int language);
// The message after a finished run.
std::string routeAllMessage(size_t routed, size_t failed, int language);

}  // namespace plavesk
