#include "view/colour_schemes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "view/scheme_file.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

class ColourSchemesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "plavesk-schemes-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override { fs::remove_all(folder); }

  static TColourScheme filled(TColour c) {
    TColourScheme s;
    s.colours.fill(c);
    return s;
  }

  std::string folder;
  TColourSchemes schemes;
};

TEST_F(ColourSchemesTest, WithoutFilesTheUserSchemesAreBlack) {
  EXPECT_TRUE(schemes.load(folder, 1).empty());
  EXPECT_EQ(schemes.selected(), 1);
  EXPECT_EQ(schemes.current(), TColourScheme{});
  EXPECT_EQ(schemes.scheme(0), standardColourScheme());
}

TEST_F(ColourSchemesTest, StartsWithTheSchemeOfTheSetting) {
  for (int n = 1; n <= 3; ++n) ASSERT_TRUE(writeUserScheme(folder, n, filled(rgb(n, n, n))).ok());
  schemes.load(folder, 2);
  EXPECT_EQ(schemes.selected(), 2);
  EXPECT_EQ(schemes.current(), filled(rgb(2, 2, 2)));
}

TEST_F(ColourSchemesTest, SettingOutsideZeroToThreeChoosesStandard) {
  for (int setting : {-1, 4, 1000}) {
    schemes.load(folder, setting);
    EXPECT_EQ(schemes.selected(), 0) << setting;
    EXPECT_EQ(schemes.current(), standardColourScheme()) << setting;
  }
}

TEST_F(ColourSchemesTest, TheFileOfIndexZeroIsNeverRead) {
  ASSERT_TRUE(writeUserScheme(folder, 0, filled(0x123456)).ok());
  schemes.load(folder, 0);
  EXPECT_EQ(schemes.current(), standardColourScheme());
}

TEST_F(ColourSchemesTest, ABadFileIsReportedAndLeftBlack) {
  ASSERT_TRUE(writeUserScheme(folder, 1, filled(0x010101)).ok());
  std::ofstream(fs::path(folder) / "C_USER3.DAT") << "short";
  std::vector<std::string> problems = schemes.load(folder, 3);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("C_USER3.DAT"), std::string::npos) << problems[0];
  EXPECT_EQ(schemes.current(), TColourScheme{});
  EXPECT_EQ(schemes.scheme(1), filled(0x010101));
}

TEST_F(ColourSchemesTest, ReloadingKeepsTheCurrentColoursUntilASchemeIsChosen) {
  schemes.load(folder, 1);
  ASSERT_TRUE(writeUserScheme(folder, 1, filled(0x0000FF)).ok());
  schemes.reloadUserSchemes(folder);
  EXPECT_EQ(schemes.current(), TColourScheme{});
  schemes.select(1);
  EXPECT_EQ(schemes.current(), filled(0x0000FF));

  // A removed file makes its scheme black again.
  fs::remove(fs::path(folder) / "C_USER1.DAT");
  schemes.reloadUserSchemes(folder);
  EXPECT_EQ(schemes.scheme(1), TColourScheme{});
}

TEST_F(ColourSchemesTest, PreviewColoursKeepTheSelectedScheme) {
  schemes.load(folder, 0);
  schemes.setCurrent(filled(0x00FF00));
  EXPECT_EQ(schemes.selected(), 0);
  EXPECT_EQ(schemes.current(), filled(0x00FF00));
  EXPECT_EQ(schemes.scheme(0), standardColourScheme());
  schemes.select(schemes.selected());
  EXPECT_EQ(schemes.current(), standardColourScheme());
}

}  // namespace
}  // namespace plavesk
