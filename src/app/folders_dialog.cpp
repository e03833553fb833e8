#include "app/folders_dialog.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/dialog_buttons.h"
#include "app/help_window.h"
#include "app/language.h"

namespace plavesk {

namespace {

constexpr TText kCaption{"Arbeitsverzeichnisse", "Edit Default-Directories",
                         "Edition Répertoires par défaut"};
constexpr TText kFrame{"Vorgaben", "Default-Directories", "Répertoires par défaut"};
constexpr TText kBrowserTitle{"Arbeitsverzeichnisse wählen", "Select Default-Directories",
                              "Sélection Répertoires par défaut"};
constexpr TText kPrompt{"Bitte wählen Sie ein Arbeitsverzeichnis für ",
                        "Please select a default-directory for ",
                        "Sélectionnez s´il vous plait un répertoire par défaut pour "};
constexpr TText kBrowseHint{"Verzeichnis wählen", "Choose the folder", "Choisir le répertoire"};
constexpr std::array<TText, kFolderCount> kLabels{{
    {"Layout-Dateien:", "Layout files:", "Fichiers layout:"},
    {"Gerber-Export:", "Gerber export:", "Export Gerber:"},
    {"Grafik-Export:", "Graphic export:", "Export graphique:"},
    {"Vorlagen:", "Scanned copy:", "Copie scannée:"},
    {"PLT (HPGL):", "PLT (HPGL):", "PLT (HPGL):"},
}};
constexpr std::array<const char*, kFolderCount> kFieldNames{"E_Layout", "E_Gerber", "E_Bitmap",
                                                            "E_Vorlage", "E_PLT"};

}  // namespace

TFoldersDialog::TFoldersDialog(int language, const std::array<std::string, kFolderCount>& folders,
                               QWidget* parent)
    : QDialog(parent), language_(language) {
  setObjectName("TOrdnerDlg");
  setWindowTitle(pick(language, kCaption));
  auto* column = new QVBoxLayout(this);
  auto* frame = new QGroupBox(pick(language, kFrame));
  auto* grid = new QGridLayout(frame);
  for (int row = 0; row < kFolderCount; ++row) {
    const QString caption = pick(language, kLabels[size_t(row)]);
    auto* label = new QLabel(caption);
    auto* field = new QLineEdit(QString::fromStdString(folders[size_t(row)]));
    field->setObjectName(kFieldNames[size_t(row)]);
    field->setAccessibleName(QString(caption).remove(':'));
    field->setMinimumWidth(360);
    label->setBuddy(field);
    auto* button = new QToolButton;
    button->setText("...");
    button->setObjectName(QString("SB_") + QString(kFieldNames[size_t(row)] + 2));
    button->setAccessibleName(pick(language, kBrowseHint) + " " + QString(caption).remove(':'));
    button->setToolTip(pick(language, kBrowseHint));
    connect(button, &QToolButton::clicked, this, [this, row] { browse(row); });
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    grid->addWidget(button, row, 2);
    labels_[size_t(row)] = label;
    fields_[size_t(row)] = field;
    buttons_[size_t(row)] = button;
  }
  column->addWidget(frame);
  column->addWidget(okCancelButtons(*this, language));
  attachHelp(*this, kHelpWorkingFolders, language);

  chooseFolder = [this](const QString& title, const QString& prompt, const std::string& start) {
    // The toolkit's own browser, so the prompt can stand in it.
    QFileDialog browser(this, title, QString::fromStdString(start));
    browser.setFileMode(QFileDialog::Directory);
    browser.setOption(QFileDialog::ShowDirsOnly);
    browser.setOption(QFileDialog::DontUseNativeDialog);
    browser.setLabelText(QFileDialog::LookIn, prompt);
    if (browser.exec() != QDialog::Accepted || browser.selectedFiles().isEmpty())
      return std::string();
    return browser.selectedFiles().front().toStdString();
  };
}

QString TFoldersDialog::browserTitle() const {
  return pick(language_, kBrowserTitle);
}

QString TFoldersDialog::prompt(int row) const {
  return pick(language_, kPrompt) + pick(language_, kLabels[size_t(row)]);
}

void TFoldersDialog::browse(int row) {
  if (!chooseFolder) return;
  const std::string chosen =
      chooseFolder(browserTitle(), prompt(row), fields_[size_t(row)]->text().toStdString());
  if (!chosen.empty()) fields_[size_t(row)]->setText(QString::fromStdString(chosen));
}

std::array<std::string, kFolderCount> TFoldersDialog::folders() const {
  std::array<std::string, kFolderCount> out;
  for (int row = 0; row < kFolderCount; ++row)
    out[size_t(row)] = fields_[size_t(row)]->text().trimmed().toStdString();
  return out;
}

}  // namespace plavesk
