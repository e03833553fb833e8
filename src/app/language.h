// The interface language: German, English or French, chosen once per run.
// Every text the window shows is a TText with its three variants side by
// side, so a reader finds them together.
#pragma once

#include <QString>
#include <string>

#include "document/language_text.h"

namespace plavesk {

// pickText as a QString.
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
