// The start-up question after a run that did not close normally: each
// recovery copy or newer ".bak" is offered back, newest first.
#pragma once

#include "app/crash_recovery.h"

namespace plavesk {

class TEditor;
class TFileCommands;
class TUserDialogs;

// Asks about each item the session's earlier runs left; the first one the
// user accepts becomes the open layout (modified, so the save question
// follows) and the rest wait for the next start. Declined items are removed.
// Returns whether a layout was restored.
bool offerRecovery(TRecoverySession& session, TEditor& editor, TFileCommands& files,
                   TUserDialogs& dialogs, int language);

// The question for one item, in the interface language.
std::string recoveryQuestion(const TRecoveryItem& item, int language);

}  // namespace plavesk
