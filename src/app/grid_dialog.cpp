#include "app/grid_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialog_buttons.h"
#include "app/help_topics.h"
#include "app/language.h"
#include "app/lay_spin_edit.h"

namespace plavesk {

namespace {

constexpr TText kCaption{"Raster definieren", "New grid", "Nouvelle grille"};
constexpr TText kGroup{"Neues Rastermass", "Grid size", "Pas de grille"};
constexpr TText kHelp{"&Hilfe", "&Help", "&Aide"};

}  // namespace

TRasterDlg::TRasterDlg(int language, QWidget* parent) : QDialog(parent) {
  setObjectName("TRasterDlg");
  setWindowTitle(pick(language, kCaption));
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(pick(language, kGroup));
  auto* row = new QHBoxLayout(group);
  field_ = new TLaySpinEdit(0.01, 99.9, 0.01, 2, 0.50);
  field_->setObjectName("SE_Raster");
  field_->setCaption(pick(language, kGroup));
  row->addWidget(field_);
  row->addWidget(new QLabel("mm"));
  row->addStretch(1);
  layout->addWidget(group);
  auto* foot = new QHBoxLayout;
  auto* help = new QPushButton(pick(language, kHelp));
  help->setAutoDefault(false);
  connect(help, &QPushButton::clicked, this, [] { showHelpTopic(kHelpGrid); });
  foot->addWidget(okCancelButtons(*this, language), 1);
  foot->addWidget(help);
  layout->addLayout(foot);
  field_->setFocus();
}

double TRasterDlg::gridMm() {
  return field_->value();
}

}  // namespace plavesk
