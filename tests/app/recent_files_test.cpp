#include "app/recent_files.h"

#include <gtest/gtest.h>

namespace plavesk {
namespace {

using Paths = std::array<std::string, kRecentFileCount>;

TEST(RecentFiles, NewestFirstAndTheOldestDropsOut) {
  TRecentFiles r;
  for (const char* p : {"/a.lay", "/b.lay", "/c.lay", "/d.lay", "/e.lay"}) EXPECT_TRUE(r.offer(p));
  EXPECT_EQ(r.paths, (Paths{"/e.lay", "/d.lay", "/c.lay", "/b.lay"}));
}

TEST(RecentFiles, KnownPathsAndBackupsLeaveTheListAlone) {
  struct Case {
    const char* path;
    const char* why;
  } cases[] = {
      {"/d.lay", "already second"},
      {"/D.LAY", "same path in other letter case"},
      {"/work/board.bak", "backup"},
      {"/work/board.BaK", "backup in any case"},
      {"", "empty"},
  };
  for (const Case& c : cases) {
    TRecentFiles r;
    r.paths = {"/e.lay", "/d.lay", "/c.lay", "/b.lay"};
    EXPECT_FALSE(r.offer(c.path)) << c.why;
    EXPECT_EQ(r.paths, (Paths{"/e.lay", "/d.lay", "/c.lay", "/b.lay"})) << c.why;
  }
}

TEST(RecentFiles, CaptionsAndVisibility) {
  TRecentFiles r;
  r.paths = {"/home/me/boards/amp.lay", "x", "", ""};
  EXPECT_EQ(r.caption(0), "&1 amp.lay");
  EXPECT_TRUE(r.shown(0));
  EXPECT_FALSE(r.shown(1)) << "a path of one character is not shown";
  EXPECT_FALSE(r.shown(2));
}

TEST(RecentFiles, BackupNames) {
  EXPECT_EQ(backupPathFor("/w/board.lay"), "/w/board.bak");
  EXPECT_EQ(backupPathFor("/w/v1.2/board"), "/w/v1.2/board.bak");
  EXPECT_TRUE(isBackupPath("/w/BOARD.BAK"));
  EXPECT_FALSE(isBackupPath("/w/bak"));
}

}  // namespace
}  // namespace plavesk
