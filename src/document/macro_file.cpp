#include "document/macro_file.h"

#include "document/byte_io.h"
#include "document/file_io.h"
#include "document/layout_file.h"
#include "document/text_codec.h"

namespace plavesk {

bool readMacroData(const uint8_t* data, size_t size, const std::string& fileName, TMacro& macro,
                   std::string& error) {
  macro = TMacro{};
  auto version = layoutFileVersion(data, size);
  if (!version) {
    error = notLayoutFileMessage(fileName, 1);
    return false;
  }
  ByteReader r(data + 4, size - 4);
  TMacro read;
  size_t repairs = 0;
  bool ok = *version == 4   ? readElementBlock(r, read.elements, error, repairs, true)
            : *version == 3 ? readElementBlockV3(r, read.elements, error, repairs, true)
                            : readLegacyElements(r, *version, read.elements, error, true);
  if (ok && *version == 4) {
    read.description1 = cp1252ToUtf8(r.shortString(kMacroDescriptionMax));
    read.description2 = cp1252ToUtf8(r.shortString(kMacroDescriptionMax));
    if (r.failed()) {
      ok = false;
      error = "the file ends inside the description lines";
    }
  }
  if (!ok) {
    error = fileName + ": " + error;
    return false;
  }
  if (*version < 4) swapCopperLayers(read.elements);
  if (*version == 1) convertLegacyGroups(read.elements);
  macro = std::move(read);
  return true;
}

bool readMacroFile(const std::string& path, TMacro& macro, std::string& error) {
  std::vector<uint8_t> data;
  if (!readWholeFile(path, data, error)) return false;
  return readMacroData(data.data(), data.size(), fileNameOf(path), macro, error);
}

std::vector<uint8_t> encodeMacro(const TMacro& macro) {
  ByteWriter w;
  w.u32(kFileMagic + kCurrentFileVersion);
  writeElementBlock(w, macro.elements);
  w.shortString(utf8ToCp1252(macro.description1), kMacroDescriptionMax);
  w.shortString(utf8ToCp1252(macro.description2), kMacroDescriptionMax);
  return std::move(w.bytes());
}

bool writeMacroFile(const std::string& path, const TMacro& macro, std::string& error) {
  return writeFileAtomically(path, encodeMacro(macro), error);
}

}  // namespace plavesk
