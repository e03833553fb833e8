// "Farben definieren": the live preview, the user scheme files it writes,
// the save question when another scheme is chosen, Cancel restoring the
// colours, and the chooser's custom colours in COLORS.DAT.
#include "app/colour_dialog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "document/language_text.h"
#include "scripted_dialogs.h"
#include "view/scheme_file.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;
using testing::TScriptedDialogs;

constexpr TColour kRed = rgb(255, 0, 0);
constexpr TColour kTeal = rgb(0, 128, 128);

class ColourDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("plavesk_colours_" + std::to_string(getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    schemes.load(folder.string(), 0);
  }
  void TearDown() override { fs::remove_all(folder); }
  // A dialog whose chooser answers `answer`, counting the previews.
  std::unique_ptr<TColourDialog> dialog(TColour answer) {
    auto d = std::make_unique<TColourDialog>(kEnglish, schemes, folder.string(), dialogs);
    d->choose = [answer](TColour) { return std::optional<TColour>(answer); };
    d->preview = [this] { ++previews; };
    return d;
  }
  fs::path folder;
  TColourSchemes schemes;
  TScriptedDialogs dialogs;
  int previews = 0;
};

// Without user files "User 1" is all black; a swatch shows at once and OK
// writes the 36-byte file of scheme 1.
TEST_F(ColourDialogTest, EditingAUserSchemeWritesItsFile) {
  auto d = dialog(kRed);
  EXPECT_FALSE(d->swatch(kColourCopper1)->isEnabled());  // Standard cannot be edited
  d->selector()->setCurrentIndex(1);
  EXPECT_EQ(schemes.current(), TColourScheme{});
  EXPECT_TRUE(d->swatch(kColourCopper1)->isEnabled());
  EXPECT_TRUE(d->swatchCaption(kColourCopper1)->isEnabled());
  EXPECT_EQ(d->swatchCaption(kColourConnections)->text(), "Connections");
  d->swatch(kColourCopper1)->click();
  EXPECT_EQ(schemes.current()[kColourCopper1], kRed);  // live
  EXPECT_EQ(previews, 2);
  d->accept();
  const fs::path file = folder / userSchemeFileName(1);
  ASSERT_TRUE(fs::exists(file));
  EXPECT_EQ(fs::file_size(file), kColourSchemeSize);
  const TSchemeFileResult read = readUserScheme(folder.string(), 1);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.scheme[kColourCopper1], kRed);
  EXPECT_EQ(schemes.selected(), 1);
  EXPECT_EQ(schemes.current()[kColourCopper1], kRed);
}

TEST_F(ColourDialogTest, CancelRestoresColoursAndScheme) {
  const TColourScheme before = schemes.current();
  auto d = dialog(kTeal);
  d->selector()->setCurrentIndex(2);
  d->swatch(kColourBackground)->click();
  EXPECT_EQ(schemes.current()[kColourBackground], kTeal);
  d->reject();
  EXPECT_EQ(schemes.current(), before);
  EXPECT_EQ(schemes.selected(), 0);
  EXPECT_FALSE(fs::exists(folder / userSchemeFileName(2)));
}

// Choosing another scheme after a change asks; Yes saves into the file of
// the scheme that was shown, No drops the change.
TEST_F(ColourDialogTest, AnotherSchemeAsksToSaveTheChange) {
  for (bool yes : {true, false}) {
    SCOPED_TRACE(yes ? "yes" : "no");
    fs::remove(folder / userSchemeFileName(3));
    dialogs.questions.clear();
    dialogs.yesNo = {yes};
    auto d = dialog(kRed);
    d->selector()->setCurrentIndex(3);
    d->swatch(kColourGrid)->click();
    d->selector()->setCurrentIndex(0);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0], "You have changed the colors.\nSave changes?");
    EXPECT_EQ(fs::exists(folder / userSchemeFileName(3)), yes);
    EXPECT_FALSE(d->changed());
    EXPECT_EQ(schemes.current(), standardColourScheme());
    // Back on scheme 3 the saved colour is there, or black.
    d->selector()->setCurrentIndex(3);
    EXPECT_EQ(schemes.current()[kColourGrid], yes ? kRed : TColour(0));
    EXPECT_EQ(dialogs.questions.size(), 1u);  // nothing changed since
    d->reject();
  }
}

TEST_F(ColourDialogTest, CustomColoursRoundTrip) {
  std::string error;
  ASSERT_TRUE(writeCustomColours(folder.string(), {kRed, kTeal, rgb(1, 2, 3)}, error)) << error;
  EXPECT_EQ(readCustomColours(folder.string()), (std::vector<TColour>{kRed, kTeal, rgb(1, 2, 3)}));
  // Lines that are not colours are skipped; a missing file gives none.
  std::ofstream(folder / "COLORS.DAT") << "#00ff00\r\nColorA=FFFFFF\r\n\r\n#zzzzzz\r\n#0000ff\r\n";
  EXPECT_EQ(readCustomColours(folder.string()),
            (std::vector<TColour>{rgb(0, 255, 0), rgb(0, 0, 255)}));
  EXPECT_TRUE(readCustomColours((folder / "none").string()).empty());
}

}  // namespace
}  // namespace plavesk
