#include "document/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace plavesk {

std::string fileNameOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool readWholeFile(const std::string& path, std::vector<uint8_t>& data, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open \"" + path + "\": " + std::strerror(errno);
    return false;
  }
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size < 0) {
    error = "cannot read \"" + path + "\"";
    return false;
  }
  data.resize(static_cast<size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(data.data()), size)) {
    error = "cannot read \"" + path + "\"";
    return false;
  }
  return true;
}

bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& data,
                         std::string& error) {
  std::string tmp = path + ".tmp-XXXXXX";
  int fd = mkstemp(tmp.data());
  if (fd < 0) {
    error = "cannot create a file next to \"" + path + "\": " + std::strerror(errno);
    return false;
  }
  // Keep the permissions of the file being replaced; a new file gets the
  // usual 0666 less the umask.
  struct stat st {};
  mode_t mode;
  if (stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  fchmod(fd, mode);

  size_t written = 0;
  bool ok = true;
  while (written < data.size()) {
    ssize_t n = write(fd, data.data() + written, data.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    written += static_cast<size_t>(n);
  }
  if (ok && fsync(fd) != 0) ok = false;
  int savedErrno = errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    savedErrno = errno;
  }
  if (ok && rename(tmp.c_str(), path.c_str()) != 0) {
    ok = false;
    savedErrno = errno;
  }
  if (!ok) {
    unlink(tmp.c_str());
    error = "cannot write \"" + path + "\": " + std::strerror(savedErrno);
  }
  return ok;
}

}  // namespace plavesk
