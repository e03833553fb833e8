#include "app/export_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace plavesk {
namespace {

struct TPending {
  std::string target;
  std::string temporary;
};

// Writes one temporary file; on failure returns the errno and leaves nothing.
int writeTemporary(const TExportFile& file, const TWriteCall& call, std::string& temporary) {
  temporary = file.path + ".tmp-XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) {
    temporary.clear();
    return errno;
  }
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  int error = 0;
  size_t done = 0;
  while (done < file.text.size()) {
    const ssize_t n = call ? call(fd, file.text.data() + done, file.text.size() - done)
                           : ::write(fd, file.text.data() + done, file.text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    if (n == 0) {
      error = ENOSPC;
      break;
    }
    done += size_t(n);
  }
  if (!error && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && !error) error = errno;
  if (error) {
    unlink(temporary.c_str());
    temporary.clear();
  }
  return error;
}

}  // namespace

std::string folderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : path.substr(0, slash);
}

TExportFilesResult writeExportFiles(const std::vector<TExportFile>& files,
                                    const TWriteCall& write) {
  TExportFilesResult result;
  std::vector<TPending> pending;
  auto dropPending = [&] {
    for (const TPending& p : pending) unlink(p.temporary.c_str());
    pending.clear();
  };
  for (const TExportFile& file : files) {
    std::string temporary;
    if (const int error = writeTemporary(file, write, temporary)) {
      dropPending();
      result.failedPath = file.path;
      result.reason = std::strerror(error);
      return result;
    }
    pending.push_back({file.path, temporary});
  }
  for (size_t i = 0; i < pending.size(); ++i) {
    if (std::rename(pending[i].temporary.c_str(), pending[i].target.c_str()) != 0) {
      const int error = errno;
      for (size_t k = i; k < pending.size(); ++k) unlink(pending[k].temporary.c_str());
      result.failedPath = pending[i].target;
      result.reason = std::strerror(error);
      return result;
    }
    result.written.push_back(pending[i].target);
  }
  result.ok = true;
  return result;
}

}  // namespace plavesk
