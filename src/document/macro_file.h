// Macro files (.lmk): a footprint or circuit fragment as one element block
// with two description lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/objekt.h"

namespace plavesk {

constexpr int kMacroDescriptionMax = 50;

struct TMacro {
  TObjektList elements;
  std::string description1;  // UTF-8
  std::string description2;
};

// Reads a macro of any version. Older versions get their copper layers
// swapped (and version 1 its group numbers converted); the layer codes 5 and
// 6 of old files are kept for the caller to map. On failure `macro` is left
// empty and `error` says why.
bool readMacroData(const uint8_t* data, size_t size, const std::string& fileName, TMacro& macro,
                   std::string& error);
bool readMacroFile(const std::string& path, TMacro& macro, std::string& error);

// The version-4 file of `elements` as they are: the caller has moved them to
// the reference point and cleared selection, rubber bands and routes.
std::vector<uint8_t> encodeMacro(const TMacro& macro);
bool writeMacroFile(const std::string& path, const TMacro& macro, std::string& error);

}  // namespace plavesk
