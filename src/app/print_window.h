// The print window: layer, special-layer and option check boxes with their
// colour swatches, scaling 1:1 or free with the slider, the live preview of
// the sheet (drag the layout, "Centre"), the options, correction and tiles
// dialogs, printing to a printer or to a PDF file, the clipboard bitmap;
// and the printer setup. The PDF printer is always there.
#pragma once

#include <QDialog>
#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/raster_canvas.h"
#include "printing/print_options.h"
#include "printing/print_preview.h"
#include "printing/print_sheet.h"
#include "view/render_settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QComboBox;

namespace plavesk {

class TLaySpinEdit;
class TUserDialogs;

// The chosen printer: an installed one or the PDF printer, with the paper
// the PDF printer writes on.
struct TPrinterChoice {
  std::string name;
  bool pdf = true;
  std::string paper = "A4";
};
// The printer of this run (the default printer, or the PDF printer when
// none is installed) and the names of all printers, the PDF printer last.
TPrinterChoice& currentPrinter(int language);
std::vector<std::string> printerNames(int language);
// Paper and printable area of a printer; the PDF printer prints the whole page.
TPrinterPage printerPage(const TPrinterChoice& printer);

// "D&rucker einrichten...": the printer and the paper. Returns true on OK.
class TPrinterSetupDialog : public QDialog {
  Q_OBJECT
 public:
  TPrinterSetupDialog(int language, TPrinterChoice& printer, QWidget* parent = nullptr);
  QComboBox* printers() const { return printers_; }
  QComboBox* papers() const { return papers_; }
  void accept() override;

 private:
  int language_;
  TPrinterChoice& printer_;
  QComboBox* printers_;
  QComboBox* papers_;
};

// The preview of the sheet. The layout picture is made again only when
// invalidate() says the options changed or the size changed.
class TSheetPreview : public QWidget {
  Q_OBJECT
 public:
  TSheetPreview(TPrintOptions& options, const TPrintSource& source, const TRenderSettings& settings,
                QWidget* parent = nullptr);
  void setPage(const TPrinterPage& page);
  const TPrinterPage& page() const { return page_; }
  TPreviewGeometry geometry() const;
  void invalidate();
  // How often the layout picture was made (a repaint without a change of
  // the options reuses it).
  int pictureCount() const { return pictures_; }

 signals:
  void offsetChanged();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void leaveEvent(QEvent*) override;

 private:
  TPrintOptions& options_;
  TPrintSource source_;
  const TRenderSettings& settings_;
  TPrinterPage page_;
  RasterImage picture_;
  bool stale_ = true;
  int pictures_ = 0;
  std::optional<QPointF> mouse_;
  std::optional<QPointF> dragFrom_;
};

struct TPrintWindowInputs {
  int language = 0;
  const TObjektList* elements = nullptr;
  const TBoardRecord* board = nullptr;
  TTemplateImages templates;
  const TRenderSettings* settings = nullptr;
  std::string layoutPath;     // for the job title
  std::string programFolder;  // COLORS.DAT
  std::string pdfFolder;      // where the PDF file choice starts
};

class TPrintWindow : public QDialog {
  Q_OBJECT
 public:
  TPrintWindow(const TPrintWindowInputs& inputs, TPrintOptions& options, TUserDialogs& dialogs,
               QWidget* parent = nullptr);

  TPrintOptions& options() { return options_; }
  TSheetPreview* preview() const { return preview_; }
  QCheckBox* itemCheck(int item) const { return items_[size_t(item)]; }
  QPushButton* swatch(int item) const { return swatches_[size_t(item)]; }
  QCheckBox* mirrorCheck() const { return mirror_; }
  QCheckBox* negativeCheck() const { return negative_; }
  QRadioButton* freeScaleRadio() const { return free_; }
  QSlider* slider() const { return slider_; }
  QLabel* scaleLabel() const { return scaleLabel_; }

  // The buttons' commands, for the tests as for the user.
  void showOptionsDialog();
  void showCorrectionDialog();
  void showTilesDialog();
  void showSetup();
  void centre();
  // Prints (for the PDF printer into the file chosen) and closes the window
  // on success; returns whether it printed.
  bool printSheet();
  void copyToClipboard();
  // The clipboard bitmap.
  RasterImage sheetBitmapImage() const;

  // The chooser of the swatches; tests answer it.
  std::function<std::optional<TColour>(TColour)> chooseColour;
  // The written PDF file, after printSheet.
  const std::string& lastPdf() const { return lastPdf_; }

 private:
  void fromControls();
  void toControls();
  void refreshTitle();
  void changed();

  TPrintWindowInputs in_;
  TPrintOptions& options_;
  TUserDialogs& dialogs_;
  TPrintSource source_;
  TSheetPreview* preview_ = nullptr;
  std::array<QCheckBox*, kPrintItemCount> items_{};
  std::array<QPushButton*, kPrintItemCount> swatches_{};
  QCheckBox* mirror_ = nullptr;
  QCheckBox* targets_ = nullptr;
  QCheckBox* outline_ = nullptr;
  QCheckBox* template_ = nullptr;
  QCheckBox* negative_ = nullptr;
  QRadioButton* oneToOne_ = nullptr;
  QRadioButton* free_ = nullptr;
  QSlider* slider_ = nullptr;
  QLabel* scaleLabel_ = nullptr;
  bool updating_ = false;
  std::string lastPdf_;
};

// "Einstellungen...": solder-mask enlargements with their switches and the
// drill-plan text height.
class TPrintOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  TPrintOptionsDialog(int language, const TPrintOptions& options, QWidget* parent = nullptr);
  // The values typed, mm x 100 rounded, limited to the fields' ranges.
  void apply(TPrintOptions& options) const;
  QCheckBox* padsCheck() const { return pads_; }
  QCheckBox* smdCheck() const { return smd_; }
  TLaySpinEdit* padField() const { return padField_; }
  TLaySpinEdit* smdField() const { return smdField_; }
  TLaySpinEdit* textHeightField() const { return textHeight_; }

 private:
  QCheckBox* pads_;
  QCheckBox* smd_;
  TLaySpinEdit* padField_;
  TLaySpinEdit* smdField_;
  TLaySpinEdit* textHeight_;
};

// "&Korrektur...": two factors typed as decimal numbers; OK refuses values
// outside 0.8 .. 1.2 with a message and stays open.
class TCorrectionDialog : public QDialog {
  Q_OBJECT
 public:
  TCorrectionDialog(int language, TPrintOptions& options, TUserDialogs& dialogs,
                    QWidget* parent = nullptr);
  QLineEdit* horizontal() const { return x_; }
  QLineEdit* vertical() const { return y_; }
  void accept() override;

 private:
  int language_;
  TPrintOptions& options_;
  TUserDialogs& dialogs_;
  QLineEdit* x_;
  QLineEdit* y_;
};

// "K&acheln...": columns and rows 1 .. 20, gap 0 .. 50 mm.
class TTilesDialog : public QDialog {
  Q_OBJECT
 public:
  TTilesDialog(int language, const TPrintOptions& options, QWidget* parent = nullptr);
  void apply(TPrintOptions& options) const;
  QSpinBox* columns() const { return x_; }
  QSpinBox* rows() const { return y_; }
  TLaySpinEdit* gap() const { return gap_; }

 private:
  QSpinBox* x_;
  QSpinBox* y_;
  TLaySpinEdit* gap_;
};

}  // namespace plavesk
