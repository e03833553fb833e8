// Whole-file reading and crash-safe writing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plavesk {

// Reads the whole file; on failure returns false and sets `error`.
bool readWholeFile(const std::string& path, std::vector<uint8_t>& data, std::string& error);

// Writes `data` to a temporary file in the target's folder, flushes it to
// disk and renames it over `path`. A failure leaves any old file untouched and
// removes the temporary file.
bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& data,
                         std::string& error);

// The file name without its folder.
std::string fileNameOf(const std::string& path);

}  // namespace plavesk
