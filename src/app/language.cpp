#include "app/language.h"

#include "document/file_io.h"
#include "platform/core/ini_file.h"

namespace plavesk {

namespace {
int gLanguage = kGerman;
}  // namespace

int interfaceLanguage() {
  return gLanguage;
}

void setInterfaceLanguage(int language) {
  gLanguage = language;
}

QString pick(int language, const TText& text) {
  return QString::fromUtf8(pickText(language, text));
}

int readLanguageIndex(const std::string& programFolder) {
  std::vector<uint8_t> data;
  std::string error;
  if (!readWholeFile(programFolder + "SPRACHE.INI", data, error)) return kGerman;
  const TIniFile ini = TIniFile::parse(std::string(data.begin(), data.end()));
  return ini.readInteger("Sprache", "Sprache", kGerman);
}

int languageFromOption(const std::string& word) {
  if (word == "de") return kGerman;
  if (word == "en") return kEnglish;
  if (word == "fr") return kFrench;
  return -1;
}

}  // namespace plavesk
