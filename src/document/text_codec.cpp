#include "document/text_codec.h"

#include <cstdint>

namespace plavesk {
namespace {

// 0x80..0x9F; the five unassigned codes map to the C1 control of the same
// value so every byte survives a round trip.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char encodeChar(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

// Decodes one UTF-8 sequence at s[i]; advances i. Invalid input yields
// U+FFFD and consumes one byte.
char32_t nextCodePoint(const std::string& s, size_t& i) {
  auto b = static_cast<uint8_t>(s[i]);
  int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
  if (len == 0 || i + len > s.size()) {
    ++i;
    return 0xFFFD;
  }
  char32_t c = len == 1 ? b : b & (0x7F >> len);
  for (int k = 1; k < len; ++k) {
    auto cb = static_cast<uint8_t>(s[i + k]);
    if ((cb & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    c = (c << 6) | (cb & 0x3F);
  }
  i += len;
  return c;
}

}  // namespace

std::string utf8ToCp1252(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) out += encodeChar(nextCodePoint(utf8, i));
  return out;
}

std::string cp1252ToUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    auto b = static_cast<uint8_t>(ch);
    appendUtf8(out, b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : b);
  }
  return out;
}

std::string cutToFileLength(const std::string& utf8, size_t maxBytes) {
  size_t i = 0, chars = 0;
  while (i < utf8.size() && chars < maxBytes) {
    nextCodePoint(utf8, i);
    ++chars;
  }
  return utf8.substr(0, i);
}

}  // namespace plavesk
