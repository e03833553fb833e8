// The four most recently used layout files, most recent first.
#pragma once

#include <array>
#include <string>

#include "app/app_settings.h"

namespace plavesk {

class TRecentFiles {
 public:
  std::array<std::string, kRecentFileCount> paths;

  // A path with extension ".bak" (any case) and a path already in the list
  // (compared without regard to case) leave the list as it is; any other
  // path becomes the first entry and the last one drops out. Returns whether
  // the list changed.
  bool offer(const std::string& path);

  // "&1 board.lay": the menu caption of entry `index`.
  std::string caption(int index) const;
  // The menu shows an entry only when its path is longer than one character.
  bool shown(int index) const { return paths[size_t(index)].size() > 1; }
};

// The extension is ".bak" in any letter case.
bool isBackupPath(const std::string& path);
// `path` with its extension replaced by ".bak" (appended when it has none).
std::string backupPathFor(const std::string& path);

}  // namespace plavesk
