#include "view/scheme_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace plavesk {
namespace {

namespace fs = std::filesystem;

class SchemeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "plavesk-scheme-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override { fs::remove_all(folder); }

  void writeBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(fs::path(folder) / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }

  static TColourScheme distinctScheme() {
    TColourScheme s;
    for (int i = 0; i < kSchemeColourCount; ++i) s[i] = rgb(uint8_t(10 * i), uint8_t(i), 200);
    return s;
  }

  std::string folder;
};

TEST(SchemeFileName, CarriesTheSchemeIndex) {
  EXPECT_EQ(userSchemeFileName(2), "C_USER2.DAT");
  EXPECT_EQ(userSchemeFilePath("/opt/p", 1), "/opt/p/C_USER1.DAT");
  EXPECT_EQ(userSchemeFilePath("/opt/p/", 3), "/opt/p/C_USER3.DAT");
  EXPECT_EQ(userSchemeFilePath("", 0), "C_USER0.DAT");
}

TEST_F(SchemeFileTest, RoundTripKeepsAllNineValuesIn36Bytes) {
  const TColourScheme s = distinctScheme();
  TSchemeFileResult w = writeUserScheme(folder, 2, s);
  ASSERT_TRUE(w.ok()) << w.error;

  fs::path file = fs::path(folder) / "C_USER2.DAT";
  ASSERT_TRUE(fs::exists(file));
  EXPECT_EQ(fs::file_size(file), 36u);

  TSchemeFileResult r = readUserScheme(folder, 2);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.scheme, s);
}

TEST_F(SchemeFileTest, OverwritingLeavesOnlyTheSchemeFile) {
  ASSERT_TRUE(writeUserScheme(folder, 1, distinctScheme()).ok());
  ASSERT_TRUE(writeUserScheme(folder, 1, standardColourScheme()).ok());
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    EXPECT_EQ(entry.path().filename(), "C_USER1.DAT");
    ++files;
  }
  EXPECT_EQ(files, 1);
  EXPECT_EQ(readUserScheme(folder, 1).scheme, standardColourScheme());
}

TEST_F(SchemeFileTest, SystemColourReferencesAreReadAsBlack) {
  std::vector<uint8_t> bytes(36, 0x22);
  bytes[4 * kColourCopper1 + 3] = 0x80;  // negative as a signed value
  bytes[4 * kColourSilk1 + 3] = 0x00;
  writeBytes("C_USER3.DAT", bytes);
  TSchemeFileResult r = readUserScheme(folder, 3);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.scheme[kColourCopper1], 0u);
  EXPECT_EQ(r.scheme[kColourSilk1], 0x00222222u);
  EXPECT_EQ(r.scheme[kColourBackground], 0x22222222u);
}

TEST_F(SchemeFileTest, BadFilesGiveAnErrorAndABlackScheme) {
  struct Case {
    const char* what;
    int index;
    int size;  // bytes written as C_USER<index>.DAT; -1 none, -2 a folder of that name
    SchemeFileStatus status;
  };
  const Case cases[] = {
      {"missing", 1, -1, SchemeFileStatus::missing},
      {"empty", 1, 0, SchemeFileStatus::wrongSize},
      {"one byte short", 2, 35, SchemeFileStatus::wrongSize},
      {"one byte long", 3, 37, SchemeFileStatus::wrongSize},
      {"twice as long", 3, 72, SchemeFileStatus::wrongSize},
      {"a folder", 2, -2, SchemeFileStatus::unreadable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::path file = fs::path(folder) / userSchemeFileName(c.index);
    fs::remove_all(file);
    if (c.size >= 0)
      writeBytes(file.filename().string(), std::vector<uint8_t>(size_t(c.size), 0x33));
    if (c.size == -2) fs::create_directory(file);

    TSchemeFileResult r = readUserScheme(folder, c.index);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.error.find(file.filename().string()), std::string::npos) << r.error;
    EXPECT_EQ(r.scheme, TColourScheme{});
  }
}

TEST_F(SchemeFileTest, IndexesOutsideZeroToThreeAreRefused) {
  for (int index : {-1, 4, 10}) {
    EXPECT_EQ(readUserScheme(folder, index).status, SchemeFileStatus::badIndex) << index;
    EXPECT_EQ(writeUserScheme(folder, index, distinctScheme()).status, SchemeFileStatus::badIndex)
        << index;
  }
  EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(SchemeFileTest, WritingIntoAMissingFolderFailsCleanly) {
  TSchemeFileResult w = writeUserScheme(folder + "/no/such/folder", 1, distinctScheme());
  EXPECT_EQ(w.status, SchemeFileStatus::writeFailed);
  EXPECT_FALSE(w.error.empty());
}

TEST_F(SchemeFileTest, FailedWriteKeepsTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
  ASSERT_TRUE(writeUserScheme(folder, 1, distinctScheme()).ok());
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  TSchemeFileResult w = writeUserScheme(folder, 1, standardColourScheme());
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_EQ(w.status, SchemeFileStatus::writeFailed);
  EXPECT_EQ(readUserScheme(folder, 1).scheme, distinctScheme());
}

}  // namespace
}  // namespace plavesk
