// Texts are Windows-1252 in files and UTF-8 inside the program.
#pragma once

#include <string>

namespace plavesk {

// Characters without a Windows-1252 code become '?'; invalid UTF-8 bytes too.
std::string utf8ToCp1252(const std::string& utf8);
std::string cp1252ToUtf8(const std::string& bytes);
// The longest prefix of `utf8` that takes at most `maxBytes` in Windows-1252
// (one byte a character), so a cut never splits a character.
std::string cutToFileLength(const std::string& utf8, size_t maxBytes);

}  // namespace plavesk
