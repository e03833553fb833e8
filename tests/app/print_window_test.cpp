// The print window: the preview follows the check boxes and the slider,
// the dialogs limit and refuse what they must, the PDF printer writes the
// same file as the command line, the clipboard gets the 300 dpi bitmap, and
// the main window opens it from "Print...".
#include "app/print_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <cmath>
#include <sstream>

#include "app/lay_spin_edit.h"
#include "cli/commands/cli.h"
#include "document/file_io.h"
#include "document/layout_file.h"
#include "printing/print_texts.h"
#include "support/sample_layout.h"
#include "window_fixture.h"

namespace plavesk {
namespace {

using testing::TScriptedDialogs;
using testing::WindowFixture;

class PrintWindowTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    layout = testing::makeSampleLayout();  // one board of 160 x 100 mm
    in.language = kEnglish;
    in.elements = &layout.elements();
    in.board = &layout.working();
    in.settings = &settings;
    in.layoutPath = path("sample.lay");
    in.programFolder = folder.string() + "/";
    currentPrinter(kEnglish) = TPrinterChoice{"PDF file", true, "A4"};
  }
  std::unique_ptr<TPrintWindow> makeWindow() {
    auto w = std::make_unique<TPrintWindow>(in, options, scripted, nullptr);
    w->resize(1200, 800);
    w->show();
    QApplication::processEvents();
    return w;
  }
  // Paints the preview now and says how many layout pictures it has made.
  static int repaint(TPrintWindow& w) {
    w.preview()->repaint();
    return w.preview()->pictureCount();
  }

  TLayout layout;
  TRenderSettings settings;
  TPrintOptions options;
  TPrintWindowInputs in;
  TScriptedDialogs scripted;
};

TEST_F(PrintWindowTest, TitleIsThePrinterAndCheckBoxesRedrawThePreview) {
  auto w = makeWindow();
  EXPECT_EQ(w->windowTitle(), "PDF file");
  const int first = repaint(*w);
  // A repaint without a change keeps the picture.
  EXPECT_EQ(repaint(*w), first);
  struct Case {
    QAbstractButton* box;
    std::function<bool()> option;
  };
  const Case cases[] = {{w->itemCheck(kPrintCopper1), [&] { return options.items[kPrintCopper1]; }},
                        {w->itemCheck(kPrintDrill2), [&] { return options.items[kPrintDrill2]; }},
                        {w->mirrorCheck(), [&] { return options.mirror; }},
                        {w->negativeCheck(), [&] { return options.negative; }}};
  int pictures = first;
  for (const Case& c : cases) {
    const bool before = c.option();
    c.box->click();
    EXPECT_NE(c.option(), before) << c.box->accessibleName().toStdString();
    EXPECT_EQ(repaint(*w), ++pictures) << c.box->accessibleName().toStdString();
  }
}

TEST_F(PrintWindowTest, SliderOnlyWithFreeScalingAndKeepsThePaperPosition) {
  auto w = makeWindow();
  EXPECT_FALSE(w->slider()->isEnabled());
  w->freeScaleRadio()->click();
  EXPECT_TRUE(options.freeScale);
  EXPECT_TRUE(w->slider()->isEnabled());
  EXPECT_EQ(options.offsetX, -100);  // switching keeps the offset
  w->slider()->setValue(20);
  EXPECT_EQ(w->scaleLabel()->text(), "200%");
  EXPECT_EQ(options.offsetX, -50);
  EXPECT_EQ(options.offsetY, 50);
}

TEST_F(PrintWindowTest, SwatchChoosesTheItemsColour) {
  auto w = makeWindow();
  std::vector<TColour> offered;
  std::optional<TColour> answer = rgb(0, 128, 255);
  w->chooseColour = [&](TColour start) {
    offered.push_back(start);
    return answer;
  };
  const int before = repaint(*w);
  w->swatch(kPrintSilk2)->click();
  ASSERT_EQ(offered, std::vector<TColour>{rgb(255, 0, 0)});  // starts at the swatch's colour
  EXPECT_EQ(options.colours[kPrintSilk2], rgb(0, 128, 255));
  EXPECT_EQ(repaint(*w), before + 1);
  // Cancelled: nothing changes.
  answer.reset();
  w->swatch(kPrintMask1)->click();
  EXPECT_EQ(options.colours[kPrintMask1], rgb(0, 0, 0));
  EXPECT_EQ(repaint(*w), before + 1);
}

// Dragging over the preview moves the layout with the mouse; "Centre"
// puts the board in the middle of the printable area.
TEST_F(PrintWindowTest, DraggingAndCentringPlaceTheLayout) {
  auto w = makeWindow();
  TSheetPreview* p = w->preview();
  const double e = p->geometry().unitsPerPixel(p->page());
  const QPointF from(p->width() / 2.0, p->height() / 2.0), to = from + QPointF(50, 20);
  auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, p->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(p, &event);
  };
  send(QEvent::MouseButtonPress, from, Qt::LeftButton);
  send(QEvent::MouseMove, to, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, to, Qt::NoButton);
  EXPECT_EQ(options.offsetX, -100 - std::lround(50 * e));
  EXPECT_EQ(options.offsetY, 100 + std::lround(20 * e));
  // A move without the button only moves the ruler lines.
  send(QEvent::MouseMove, to + QPointF(30, 30), Qt::NoButton);
  EXPECT_EQ(options.offsetX, -100 - std::lround(50 * e));

  w->centre();  // A4 PDF page: 210 x 297 mm, board 160 x 100 mm
  EXPECT_EQ(options.offsetX, 8000 - 10500);
  EXPECT_EQ(options.offsetY, 14850 - 5000);
}

TEST_F(PrintWindowTest, CorrectionOutsideItsRangeIsRefusedAndTheDialogStays) {
  TCorrectionDialog dialog(kEnglish, options, scripted);
  EXPECT_EQ(dialog.horizontal()->text(), "1.00000");
  dialog.show();
  dialog.horizontal()->setText("1.25");
  dialog.accept();
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(scripted.messages.size(), 1u);
  EXPECT_EQ(scripted.messages[0].text, "Please enter values from 0.8 to 1.2");
  EXPECT_EQ(scripted.messages[0].title, "Plavesk");
  EXPECT_EQ(options.correctionX, 1.0);
  dialog.horizontal()->setText("1.01");
  dialog.vertical()->setText("0.99");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_DOUBLE_EQ(options.correctionX, 1.01);
  EXPECT_DOUBLE_EQ(options.correctionY, 0.99);
}

TEST_F(PrintWindowTest, TilesAndOptionsDialogsLimitTheirValues) {
  TTilesDialog tiles(kEnglish, options);
  tiles.columns()->setValue(25);
  tiles.rows()->setValue(0);
  tiles.gap()->setText("60");
  tiles.apply(options);
  EXPECT_EQ(options.tilesX, 20);
  EXPECT_EQ(options.tilesY, 1);
  EXPECT_EQ(options.tileGap, 5000);

  TPrintOptionsDialog dialog(kEnglish, options);
  EXPECT_EQ(dialog.padField()->value(), 0.3);
  dialog.padField()->setText("12");
  dialog.smdField()->setText("0.155");
  dialog.textHeightField()->setText("0.05");
  dialog.smdCheck()->setChecked(false);
  dialog.apply(options);
  EXPECT_EQ(options.padMaskEnlargement, 999);
  EXPECT_EQ(options.smdMaskEnlargement, 16);
  EXPECT_EQ(options.drillTextHeight, 10);
  EXPECT_FALSE(options.maskSmdPads);
}

// With the PDF printer the window writes the file the command line writes
// for the same settings: the same drawing, the same bytes but for the
// creation date.
TEST_F(PrintWindowTest, PdfFromTheWindowEqualsTheCommandLine) {
  std::string error;
  ASSERT_TRUE(writeFileAtomically(path("sample.lay"), encodeLayout(layout), error)) << error;
  auto w = makeWindow();
  w->mirrorCheck()->click();
  w->itemCheck(kPrintDrill1)->click();
  options.tilesX = 2;
  options.tileGap = 300;
  options.correctionX = 1.01;
  scripted.saveFiles.push_back(path("window.pdf"));
  ASSERT_TRUE(w->printSheet());
  EXPECT_EQ(w->lastPdf(), path("window.pdf"));

  std::ostringstream out, err;
  ASSERT_EQ(
      runCli({"print", path("sample.lay"), "-o", path("cli.pdf"), "--mirror", "--layers",
              "K1,B1,K2,B2,Bohr1", "--tiles", "2x1", "--gap", "3", "--correction", "1.01", "1"},
             out, err),
      0)
      << err.str();
  auto withoutDate = [&](const std::string& name) {
    std::vector<uint8_t> bytes;
    std::string e;
    EXPECT_TRUE(readWholeFile(path(name), bytes, e)) << e;
    std::string text(bytes.begin(), bytes.end());
    const size_t at = text.find("/CreationDate");
    if (at != std::string::npos) text.erase(at, text.find('\n', at) - at);
    return text;
  };
  const std::string a = withoutDate("window.pdf"), b = withoutDate("cli.pdf");
  EXPECT_GT(a.size(), 1000u);
  EXPECT_TRUE(a == b) << "the window's PDF differs from the command line's";
}

TEST_F(PrintWindowTest, ClipboardGetsTheBoardAt300Dpi) {
  auto w = makeWindow();
  w->copyToClipboard();
  const QImage image = QApplication::clipboard()->image();
  EXPECT_EQ(image.width(), 1890);  // 160 mm
  EXPECT_EQ(image.height(), 1181);
  ASSERT_EQ(scripted.messages.size(), 1u);
  EXPECT_EQ(scripted.messages[0].kind, TMessageKind::Information);
  EXPECT_EQ(scripted.messages[0].text,
            "The bitmap of the preview has been copied to the clipboard.");
}

TEST_F(WindowFixture, PrintCommandsAreBuilt) {
  TMainWindow& w = open(kEnglish);
  for (const char* id : {"file.print", "file.printerSetup"}) {
    QAction* a = w.action(id);
    ASSERT_NE(a, nullptr) << id;
    EXPECT_FALSE(a->property("pending").toBool()) << id;
    EXPECT_TRUE(a->isEnabled()) << id;
  }
  currentPrinter(kEnglish) = TPrinterChoice{"PDF file", true, "A4"};
  bool opened = false;
  testing::answerNextDialog<TPrintWindow>([&](TPrintWindow& pw) {
    opened = true;
    EXPECT_EQ(pw.windowTitle(), "PDF file");
    EXPECT_TRUE(pw.isMaximized());
    pw.reject();
  });
  w.action("file.print")->trigger();
  EXPECT_TRUE(opened);
}

}  // namespace
}  // namespace plavesk
