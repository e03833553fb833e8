// The settings and language files: an INI text with sections in file order,
// read and written with the platform's profile semantics. Section and key
// names compare without regard to letter case; values lose the blanks around
// them when read; a write to a missing section or key appends it.
#pragma once

#include <string>
#include <vector>

namespace plavesk {

class TIniFile {
 public:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };

  TIniFile() = default;
  // Lines of the form "[section]" and "key=value"; blank lines, lines without
  // "=" and lines before the first section are ignored. Both CR LF and LF end
  // a line.
  static TIniFile parse(const std::string& text);
  // Sections in order, each followed by its keys, lines ending in CR LF.
  std::string text() const;

  bool hasSection(const std::string& section) const;
  bool hasKey(const std::string& section, const std::string& key) const;

  // Trimmed value, or `fallback` when the key is missing.
  std::string readString(const std::string& section, const std::string& key,
                         const std::string& fallback) const;
  // The trimmed value as a decimal integer; `fallback` when the key is
  // missing or its value is not a whole number in the int range.
  int readInteger(const std::string& section, const std::string& key, int fallback) const;
  // Any non-zero integer is true.
  bool readBool(const std::string& section, const std::string& key, bool fallback) const;

  void writeString(const std::string& section, const std::string& key, const std::string& value);
  void writeInteger(const std::string& section, const std::string& key, int value);
  void writeBool(const std::string& section, const std::string& key, bool value);
  void eraseSection(const std::string& section);
  void eraseKey(const std::string& section, const std::string& key);

  const std::vector<Section>& sections() const { return sections_; }

 private:
  const Section* findSection(const std::string& name) const;
  Section* findSection(const std::string& name);
  const Entry* findEntry(const std::string& section, const std::string& key) const;

  std::vector<Section> sections_;
};

// Blanks and tabs removed from both ends.
std::string trimBlanks(const std::string& text);

}  // namespace plavesk
