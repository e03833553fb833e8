#include "app/crash_recovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "app/recent_files.h"
#include "document/board.h"
#include "document/file_io.h"
#include "editing/layout_commands.h"

namespace plavesk {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSessionSuffix = ".session";
constexpr const char* kHeader = "Plavesk session 1";

std::time_t modifiedTime(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_mtime : 0;
}

bool isFile(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(path, ec);
}

struct SessionFile {
  std::string file;      // the named layout
  std::string recovery;  // the recovery copy
};

// A session file is small text; anything else is left out.
bool readSessionFile(const std::string& path, SessionFile& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return false;
  int lines = 0;
  while (std::getline(in, line) && ++lines < 10) {
    if (line.rfind("file=", 0) == 0) out.file = line.substr(5);
    if (line.rfind("recovery=", 0) == 0) out.recovery = line.substr(9);
  }
  return true;
}

// Whether some running program holds the session file's lock.
bool heldByRunningProgram(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return true;  // cannot tell: leave it alone
  const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
  ::close(fd);
  return held;
}

}  // namespace

std::string defaultRecoveryFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg) return (fs::path(xdg) / "Plavesk").string();
  const char* home = std::getenv("HOME");
  if (home && *home) return (fs::path(home) / ".local" / "share" / "Plavesk").string();
  return {};
}

TRecoverySession::TRecoverySession(std::string dataFolder) : folder_(std::move(dataFolder)) {}

TRecoverySession::~TRecoverySession() {
  if (lock_ >= 0) ::close(lock_);
}

bool TRecoverySession::isOwnCopy(const std::string& path) const {
  const fs::path p(path);
  return !path.empty() && p.parent_path() == fs::path(folder_) &&
         p.filename().string().rfind("unnamed-", 0) == 0 && p.extension() == ".lay";
}

std::vector<TRecoveryItem> TRecoverySession::leftOver() const {
  std::vector<TRecoveryItem> items;
  if (folder_.empty()) return items;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder_, ec)) {
    const std::string path = entry.path().string();
    if (entry.path().extension() != kSessionSuffix || path == sessionPath_) continue;
    if (heldByRunningProgram(path)) continue;
    SessionFile session;
    if (!readSessionFile(path, session)) continue;
    // Only copies this program made, in this folder: a session file naming
    // any other file neither offers nor deletes it.
    if (!isOwnCopy(session.recovery)) session.recovery.clear();
    bool any = false;
    if (isFile(session.recovery)) {
      items.push_back(
          {TRecoveryItem::unnamed, session.recovery, {}, modifiedTime(session.recovery), path});
      any = true;
    }
    if (!session.file.empty()) {
      const std::string bak = backupPathFor(session.file);
      if (isFile(bak) &&
          (!isFile(session.file) || modifiedTime(bak) > modifiedTime(session.file))) {
        items.push_back({TRecoveryItem::backup, bak, session.file, modifiedTime(bak), path});
        any = true;
      }
    }
    // A session that left nothing to offer is simply over.
    if (!any) fs::remove(path, ec);
  }
  std::sort(items.begin(), items.end(),
            [](const TRecoveryItem& a, const TRecoveryItem& b) { return a.when > b.when; });
  return items;
}

void TRecoverySession::handled(const TRecoveryItem& item, const std::string& keepAs) {
  std::error_code ec;
  if (item.kind == TRecoveryItem::unnamed && isOwnCopy(item.copy)) {
    if (!keepAs.empty()) {
      fs::rename(item.copy, keepAs, ec);
      if (ec) fs::remove(item.copy, ec);
    } else {
      fs::remove(item.copy, ec);
    }
  }
  // The session file goes once nothing of it is left to offer; the ".bak"
  // of a named layout counts as handled once asked about.
  SessionFile session;
  if (!readSessionFile(item.session, session)) return;
  if (item.kind == TRecoveryItem::backup) session.file.clear();
  if (!isFile(session.recovery) && session.file.empty()) {
    fs::remove(item.session, ec);
    return;
  }
  std::ofstream out(item.session, std::ios::binary | std::ios::trunc);
  out << kHeader << "\nfile=" << session.file << "\nrecovery=" << session.recovery << "\n";
}

bool TRecoverySession::start() {
  if (folder_.empty() || lock_ >= 0) return lock_ >= 0;
  std::error_code ec;
  fs::create_directories(folder_, ec);
  const std::string id =
      std::to_string(::getpid()) + "-" +
      std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  sessionPath_ = (fs::path(folder_) / (id + kSessionSuffix)).string();
  copyPath_ = (fs::path(folder_) / ("unnamed-" + id + ".lay")).string();
  const int fd = ::open(sessionPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  lock_ = fd;
  writeSessionFile();
  return true;
}

void TRecoverySession::writeSessionFile() {
  if (lock_ < 0) return;
  // Written in place: the lock stays on this file.
  std::ostringstream text;
  text << kHeader << "\nfile=" << layoutFile_ << "\nrecovery=" << copyPath_ << "\n";
  const std::string s = text.str();
  if (::ftruncate(lock_, 0) != 0) return;
  if (::pwrite(lock_, s.data(), s.size(), 0) != ssize_t(s.size())) return;
  ::fsync(lock_);
}

void TRecoverySession::setLayoutFile(const std::string& path) {
  if (path == layoutFile_) return;
  layoutFile_ = path;
  writeSessionFile();
}

bool TRecoverySession::autosave(TLayout& layout, const std::string& fileName, bool needsSaving) {
  if (lock_ < 0) return false;
  std::error_code ec;
  if (!fileName.empty() || !needsSaving) {
    fs::remove(copyPath_, ec);
    return false;
  }
  std::string error;
  // An autosave write leaves the modified flag and the elements as they are.
  return saveLayout(layout, copyPath_, true, error);
}

void TRecoverySession::finish() {
  if (lock_ < 0) return;
  std::error_code ec;
  fs::remove(copyPath_, ec);
  fs::remove(sessionPath_, ec);
  ::close(lock_);
  lock_ = -1;
}

}  // namespace plavesk
