#include "app/template_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <filesystem>

#include "app/layout_view.h"
#include "document/file_io.h"
#include "document/layout_file.h"
#include "scripted_dialogs.h"
#include "window_fixture.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;
using testing::answerNextDialog;
using testing::TScriptedDialogs;
using testing::WindowFixture;

void put32(std::vector<uint8_t>& d, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) d[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// A two-colour bitmap file, every pixel dark, with `ppm` pixels per metre in
// the header. `claimedWidth` lets the header announce another size.
std::vector<uint8_t> darkBitmap(int width, int height, uint32_t ppm, int claimedWidth = 0) {
  const size_t stride = (size_t(width) + 31) / 32 * 4;
  std::vector<uint8_t> d(62 + stride * size_t(height), 0);
  d[0] = 'B';
  d[1] = 'M';
  put32(d, 2, uint32_t(d.size()));
  put32(d, 10, 62);
  put32(d, 14, 40);
  put32(d, 18, uint32_t(claimedWidth ? claimedWidth : width));
  put32(d, 22, uint32_t(height));
  d[26] = 1;
  d[28] = 1;
  put32(d, 38, ppm);
  put32(d, 42, ppm);
  put32(d, 58, 0x00FFFFFF);  // palette: 0 black, 1 white
  return d;
}

class TemplateTest : public WindowFixture {
 protected:
  std::string writeBitmap(const std::string& name, const std::vector<uint8_t>& data) {
    const std::string p = path(name);
    std::string error;
    EXPECT_TRUE(writeFileAtomically(p, data, error)) << error;
    return p;
  }
};

TEST_F(TemplateTest, ReadingRefusesBrokenAndHugeFiles) {
  const std::string good = writeBitmap("good.bmp", darkBitmap(40, 20, 3937));
  const TTemplateBitmap read = readTemplateBitmap(good);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.dpi, 100);
  EXPECT_EQ(read.image->width, 40);
  EXPECT_EQ(read.image->height, 20);
  EXPECT_TRUE(read.image->twoColour);

  struct Case {
    const char* name;
    std::vector<uint8_t> data;
  } bad[] = {
      {"text.bmp", std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'}},
      {"empty.bmp", {}},
      // 20001 x 10001 announced: beyond 200 megapixels.
      {"huge.bmp",
       [] {
         auto d = darkBitmap(32, 10001, 3937, 20001);
         return d;
       }()},
      {"truncated.bmp",
       [] {
         auto d = darkBitmap(64, 64, 3937);
         d.resize(100);
         return d;
       }()},
  };
  for (const Case& c : bad) {
    const TTemplateBitmap r = readTemplateBitmap(writeBitmap(c.name, c.data));
    EXPECT_FALSE(r.ok) << c.name;
    EXPECT_FALSE(r.error.empty()) << c.name;
  }
  EXPECT_FALSE(readTemplateBitmap(path("missing.bmp")).ok);
}

TEST_F(TemplateTest, LoadingReadsTheResolutionAndShowsTheBitmap) {
  const std::string bmp = writeBitmap("scan.bmp", darkBitmap(40, 20, 7874));  // 200 dpi
  TBoardRecord record;
  TTemplateBitmaps bitmaps;
  TScriptedDialogs dialogs;
  TTemplateDialog dialog(kEnglish, record, bitmaps, dialogs, "", 2);
  int repaints = 0;
  dialog.repaintView = [&] { ++repaints; };
  EXPECT_EQ(dialog.windowTitle(), "Scanned copy");
  EXPECT_EQ(dialog.tabs()->currentIndex(), 1) << "the active side's page";
  EXPECT_EQ(dialog.tabs()->tabText(0), "Board side 1");
  const TTemplateDialog::Page& p2 = dialog.page(2);
  EXPECT_EQ(p2.load->text(), "&Load bitmap...");
  EXPECT_FALSE(p2.show->isEnabled()) << "no file yet";
  EXPECT_EQ(p2.dpi->minimum(), 20);
  EXPECT_EQ(p2.dpi->maximum(), 2400);
  EXPECT_EQ(p2.dpi->value(), 600);
  EXPECT_EQ(p2.offsetX->minimum(), -1000);
  EXPECT_EQ(p2.offsetY->maximum(), 1000);

  dialogs.openFiles = {bmp};
  p2.load->click();
  EXPECT_EQ(p2.dpi->value(), 200);
  EXPECT_TRUE(p2.show->isChecked());
  EXPECT_TRUE(p2.show->isEnabled());
  EXPECT_EQ(p2.fileName->text().toStdString(), bmp);
  EXPECT_EQ(record.template2File, bmp);
  EXPECT_EQ(record.template2Dpi, 200);
  EXPECT_EQ(record.template2Shown, 1);
  ASSERT_NE(bitmaps.image(2), nullptr);
  EXPECT_EQ(bitmaps.image(2)->width, 40);
  EXPECT_EQ(bitmaps.image(1), nullptr);
  EXPECT_EQ(dialog.folder(), folder.string());
  EXPECT_EQ(repaints, 1);

  // Changes on the active side's page repaint; the other side's do not.
  p2.offsetY->setValue(10);
  EXPECT_EQ(record.template2OffsetY, 10);
  EXPECT_EQ(repaints, 2);
  dialog.page(1).offsetX->setValue(-5);
  EXPECT_EQ(record.template1OffsetX, -5);
  EXPECT_EQ(repaints, 2);
  dialog.setColour(2, rgb(0, 0, 255));
  EXPECT_EQ(record.template2Color, int32_t(rgb(0, 0, 255)));
  EXPECT_EQ(repaints, 3);

  p2.remove->click();
  EXPECT_EQ(record.template2File, "");
  EXPECT_EQ(record.template2Shown, 0);
  EXPECT_EQ(bitmaps.image(2), nullptr);
  EXPECT_FALSE(p2.show->isEnabled());
  EXPECT_FALSE(p2.show->isChecked());
}

TEST_F(TemplateTest, ABrokenFileKeepsThePreviousTemplate) {
  const std::string good = writeBitmap("good.bmp", darkBitmap(40, 20, 3937));
  const std::string broken = writeBitmap("broken.bmp", {'B', 'M', 1, 2, 3});
  const std::string noResolution = writeBitmap("nodpi.bmp", darkBitmap(8, 8, 0));
  TBoardRecord record;
  TTemplateBitmaps bitmaps;
  TScriptedDialogs dialogs;
  for (int language : {kEnglish, kGerman, kFrench}) {
    TTemplateDialog dialog(language, record, bitmaps, dialogs, "", 1);
    ASSERT_TRUE(dialog.loadFile(1, good));
    const CanvasImage* loaded = bitmaps.image(1);
    dialogs.messages.clear();
    EXPECT_FALSE(dialog.loadFile(1, broken));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const std::string expected[] = {
        "Vorlagen-Datei " + broken + " kann nicht geladen werden.",
        "Error loading scanned-copy-bitmap: " + broken,
        "Erreur de chargement de l´image de la copie scannée: " + broken};
    EXPECT_EQ(dialogs.messages[0].text, expected[language]);
    EXPECT_EQ(dialogs.messages[0].title, "Plavesk");
    EXPECT_EQ(record.template1File, good);
    EXPECT_EQ(record.template1Dpi, 100);
    EXPECT_EQ(bitmaps.image(1), loaded);
    EXPECT_EQ(dialog.page(1).fileName->text().toStdString(), good);
    dialog.accept();
  }
  // A header without resolution: the field's lower limit.
  TTemplateDialog dialog(kEnglish, record, bitmaps, dialogs, "", 1);
  ASSERT_TRUE(dialog.loadFile(1, noResolution));
  EXPECT_EQ(record.template1Dpi, 20);
}

TEST_F(TemplateTest, CancelPutsBackWhatWasThere) {
  const std::string first = writeBitmap("first.bmp", darkBitmap(40, 20, 3937));
  const std::string second = writeBitmap("second.bmp", darkBitmap(16, 16, 3937));
  TBoardRecord record;
  TTemplateBitmaps bitmaps;
  ASSERT_TRUE(bitmaps.load(1, first));
  record.template1File = first;
  record.template1Shown = 1;
  record.template1Dpi = 300;
  const TBoardRecord before = record;
  const CanvasImage* image = bitmaps.image(1);
  TScriptedDialogs dialogs;
  TTemplateDialog dialog(kEnglish, record, bitmaps, dialogs, "", 1);
  EXPECT_EQ(dialog.page(1).dpi->value(), 300);
  EXPECT_TRUE(dialog.page(1).show->isChecked());
  ASSERT_TRUE(dialog.loadFile(1, second));
  ASSERT_TRUE(dialog.loadFile(2, first));
  dialog.page(1).offsetY->setValue(-300);
  dialog.page(1).show->setChecked(false);
  EXPECT_NE(record, before);
  int repaints = 0;
  dialog.repaintView = [&] { ++repaints; };
  dialog.reject();
  EXPECT_EQ(record, before);
  EXPECT_EQ(bitmaps.image(1), image);
  EXPECT_EQ(bitmaps.image(2), nullptr);
  EXPECT_EQ(repaints, 1);
}

// The colour of a viewport pixel of the drawing area as painted now.
QColor viewPixel(TMainWindow& w, int x, int y) {
  return w.layoutView()->viewport()->grab().toImage().pixelColor(x, y);
}

TEST_F(TemplateTest, TheWindowsDialogShowsTheTemplateInTheView) {
  TMainWindow& w = open();
  const std::string bmp = writeBitmap("scan.bmp", darkBitmap(40, 20, 3937));
  // 40 x 20 pixels at 100 dpi: 1016 x 508 units, about 101 x 51 pixels at
  // zoom 0.1 from the board's top-left corner.
  ASSERT_EQ(w.editor().layout.working().activeLayer, 3);
  const QColor before = viewPixel(w, 10, 10);
  dialogs->openFiles = {bmp};
  answerNextDialog<TTemplateDialog>([](TTemplateDialog& d) {
    d.chooseFile(2);
    d.setColour(2, rgb(0, 0, 255));
    d.accept();
  });
  w.action("opt.template")->trigger();
  EXPECT_TRUE(w.editor().layout.modified);
  EXPECT_EQ(w.templateFolder(), folder.string());
  EXPECT_EQ(viewPixel(w, 10, 10), QColor(0, 0, 255));
  EXPECT_EQ(viewPixel(w, 10, 45), QColor(0, 0, 255));
  EXPECT_EQ(viewPixel(w, 200, 10), before) << "beside the template";
  // Side 1 has no template.
  w.chooseActiveLayer(1);
  EXPECT_EQ(viewPixel(w, 10, 10), before);
  w.chooseActiveLayer(4);
  EXPECT_EQ(viewPixel(w, 10, 10), QColor(0, 0, 255));

  // Cancel leaves everything as it was, and the layout unmodified.
  w.editor().layout.modified = false;
  const TBoardRecord record = w.editor().layout.working();
  answerNextDialog<TTemplateDialog>([](TTemplateDialog& d) {
    d.page(2).show->setChecked(false);
    d.reject();
  });
  w.showTemplateDialog();
  EXPECT_FALSE(w.editor().layout.modified);
  EXPECT_EQ(w.editor().layout.working(), record);
  EXPECT_EQ(viewPixel(w, 10, 10), QColor(0, 0, 255));
}

TEST_F(TemplateTest, BoardsLoadTheirTemplatesWhenTheyBecomeActive) {
  const std::string bmp = writeBitmap("scan.bmp", darkBitmap(40, 20, 3937));
  TLayout layout;
  layout.addBoard("Plain");
  layout.addBoard("Traced");
  layout.working().template2File = bmp;
  layout.working().template2Shown = 1;
  layout.working().template2Dpi = 100;
  layout.working().template1File = path("gone.bmp");
  layout.working().template1Shown = 1;
  layout.activateBoard(0);
  const std::string file = path("two.lay");
  std::string error;
  ASSERT_TRUE(writeFileAtomically(file, encodeLayout(layout), error)) << error;

  TMainWindow& w = open();
  w.openStartFile(file);
  ASSERT_EQ(w.editor().layout.boards.size(), 2u);
  EXPECT_EQ(w.templates().image(2), nullptr);
  w.activateBoard(1);
  ASSERT_NE(w.templates().image(2), nullptr);
  EXPECT_EQ(w.templates().image(2)->width, 40);
  EXPECT_EQ(w.templates().path(2), bmp);
  // A file that cannot be read: the name is cleared and not shown.
  EXPECT_EQ(w.templates().image(1), nullptr);
  EXPECT_EQ(w.editor().layout.working().template1File, "");
  EXPECT_EQ(w.editor().layout.working().template1Shown, 0);
  EXPECT_EQ(viewPixel(w, 10, 10), QColor(0, 255, 0)) << "lime by default";
  w.activateBoard(0);
  EXPECT_EQ(w.templates().image(2), nullptr);

  // Saved with the traced board active, the template comes back on opening;
  // opening another layout drops it.
  w.activateBoard(1);
  const std::string again = path("again.lay");
  ASSERT_TRUE(writeFileAtomically(again, encodeLayout(w.editor().layout), error)) << error;
  ASSERT_TRUE(w.files().openFile(file, false));
  EXPECT_EQ(w.editor().layout.activeBoard, 0);
  EXPECT_EQ(w.templates().image(2), nullptr);
  ASSERT_TRUE(w.files().openFile(again, false));
  EXPECT_EQ(w.editor().layout.activeBoard, 1);
  ASSERT_NE(w.templates().image(2), nullptr);
  EXPECT_EQ(viewPixel(w, 10, 10), QColor(0, 255, 0));
}

}  // namespace
}  // namespace plavesk
