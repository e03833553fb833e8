// The user scheme files "C_USER<n>.DAT" beside the program: exactly the 36
// bytes of one colour scheme.
#pragma once

#include <string>

#include "view/colour_scheme.h"

namespace plavesk {

constexpr int kUserSchemeFirst = 1;
constexpr int kUserSchemeLast = 3;

// "C_USER" + index + ".DAT". Index 0 is a valid name: OK in the colour
// dialog with "Standard" selected writes it, and nothing ever reads it.
std::string userSchemeFileName(int index);
// The file's path in `folder` (empty folder: the name alone).
std::string userSchemeFilePath(const std::string& folder, int index);

enum class SchemeFileStatus {
  ok,
  missing,     // no such file: the scheme stays black, nothing to report
  unreadable,  // exists but cannot be read
  wrongSize,   // not exactly 36 bytes
  badIndex,    // index outside 0..3
  writeFailed,
};

struct TSchemeFileResult {
  SchemeFileStatus status = SchemeFileStatus::ok;
  TColourScheme scheme;  // black unless ok
  std::string error;     // names the file and what is wrong; empty when ok
  bool ok() const { return status == SchemeFileStatus::ok; }
};

// Reads a user scheme; system-colour references in it are read as black.
TSchemeFileResult readUserScheme(const std::string& folder, int index);

// Writes the 36 bytes through a temporary file, so a failure leaves any older
// file intact.
TSchemeFileResult writeUserScheme(const std::string& folder, int index,
                                  const TColourScheme& scheme);

}  // namespace plavesk
