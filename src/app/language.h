// The interface language: German, English or French, chosen once per run.
// Every text the window shows is a TText with its three variants side by
// side, so a reader finds them together.
#pragma once

#include <QString>
#include <string>

namespace plavesk {

enum Language : int { kGerman = 0, kEnglish = 1, kFrench = 2 };

struct TText {
  const char* de;
  const char* en;
  const char* fr;
};

// The variant for `language`; an index outside 0..2 gives German, the
// language every window is designed in.
const char* pickText(int language, const TText& text);
QString pick(int language, const TText& text);

// The language of this run, set once at start-up (German until then).
int interfaceLanguage();
void setInterfaceLanguage(int language);

// Section and key "Sprache" of "SPRACHE.INI" in `programFolder`; 0 when the
// file or key is missing.
int readLanguageIndex(const std::string& programFolder);

// "--lang de|en|fr" on the command line; -1 for any other word.
int languageFromOption(const std::string& word);

}  // namespace plavesk
