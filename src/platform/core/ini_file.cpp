#include "platform/core/ini_file.h"

#include <cctype>
#include <climits>

namespace plavesk {

namespace {

bool sameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

std::string trimBlanks(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

TIniFile TIniFile::parse(const std::string& text) {
  TIniFile ini;
  Section* current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = trimBlanks(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty()) continue;
    if (line.front() == '[') {
      const size_t close = line.find(']');
      const std::string name =
          trimBlanks(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
      current = ini.findSection(name);
      if (!current) {
        ini.sections_.push_back(Section{name, {}});
        current = &ini.sections_.back();
      }
      continue;
    }
    const size_t eq = line.find('=');
    if (!current || eq == std::string::npos) continue;
    const std::string key = trimBlanks(line.substr(0, eq));
    if (key.empty()) continue;
    // The first occurrence of a key wins, as a profile reader finds it.
    bool known = false;
    for (const Entry& e : current->entries) known = known || sameName(e.key, key);
    if (!known) current->entries.push_back(Entry{key, line.substr(eq + 1)});
  }
  return ini;
}

std::string TIniFile::text() const {
  std::string out;
  for (const Section& s : sections_) {
    out += "[" + s.name + "]\r\n";
    for (const Entry& e : s.entries) out += e.key + "=" + e.value + "\r\n";
  }
  return out;
}

const TIniFile::Section* TIniFile::findSection(const std::string& name) const {
  for (const Section& s : sections_)
    if (sameName(s.name, name)) return &s;
  return nullptr;
}

TIniFile::Section* TIniFile::findSection(const std::string& name) {
  for (Section& s : sections_)
    if (sameName(s.name, name)) return &s;
  return nullptr;
}

const TIniFile::Entry* TIniFile::findEntry(const std::string& section,
                                           const std::string& key) const {
  const Section* s = findSection(section);
  if (!s) return nullptr;
  for (const Entry& e : s->entries)
    if (sameName(e.key, key)) return &e;
  return nullptr;
}

bool TIniFile::hasSection(const std::string& section) const {
  return findSection(section) != nullptr;
}

bool TIniFile::hasKey(const std::string& section, const std::string& key) const {
  return findEntry(section, key) != nullptr;
}

std::string TIniFile::readString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const {
  const Entry* e = findEntry(section, key);
  return e ? trimBlanks(e->value) : fallback;
}

int TIniFile::readInteger(const std::string& section, const std::string& key, int fallback) const {
  const Entry* e = findEntry(section, key);
  if (!e) return fallback;
  const std::string v = trimBlanks(e->value);
  size_t i = 0;
  bool negative = false;
  if (i < v.size() && (v[i] == '-' || v[i] == '+')) negative = v[i++] == '-';
  if (i >= v.size()) return fallback;
  long long n = 0;
  for (; i < v.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(v[i]))) return fallback;
    n = n * 10 + (v[i] - '0');
    if (n > INT_MAX) return fallback;
  }
  return int(negative ? -n : n);
}

bool TIniFile::readBool(const std::string& section, const std::string& key, bool fallback) const {
  return readInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniFile::writeString(const std::string& section, const std::string& key,
                           const std::string& value) {
  Section* s = findSection(section);
  if (!s) {
    sections_.push_back(Section{section, {}});
    s = &sections_.back();
  }
  for (Entry& e : s->entries) {
    if (sameName(e.key, key)) {
      e.value = value;
      return;
    }
  }
  s->entries.push_back(Entry{key, value});
}

void TIniFile::writeInteger(const std::string& section, const std::string& key, int value) {
  writeString(section, key, std::to_string(value));
}

void TIniFile::writeBool(const std::string& section, const std::string& key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

void TIniFile::eraseSection(const std::string& section) {
  for (auto it = sections_.begin(); it != sections_.end(); ++it) {
    if (sameName(it->name, section)) {
      sections_.erase(it);
      return;
    }
  }
}

void TIniFile::eraseKey(const std::string& section, const std::string& key) {
  Section* s = findSection(section);
  if (!s) return;
  for (auto it = s->entries.begin(); it != s->entries.end(); ++it) {
    if (sameName(it->key, key)) {
      s->entries.erase(it);
      return;
    }
  }
}

}  // namespace plavesk
