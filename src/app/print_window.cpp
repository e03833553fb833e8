#include "app/print_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "app/colour_dialog.h"
#include "app/dialog_buttons.h"
#include "app/help_topics.h"
#include "app/help_window.h"
#include "app/language.h"
#include "app/lay_spin_edit.h"
#include "app/user_dialogs.h"
#include "document/file_io.h"
#include "platform/qt/qt_canvas.h"
#include "printing/print_texts.h"
#include "printing/qt/sheet_pdf.h"
#include "printing/qt/sheet_preview.h"
#include "view/units.h"

namespace plavesk {
namespace {

namespace tx {
constexpr TText kLayers{"Layer", "Layer", "Couches"};
constexpr TText kItems[kPrintItemCount] = {{"K1", "C1", "C1"},
                                           {"B1", "S1", "S1"},
                                           {"K2", "C2", "C2"},
                                           {"B2", "S2", "S2"},
                                           {"Lötstop 1", "Soldermsk1", "Masquesoudure1"},
                                           {"Lötstop 2", "Soldermsk2", "Masquesoudure2"},
                                           {"Bohrplan 1", "Drillings 1", "Perçages 1"},
                                           {"Bohrplan 2", "Drillings 2", "Perçages 2"}};
constexpr TText kSpecial{"Sonderlayer", "Special layer", "Couche spéciale"};
constexpr TText kOptionsButton{"Einstellungen...", "Options...", "Options..."};
constexpr TText kOptions{"Optionen", "Options", "Options"};
constexpr TText kMirror{"&Spiegeln", "Mirror", "Miroir"};
constexpr TText kTargets{"&Passkreuze", "Targets", "Repères"};
constexpr TText kOutline{"&Platinenumriss", "Board outline", "Contour carte"};
constexpr TText kTemplate{"Vorlage", "Scanned copy", "Copie scannée"};
constexpr TText kNegative{"Negativ", "Invert", "Inversion"};
constexpr TText kScaling{"Skalierung", "Scaling", "Mise à l´échelle"};
constexpr TText kOneToOne{"1:1", "1:1", "1:1"};
constexpr TText kFree{"&frei", "Scale:", "Echelle:"};
constexpr TText kSetup{"&Setup...", "&Setup...", "&Setup..."};
constexpr TText kCorrection{"&Korrektur...", "&Calibrate...", "&Calibration..."};
constexpr TText kTiles{"K&acheln...", "&Tile...", "&Dalles..."};
constexpr TText kCentre{"&Zentrieren", "Centre", "Centre"};
constexpr TText kClipboard{"Zwischenablage", "Clipboard", "Presse-papiers"};
constexpr TText kPrint{"&Drucken", "&Print", "&Impression"};
constexpr TText kClose{"Schließen", "&Cancel", "&Annuler"};
constexpr TText kHelp{"?", "?", "?"};
constexpr TText kSwatch{"Farbe", "Colour", "Couleur"};
constexpr TText kSlider{"Maßstab", "Scale", "Echelle"};
constexpr TText kPreview{"Druckvorschau", "Print preview", "Vue préliminaire"};
// Options dialog.
constexpr TText kOptionsTitle{"Optionen", "Options", "Options"};
constexpr TText kMaskGroup{"Lötstoppmaske", "Soldermask", "Masque de soudure"};
constexpr TText kMaskOffset{"Offset [mm] :", "Offset [mm] :", "Offset [mm] :"};
constexpr TText kPads{"Lötaugen", "Pads", "Pastilles"};
constexpr TText kSmdPads{"SMD-Pads", "SMD-Pads", "Pastilles CMS"};
constexpr TText kDrillGroup{"Bohrplan", "Drillings", "Perçages"};
constexpr TText kTextHeight{"Texthöhe [mm] :", "Textheight [mm]:", "Hauteur texte [mm]:"};
// Correction dialog.
constexpr TText kCorrectionTitle{"Korrekturfaktoren", "Printer calibration",
                                 "Calibration imprimante"};
constexpr TText kCorrectionText{
    "Bei einigen Druckern können geringfügige Verzerrungen bei der Druckausgabe auftreten. Sie "
    "können hier horizontale und vertikale Korrekturfaktoren angeben. Werte größer 1 strecken, "
    "Werte kleiner 1 stauchen den Ausdruck.",
    "Some printers may produce insignificant distortions. You may enter horizontal or vertical "
    "correction factors. Factors greater than 1 will stretch and factors smaller than 1 will jolt "
    "the printout.",
    "Certaines imprimantes peuvent générer des distorsions significatives. Vous devez saisir des "
    "facteurs de corrections horizontaux ou verticaux. Des facteurs supérieurs à 1 étireront "
    "l´impression, tandis que des facteurs inférieurs la réduiront."};
constexpr TText kHorizontal{"Horizontaler Korrekturfaktor:", "Horizontal (X):", "Horizontal (X):"};
constexpr TText kVertical{"Vertikaler Korrekturfaktor:", "Vertical (Y)", "Vertical (Y)"};
// Tiles dialog.
constexpr TText kTilesTitle{"Kacheln", "Tile", "Dalle"};
constexpr TText kTileCount{"Anzahl der Kacheln", "Number of tiles", "Nombre de dalles"};
constexpr TText kTileGap{"Abstand der Kacheln", "Distance between tiles", "Distance entre dalles"};
constexpr TText kGapField{"Abstand [mm]:", "Distance [mm]:", "Distance [mm]:"};
// Printer setup.
constexpr TText kSetupTitle{"Drucker einrichten", "Printer setup", "Configuration imprimante"};
constexpr TText kPrinter{"Drucker:", "Printer:", "Imprimante:"};
constexpr TText kPaper{"Papier (PDF):", "Paper (PDF):", "Papier (PDF):"};
constexpr TText kPdfFilter{"PDF-Dateien (*.pdf)", "PDF files (*.pdf)", "Fichiers PDF (*.pdf)"};
constexpr TText kPdfTitle{"PDF-Datei speichern", "Save PDF file", "Enregistrer le fichier PDF"};
constexpr TText kPrintFailed{
    "Der Druck ist fehlgeschlagen: ", "Printing failed: ", "L´impression a échoué : "};
}  // namespace tx

std::string pdfPrinterName(int language) {
  return std::string(print_texts::kPdfPrinter[size_t(std::clamp(language, 0, 2))]);
}

void paintSwatch(QPushButton* b, TColour c) {
  b->setStyleSheet(
      QString("background-color: %1; border: 1px solid black;").arg(toQColor(c).name()));
}

// Plain "&" accelerators and the caption as the accessible name.
template <class W>
W* named(W* w, const QString& caption) {
  QString name = caption;
  name.remove('&');
  w->setAccessibleName(name);
  return w;
}

}  // namespace

TPrinterChoice& currentPrinter(int language) {
  static TPrinterChoice printer = [language] {
    TPrinterChoice p;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!info.isNull() && info.printerName().size() > 4) {
      p.name = info.printerName().toStdString();
      p.pdf = false;
    } else {
      p.name = pdfPrinterName(language);
      p.pdf = true;
    }
    return p;
  }();
  return printer;
}

std::vector<std::string> printerNames(int language) {
  std::vector<std::string> names;
  for (const QString& n : QPrinterInfo::availablePrinterNames()) names.push_back(n.toStdString());
  names.push_back(pdfPrinterName(language));
  return names;
}

TPrinterPage printerPage(const TPrinterChoice& printer) {
  TPrinterPage page;
  if (printer.pdf) {
    const TPaperSize paper = paperSize(printer.paper).value_or(TPaperSize{});
    page.paperWidthMm = page.printableWidthMm = paper.widthMm;
    page.paperHeightMm = page.printableHeightMm = paper.heightMm;
    return page;
  }
  QPrinter q(QPrinterInfo::printerInfo(QString::fromStdString(printer.name)));
  const QRectF paper = q.paperRect(QPrinter::Millimeter);
  const QRectF area = q.pageRect(QPrinter::Millimeter);
  page.paperWidthMm = std::round(paper.width());
  page.paperHeightMm = std::round(paper.height());
  page.printableLeftMm = area.left();
  page.printableTopMm = area.top();
  page.printableWidthMm = area.width();
  page.printableHeightMm = area.height();
  return page;
}

// --- printer setup ---

TPrinterSetupDialog::TPrinterSetupDialog(int language, TPrinterChoice& printer, QWidget* parent)
    : QDialog(parent), language_(language), printer_(printer) {
  setWindowTitle(pick(language, tx::kSetupTitle));
  auto* form = new QFormLayout(this);
  printers_ = named(new QComboBox, pick(language, tx::kPrinter));
  for (const std::string& n : printerNames(language)) printers_->addItem(QString::fromStdString(n));
  printers_->setCurrentText(QString::fromStdString(printer.name));
  papers_ = named(new QComboBox, pick(language, tx::kPaper));
  papers_->addItems({"A4", "A3", "Letter"});
  papers_->setCurrentText(QString::fromStdString(printer.paper));
  form->addRow(pick(language, tx::kPrinter), printers_);
  form->addRow(pick(language, tx::kPaper), papers_);
  form->addRow(okCancelButtons(*this, language));
}

void TPrinterSetupDialog::accept() {
  printer_.name = printers_->currentText().toStdString();
  printer_.pdf = printers_->currentIndex() == printers_->count() - 1;
  printer_.paper = papers_->currentText().toStdString();
  QDialog::accept();
}

// --- preview ---

TSheetPreview::TSheetPreview(TPrintOptions& options, const TPrintSource& source,
                             const TRenderSettings& settings, QWidget* parent)
    : QWidget(parent), options_(options), source_(source), settings_(settings) {
  setMouseTracking(true);
  setMinimumSize(300, 300);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TSheetPreview::setPage(const TPrinterPage& page) {
  page_ = page;
  invalidate();
}

TPreviewGeometry TSheetPreview::geometry() const {
  return previewGeometry(width(), height(), page_);
}

void TSheetPreview::invalidate() {
  stale_ = true;
  update();
}

void TSheetPreview::paintEvent(QPaintEvent*) {
  const TPreviewGeometry g = geometry();
  if (stale_) {
    picture_ = renderPrintableArea(g, source_, options_, settings_);
    stale_ = false;
    ++pictures_;
  }
  QPainter painter(this);
  paintSheetPreview(painter, width(), height(), g, page_, picture_, mouse_);
}

void TSheetPreview::resizeEvent(QResizeEvent*) {
  invalidate();
}

void TSheetPreview::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) dragFrom_ = e->position();
}

void TSheetPreview::mouseMoveEvent(QMouseEvent* e) {
  mouse_ = e->position();
  if (dragFrom_ && (e->buttons() & Qt::LeftButton)) {
    const QPointF to = e->position();
    dragOffset(options_, dragFrom_->x(), dragFrom_->y(), to.x(), to.y(),
               geometry().unitsPerPixel(page_));
    dragFrom_ = to;
    stale_ = true;
    emit offsetChanged();
  }
  update();
}

void TSheetPreview::mouseReleaseEvent(QMouseEvent*) {
  dragFrom_.reset();
}

void TSheetPreview::leaveEvent(QEvent*) {
  mouse_.reset();
  update();
}

// --- the window ---

TPrintWindow::TPrintWindow(const TPrintWindowInputs& inputs, TPrintOptions& options,
                           TUserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), in_(inputs), options_(options), dialogs_(dialogs) {
  const int l = in_.language;
  source_.elements = in_.elements;
  source_.board = in_.board;
  source_.templates = in_.templates;
  setObjectName("TPrintWindow");
  setProperty("helpTopic", kHelpPrint);

  auto* columns = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  columns->addLayout(left);

  auto addItem = [&](QGridLayout* grid, int row, int item) {
    auto* check = named(new QCheckBox(pick(l, tx::kItems[item])), pick(l, tx::kItems[item]));
    auto* swatch = named(new QPushButton, pick(l, tx::kItems[item]) + " " + pick(l, tx::kSwatch));
    swatch->setFixedSize(24, 16);
    static const char* const kControls[kPrintItemCount] = {
        "K1", "B1", "K2", "B2", "Loetstop1", "Loetstop2", "Bohrplan1", "Bohrplan2"};
    check->setObjectName(QString("CB_") + kControls[item]);
    swatch->setObjectName(QString("P_") + kControls[item]);
    grid->addWidget(check, row, 0);
    grid->addWidget(swatch, row, 1);
    items_[size_t(item)] = check;
    swatches_[size_t(item)] = swatch;
    connect(check, &QCheckBox::toggled, this, [this] { changed(); });
    connect(swatch, &QPushButton::clicked, this, [this, item] {
      const TColour old = options_.colours[size_t(item)];
      const auto chosen =
          chooseColour ? chooseColour(old) : plavesk::chooseColour(this, in_.programFolder, old);
      if (!chosen) return;
      options_.colours[size_t(item)] = *chosen;
      paintSwatch(swatches_[size_t(item)], *chosen);
      preview_->invalidate();
    });
  };
  auto* layers = named(new QGroupBox(pick(l, tx::kLayers)), pick(l, tx::kLayers));
  layers->setObjectName("GroupBox1");
  auto* layerGrid = new QGridLayout(layers);
  for (int i = kPrintCopper1; i <= kPrintSilk2; ++i) addItem(layerGrid, i, i);
  left->addWidget(layers);
  auto* special = named(new QGroupBox(pick(l, tx::kSpecial)), pick(l, tx::kSpecial));
  special->setObjectName("GroupBox4");
  auto* specialGrid = new QGridLayout(special);
  for (int i = kPrintMask1; i <= kPrintDrill2; ++i) addItem(specialGrid, i - kPrintMask1, i);
  left->addWidget(special);
  auto* optionsButton =
      named(new QPushButton(pick(l, tx::kOptionsButton)), pick(l, tx::kOptionsButton));
  optionsButton->setObjectName("B_Options");
  connect(optionsButton, &QPushButton::clicked, this, [this] { showOptionsDialog(); });
  left->addWidget(optionsButton);

  auto* group2 = named(new QGroupBox(pick(l, tx::kOptions)), pick(l, tx::kOptions));
  group2->setObjectName("GroupBox2");
  auto* optionBox = new QVBoxLayout(group2);
  auto option = [&](const TText& caption) {
    auto* c = named(new QCheckBox(pick(l, caption)), pick(l, caption));
    optionBox->addWidget(c);
    connect(c, &QCheckBox::toggled, this, [this] { changed(); });
    return c;
  };
  mirror_ = option(tx::kMirror);
  mirror_->setObjectName("Spiegeln");
  targets_ = option(tx::kTargets);
  targets_->setObjectName("Passkreuze");
  outline_ = option(tx::kOutline);
  outline_->setObjectName("Rahmen");
  template_ = option(tx::kTemplate);
  template_->setObjectName("CB_Vorlage");
  negative_ = option(tx::kNegative);
  negative_->setObjectName("CB_Negativ");
  left->addWidget(group2);

  auto* group3 = named(new QGroupBox(pick(l, tx::kScaling)), pick(l, tx::kScaling));
  group3->setObjectName("GroupBox3");
  auto* scaleBox = new QGridLayout(group3);
  oneToOne_ = named(new QRadioButton(pick(l, tx::kOneToOne)), pick(l, tx::kOneToOne));
  free_ = named(new QRadioButton(pick(l, tx::kFree)), pick(l, tx::kFree));
  slider_ = named(new QSlider(Qt::Horizontal), pick(l, tx::kSlider));
  slider_->setRange(kMinSlider, kMaxSlider);
  scaleLabel_ = named(new QLabel, pick(l, tx::kSlider));
  oneToOne_->setObjectName("S_1zu1");
  free_->setObjectName("S_Frei");
  slider_->setObjectName("S_Wert");
  scaleLabel_->setObjectName("L_Scale");
  scaleBox->addWidget(oneToOne_, 0, 0);
  scaleBox->addWidget(free_, 1, 0);
  scaleBox->addWidget(scaleLabel_, 1, 1);
  scaleBox->addWidget(slider_, 2, 0, 1, 2);
  left->addWidget(group3);
  // Switching between 1:1 and free sets s without moving the offset.
  connect(free_, &QRadioButton::toggled, this, [this] { changed(); });
  connect(slider_, &QSlider::valueChanged, this, [this](int p) {
    if (updating_) return;
    setSliderPosition(options_, p);
    scaleLabel_->setText(QString("%1%").arg(options_.scalePercent()));
    preview_->invalidate();
  });

  auto button = [&](const TText& caption, auto slot) {
    auto* b = named(new QPushButton(pick(l, caption)), pick(l, caption));
    connect(b, &QPushButton::clicked, this, slot);
    left->addWidget(b);
    return b;
  };
  button(tx::kSetup, [this] { showSetup(); });
  button(tx::kCorrection, [this] { showCorrectionDialog(); });
  button(tx::kTiles, [this] { showTilesDialog(); });
  button(tx::kCentre, [this] { centre(); });
  button(tx::kClipboard, [this] { copyToClipboard(); });
  button(tx::kPrint, [this] { printSheet(); })->setDefault(true);
  button(tx::kClose, [this] { reject(); });
  auto* help = named(new QPushButton(pick(l, tx::kHelp)), "Hilfe / Help / Aide");
  connect(help, &QPushButton::clicked, this, [] { showHelpTopic(kHelpPrint); });
  left->addWidget(help);
  left->addStretch();

  preview_ = new TSheetPreview(options_, source_, *in_.settings, this);
  preview_->setAccessibleName(pick(l, tx::kPreview));
  preview_->setPage(printerPage(currentPrinter(l)));
  connect(preview_, &TSheetPreview::offsetChanged, this, [] {});
  columns->addWidget(preview_, 1);

  toControls();
  refreshTitle();
  // Maximised; without a window manager to do it, as large as the screen.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    setGeometry(screen->availableGeometry());
  setWindowState(windowState() | Qt::WindowMaximized);
}

void TPrintWindow::toControls() {
  updating_ = true;
  for (int i = 0; i < kPrintItemCount; ++i) {
    items_[size_t(i)]->setChecked(options_.items[size_t(i)]);
    paintSwatch(swatches_[size_t(i)], options_.colours[size_t(i)]);
  }
  mirror_->setChecked(options_.mirror);
  targets_->setChecked(options_.targets);
  outline_->setChecked(options_.outline);
  template_->setChecked(options_.useTemplate);
  negative_->setChecked(options_.negative);
  (options_.freeScale ? free_ : oneToOne_)->setChecked(true);
  slider_->setValue(options_.sliderPosition);
  slider_->setEnabled(options_.freeScale);
  scaleLabel_->setEnabled(options_.freeScale);
  scaleLabel_->setText(QString("%1%").arg(options_.scalePercent()));
  updating_ = false;
}

void TPrintWindow::fromControls() {
  for (int i = 0; i < kPrintItemCount; ++i)
    options_.items[size_t(i)] = items_[size_t(i)]->isChecked();
  options_.mirror = mirror_->isChecked();
  options_.targets = targets_->isChecked();
  options_.outline = outline_->isChecked();
  options_.useTemplate = template_->isChecked();
  options_.negative = negative_->isChecked();
  options_.freeScale = free_->isChecked();
  slider_->setEnabled(options_.freeScale);
  scaleLabel_->setEnabled(options_.freeScale);
}

void TPrintWindow::changed() {
  if (updating_) return;
  fromControls();
  preview_->invalidate();
}

void TPrintWindow::refreshTitle() {
  setWindowTitle(QString::fromStdString(currentPrinter(in_.language).name));
}

void TPrintWindow::showOptionsDialog() {
  TPrintOptionsDialog dialog(in_.language, options_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  dialog.apply(options_);
  preview_->invalidate();
}

void TPrintWindow::showCorrectionDialog() {
  TCorrectionDialog dialog(in_.language, options_, dialogs_, this);
  dialog.exec();
}

void TPrintWindow::showTilesDialog() {
  TTilesDialog dialog(in_.language, options_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  dialog.apply(options_);
  preview_->invalidate();
}

void TPrintWindow::showSetup() {
  TPrinterSetupDialog dialog(in_.language, currentPrinter(in_.language), this);
  dialog.exec();
  refreshTitle();
  preview_->setPage(printerPage(currentPrinter(in_.language)));
}

void TPrintWindow::centre() {
  const TPrinterPage& page = preview_->page();
  centreBlock(options_, in_.board->width, in_.board->height, page.printableWidthMm,
              page.printableHeightMm);
  preview_->invalidate();
}

bool TPrintWindow::printSheet() {
  const TPrinterChoice& printer = currentPrinter(in_.language);
  const std::string title = printJobTitle(in_.layoutPath);
  if (printer.pdf) {
    std::string stem = fileNameOf(in_.layoutPath);
    if (const size_t dot = stem.rfind('.'); dot != std::string::npos) stem.resize(dot);
    const std::string path =
        dialogs_.chooseSaveFile(pick(in_.language, tx::kPdfTitle).toStdString(), in_.pdfFolder,
                                pick(in_.language, tx::kPdfFilter).toStdString(), "pdf");
    if (path.empty()) return false;
    std::string error;
    const TPaperSize paper = paperSize(printer.paper).value_or(TPaperSize{});
    if (!writeSheetPdf(path, source_, options_, *in_.settings, paper, title, error)) {
      dialogs_.message(TMessageKind::Error, "Plavesk",
                       pick(in_.language, tx::kPrintFailed).toStdString() + path + ": " + error);
      return false;
    }
    lastPdf_ = path;
    accept();
    return true;
  }
  QPrinter q(QPrinterInfo::printerInfo(QString::fromStdString(printer.name)),
             QPrinter::HighResolution);
  q.setDocName(QString::fromStdString(title));
  QPainter painter;
  if (!painter.begin(&q)) {
    dialogs_.message(TMessageKind::Error, "Plavesk",
                     pick(in_.language, tx::kPrintFailed).toStdString() + printer.name);
    return false;
  }
  const QRect area = q.pageLayout().paintRectPixels(q.resolution());
  QtCanvas canvas(painter, {0, 0, area.width(), area.height()});
  TSheetDevice device;
  device.pixelsPerMmX = q.logicalDpiX() / 25.4;
  device.pixelsPerMmY = q.logicalDpiY() / 25.4;
  drawPrintSheet(canvas, source_, options_, device, *in_.settings);
  painter.end();
  accept();
  return true;
}

RasterImage TPrintWindow::sheetBitmapImage() const {
  const TSheetBitmap b = sheetBitmap(options_, in_.board->width, in_.board->height);
  RasterImage image(std::max(1, b.width), std::max(1, b.height), kWhite);
  ImageAreaCanvas canvas(image, 0, 0, {0, 0, image.width(), image.height()});
  drawPrintSheet(canvas, source_, b.options, b.device, *in_.settings);
  return image;
}

void TPrintWindow::copyToClipboard() {
  const RasterImage image = sheetBitmapImage();
  QImage picture = toQImage(image);
  picture.setDotsPerMeterX(int(std::lround(300 / 0.0254)));
  picture.setDotsPerMeterY(int(std::lround(300 / 0.0254)));
  QApplication::clipboard()->setImage(picture);
  dialogs_.message(
      TMessageKind::Information, "Plavesk",
      std::string(print_texts::kClipboardDone[size_t(std::clamp(in_.language, 0, 2))]));
}

// --- options dialog ---

TPrintOptionsDialog::TPrintOptionsDialog(int l, const TPrintOptions& o, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(pick(l, tx::kOptionsTitle));
  auto* box = new QVBoxLayout(this);
  auto* mask = named(new QGroupBox(pick(l, tx::kMaskGroup)), pick(l, tx::kMaskGroup));
  auto* grid = new QGridLayout(mask);
  grid->addWidget(new QLabel(pick(l, tx::kMaskOffset)), 0, 1);
  pads_ = named(new QCheckBox(pick(l, tx::kPads)), pick(l, tx::kPads));
  smd_ = named(new QCheckBox(pick(l, tx::kSmdPads)), pick(l, tx::kSmdPads));
  pads_->setChecked(o.maskPads);
  smd_->setChecked(o.maskSmdPads);
  padField_ = new TLaySpinEdit(kMinMaskEnlargement / 100.0, kMaxMaskEnlargement / 100.0, 0.01, 2,
                               o.padMaskEnlargement / 100.0);
  padField_->setObjectName("SE_LABreite");
  padField_->setCaption(pick(l, tx::kPads));
  smdField_ = new TLaySpinEdit(kMinMaskEnlargement / 100.0, kMaxMaskEnlargement / 100.0, 0.01, 2,
                               o.smdMaskEnlargement / 100.0);
  smdField_->setObjectName("SE_SMDBreite");
  smdField_->setCaption(pick(l, tx::kSmdPads));
  grid->addWidget(pads_, 1, 0);
  grid->addWidget(padField_, 1, 1);
  grid->addWidget(smd_, 2, 0);
  grid->addWidget(smdField_, 2, 1);
  box->addWidget(mask);
  auto* drill = named(new QGroupBox(pick(l, tx::kDrillGroup)), pick(l, tx::kDrillGroup));
  auto* form = new QFormLayout(drill);
  textHeight_ = new TLaySpinEdit(kMinDrillTextHeight / 100.0, kMaxDrillTextHeight / 100.0, 0.1, 1,
                                 o.drillTextHeight / 100.0);
  textHeight_->setObjectName("SE_Texthoehe");
  textHeight_->setCaption(pick(l, tx::kTextHeight));
  form->addRow(pick(l, tx::kTextHeight), textHeight_);
  box->addWidget(drill);
  box->addWidget(okCancelButtons(*this, l));
}

void TPrintOptionsDialog::apply(TPrintOptions& o) const {
  o.maskPads = pads_->isChecked();
  o.maskSmdPads = smd_->isChecked();
  o.padMaskEnlargement = roundToUnit(padField_->value() * 100);
  o.smdMaskEnlargement = roundToUnit(smdField_->value() * 100);
  o.drillTextHeight = roundToUnit(textHeight_->value() * 100);
  clampPrintOptions(o);
}

// --- correction dialog ---

TCorrectionDialog::TCorrectionDialog(int l, TPrintOptions& o, TUserDialogs& dialogs,
                                     QWidget* parent)
    : QDialog(parent), language_(l), options_(o), dialogs_(dialogs) {
  setWindowTitle(pick(l, tx::kCorrectionTitle));
  auto* box = new QVBoxLayout(this);
  auto* text = new QLabel(pick(l, tx::kCorrectionText));
  text->setWordWrap(true);
  box->addWidget(text);
  auto* form = new QFormLayout;
  x_ = named(new QLineEdit(QString::fromStdString(formatCorrectionFactor(o.correctionX))),
             pick(l, tx::kHorizontal));
  y_ = named(new QLineEdit(QString::fromStdString(formatCorrectionFactor(o.correctionY))),
             pick(l, tx::kVertical));
  form->addRow(pick(l, tx::kHorizontal), x_);
  form->addRow(pick(l, tx::kVertical), y_);
  box->addLayout(form);
  box->addWidget(okCancelButtons(*this, l));
}

void TCorrectionDialog::accept() {
  const auto cx = parseCorrectionFactor(x_->text().toStdString());
  const auto cy = parseCorrectionFactor(y_->text().toStdString());
  if (!cx || !cy) {
    dialogs_.message(
        TMessageKind::Warning, "Plavesk",
        std::string(print_texts::kCorrectionRange[size_t(std::clamp(language_, 0, 2))]));
    return;
  }
  options_.correctionX = *cx;
  options_.correctionY = *cy;
  QDialog::accept();
}

// --- tiles dialog ---

TTilesDialog::TTilesDialog(int l, const TPrintOptions& o, QWidget* parent) : QDialog(parent) {
  setWindowTitle(pick(l, tx::kTilesTitle));
  auto* box = new QVBoxLayout(this);
  auto* count = named(new QGroupBox(pick(l, tx::kTileCount)), pick(l, tx::kTileCount));
  auto* form = new QFormLayout(count);
  x_ = named(new QSpinBox, "X:");
  y_ = named(new QSpinBox, "Y:");
  for (QSpinBox* s : {x_, y_}) s->setRange(kMinTiles, kMaxTiles);
  x_->setValue(o.tilesX);
  y_->setValue(o.tilesY);
  form->addRow("X:", x_);
  form->addRow("Y:", y_);
  box->addWidget(count);
  auto* gapBox = named(new QGroupBox(pick(l, tx::kTileGap)), pick(l, tx::kTileGap));
  auto* gapForm = new QFormLayout(gapBox);
  gap_ = new TLaySpinEdit(0, kMaxTileGap / 100.0, 0.1, 1, o.tileGap / 100.0);
  gap_->setCaption(pick(l, tx::kGapField));
  gapForm->addRow(pick(l, tx::kGapField), gap_);
  box->addWidget(gapBox);
  box->addWidget(okCancelButtons(*this, l));
}

void TTilesDialog::apply(TPrintOptions& o) const {
  o.tilesX = x_->value();
  o.tilesY = y_->value();
  o.tileGap = roundToUnit(gap_->value() * 100);
  clampPrintOptions(o);
}

}  // namespace plavesk

// The main window's command, kept beside the window it opens.
#include "app/export_files.h"
#include "app/main_window.h"
#include "editing/tools/tool_manager.h"

namespace plavesk {

void TMainWindow::showPrintWindow() {
  TLayout& layout = editor_.layout;
  if (!layout.hasActiveBoard()) return;
  if (currentPrinter(language_).name.size() <= 4) return;
  tools_->backToEditMode();
  // The settings stay for the rest of the run.
  static TPrintOptions options;
  TPrintWindowInputs in;
  in.language = language_;
  in.elements = &layout.elements();
  in.board = &layout.working();
  in.templates = templates_.images();
  in.settings = &render_;
  in.layoutPath = files_->fileName;
  in.programFolder = programFolder_;
  in.pdfFolder = folderOf(files_->fileName);
  TPrintWindow window(in, options, *dialogs_, this);
  window.exec();
}

}  // namespace plavesk
