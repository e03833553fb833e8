#include "app/font_text_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/language.h"
#include "app/lay_spin_edit.h"

namespace plavesk {

namespace {

constexpr TText kTitle{"Texteingabe", "Text input", "Saisie de texte"};
constexpr TText kTextLabel{"Text:", "Text:", "Texte:"};
constexpr TText kHeight{"Hoehe [mm]", "Height [mm]", "Hauteur [mm]"};
constexpr TText kOrientation{"Ausrichtung", "Orientation", "Orientation"};
constexpr TText kAutomatic{"Automatik", "Automatic", "Automatique"};
constexpr TText kAddNumber{"Zahl an Text anhängen", "Add number", "Ajouter numéro"};
constexpr TText kStartAt{"Beginnen bei:", "Start at:", "Commencer à:"};
constexpr TText kOk{"&OK", "&OK", "&OK"};
constexpr TText kCancel{"&Abbrechen", "&Cancel", "&Effacer"};

}  // namespace

TTXT_Dlg::TTXT_Dlg(int language, QWidget* parent) : QDialog(parent) {
  setObjectName("TTXT_Dlg");
  setWindowTitle(pick(language, kTitle));
  auto* layout = new QVBoxLayout(this);

  auto* textRow = new QHBoxLayout;
  textRow->addWidget(new QLabel(pick(language, kTextLabel)));
  text_ = new QLineEdit;
  text_->setObjectName("Edit1");
  text_->setMaxLength(int(kMaxFontTextLength));
  text_->setAccessibleName(pick(language, kTextLabel).remove(':'));
  textRow->addWidget(text_, 1);
  layout->addLayout(textRow);

  auto* heightRow = new QHBoxLayout;
  heightRow->addWidget(new QLabel(pick(language, kHeight)));
  height_ = new TLaySpinEdit(1.0, 99.9, 0.1, 1, 5.0);
  height_->setObjectName("SE_Hoehe");
  height_->setCaption(pick(language, kHeight));
  heightRow->addWidget(height_);
  heightRow->addStretch(1);
  layout->addLayout(heightRow);

  auto* orientationBox = new QGroupBox(pick(language, kOrientation));
  auto* orientationLayout = new QHBoxLayout(orientationBox);
  auto* group = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i) {
    const QString degrees = QString::number(i * 90) + QString::fromUtf8("\u00B0");
    auto* b = new QRadioButton(degrees);
    b->setObjectName("RB_" + QString::number(i * 90));
    b->setAccessibleName(degrees);
    group->addButton(b, i);
    orientationLayout->addWidget(b);
    orientation_[size_t(i)] = b;
  }
  layout->addWidget(orientationBox);

  // Numbering belongs to the stroke texts; the legacy texts keep the group
  // for the look of the dialog only.
  auto* automaticBox = new QGroupBox(pick(language, kAutomatic));
  auto* automaticLayout = new QHBoxLayout(automaticBox);
  addNumber_ = new QCheckBox(pick(language, kAddNumber));
  addNumber_->setAccessibleName(pick(language, kAddNumber));
  automaticLayout->addWidget(addNumber_);
  automaticLayout->addWidget(new QLabel(pick(language, kStartAt)));
  start_ = new TLaySpinEdit(0, 9999, 1, 0, 0);
  start_->setCaption(pick(language, kStartAt).remove(':'));
  automaticLayout->addWidget(start_);
  automaticBox->setEnabled(false);
  layout->addWidget(automaticBox);

  auto* buttons = new QDialogButtonBox;
  QPushButton* ok = buttons->addButton(pick(language, kOk), QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  ok->setAccessibleName(pick(language, kOk).remove('&'));
  QPushButton* cancel = buttons->addButton(pick(language, kCancel), QDialogButtonBox::RejectRole);
  cancel->setAccessibleName(pick(language, kCancel).remove('&'));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  setSettings(TFontTextSettings{});
}

void TTXT_Dlg::setSettings(const TFontTextSettings& given) {
  const TFontTextSettings s = limited(given);
  text_->setText(QString::fromStdString(s.text));
  height_->setValue(s.heightMm);
  orientation_[size_t(s.orientation)]->setChecked(true);
  text_->setFocus();
  text_->selectAll();
}

TFontTextSettings TTXT_Dlg::settings() {
  TFontTextSettings s;
  s.text = text_->text().toStdString();
  s.heightMm = height_->value();
  for (int i = 0; i < 4; ++i)
    if (orientation_[size_t(i)]->isChecked()) s.orientation = i;
  return limited(s);
}

}  // namespace plavesk
