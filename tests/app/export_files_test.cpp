// The export's file set: all files or none, older files kept on failure, no
// temporary files left behind, and a message naming the file that failed.
#include "app/export_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace plavesk {
namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ExportFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("plavesk_export_" + std::to_string(getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }
  std::string path(const std::string& name) const { return (folder / name).string(); }
  // Everything in the folder, to see that no temporary file stayed.
  std::vector<std::string> listing() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path folder;
};

TEST_F(ExportFilesTest, WritesEveryFileOfTheSet) {
  const TExportFilesResult r =
      writeExportFiles({{path("a.gbr"), "G04 a*\r\nM02*\r\n"}, {path("b.drl"), "M48\r\nM30\r\n"}});
  ASSERT_TRUE(r.ok) << r.reason;
  EXPECT_EQ(r.written, (std::vector<std::string>{path("a.gbr"), path("b.drl")}));
  EXPECT_EQ(readText(folder / "a.gbr"), "G04 a*\r\nM02*\r\n");
  EXPECT_EQ(readText(folder / "b.drl"), "M48\r\nM30\r\n");
  EXPECT_EQ(listing(), (std::vector<std::string>{"a.gbr", "b.drl"}));
}

// Each way a write can fail: the set is absent, an older file of the same
// name keeps its content, nothing temporary is left, and the failure names
// the file.
TEST_F(ExportFilesTest, AFailureLeavesNothingHalfWritten) {
  struct Case {
    const char* what;
    std::string failing;  // the path of the second file
    TWriteCall write;
  };
  int calls = 0;
  const std::string tooLong(300, 'x');
  std::ofstream(folder / "plain") << "a file, not a folder";
  const Case cases[] = {
      {"missing folder", path("nowhere/b.gbr"), {}},
      {"name too long", path(tooLong + ".gbr"), {}},
      {"folder is a file", path("plain/b.gbr"), {}},
      {"disk full on the second file", path("b.gbr"),
       [&calls](int fd, const char* data, size_t size) -> ssize_t {
         if (++calls > 1) {
           errno = ENOSPC;
           return -1;
         }
         return ::write(fd, data, size);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    calls = 0;
    std::ofstream(folder / "a.gbr") << "older";
    const TExportFilesResult r =
        writeExportFiles({{path("a.gbr"), "new content"}, {c.failing, "second"}}, c.write);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failedPath, c.failing);
    EXPECT_FALSE(r.reason.empty());
    EXPECT_TRUE(r.written.empty());
    EXPECT_EQ(readText(folder / "a.gbr"), "older");
    EXPECT_EQ(listing(), (std::vector<std::string>{"a.gbr", "plain"}));
  }
}

TEST(ExportFolderTest, FolderOfAPath) {
  EXPECT_EQ(folderOf("/tmp/x/a.gbr"), "/tmp/x");
  EXPECT_EQ(folderOf("/a.gbr"), "/");
  EXPECT_EQ(folderOf("a.gbr"), "");
}

}  // namespace
}  // namespace plavesk
