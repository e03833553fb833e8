#include "app/export_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialog_buttons.h"
#include "app/help_window.h"
#include "app/language.h"
#include "app/main_window_texts.h"
#include "app/user_dialogs.h"

namespace plavesk {

namespace {

constexpr TText kBitmapCaption{"Bitmap-Export (alle sichtbaren Layer)",
                               "Bitmap export (all visible layers)",
                               "Exportation bitmap (toutes les couches visibles)"};
constexpr TText kGifCaption{"GIF-Export", "GIF-Export", "Exportation GIF"};
constexpr TText kOriginalSize{"Originalgrösse:", "Size:", "Taille:"};
constexpr TText kResolution{"Auflösung (dpi):", "Resolution:", "Résolution:"};
constexpr TText kLow{"gering", "Low", "Bas"};
constexpr TText kHigh{"hoch", "High", "Haut"};
constexpr TText kPixels{"Grösse der Bitmap in Pixel:", "Pixels:", "Pixels:"};
constexpr TText kMemory{"Speicherbedarf:", "Memory:", "Mémoire:"};
constexpr TText kFormatGroup{"Farbe", "Format", "Format"};
constexpr TText kColour{"&Farbe", "&Colored", "&En couleur"};
constexpr TText kBlackWhite{"&S/W", "&B&&W", "&B&&N"};
constexpr TText kLargeQuestion{
    "Das erstellen von so großen Bitmaps kann das System instabil\rwerden lassen, wenn nicht "
    "genügend freier Speicher vorhanden ist.\r\rMöchten Sie trotzdem fortfahren ?",
    "You are about to create a large bitmap.\rBetter make sure that your work is "
    "saved.\r\rContinue ?",
    "Vous êtes sur le point de créer une très grande image.\rIl est préférable que votre travail "
    "soit ai été sauvegardé.\r\rContinuer ?"};

constexpr int kDpiStep = 20;

QString millimetres(int32_t units) {
  return QLocale().toString(units / 100.0, 'f', 1);
}

}  // namespace

TExportDialog::TExportDialog(int language, TExportFormat format, int32_t width, int32_t height,
                             TUserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      language_(language),
      format_(format),
      width_(width),
      height_(height),
      dialogs_(dialogs) {
  setWindowTitle(pick(language, format == TExportFormat::kGif ? kGifCaption : kBitmapCaption));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  int row = 0;
  grid->addWidget(new QLabel(pick(language, kOriginalSize)), row, 0);
  originalSize_ = new QLabel(millimetres(width) + " mm x " + millimetres(height) + " mm");
  originalSize_->setObjectName("L_Original");
  grid->addWidget(originalSize_, row++, 1);

  grid->addWidget(new QLabel(pick(language, kResolution)), row, 0);
  resolution_ = new QLabel;
  resolution_->setObjectName("L_Aufloesung");
  grid->addWidget(resolution_, row++, 1);
  slider_ = new QSlider(Qt::Horizontal);
  slider_->setObjectName("TB_Aufloesung");
  slider_->setRange(kExportMinDpi, kExportMaxDpi);
  slider_->setSingleStep(kDpiStep);
  slider_->setPageStep(kDpiStep);
  slider_->setTickInterval(kDpiStep);
  slider_->setTickPosition(QSlider::TicksBelow);
  slider_->setMinimumWidth(260);
  auto* sliderRow = new QHBoxLayout;
  sliderRow->addWidget(new QLabel(pick(language, kLow)));
  sliderRow->addWidget(slider_, 1);
  sliderRow->addWidget(new QLabel(pick(language, kHigh)));
  grid->addLayout(sliderRow, row++, 0, 1, 2);

  grid->addWidget(new QLabel(pick(language, kPixels)), row, 0);
  pixels_ = new QLabel;
  pixels_->setObjectName("L_Pixel");
  grid->addWidget(pixels_, row++, 1);
  memoryCaption_ = new QLabel(pick(language, kMemory));
  grid->addWidget(memoryCaption_, row, 0);
  memory_ = new QLabel;
  memory_->setObjectName("L_Speicher");
  grid->addWidget(memory_, row++, 1);
  layout->addLayout(grid);

  auto* group = new QGroupBox(pick(language, kFormatGroup));
  auto* groupLayout = new QHBoxLayout(group);
  colourButton_ = new QRadioButton(pick(language, kColour));
  colourButton_->setObjectName("RB_Farbe");
  blackWhite_ = new QRadioButton(pick(language, kBlackWhite));
  blackWhite_->setObjectName("RB_SW");
  groupLayout->addWidget(colourButton_);
  groupLayout->addWidget(blackWhite_);
  groupLayout->addStretch();
  layout->addWidget(group);
  if (format == TExportFormat::kGif) {
    colourButton_->setChecked(true);
    blackWhite_->setEnabled(false);
    memoryCaption_->hide();
    memory_->hide();
  } else {
    blackWhite_->setChecked(true);
  }

  layout->addWidget(okCancelButtons(*this, language));
  attachHelp(*this, format == TExportFormat::kGif ? kHelpImageExportSecond : kHelpImageExport,
             language);

  slider_->setValue(kExportDefaultDpi);
  connect(slider_, &QSlider::valueChanged, this, [this](int value) {
    // Dragging passes every value in between; the resolution moves in steps.
    const int snapped =
        kExportMinDpi + (value - kExportMinDpi + kDpiStep / 2) / kDpiStep * kDpiStep;
    if (snapped != value) {
      slider_->setValue(snapped);
      return;
    }
    recompute();
  });
  connect(colourButton_, &QRadioButton::toggled, this, [this] { recompute(); });
  recompute();
}

int TExportDialog::dpi() const {
  return slider_->value();
}

void TExportDialog::setDpi(int dpi) {
  slider_->setValue(std::clamp(dpi, kExportMinDpi, kExportMaxDpi));
}

bool TExportDialog::colour() const {
  return colourButton_->isChecked();
}

void TExportDialog::setColour(bool colour) {
  if (!colour && !blackWhite_->isEnabled()) return;
  (colour ? colourButton_ : blackWhite_)->setChecked(true);
}

void TExportDialog::recompute() {
  size_ = exportImageSize(width_, height_, dpi());
  memoryKb_ = exportMemoryEstimateKb(size_, colour());
  resolution_->setText(QString::number(dpi()) + " dpi");
  pixels_->setText(QString::number(size_.width) + " x " + QString::number(size_.height));
  memory_->setText(QString::number(memoryKb_) + " kB");
}

void TExportDialog::accept() {
  if (memoryKb_ > kLargeExportKb &&
      !dialogs_.askOkCancelWarning(texts::kProgramName, pickText(language_, kLargeQuestion)))
    return;
  QDialog::accept();
}

}  // namespace plavesk
