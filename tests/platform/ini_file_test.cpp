#include "platform/core/ini_file.h"

#include <gtest/gtest.h>

namespace plavesk {
namespace {

TEST(IniFile, ReadsValuesTrimmedAndNamesWithoutRegardToCase) {
  const TIniFile ini = TIniFile::parse(
      "ignored=before any section\r\n"
      "[Optionen]\r\n"
      "Kurzhilfe =  0  \r\n"
      "  Undo=\t25\n"
      "no equals sign here\n"
      "Name=  two words  \n"
      "Undo=99\n"
      "[ordner]\n"
      "Layout=/home/me/layouts/\n");
  EXPECT_EQ(ini.readString("Optionen", "Name", "x"), "two words");
  EXPECT_EQ(ini.readInteger("optionen", "kurzhilfe", 1), 0);
  EXPECT_EQ(ini.readInteger("Optionen", "Undo", 0), 25) << "the first of two keys wins";
  EXPECT_EQ(ini.readString("Ordner", "LAYOUT", ""), "/home/me/layouts/");
  EXPECT_FALSE(ini.hasKey("Optionen", "ignored"));
  EXPECT_EQ(ini.readString("Optionen", "missing", "fallback"), "fallback");
  EXPECT_EQ(ini.sections().size(), 2u);
}

TEST(IniFile, IntegersAndBooleans) {
  struct Case {
    const char* value;
    int integer;   // read with fallback 7
    bool boolean;  // read with fallback true
  } cases[] = {
      {"0", 0, false},    {"1", 1, true}, {" -12 ", -12, true},
      {"+3", 3, true},    {"2", 2, true}, {"abc", 7, true},
      {"12abc", 7, true}, {"", 7, true},  {"99999999999", 7, true},
  };
  for (const Case& c : cases) {
    TIniFile ini;
    ini.writeString("S", "K", c.value);
    EXPECT_EQ(ini.readInteger("S", "K", 7), c.integer) << c.value;
    EXPECT_EQ(ini.readBool("S", "K", true), c.boolean) << c.value;
  }
}

TEST(IniFile, WritesKeepSectionsAndKeysInOrder) {
  TIniFile ini = TIniFile::parse("[A]\nx=1\ny=2\n[B]\nz=3\n");
  ini.writeString("a", "Y", "20");  // replaces in place, keeps the stored name
  ini.writeString("A", "w", "4");   // appended to its section
  ini.writeInteger("C", "n", 5);    // new section at the end
  ini.writeBool("B", "flag", true);
  EXPECT_EQ(ini.text(), "[A]\r\nx=1\r\ny=20\r\nw=4\r\n[B]\r\nz=3\r\nflag=1\r\n[C]\r\nn=5\r\n");

  ini.eraseSection("b");
  ini.eraseKey("A", "X");
  EXPECT_EQ(ini.text(), "[A]\r\ny=20\r\nw=4\r\n[C]\r\nn=5\r\n");
  EXPECT_EQ(TIniFile::parse(ini.text()).text(), ini.text());
}

TEST(IniFile, BlanksDoNotPileUpOverRoundTrips) {
  TIniFile ini;
  ini.writeString("R", "S8", "      0.5 mm");
  for (int i = 0; i < 3; ++i) {
    ini = TIniFile::parse(ini.text());
    ini.writeString("R", "S8", "      " + ini.readString("R", "S8", ""));
  }
  EXPECT_EQ(ini.readString("R", "S8", ""), "0.5 mm");
  EXPECT_EQ(ini.text(), "[R]\r\nS8=      0.5 mm\r\n");
}

}  // namespace
}  // namespace plavesk
