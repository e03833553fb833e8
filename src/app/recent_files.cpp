#include "app/recent_files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "document/file_io.h"

namespace plavesk {

namespace {

std::string lowerCase(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

bool isBackupPath(const std::string& path) {
  return lowerCase(std::filesystem::path(path).extension().string()) == ".bak";
}

std::string backupPathFor(const std::string& path) {
  return std::filesystem::path(path).replace_extension(".bak").string();
}

bool TRecentFiles::offer(const std::string& path) {
  if (path.empty() || isBackupPath(path)) return false;
  const std::string key = lowerCase(path);
  for (const std::string& p : paths)
    if (lowerCase(p) == key) return false;
  std::move_backward(paths.begin(), paths.end() - 1, paths.end());
  paths[0] = path;
  return true;
}

std::string TRecentFiles::caption(int index) const {
  return "&" + std::to_string(index + 1) + " " + fileNameOf(paths[size_t(index)]);
}

}  // namespace plavesk
