#include "app/template_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "app/dialog_buttons.h"
#include "app/help_window.h"
#include "app/language.h"
#include "app/main_window_texts.h"
#include "app/user_dialogs.h"

namespace plavesk {

namespace {

constexpr TText kCaption{"Eigenschaften der Vorlage", "Scanned copy", "Copy scannée"};
constexpr TText kSide1{"Seite 1", "Board side 1", "Carte face 1"};
constexpr TText kSide2{"Seite 2", "Board side 2", "Carte face 2"};
constexpr TText kLoad{"&Vorlage laden...", "&Load bitmap...", "&Charger bitmap..."};
constexpr TText kLoadTitle{"Vorlage laden", "Load bitmap", "Charger bitmap"};
constexpr TText kRemove{"Vorlage entfernen", "Delete bitmap", "Effacer bitmap"};
constexpr TText kShow{"Vorlage anzeigen", "&Show bitmap", "&Montrer bitmap"};
constexpr TText kResolution{"Auflösung:", "Resolution:", "Résolution:"};
constexpr TText kColour{"Farbe:", "Color:", "Couleur:"};
constexpr const char* kFilter = "Bitmaps (*.BMP *.bmp)";

std::string loadFailedMessage(int language, const std::string& path) {
  switch (language) {
    case kEnglish:
      return "Error loading scanned-copy-bitmap: " + path;
    case kFrench:
      return "Erreur de chargement de l´image de la copie scannée: " + path;
    default:
      return "Vorlagen-Datei " + path + " kann nicht geladen werden.";
  }
}

QColor toColor(TColour c) {
  return QColor(redOf(c), greenOf(c), blueOf(c));
}

bool folderExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

}  // namespace

TTemplateDialog::TTemplateDialog(int language, TBoardRecord& record, TTemplateBitmaps& bitmaps,
                                 TUserDialogs& dialogs, const std::string& folder, int activeSide,
                                 QWidget* parent)
    : QDialog(parent),
      language_(language),
      record_(record),
      bitmaps_(bitmaps),
      dialogs_(dialogs),
      folder_(folder),
      activeSide_(activeSide == 2 ? 2 : 1),
      saved_(record),
      savedBitmaps_(bitmaps.save()) {
  setWindowTitle(pick(language, kCaption));
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget;
  tabs_->addTab(buildPage(1), pick(language, kSide1));
  tabs_->addTab(buildPage(2), pick(language, kSide2));
  tabs_->setCurrentIndex(activeSide_ - 1);
  layout->addWidget(tabs_);
  layout->addWidget(okCancelButtons(*this, language));
  attachHelp(*this, kHelpTemplate, language);
}

TTemplateDialog::Fields TTemplateDialog::fields(int side) {
  TBoardRecord& r = record_;
  if (side == 2)
    return {&r.template2Shown,   &r.template2File,    &r.template2Dpi,
            &r.template2OffsetX, &r.template2OffsetY, &r.template2Color};
  return {&r.template1Shown,   &r.template1File,    &r.template1Dpi,
          &r.template1OffsetX, &r.template1OffsetY, &r.template1Color};
}

QWidget* TTemplateDialog::buildPage(int side) {
  Page& p = pages_[side - 1];
  const Fields f = fields(side);
  auto* widget = new QWidget;
  auto* grid = new QGridLayout(widget);
  int row = 0;

  p.load = new QPushButton(pick(language_, kLoad));
  p.remove = new QPushButton(pick(language_, kRemove));
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(p.load);
  buttonRow->addWidget(p.remove);
  buttonRow->addStretch();
  grid->addLayout(buttonRow, row++, 0, 1, 3);
  p.show = new QCheckBox(pick(language_, kShow));
  grid->addWidget(p.show, row++, 0, 1, 3);

  auto spinRow = [&](const QString& caption, QSpinBox*& box, int low, int high, int value,
                     const QString& unit) {
    box = new QSpinBox;
    box->setRange(low, high);
    box->setValue(std::clamp(value, low, high));
    grid->addWidget(new QLabel(caption), row, 0);
    grid->addWidget(box, row, 1);
    grid->addWidget(new QLabel(unit), row++, 2);
  };
  spinRow(pick(language_, kResolution), p.dpi, kTemplateMinDpi, kTemplateMaxDpi, *f.dpi, "[dpi]");
  p.colour = new QToolButton;
  p.colour->setIconSize(QSize(40, 14));
  grid->addWidget(new QLabel(pick(language_, kColour)), row, 0);
  grid->addWidget(p.colour, row++, 1);
  spinRow("X-Offset:", p.offsetX, -kTemplateMaxOffset, kTemplateMaxOffset, *f.offsetX, "[1/10 mm]");
  spinRow("Y-Offset:", p.offsetY, -kTemplateMaxOffset, kTemplateMaxOffset, *f.offsetY, "[1/10 mm]");
  p.fileName = new QLabel(QString::fromStdString(*f.file));
  p.fileName->setStyleSheet("color: navy");
  p.fileName->setWordWrap(true);
  p.fileName->setMinimumWidth(320);
  grid->addWidget(p.fileName, row++, 0, 1, 3);
  grid->setRowStretch(row, 1);

  p.show->setChecked(*f.shown != 0);
  p.show->setEnabled(!f.file->empty());
  showColour(side);

  connect(p.load, &QPushButton::clicked, this, [this, side] { chooseFile(side); });
  connect(p.remove, &QPushButton::clicked, this, [this, side] { removeFile(side); });
  connect(p.show, &QCheckBox::toggled, this, [this, side](bool on) {
    *fields(side).shown = on ? 1 : 0;
    changed(side);
  });
  auto follow = [this, side](QSpinBox* box, int32_t* field) {
    connect(box, &QSpinBox::valueChanged, this, [this, side, field](int value) {
      *field = value;
      changed(side);
    });
  };
  follow(p.dpi, f.dpi);
  follow(p.offsetX, f.offsetX);
  follow(p.offsetY, f.offsetY);
  connect(p.colour, &QToolButton::clicked, this, [this, side] {
    const QColor chosen = QColorDialog::getColor(toColor(TColour(*fields(side).colour)), this,
                                                 pick(language_, kColour));
    if (chosen.isValid()) setColour(side, rgb(chosen.red(), chosen.green(), chosen.blue()));
  });
  return widget;
}

void TTemplateDialog::showColour(int side) {
  QPixmap swatch(40, 14);
  swatch.fill(toColor(TColour(*fields(side).colour)));
  pages_[side - 1].colour->setIcon(QIcon(swatch));
}

void TTemplateDialog::changed(int side) {
  if (side == activeSide_ && repaintView) repaintView();
}

void TTemplateDialog::chooseFile(int side) {
  const std::string path = dialogs_.chooseOpenFile(
      pickText(language_, kLoadTitle), folderExists(folder_) ? folder_ : std::string(), kFilter);
  if (path.empty()) return;
  folder_ = std::filesystem::path(path).parent_path().string();
  loadFile(side, path);
}

bool TTemplateDialog::loadFile(int side, const std::string& path) {
  const TTemplateBitmap bitmap = readTemplateBitmap(path);
  const Page& p = pages_[side - 1];
  const Fields f = fields(side);
  if (!bitmap.ok) {
    dialogs_.message(TMessageKind::Error, texts::kProgramName, loadFailedMessage(language_, path));
    p.fileName->setText(QString::fromStdString(*f.file));
    return false;
  }
  bitmaps_.set(side, path, bitmap.image);
  *f.file = path;
  {
    // One repaint for the whole change.
    const QSignalBlocker blockDpi(p.dpi), blockShow(p.show);
    p.dpi->setValue(std::clamp(bitmap.dpi, kTemplateMinDpi, kTemplateMaxDpi));
    p.show->setChecked(true);
  }
  *f.dpi = p.dpi->value();
  *f.shown = 1;
  p.show->setEnabled(true);
  p.fileName->setText(QString::fromStdString(path));
  changed(side);
  return true;
}

void TTemplateDialog::removeFile(int side) {
  const Page& p = pages_[side - 1];
  const Fields f = fields(side);
  bitmaps_.clear(side);
  f.file->clear();
  *f.shown = 0;
  {
    const QSignalBlocker block(p.show);
    p.show->setChecked(false);
  }
  p.show->setEnabled(false);
  p.fileName->clear();
  changed(side);
}

void TTemplateDialog::setColour(int side, TColour colour) {
  *fields(side).colour = int32_t(colour & 0x00FFFFFF);
  showColour(side);
  changed(side);
}

void TTemplateDialog::reject() {
  for (int side = 1; side <= 2; ++side) {
    const Fields f = fields(side);
    TBoardRecord& s = saved_;
    const bool two = side == 2;
    *f.shown = two ? s.template2Shown : s.template1Shown;
    *f.file = two ? s.template2File : s.template1File;
    *f.dpi = two ? s.template2Dpi : s.template1Dpi;
    *f.offsetX = two ? s.template2OffsetX : s.template1OffsetX;
    *f.offsetY = two ? s.template2OffsetY : s.template1OffsetY;
    *f.colour = two ? s.template2Color : s.template1Color;
  }
  bitmaps_.restore(savedBitmaps_);
  if (repaintView) repaintView();
  QDialog::reject();
}

}  // namespace plavesk
