// Reading and writing layout files (.lay). Version 4 is written; versions 0
// to 4 are read. The element block is shared with macro files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/board.h"
#include "document/byte_io.h"

namespace plavesk {

constexpr uint32_t kFileMagic = 0xFFAA3300u;
constexpr int kCurrentFileVersion = 4;
constexpr int kMaxTextLength = 255;

// The version (0..4) when the first four bytes are a layout header.
std::optional<int> layoutFileVersion(const uint8_t* data, size_t size);
// "\"name\" is not a Plavesk file." in the interface language, and the title
// of its message box.
std::string notLayoutFileMessage(const std::string& path, int language);
std::string openTitle(int language);
// The warning shown after reading a file older than version 4.
std::string olderVersionMessage(int language);

struct TReadReport {
  bool ok = false;
  std::string error;  // names the file and what is wrong
  int version = -1;
  size_t repairs = 0;      // invalid references dropped or values replaced
  int fontTextCount = 0;   // legacy font texts over all boards
};

struct TReadOptions {
  bool import = false;  // append the boards instead of replacing the layout
  int language = 1;     // for the name of the board of versions 0..2
};

// Reads a layout. On success a plain read replaces the layout (unmodified),
// an import appends the file's boards (modified). On failure the layout is
// left exactly as it was.
TReadReport readLayoutFile(TLayout& layout, const std::string& path, const TReadOptions& options);
TReadReport readLayoutData(TLayout& layout, const uint8_t* data, size_t size,
                           const std::string& fileName, const TReadOptions& options);

// The bytes of a version-4 file. Closes the group-id gaps of the active board
// and stores its working state first, as saving does.
std::vector<uint8_t> encodeLayout(TLayout& layout);

// Writes the layout through a temporary file; `modified` is cleared only
// after the file is in place (and never by an autosave). Cleaning the active
// board before a save needs the geometry and is the caller's job.
bool writeLayoutFile(TLayout& layout, const std::string& path, bool autosave, std::string& error);

// Element blocks, also used by macro files. Readers return false with a
// message on a truncated or inconsistent block; references that are invalid
// are dropped and counted in `repairs`.
// Macro files may hold the layer codes 5 and 6 of old versions.
void writeElementBlock(ByteWriter& w, const TObjektList& list);
bool readElementBlock(ByteReader& r, TObjektList& list, std::string& error, size_t& repairs,
                      bool macroLayers = false);
bool readElementBlockV3(ByteReader& r, TObjektList& list, std::string& error, size_t& repairs,
                        bool macroLayers = false);
bool readLegacyElements(ByteReader& r, int version, TObjektList& list, std::string& error,
                        bool macroLayers = false);

// Version-1 group numbers become group ids, as "Build group" would make them.
void convertLegacyGroups(TObjektList& list);

}  // namespace plavesk
