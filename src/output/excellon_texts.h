// Every text of the drill export in German, English and French (language
// index 0, 1, 2).
#pragma once

#include <string>

namespace plavesk {

struct TExcellonDialogTexts {
  std::string title;
  std::string intro;        // Label1
  std::string originGroup;  // GroupBox2
  std::string fromBottom;   // RB_Kupfer
  std::string fromTop;      // RB_Best
  std::string unitGroup;    // GroupBox1
  std::string mm, mmNote;
  std::string inch, inchNote;
  std::string removeLeadingZeros;
  std::string ok, cancel;
};
TExcellonDialogTexts excellonDialogTexts(int language);

// The save dialog's filter.
std::string excellonFileFilter();

}  // namespace plavesk
