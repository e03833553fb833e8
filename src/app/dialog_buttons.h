// The OK and Cancel row at the foot of the window's dialogs, captioned in
// the interface language (the toolkit's standard buttons would speak
// English whatever the language of the run).
#pragma once

#include <QDialogButtonBox>

class QDialog;

namespace plavesk {

// OK accepts, Cancel rejects `dialog`; OK is the default button.
QDialogButtonBox* okCancelButtons(QDialog& dialog, int language);

}  // namespace plavesk
