#include "app/board_properties_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>
#include <cmath>

#include "app/dialog_buttons.h"
#include "app/help_window.h"
#include "app/language.h"
#include "app/main_window_texts.h"
#include "document/board.h"

namespace plavesk {

namespace {

constexpr TText kCaption{"Layout", "Board properties", "Propriétés de la carte"};
constexpr TText kName{"Name:", "Name:", "Nom:"};
constexpr TText kSizeGroup{"Layoutgrösse (max. 300x300 mm)", "Board size (max. 300 x 300 mm)",
                           "Taille de la carte (max. 300 x 300 mm)"};
constexpr TText kWidth{"Breite [mm]:", "Width (mm):", "Largeur (mm):"};
constexpr TText kHeight{"Höhe [mm]:", "Height (mm):", "Hauteur (mm):"};
constexpr TText kRange{"Der Wert muß zwischen 1..300 mm liegen.",
                       "Please enter values from 1 mm to 300 mm.",
                       "Entrez s´il vous plait des valeurs comprises entre 1 mm et 300 mm."};
constexpr TText kWhole{"Bitte ganze Millimeter eingeben.", "Please enter whole millimetres.",
                       "Entrez s´il vous plait des millimètres entiers."};

}  // namespace

BoardSizeCheck checkBoardSize(const QString& text, int& millimetres) {
  QString t = text.trimmed();
  t.replace(',', '.');
  bool ok = false;
  const double v = t.toDouble(&ok);
  if (!ok || !std::isfinite(v) || v < 1 || v > 300) return BoardSizeCheck::OutOfRange;
  if (v != std::floor(v)) return BoardSizeCheck::NotWhole;
  millimetres = int(v);
  return BoardSizeCheck::Ok;
}

TBoardPropertiesDialog::TBoardPropertiesDialog(int language, const std::string& name, int32_t width,
                                               int32_t height, QWidget* parent)
    : QDialog(parent), language_(language) {
  setWindowTitle(pick(language, kCaption));
  auto* layout = new QVBoxLayout(this);
  auto* nameForm = new QFormLayout;
  name_ = new QLineEdit(QString::fromStdString(name));
  name_->setMaxLength(kBoardNameMax);
  nameForm->addRow(pick(language, kName), name_);
  layout->addLayout(nameForm);

  auto* group = new QGroupBox(pick(language, kSizeGroup));
  auto* form = new QFormLayout(group);
  widthField_ = new QLineEdit(QString::number(width / 100));
  heightField_ = new QLineEdit(QString::number(height / 100));
  form->addRow(pick(language, kWidth), widthField_);
  form->addRow(pick(language, kHeight), heightField_);
  layout->addWidget(group);

  layout->addWidget(okCancelButtons(*this, language));
  attachHelp(*this, kHelpBoardProperties, language);
}

std::string TBoardPropertiesDialog::name() const {
  return name_->text().toStdString();
}

void TBoardPropertiesDialog::accept() {
  int w = 0, h = 0;
  const BoardSizeCheck cw = checkBoardSize(widthField_->text(), w);
  const BoardSizeCheck ch = checkBoardSize(heightField_->text(), h);
  lastRefusal_.clear();
  if (cw == BoardSizeCheck::OutOfRange || ch == BoardSizeCheck::OutOfRange)
    lastRefusal_ = pick(language_, kRange);
  else if (cw == BoardSizeCheck::NotWhole || ch == BoardSizeCheck::NotWhole)
    lastRefusal_ = pick(language_, kWhole);
  if (!lastRefusal_.isEmpty()) {
    if (showMessages)
      QMessageBox::warning(this, QString::fromUtf8(texts::kProgramName), lastRefusal_);
    return;
  }
  width_ = w * 100;
  height_ = h * 100;
  QDialog::accept();
}

}  // namespace plavesk
