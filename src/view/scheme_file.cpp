#include "view/scheme_file.h"

#include <sys/stat.h>

#include "document/file_io.h"

namespace plavesk {

namespace {

bool validIndex(int index) {
  return index >= 0 && index <= kUserSchemeLast;
}

TSchemeFileResult failure(SchemeFileStatus status, std::string error) {
  TSchemeFileResult r;
  r.status = status;
  r.error = std::move(error);
  return r;
}

}  // namespace

std::string userSchemeFileName(int index) {
  return "C_USER" + std::to_string(index) + ".DAT";
}

std::string userSchemeFilePath(const std::string& folder, int index) {
  std::string name = userSchemeFileName(index);
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

TSchemeFileResult readUserScheme(const std::string& folder, int index) {
  if (!validIndex(index))
    return failure(SchemeFileStatus::badIndex,
                   "no user colour scheme " + std::to_string(index) + " (0 to 3)");
  std::string path = userSchemeFilePath(folder, index);
  struct stat st {};
  if (stat(path.c_str(), &st) != 0)
    return failure(SchemeFileStatus::missing, "\"" + path + "\" does not exist");
  if (!S_ISREG(st.st_mode))
    return failure(SchemeFileStatus::unreadable, "\"" + path + "\" is not a file");

  std::vector<uint8_t> data;
  std::string error;
  if (!readWholeFile(path, data, error)) return failure(SchemeFileStatus::unreadable, error);
  TSchemeDecodeResult decoded = decodeColourScheme(data.data(), data.size());
  if (!decoded.ok)
    return failure(SchemeFileStatus::wrongSize, "\"" + path + "\": " + decoded.error);

  TSchemeFileResult result;
  result.scheme = decoded.scheme;
  clearSystemColourReferences(result.scheme);
  return result;
}

TSchemeFileResult writeUserScheme(const std::string& folder, int index,
                                  const TColourScheme& scheme) {
  if (!validIndex(index))
    return failure(SchemeFileStatus::badIndex,
                   "no user colour scheme " + std::to_string(index) + " (0 to 3)");
  std::string error;
  if (!writeFileAtomically(userSchemeFilePath(folder, index), encodeColourScheme(scheme), error))
    return failure(SchemeFileStatus::writeFailed, error);
  TSchemeFileResult result;
  result.scheme = scheme;
  return result;
}

}  // namespace plavesk
