// The Export menu's manufacturing commands after their dialogs: what they
// write is what the output module makes of the board, failures name the file
// and leave nothing, a cancelled job writes nothing and keeps the layout,
// milling leaves its contours on the board; and the Gerber dialog's rules.
#include "app/manufacturing_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/excellon_dialog.h"
#include "app/gerber_dialog.h"
#include "app/lay_spin_edit.h"
#include "app/long_job.h"
#include "app/milling_dialog.h"
#include "output/excellon_export.h"
#include "output/gerber_export.h"
#include "output/gerber_texts.h"
#include "output/hpgl_outline.h"
#include "output/hpgl_texts.h"
#include "scripted_dialogs.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;
using testing::TScriptedDialogs;

std::string readText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A 50 x 40 mm board: two through pads, a track between them, an SMD pad
// and a copper text on side 1, a selected silkscreen track for the outline.
void fillBoard(TEditor& editor) {
  editor.layout.addBoard("Board");
  TBoardRecord& r = editor.layout.working();
  r.width = 5000;
  r.height = 4000;
  TObjektList& l = editor.elements();
  l.push_back(createPad({1000, -1000}, 90, kPadRound, kCopper1, 40));
  l.push_back(createPad({4000, -1000}, 90, kPadSquare, kCopper1, 50));
  l.push_back(createTrack(60, kCopper1));
  l.back()->points = {{1000, -1000}, {2500, -2500}, {4000, -1000}};
  l.push_back(createSmdPad({2500, -3200}, 150, kCopper1, 80));
  l.push_back(createTrack(20, kSilk1));
  l.back()->points = {{100, -100}, {4900, -100}, {4900, -3900}};
  l.back()->selected = 1;
  for (auto& e : l) e->clearance = 40;
  editor.layout.modified = false;
}

class ManufacturingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("plavesk_fab_" + std::to_string(getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    fillBoard(editor);
  }
  void TearDown() override { fs::remove_all(folder); }
  std::string path(const std::string& name) const { return (folder / name).string(); }
  std::vector<std::string> listing() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path folder;
  TEditor editor;
  TScriptedDialogs dialogs;
  TLongJobs jobs{nullptr, kEnglish};
  TManufacturingCommands commands{editor, dialogs, jobs, kEnglish};
};

// Every output as the output module makes it; the report says where the
// file went and offers the folder, which becomes the next start folder.
TEST_F(ManufacturingTest, GerberFileIsTheExportOfTheBoard) {
  editor.layout.working().groundPlane1 = 1;
  for (int i = 0; i < kGerberOutputCount; ++i) {
    const auto output = TGerberOutput(i);
    SCOPED_TRACE(std::string(gerberOutputName(output)));
    const TGerberOptions options = gerberDefaults(output);
    const std::string target = path(gerberFileName(output, kEnglish));
    dialogs.questions.clear();
    ASSERT_TRUE(commands.writeGerber(options, target));
    EXPECT_EQ(readText(target),
              gerberText(editor.elements(), editor.layout.working(), options, kEnglish));
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_NE(dialogs.questions[0].find(gerberCreatedMessage(kEnglish)), std::string::npos);
    EXPECT_NE(dialogs.questions[0].find(folder.string()), std::string::npos);
    EXPECT_NE(dialogs.questions[0].find(gerberFileName(output, kEnglish)), std::string::npos);
  }
  EXPECT_EQ(commands.exportFolder, folder.string());
  EXPECT_EQ(commands.gerberStartPath(TGerberOutput::K2), path("Copper2.GBR"));
}

TEST_F(ManufacturingTest, DrillFileIsTheExportOfTheBoard) {
  const TExcellonOptions options{false, true, true};
  ASSERT_TRUE(commands.writeDrill(options, path("board.drl")));
  EXPECT_EQ(readText(path("board.drl")),
            excellonText(editor.elements(), editor.layout.working(), options));
}

// A full disk or a refused name: an error naming the file, no file, and
// nothing else written or changed.
TEST_F(ManufacturingTest, FailedWritesNameTheFileAndLeaveNothing) {
  commands.writeCall = [](int, const char*, size_t) -> ssize_t {
    errno = ENOSPC;
    return -1;
  };
  EXPECT_FALSE(commands.writeGerber(gerberDefaults(TGerberOutput::K1), path("Copper1.GBR")));
  commands.writeCall = {};
  const std::string refused = path(std::string(300, 'n') + ".drl");
  EXPECT_FALSE(commands.writeDrill({}, refused));
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].kind, TMessageKind::Error);
  EXPECT_NE(dialogs.messages[0].text.find(gerberNotCreatedMessage(kEnglish)), std::string::npos);
  EXPECT_NE(dialogs.messages[0].text.find(path("Copper1.GBR")), std::string::npos);
  EXPECT_NE(dialogs.messages[1].text.find(refused), std::string::npos);
  EXPECT_TRUE(dialogs.questions.empty());
  EXPECT_TRUE(listing().empty());
  EXPECT_TRUE(commands.exportFolder.empty());
}

// Cancel in the progress window: no file, no contours, the board as it was.
TEST_F(ManufacturingTest, CancelledJobsWriteNothing) {
  jobs.showAfterMs = 0;
  jobs.beforeWork = [](TJobControl& c) {
    while (!c.cancelled()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  jobs.windowShown = [this] { jobs.cancelButton()->click(); };
  const size_t count = editor.elements().size();
  EXPECT_FALSE(commands.writeGerber(gerberDefaults(TGerberOutput::K1), path("Copper1.GBR")));
  TMillingOptions milling;
  milling.drills = TDrillOutput::kOneFile;
  EXPECT_FALSE(commands.runMilling(milling, path("mill.plt")));
  EXPECT_TRUE(listing().empty());
  EXPECT_TRUE(editor.contours.empty());
  EXPECT_EQ(editor.elements().size(), count);
  EXPECT_FALSE(editor.layout.modified);
  EXPECT_TRUE(dialogs.messages.empty());
}

// Milling writes the main file and the drill file next to it, keeps the
// contours for the view and remembers the folder.
TEST_F(ManufacturingTest, MillingWritesItsFilesAndShowsTheContours) {
  TMillingOptions options;
  options.language = kEnglish;
  options.drills = TDrillOutput::kOneFile;
  ASSERT_TRUE(commands.runMilling(options, path("mill.plt")));
  EXPECT_EQ(listing(), (std::vector<std::string>{drillAllFileName(kEnglish), "mill.plt"}));
  EXPECT_FALSE(editor.contours.empty());
  const TMillingFiles expected =
      millingFiles(editor.elements(), editor.layout.working().height,
                   elementsBounds(editor.elements()), editor.contours, options, "mill.plt");
  EXPECT_EQ(readText(path("mill.plt")), expected.files[0].text);
  EXPECT_EQ(commands.millingFolder, folder.string());

  // Side 2 is empty: the warning, and nothing more is written.
  options.layer = kCopper2;
  EXPECT_FALSE(commands.runMilling(options, path("side2.plt")));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, millingEmptyLayerMessage(kEnglish));
  EXPECT_EQ(listing().size(), 2u);
}

TEST_F(ManufacturingTest, OutlineNeedsASelectedSilkscreenTrack) {
  TOutlineOptions options;
  ASSERT_TRUE(commands.writeOutline(options, path("outline.plt")));
  EXPECT_EQ(readText(path("outline.plt")),
            outlineFileText(editor.elements(), editor.layout.working().height,
                            elementsBounds(editor.elements()), options));
  editor.elements().back()->selected = 0;
  EXPECT_FALSE(commands.writeOutline(options, path("none.plt")));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, outlineNothingSelectedMessage(kEnglish));
  EXPECT_FALSE(fs::exists(path("none.plt")));
}

// Choosing an output sets mirror and outline by its rule; punch and mark
// follow the output and each other; the mask options only for the masks.
TEST(GerberDialogTest, OutputsSetTheirOptions) {
  TGerberDialog dialog(kGerman, standardColourScheme(), gerberDefaults(TGerberOutput::K1));
  struct Case {
    TGerberOutput output;
    bool mirror, outline, punchEnabled, maskEnabled;
  };
  const Case cases[] = {
      {TGerberOutput::K1, false, true, true, false},
      {TGerberOutput::B1, false, false, true, false},
      {TGerberOutput::K2, true, true, true, false},
      {TGerberOutput::B2, true, false, true, false},
      {TGerberOutput::LStop1, false, false, false, true},
      {TGerberOutput::LStop2, true, false, false, true},
      {TGerberOutput::SmdOnly1, false, false, true, false},
      {TGerberOutput::SmdOnly2, true, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(gerberOutputName(c.output)));
    // From a copper output with punch and mark on, so that clearing shows.
    dialog.outputButton(TGerberOutput::B1)->click();
    dialog.punchBox()->setChecked(true);
    dialog.markBox()->setChecked(true);
    ASSERT_TRUE(dialog.markBox()->isChecked());
    dialog.outputButton(c.output)->click();
    EXPECT_EQ(dialog.options().output, c.output);
    EXPECT_EQ(dialog.mirrorBox()->isChecked(), c.mirror);
    EXPECT_EQ(dialog.outlineBox()->isChecked(), c.outline);
    EXPECT_EQ(dialog.punchBox()->isEnabled(), c.punchEnabled);
    EXPECT_EQ(dialog.maskGroup()->isEnabled(), c.maskEnabled);
    EXPECT_EQ(dialog.padOffsetField()->isEnabled(), c.maskEnabled);
    const bool cleared = isSmdOnlyOutput(c.output);
    EXPECT_EQ(dialog.options().punch, !cleared);
    EXPECT_EQ(dialog.markBox()->isChecked(), !cleared);
    EXPECT_EQ(dialog.markBox()->isEnabled(), c.punchEnabled && !cleared);
  }
  dialog.outputButton(TGerberOutput::K1)->click();
  dialog.punchBox()->setChecked(true);
  dialog.markBox()->setChecked(true);
  dialog.punchBox()->click();  // off: mark is cleared and disabled
  EXPECT_FALSE(dialog.markBox()->isChecked());
  EXPECT_FALSE(dialog.markBox()->isEnabled());
  EXPECT_EQ(dialog.createButton()->text(), "&Exportdatei erstellen...");
  EXPECT_EQ(dialog.outputButton(TGerberOutput::LStop1)->text(), "Lötstop K1");
}

// A failed write keeps the dialog open with the user's choices; the next
// try with a good name writes the file.
TEST_F(ManufacturingTest, GerberDialogStaysOpenAfterAFailure) {
  TGerberDialog dialog(kEnglish, standardColourScheme(), gerberDefaults(TGerberOutput::K1));
  dialog.outputButton(TGerberOutput::LStop2)->click();
  dialog.invertBox()->click();
  dialog.smdOffsetField()->setValue(0.25);
  std::vector<std::string> targets = {path("missing/Soldermask2.GBR"), path("Soldermask2.GBR")};
  std::vector<bool> results;
  dialog.create = [&](const TGerberOptions& o) {
    results.push_back(commands.writeGerber(o, targets[results.size()]));
  };
  dialog.show();
  dialog.createButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.options().output, TGerberOutput::LStop2);
  EXPECT_TRUE(dialog.options().invert);
  EXPECT_DOUBLE_EQ(dialog.options().smdOffset, 0.25);
  dialog.createButton()->click();
  EXPECT_EQ(results, (std::vector<bool>{false, true}));
  EXPECT_TRUE(fs::exists(path("Soldermask2.GBR")));
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_NE(dialogs.messages[0].text.find("missing/Soldermask2.GBR"), std::string::npos);
}

TEST(MillingDialogTest, FieldsFollowTheirSwitches) {
  TMillingContent content;
  content.pads = true;
  content.normalTexts = true;
  TMillingDialog dialog(kEnglish, standardColourScheme(), TMillingOptions{}, content);
  EXPECT_FALSE(dialog.channelField()->isEnabled());
  dialog.channelBox()->click();
  EXPECT_TRUE(dialog.channelField()->isEnabled());
  EXPECT_FALSE(dialog.toolField()->isEnabled());
  dialog.drillButton(TDrillOutput::kMilled)->click();
  EXPECT_TRUE(dialog.toolField()->isEnabled());
  EXPECT_TRUE(dialog.secondPenBox()->isEnabled());
  EXPECT_TRUE(dialog.textSingle(false)->isEnabled());
  EXPECT_FALSE(dialog.textSingle(true)->isEnabled());
  dialog.channelField()->setValue(0.35);
  dialog.toolField()->setValue(1.2);
  dialog.textSingle(false)->click();
  dialog.layerButton(2)->click();
  dialog.mirrorButton(TMirror::kX)->click();
  const TMillingOptions o = dialog.options();
  EXPECT_EQ(o.layer, kCopper2);
  EXPECT_TRUE(o.includeChannel);
  EXPECT_EQ(o.channelWidth, 35);
  EXPECT_EQ(o.toolDiameter, 120);
  EXPECT_EQ(o.drills, TDrillOutput::kMilled);
  EXPECT_TRUE(o.singleLineTexts);
  EXPECT_EQ(o.mirror, TMirror::kX);
  // Only "Bottom/Left" is down at first, and its label alone is enabled.
  EXPECT_TRUE(o.holes.bottomLeft);
  EXPECT_FALSE(o.holes.topLeft || o.holes.topRight || o.holes.bottomRight);
  EXPECT_TRUE(dialog.holeButtons().label(2)->isEnabled());
  EXPECT_FALSE(dialog.holeButtons().label(0)->isEnabled());
  // Without pads on the copper the drill choices are off.
  TMillingDialog bare(kEnglish, standardColourScheme(), TMillingOptions{}, TMillingContent{});
  EXPECT_FALSE(bare.drillGroup()->isEnabled());
}

TEST(ExcellonDialogTest, ShowsAndReturnsItsOptions) {
  TExcellonDialog dialog(kFrench, TExcellonOptions{true, true, false});
  EXPECT_TRUE(dialog.inchButton()->isChecked());
  EXPECT_TRUE(dialog.fromTopButton()->isChecked());
  EXPECT_FALSE(dialog.leadingZerosBox()->isChecked());
  dialog.mmButton()->click();
  dialog.fromBottomButton()->click();
  dialog.leadingZerosBox()->click();
  const TExcellonOptions o = dialog.options();
  EXPECT_FALSE(o.inch);
  EXPECT_TRUE(o.fromBottom);
  EXPECT_FALSE(o.leadingZeros);
  EXPECT_EQ(dialog.windowTitle(), "Exportation Excellon");
}

}  // namespace
}  // namespace plavesk
