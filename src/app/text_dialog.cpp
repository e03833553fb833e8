#include "app/text_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/help_topics.h"
#include "app/language.h"
#include "app/lay_spin_edit.h"
#include "app/manufacturing_widgets.h"
#include "editing/tools/drawing_settings.h"

namespace plavesk {

namespace {

// The dialog's texts, German, English, French.
constexpr TText kTitle{"Texteigenschaften", "Text", "Texte"};
constexpr TText kTextLabel{"Text:", "Text:", "Texte:"};
constexpr TText kThickness{"Stärke", "Width", "Epaisseur"};
constexpr TText kThinCaption{"&Dünn", "&Thin", "&Clair"};
constexpr TText kNormal{"&Normal", "&Normal", "&Normal"};
constexpr TText kBoldCaption{"Dic&k", "&Bold", "&Gras"};
constexpr TText kOrientation{"Ausrichtung", "Orientation", "Orientation"};
constexpr TText kHeight{"Hoehe [mm]", "Height (mm)", "Hauteur (mm)"};
constexpr TText kAutomatic{"Automatik", "Automatic", "Automatique"};
constexpr TText kAddNumber{"Zahl an Text anhängen", "Add number", "Ajouter numéro"};
constexpr TText kStartAt{"Beginnen bei:", "Start at:", "Démarrer à:"};
constexpr TText kMirror{"Spiegeln", "Mirror", "Miroir"};
constexpr TText kHorizontal{"Horizontal", "Horizontal", "Horizontal"};
constexpr TText kVertical{"Vertikal", "Vertical", "Vertical"};
constexpr TText kStyle{"Stil", "Style", "Style"};
constexpr TText kNarrowCaption{"Eng", "Narrow", "Etroit"};
constexpr TText kStyleNormal{"Normal", "Normal", "Normal"};
constexpr TText kWideCaption{"Weit", "Wide", "Large"};
constexpr TText kOk{"&OK", "&OK", "&OK"};
constexpr TText kCancel{"&Abbrechen", "&Cancel", "&Annuler"};

QRadioButton* radio(const QString& caption, const QString& name, QButtonGroup* group, int id) {
  auto* b = new QRadioButton(caption);
  b->setObjectName(name);
  b->setAccessibleName(QString(caption).remove('&'));
  group->addButton(b, id);
  return b;
}

QCheckBox* checkBox(const QString& caption, const QString& name) {
  auto* b = new QCheckBox(caption);
  b->setObjectName(name);
  b->setAccessibleName(QString(caption).remove('&'));
  return b;
}

}  // namespace

TLinienText_Dlg::TLinienText_Dlg(int language, QWidget* parent) : QDialog(parent) {
  setObjectName("TLinienText_Dlg");
  setWindowTitle(pick(language, kTitle));
  auto* layout = new QVBoxLayout(this);

  auto* textRow = new QHBoxLayout;
  auto* textLabel = new QLabel(pick(language, kTextLabel));
  text_ = new QLineEdit;
  text_->setObjectName("E_Text");
  text_->setMaxLength(int(kMaxDialogTextLength));
  text_->setMinimumWidth(260);
  text_->setAccessibleName(pick(language, kTextLabel).remove(':'));
  textLabel->setBuddy(text_);
  textRow->addWidget(textLabel);
  textRow->addWidget(text_, 1);
  layout->addLayout(textRow);

  auto* grid = new QGridLayout;
  layout->addLayout(grid);

  auto* thicknessBox = new QGroupBox(pick(language, kThickness));
  thicknessBox->setObjectName("GB_Staerke");
  auto* thicknessLayout = new QVBoxLayout(thicknessBox);
  auto* thicknessGroup = new QButtonGroup(this);
  thickness_ = {radio(pick(language, kThinCaption), "RB_Duenn", thicknessGroup, 0),
                radio(pick(language, kNormal), "RB_Normal", thicknessGroup, 1),
                radio(pick(language, kBoldCaption), "RB_Dick", thicknessGroup, 2)};
  for (QRadioButton* b : thickness_) thicknessLayout->addWidget(b);
  grid->addWidget(thicknessBox, 0, 0);

  auto* orientationBox = new QGroupBox(pick(language, kOrientation));
  orientationBox->setObjectName("GB_Ausrichtung");
  auto* orientationLayout = new QVBoxLayout(orientationBox);
  auto* orientationGroup = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i) {
    const QString degrees = QString::number(i * 90) + QString::fromUtf8("\u00B0");
    orientation_[size_t(i)] = radio(degrees, "RB_" + QString::number(i * 90), orientationGroup, i);
    orientationLayout->addWidget(orientation_[size_t(i)]);
  }
  grid->addWidget(orientationBox, 0, 1);

  auto* styleBox = new QGroupBox(pick(language, kStyle));
  styleBox->setObjectName("GB_Stil");
  auto* styleLayout = new QVBoxLayout(styleBox);
  auto* styleGroup = new QButtonGroup(this);
  style_ = {radio(pick(language, kNarrowCaption), "RB_Eng", styleGroup, 0),
            radio(pick(language, kStyleNormal), "RB_StilNormal", styleGroup, 1),
            radio(pick(language, kWideCaption), "RB_Weit", styleGroup, 2)};
  for (QRadioButton* b : style_) styleLayout->addWidget(b);
  grid->addWidget(styleBox, 0, 2);

  auto* heightRow = new QHBoxLayout;
  auto* heightLabel = new QLabel(pick(language, kHeight));
  height_ = new TLaySpinEdit(0.1, 50.0, 0.1, 1, 5.0);
  height_->setObjectName("SE_Hoehe");
  height_->setCaption(pick(language, kHeight));
  heightRow->addWidget(heightLabel);
  heightRow->addWidget(height_);
  heightRow->addStretch(1);
  grid->addLayout(heightRow, 1, 0, 1, 3);

  auto* automaticBox = new QGroupBox(pick(language, kAutomatic));
  automaticBox->setObjectName("GB_Automatik");
  auto* automaticLayout = new QVBoxLayout(automaticBox);
  addNumber_ = checkBox(pick(language, kAddNumber), "CB_Zahl");
  automaticLayout->addWidget(addNumber_);
  auto* startRow = new QHBoxLayout;
  startRow->addWidget(new QLabel(pick(language, kStartAt)));
  start_ = new TLaySpinEdit(0, 9999, 1, 0, 0);
  start_->setObjectName("SE_Start");
  start_->setCaption(pick(language, kStartAt).remove(':'));
  startRow->addWidget(start_);
  startRow->addStretch(1);
  automaticLayout->addLayout(startRow);
  grid->addWidget(automaticBox, 2, 0, 1, 2);

  auto* mirrorBox = new QGroupBox(pick(language, kMirror));
  mirrorBox->setObjectName("GB_Spiegeln");
  auto* mirrorLayout = new QVBoxLayout(mirrorBox);
  mirrorH_ = checkBox(pick(language, kHorizontal), "CB_Horizontal");
  mirrorV_ = checkBox(pick(language, kVertical), "CB_Vertikal");
  mirrorLayout->addWidget(mirrorH_);
  mirrorLayout->addWidget(mirrorV_);
  grid->addWidget(mirrorBox, 2, 2);

  auto* foot = new QHBoxLayout;
  auto* buttons = new QDialogButtonBox;
  QPushButton* ok = buttons->addButton(pick(language, kOk), QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  ok->setAccessibleName(pick(language, kOk).remove('&'));
  QPushButton* cancel = buttons->addButton(pick(language, kCancel), QDialogButtonBox::RejectRole);
  cancel->setAccessibleName(pick(language, kCancel).remove('&'));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  foot->addWidget(buttons, 1);
  foot->addWidget(helpButton(language, kHelpTextProperties));
  layout->addLayout(foot);

  setSettings(TTextSettings{});
}

void TLinienText_Dlg::setSettings(const TTextSettings& given) {
  const TTextSettings s = limited(given);
  text_->setText(QString::fromStdString(s.text));
  thickness_[size_t(s.thickness)]->setChecked(true);
  orientation_[size_t(s.orientation)]->setChecked(true);
  style_[size_t(s.spacing)]->setChecked(true);
  height_->setValue(s.height);
  addNumber_->setChecked(s.addNumber);
  start_->setValue(s.startValue);
  mirrorH_->setChecked(s.mirrorH);
  mirrorV_->setChecked(s.mirrorV);
  text_->setFocus();
  text_->selectAll();
}

TTextSettings TLinienText_Dlg::settings() {
  TTextSettings s;
  s.text = text_->text().toStdString();
  for (int i = 0; i < 3; ++i) {
    if (thickness_[size_t(i)]->isChecked()) s.thickness = i;
    if (style_[size_t(i)]->isChecked()) s.spacing = i;
  }
  for (int i = 0; i < 4; ++i)
    if (orientation_[size_t(i)]->isChecked()) s.orientation = i;
  s.height = height_->value();
  s.addNumber = addNumber_->isChecked();
  s.startValue = int(start_->value() + 0.5);
  s.mirrorH = mirrorH_->isChecked();
  s.mirrorV = mirrorV_->isChecked();
  return limited(s);
}

}  // namespace plavesk
