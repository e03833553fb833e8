// Crash recovery. Every running program keeps a session file in the user's
// data folder and holds a lock on it; the lock goes with the process, however
// it ends. A session file nobody holds belongs to a run that did not close
// normally: its recovery copy (the last autosave of a layout that had no file
// name yet) or the ".bak" of its named layout, when newer than the layout, is
// offered back on the next start.
#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace plavesk {

class TLayout;

struct TRecoveryItem {
  enum Kind { unnamed, backup };
  Kind kind = unnamed;
  std::string copy;      // the recovery copy or the ".bak"
  std::string layout;    // backup: the layout file it belongs to
  std::time_t when = 0;  // when the copy was written
  std::string session;   // the session file it came from
};

class TRecoverySession {
 public:
  // An empty folder switches recovery off.
  explicit TRecoverySession(std::string dataFolder);
  ~TRecoverySession();
  TRecoverySession(const TRecoverySession&) = delete;
  TRecoverySession& operator=(const TRecoverySession&) = delete;

  bool active() const { return lock_ >= 0; }

  // What runs that ended without closing left behind, newest first. Call
  // before start() so the own session is not among them.
  std::vector<TRecoveryItem> leftOver() const;
  // The item was restored or declined: its recovery copy is removed (a
  // ".bak" stays, it is the user's file), and its session file once nothing
  // of it is left. `keepAs` (non-empty) moves the copy there instead.
  void handled(const TRecoveryItem& item, const std::string& keepAs = {});

  // Creates the session file and takes its lock.
  bool start();
  // The file name of the open layout (empty when it has none).
  void setLayoutFile(const std::string& path);
  // The autosave tick: a modified layout without a file name is written to
  // the recovery copy; otherwise the copy is removed.
  bool autosave(TLayout& layout, const std::string& fileName, bool needsSaving);
  // Normal end of the program: session file and recovery copy go.
  void finish();

  const std::string& recoveryCopyPath() const { return copyPath_; }

 private:
  void writeSessionFile();
  bool isOwnCopy(const std::string& path) const;

  std::string folder_;
  std::string sessionPath_;
  std::string copyPath_;
  std::string layoutFile_;
  int lock_ = -1;
};

// The user's data folder for recovery files: $XDG_DATA_HOME/Plavesk or
// ~/.local/share/Plavesk.
std::string defaultRecoveryFolder();

}  // namespace plavesk
