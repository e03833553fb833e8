// Writing the files of one export together: every file goes to a temporary
// file beside its target first, and only when all of them are complete are
// they renamed into place. A full disk, a folder that cannot be written or a
// name the file system refuses leaves no file of the set half-written and
// keeps older files of the same names as they were.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace plavesk {

struct TExportFile {
  std::string path;
  std::string text;
};

// The write call of the temporary files; tests hand in one that fails like a
// full disk. Returns what write(2) returns and sets errno the same way.
using TWriteCall = std::function<ssize_t(int fd, const char* data, size_t size)>;

struct TExportFilesResult {
  bool ok = false;
  std::string failedPath;  // the file that could not be written
  std::string reason;      // the system's words for it
  std::vector<std::string> written;
};

TExportFilesResult writeExportFiles(const std::vector<TExportFile>& files,
                                    const TWriteCall& write = {});

// The folder part of a path ("" for a bare name), without the last separator.
std::string folderOf(const std::string& path);

}  // namespace plavesk
