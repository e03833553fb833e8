#include "app/polygon_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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

constexpr TText kTitle{"Vieleck generieren", "Create polygon", "Créer un polygone"};
constexpr TText kGroup{"Eigenschaften", "Properties", "Propriétés"};
constexpr TText kCorners{"Anzahl der Ecken:", "Number of corners:", "Nombre de coins:"};
constexpr TText kRadius{"Radius [mm]:", "Radius (mm):", "Rayon (mm):"};
constexpr TText kOffset{"Winkeloffset [°]:", "Angle offset (°):", "Décalage d'angle (°):"};
constexpr TText kWidth{"Linienbreite [mm]:", "Line width (mm):", "Largeur de ligne (mm):"};
constexpr TText kFilled{"Gefüllt", "&Fill", "&Remplir"};

}  // namespace

TVielEckDlg::TVielEckDlg(int language, QWidget* parent) : QDialog(parent) {
  setObjectName("TVielEckDlg");
  setWindowTitle(pick(language, kTitle));
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(pick(language, kGroup));
  auto* grid = new QGridLayout(group);
  auto field = [&](int row, const TText& label, const char* name, TLaySpinEdit* edit) {
    grid->addWidget(new QLabel(pick(language, label)), row, 0);
    edit->setObjectName(name);
    edit->setCaption(pick(language, label).remove(':'));
    grid->addWidget(edit, row, 1);
    return edit;
  };
  corners_ = field(0, kCorners, "SE_Ecken", new TLaySpinEdit(3, 99, 1, 0, 6));
  radius_ = field(1, kRadius, "SE_Radius", new TLaySpinEdit(0.5, 99.9, 0.1, 1, 10.0));
  offset_ = field(2, kOffset, "SE_WinkelOffset", new TLaySpinEdit(-180, 180, 0.1, 1, 0));
  // "-180.0" needs one character more than the usual five.
  offset_->edit()->setMaxLength(6);
  width_ = field(3, kWidth, "SE_Linienbreite", new TLaySpinEdit(0, 99.9, 0.1, 1, 1.0));
  filled_ = new QCheckBox(pick(language, kFilled));
  filled_->setObjectName("CB_Gefuellt");
  filled_->setAccessibleName(pick(language, kFilled).remove('&'));
  grid->addWidget(filled_, 4, 0, 1, 2);
  layout->addWidget(group);
  auto* foot = new QHBoxLayout;
  foot->addWidget(okCancelButtons(*this, language), 1);
  foot->addWidget(helpButton(language, kHelpRegularPolygon));
  layout->addLayout(foot);
  setSettings(TPolygonSettings{});
}

void TVielEckDlg::setSettings(const TPolygonSettings& given) {
  const TPolygonSettings s = limited(given);
  corners_->setValue(s.corners);
  radius_->setValue(s.radiusMm);
  offset_->setValue(s.offsetDeg);
  width_->setValue(s.widthMm);
  filled_->setChecked(s.filled);
}

TPolygonSettings TVielEckDlg::settings() {
  TPolygonSettings s;
  s.corners = int(std::lround(corners_->value()));
  s.radiusMm = radius_->value();
  s.offsetDeg = offset_->value();
  s.widthMm = width_->value();
  s.filled = filled_->isChecked();
  return limited(s);
}

}  // namespace plavesk
