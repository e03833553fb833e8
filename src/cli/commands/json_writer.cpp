#include "cli/commands/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace plavesk {

void JsonWriter::separate() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!first_.empty()) {
    if (!first_.back()) out_ += ',';
    first_.back() = false;
  }
}

JsonWriter& JsonWriter::open(char c) {
  separate();
  out_ += c;
  first_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::close(char c) {
  out_ += c;
  first_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::key(const std::string& name) {
  value(name);
  out_ += ':';
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::value(const std::string& text) {
  separate();
  out_ += '"';
  for (unsigned char c : text) {
    switch (c) {
      case '"':
        out_ += "\\\"";
        break;
      case '\\':
        out_ += "\\\\";
        break;
      case '\n':
        out_ += "\\n";
        break;
      case '\r':
        out_ += "\\r";
        break;
      case '\t':
        out_ += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out_ += buf;
        } else {
          out_ += char(c);
        }
    }
  }
  out_ += '"';
  return *this;
}

JsonWriter& JsonWriter::value(int64_t number) {
  separate();
  out_ += std::to_string(number);
  return *this;
}

JsonWriter& JsonWriter::value(double number) {
  separate();
  if (!std::isfinite(number)) {
    out_ += "null";
    return *this;
  }
  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, number);
  std::string text(buf, end);
  if (text.find_first_of(".eE") == std::string::npos) text += ".0";
  out_ += text;
  return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
  separate();
  out_ += flag ? "true" : "false";
  return *this;
}

}  // namespace plavesk
