// A text in the three interface languages, German, English and French, side
// by side so a reader finds them together. Free of any toolkit, so every
// layer can hand out its own captions, hints and messages.
#pragma once

namespace plavesk {

enum Language : int { kGerman = 0, kEnglish = 1, kFrench = 2 };

struct TText {
  const char* de;
  const char* en;
  const char* fr;
};

// The variant for `language`; an index outside 0..2 gives German, the
// language every window is designed in.
constexpr const char* pickText(int language, const TText& text) {
  switch (language) {
    case kEnglish:
      return text.en;
    case kFrench:
      return text.fr;
    default:
      return text.de;
  }
}

}  // namespace plavesk
