#include "app/image_commands.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMimeData>
#include <QRadioButton>
#include <QSlider>
#include <filesystem>

#include "app/export_dialog.h"
#include "document/file_io.h"
#include "document/objekt.h"
#include "scripted_dialogs.h"
#include "view/render_settings.h"
#include "window_fixture.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;
using testing::answerNextDialog;
using testing::TScriptedDialogs;
using testing::WindowFixture;

uint32_t le32(const std::vector<uint8_t>& d, size_t at) {
  return uint32_t(d[at]) | uint32_t(d[at + 1]) << 8 | uint32_t(d[at + 2]) << 16 |
         uint32_t(d[at + 3]) << 24;
}

// Pixel (x, y from the top) of a 24-bit bottom-up bitmap file as 0x00BBGGRR.
uint32_t bmp24Pixel(const std::vector<uint8_t>& d, int x, int y) {
  const int32_t width = int32_t(le32(d, 18)), height = int32_t(le32(d, 22));
  const size_t stride = (size_t(width) * 3 + 3) / 4 * 4;
  const size_t at = le32(d, 10) + size_t(height - 1 - y) * stride + size_t(x) * 3;
  return uint32_t(d[at + 2]) | uint32_t(d[at + 1]) << 8 | uint32_t(d[at]) << 16;
}

TEST(ExportDialog, ShowsSizeAndMemoryForTheResolution) {
  struct Case {
    TExportFormat format;
    int32_t width, height;
    int dpi;
    bool colour;
    QString original, pixels;
    int64_t kb;
    bool asks;
  } cases[] = {
      {TExportFormat::kBmp, 16000, 10000, 300, false, "160.0 mm x 100.0 mm", "1890 x 1181", 272,
       false},
      {TExportFormat::kBmp, 16000, 10000, 300, true, "160.0 mm x 100.0 mm", "1890 x 1181", 6540,
       false},
      {TExportFormat::kBmp, 30000, 30000, 600, true, "300.0 mm x 300.0 mm", "7087 x 7087", 147144,
       true},
      // Black and white stays below the limit at the same size.
      {TExportFormat::kBmp, 30000, 30000, 600, false, "300.0 mm x 300.0 mm", "7087 x 7087", 6131,
       false},
      {TExportFormat::kBmp, 1250, 770, 100, false, "12.5 mm x 7.7 mm", "49 x 30", 0, false},
  };
  // The board's size follows the regional decimal separator.
  const QLocale regional;
  QLocale::setDefault(QLocale(QLocale::English));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pixels.toStdString() + (c.colour ? " colour" : " b/w"));
    TScriptedDialogs dialogs;
    TExportDialog dialog(kEnglish, c.format, c.width, c.height, dialogs);
    EXPECT_EQ(dialog.dpi(), 300) << "default";
    EXPECT_FALSE(dialog.colour()) << "black and white by default";
    dialog.setDpi(c.dpi);
    dialog.setColour(c.colour);
    EXPECT_EQ(dialog.originalSizeLabel()->text(), c.original);
    EXPECT_EQ(dialog.resolutionLabel()->text(), QString::number(c.dpi) + " dpi");
    EXPECT_EQ(dialog.pixelSizeLabel()->text(), c.pixels);
    EXPECT_EQ(dialog.memoryLabel()->text(), QString::number(c.kb) + " kB");
    EXPECT_EQ(dialog.memoryKb(), c.kb);
    dialogs.yesNo = {false};
    dialog.accept();
    EXPECT_EQ(dialogs.warnings.size(), c.asks ? 1u : 0u);
    EXPECT_EQ(dialog.result(), c.asks ? QDialog::Rejected : QDialog::Accepted);
  }
  QLocale::setDefault(QLocale(QLocale::German));
  TScriptedDialogs dialogs;
  EXPECT_EQ(
      TExportDialog(kEnglish, TExportFormat::kBmp, 1250, 770, dialogs).originalSizeLabel()->text(),
      "12,5 mm x 7,7 mm");
  QLocale::setDefault(regional);
}

TEST(ExportDialog, LargePicturesCloseOnlyAfterOk) {
  TScriptedDialogs dialogs;
  TExportDialog dialog(kEnglish, TExportFormat::kBmp, 30000, 30000, dialogs);
  dialog.setDpi(600);
  dialog.setColour(true);
  dialogs.yesNo = {false, true};
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  ASSERT_EQ(dialogs.warnings.size(), 1u);
  EXPECT_EQ(dialogs.warnings[0],
            "You are about to create a large bitmap.\rBetter make sure that your work is "
            "saved.\r\rContinue ?");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);

  TScriptedDialogs german;
  TExportDialog de(kGerman, TExportFormat::kBmp, 30000, 30000, german);
  de.setDpi(600);
  de.setColour(true);
  de.accept();
  ASSERT_EQ(german.warnings.size(), 1u);
  EXPECT_EQ(german.warnings[0],
            "Das erstellen von so großen Bitmaps kann das System instabil\rwerden lassen, wenn "
            "nicht genügend freier Speicher vorhanden ist.\r\rMöchten Sie trotzdem fortfahren ?");
}

TEST(ExportDialog, SliderMovesInStepsOfTwenty) {
  TScriptedDialogs dialogs;
  TExportDialog dialog(kEnglish, TExportFormat::kBmp, 16000, 10000, dialogs);
  QSlider* slider = dialog.resolutionSlider();
  EXPECT_EQ(slider->minimum(), 100);
  EXPECT_EQ(slider->maximum(), 600);
  EXPECT_EQ(slider->tickInterval(), 20);
  slider->setValue(311);
  EXPECT_EQ(dialog.dpi(), 320);
  EXPECT_EQ(dialog.resolutionLabel()->text(), "320 dpi");
  slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(dialog.dpi(), 340);
  dialog.setDpi(2000);
  EXPECT_EQ(dialog.dpi(), 600);
  dialog.setDpi(10);
  EXPECT_EQ(dialog.dpi(), 100);
}

TEST(ExportDialog, GifIsAlwaysColouredWithoutEstimate) {
  TScriptedDialogs dialogs;
  TExportDialog dialog(kFrench, TExportFormat::kGif, 30000, 30000, dialogs);
  EXPECT_EQ(dialog.windowTitle(), "Exportation GIF");
  EXPECT_TRUE(dialog.colour());
  EXPECT_FALSE(dialog.blackWhiteButton()->isEnabled());
  dialog.setColour(false);
  EXPECT_TRUE(dialog.colour());
  EXPECT_TRUE(dialog.memoryLabel()->isHidden());
  EXPECT_TRUE(dialog.memoryCaption()->isHidden());
  // The picture's size still asks before a huge GIF.
  dialog.setDpi(600);
  dialog.accept();
  EXPECT_EQ(dialogs.warnings.size(), 1u);

  TExportDialog bmp(kFrench, TExportFormat::kBmp, 16000, 10000, dialogs);
  EXPECT_EQ(bmp.windowTitle(), "Exportation bitmap (toutes les couches visibles)");
  EXPECT_FALSE(bmp.memoryLabel()->isHidden());
  EXPECT_TRUE(bmp.blackWhiteButton()->isEnabled());
}

class ImageCommandsTest : public WindowFixture {
 protected:
  // A large pad on copper 1, selected.
  TObjekt& addSelectedPad(TMainWindow& w) {
    TEditor& e = w.editor();
    e.elements().push_back(createPad({5000, -5000}, 1000, kPadRound, 1, 100));
    TObjekt& pad = *e.elements().back();
    e.setSelected(pad, true);
    return pad;
  }
  // Accepts the export dialog with the given resolution and format.
  static void acceptExport(int dpi, bool colour) {
    answerNextDialog<TExportDialog>([dpi, colour](TExportDialog& d) {
      d.setDpi(dpi);
      d.setColour(colour);
      d.accept();
    });
  }
};

TEST_F(ImageCommandsTest, BitmapCommandWritesTheBoardAndKeepsTheSelection) {
  TMainWindow& w = open();
  TObjekt& pad = addSelectedPad(w);
  const std::string out = (folder / "pictures").string();
  fs::create_directories(out);
  struct Case {
    bool colour;
    size_t fileSize;
    int bits;
  } cases[] = {
      // 160 x 100 mm at 100 dpi: 630 x 394 pixels.
      {true, 54 + 1892 * 394, 24},
      {false, 62 + 80 * 394, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    const std::string file = out + (c.colour ? "/colour.bmp" : "/bw.bmp");
    acceptExport(100, c.colour);
    dialogs->saveFiles = {file};
    w.action("export.bmp")->trigger();
    std::vector<uint8_t> data;
    std::string error;
    ASSERT_TRUE(readWholeFile(file, data, error)) << error;
    EXPECT_EQ(data.size(), c.fileSize);
    EXPECT_EQ(le32(data, 18), 630u);
    EXPECT_EQ(le32(data, 22), 394u);
    EXPECT_EQ(data[28], c.bits);
    EXPECT_EQ(le32(data, 38), 3937u) << "100 dpi as pixels per metre";
    if (c.colour) {
      // 5 mm right of the pad centre: the pad in its layer colour, not in the
      // selection colour.
      const int x = int(std::lround((5000 + 500) * 100 / 2540.0));
      const int y = int(std::lround(5000 * 100 / 2540.0));
      EXPECT_EQ(bmp24Pixel(data, x, y), TRenderSettings().colour(kColourCopper1));
    }
    EXPECT_TRUE(pad.selected);
    EXPECT_EQ(pad.workMark, 0);
    EXPECT_EQ(w.images().bitmapFolder, out);
  }
  EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(ImageCommandsTest, CancelledDialogsWriteNothing) {
  TMainWindow& w = open();
  const std::string file = path("never.bmp");
  const std::string before = w.images().bitmapFolder;
  answerNextDialog<TExportDialog>([](TExportDialog& d) { d.reject(); });
  dialogs->saveFiles = {file};
  w.action("export.gif")->trigger();
  EXPECT_EQ(dialogs->saveFiles.size(), 1u) << "no file choice after Cancel";
  acceptExport(100, true);
  dialogs->saveFiles = {""};
  w.action("export.gif")->trigger();
  EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(w.images().bitmapFolder, before);
}

TEST_F(ImageCommandsTest, GifCommandWritesAGif) {
  TMainWindow& w = open();
  addSelectedPad(w);
  const std::string file = path("board.gif");
  acceptExport(100, false);  // refused: a GIF is coloured
  dialogs->saveFiles = {file};
  w.action("export.gif")->trigger();
  std::vector<uint8_t> data;
  std::string error;
  ASSERT_TRUE(readWholeFile(file, data, error)) << error;
  ASSERT_GT(data.size(), 13u);
  EXPECT_EQ(std::string(data.begin(), data.begin() + 4), "GIF8");
  EXPECT_EQ(data[6] | data[7] << 8, 630);
  EXPECT_EQ(data[8] | data[9] << 8, 394);
}

TEST_F(ImageCommandsTest, WriteFailureIsReported) {
  TMainWindow& w = open();
  acceptExport(100, false);
  dialogs->saveFiles = {path("missing-folder/board.bmp")};
  const std::string before = w.images().bitmapFolder;
  w.action("export.bmp")->trigger();
  ASSERT_EQ(dialogs->messages.size(), 1u);
  EXPECT_EQ(dialogs->messages[0].kind, TMessageKind::Error);
  EXPECT_EQ(dialogs->messages[0].title, "Plavesk 4.0");
  EXPECT_EQ(w.images().bitmapFolder, before);
}

const QMimeData* clipboardData() {
  return QGuiApplication::clipboard()->mimeData();
}

void expectThreeForms(const QMimeData* data) {
  ASSERT_NE(data, nullptr);
  for (const char* format : {"image/emf", "image/svg+xml", "image/png"})
    EXPECT_TRUE(data->hasFormat(format)) << format;
  const QByteArray emf = data->data("image/emf");
  ASSERT_GT(emf.size(), 44);
  EXPECT_EQ(emf[0], 1) << "EMR_HEADER";
  EXPECT_EQ(emf.mid(40, 4), QByteArray(" EMF"));
  EXPECT_TRUE(data->data("image/svg+xml").contains("<svg"));
  EXPECT_TRUE(data->hasImage());
}

TEST_F(ImageCommandsTest, CopyPutsTheSelectionOnTheClipboard) {
  TMainWindow& w = open();
  QGuiApplication::clipboard()->clear();
  TObjekt& pad = addSelectedPad(w);
  w.editor().elements().push_back(createPad({12000, -8000}, 500, kPadRound, 1, 100));
  w.updateCommandStates();
  ASSERT_TRUE(w.action("edit.copy")->isEnabled());
  w.action("edit.copy")->trigger();
  EXPECT_EQ(w.editor().clipboard().size(), 1u);
  EXPECT_TRUE(pad.selected);
  const QMimeData* data = clipboardData();
  expectThreeForms(data);
  if (!data) return;
  // The picture covers the pad (20 mm across at zoom 0.1: about 200 pixels),
  // not the board, and has no background.
  const QImage image = qvariant_cast<QImage>(data->imageData());
  ASSERT_FALSE(image.isNull());
  EXPECT_NEAR(image.width(), 200, 12);
  EXPECT_NEAR(image.height(), 200, 12);
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(image.pixel(image.width() - 1, image.height() - 1)), 0);
  const QColor ring = image.pixelColor(image.width() / 2 + 50, image.height() / 2);
  EXPECT_EQ(ring.alpha(), 255);
  const TColour copper = TRenderSettings().colour(kColourCopper1);
  EXPECT_EQ(ring.rgb() & 0xFFFFFF,
            QColor(redOf(copper), greenOf(copper), blueOf(copper)).rgb() & 0xFFFFFF);
  const QImage fromPng = QImage::fromData(data->data("image/png"), "PNG");
  EXPECT_EQ(fromPng.size(), image.size());
}

TEST_F(ImageCommandsTest, EmfCommandWritesTheFileAndFillsTheClipboard) {
  TMainWindow& w = open();
  QGuiApplication::clipboard()->clear();
  TObjekt& pad = addSelectedPad(w);
  const std::string file = path("board.emf");
  dialogs->saveFiles = {file};
  w.action("export.emf")->trigger();
  std::vector<uint8_t> data;
  std::string error;
  ASSERT_TRUE(readWholeFile(file, data, error)) << error;
  const QMimeData* mime = clipboardData();
  expectThreeForms(mime);
  if (!mime) return;
  EXPECT_EQ(mime->data("image/emf"),
            QByteArray(reinterpret_cast<const char*>(data.data()), qsizetype(data.size())));
  // The whole board at zoom 0.1 with its background.
  const QImage image = qvariant_cast<QImage>(mime->imageData());
  EXPECT_NEAR(image.width(), 1600, 2);
  EXPECT_NEAR(image.height(), 1000, 2);
  const TColour background = TRenderSettings().colour(kColourBackground);
  EXPECT_EQ(image.pixel(10, 10),
            QColor(redOf(background), greenOf(background), blueOf(background)).rgba());
  EXPECT_TRUE(pad.selected);
  EXPECT_EQ(w.images().bitmapFolder, folder.string());
}

}  // namespace
}  // namespace plavesk
