#include "app/arc_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/dialog_buttons.h"
#include "app/help_topics.h"
#include "app/language.h"
#include "app/lay_spin_edit.h"
#include "app/manufacturing_widgets.h"

namespace plavesk {

namespace {

constexpr TText kTitle{"Kreisbogen", "Segment", "Segment"};
constexpr TText kGroup{"Einstellungen", "Options", "Options"};
constexpr TText kStart{"Startwinkel:", "Start angle:", "Angle de départ:"};
constexpr TText kStop{"Stopwinkel:", "Stop angle:", "Angle d'arrêt:"};
constexpr TText kDiameter{"Durchmesser:", "Diameter:", "Diamètre:"};
constexpr TText kFill{"Füllung", "Fill segment", "Remplir le segment"};
constexpr TText kWarning{"Kein Gerber-Export für gefüllte Kreisbögen",
                         "No Gerber-export for filled segments",
                         "Pas d'export Gerber pour les segments remplis"};
constexpr TText kExplanation{
    "Der Bogen wird vom Startwinkel in Richtung Stopwinkel gegen den Uhrzeigersinn gezeichnet.",
    "The segment is drawn anticlockwise from the start angle to the stop angle.",
    "Le segment est tracé dans le sens antihoraire de l'angle de départ à l'angle d'arrêt."};

TLaySpinEdit* field(QGridLayout* grid, int row, const QString& label, const char* name,
                    TLaySpinEdit* edit, const QString& unit) {
  grid->addWidget(new QLabel(label), row, 0);
  edit->setObjectName(name);
  edit->setCaption(QString(label).remove(':'));
  grid->addWidget(edit, row, 1);
  grid->addWidget(new QLabel(unit), row, 2);
  return edit;
}

}  // namespace

TBogenDlg::TBogenDlg(int language, QWidget* parent) : QDialog(parent) {
  setObjectName("TBogenDlg");
  setWindowTitle(pick(language, kTitle));
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(pick(language, kGroup));
  auto* grid = new QGridLayout(group);
  const QString degree = QString::fromUtf8("\u00B0");
  start_ = field(grid, 0, pick(language, kStart), "SE_StartWinkel",
                 new TLaySpinEdit(0, 359, 1, 0, 0), degree);
  stop_ = field(grid, 1, pick(language, kStop), "SE_StopWinkel", new TLaySpinEdit(0, 359, 1, 0, 0),
                degree);
  diameter_ = field(grid, 2, pick(language, kDiameter), "SE_Durchmesser",
                    new TLaySpinEdit(0.1, 99.9, 0.01, 2, 1.0), "mm");
  fill_ = new QCheckBox(pick(language, kFill));
  fill_->setObjectName("CB_Fuellung");
  fill_->setAccessibleName(pick(language, kFill));
  grid->addWidget(fill_, 3, 0, 1, 3);
  warning_ = new QLabel(pick(language, kWarning));
  warning_->setObjectName("L_Fuellung");
  warning_->setAccessibleName(pick(language, kWarning));
  grid->addWidget(warning_, 4, 0, 1, 3);
  connect(fill_, &QCheckBox::toggled, warning_, &QLabel::setEnabled);
  auto* explanation = new QLabel(pick(language, kExplanation));
  explanation->setWordWrap(true);
  grid->addWidget(explanation, 5, 0, 1, 3);
  layout->addWidget(group);
  auto* foot = new QHBoxLayout;
  foot->addWidget(okCancelButtons(*this, language), 1);
  foot->addWidget(helpButton(language, kHelpArcSegment));
  layout->addLayout(foot);
  setSettings(TArcSettings{});
}

void TBogenDlg::setSettings(const TArcSettings& given) {
  const TArcSettings s = limited(given);
  start_->setValue(s.startDeg);
  stop_->setValue(s.stopDeg);
  diameter_->setValue(s.diameterMm);
  fill_->setChecked(s.filled);
  warning_->setEnabled(s.filled);
}

TArcSettings TBogenDlg::settings() {
  TArcSettings s;
  s.startDeg = int(std::lround(start_->value()));
  s.stopDeg = int(std::lround(stop_->value()));
  s.diameterMm = diameter_->value();
  s.filled = fill_->isChecked();
  return limited(s);
}

}  // namespace plavesk
