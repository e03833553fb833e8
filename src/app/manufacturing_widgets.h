// Small parts shared by the manufacturing dialogs: the help button, the
// colour swatch of a layer, the mm value field with its enabled and disabled
// colours, and what every export says after writing.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "view/colour_scheme.h"

class QFrame;
class QPushButton;
class QWidget;

namespace plavesk {

class TLaySpinEdit;
class TUserDialogs;

// "&Hilfe" opening `topic` in the help window.
QPushButton* helpButton(int language, int topic);
// A small coloured rectangle (object name `name`).
QFrame* colourSwatch(const QString& name, TColour colour);
void setSwatchColour(QFrame* swatch, TColour colour);
// A value field in mm with two decimals and a step of 0.01: yellow on black
// while enabled, grey on grey while disabled.
TLaySpinEdit* millimetreField(const QString& name, double min, double max, double value);

// "Gerber-274X (*.gbr)|*.gbr" as a file dialog filter.
std::string fileDialogFilter(const std::string& filter);

// After an export: where the files went, and whether to open the folder
// (opened with the desktop's file manager on Yes).
void reportWrittenFiles(TUserDialogs& dialogs, int language, const std::string& caption,
                        const std::string& headline, const std::vector<std::string>& paths);
// The text of that question.
std::string writtenFilesText(int language, const std::string& headline,
                             const std::vector<std::string>& paths);
// The message after a failed write: the headline, the file and the reason.
std::string notWrittenText(const std::string& headline, const std::string& path,
                           const std::string& reason);

}  // namespace plavesk
