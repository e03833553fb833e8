#include "app/error_report.h"

#include <gtest/gtest.h>

namespace plavesk {
namespace {

TEST(ErrorReport, FullStopOnlyAfterCharactersSortingAfterIt) {
  struct Case {
    const char* text;
    const char* shown;
  } cases[] = {
      {"cannot open \"a.lay\"", "cannot open \"a.lay\""},  // '"' sorts before '.'
      {"disk full", "disk full."},
      {"error 42", "error 42."},
      {"already ends.", "already ends."},
      {"question?", "question?."},  // '?' sorts after '.'
      {"shout!", "shout!"},
      {"(in brackets)", "(in brackets)"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(errorReportText(c.text), c.shown) << c.text;
}

}  // namespace
}  // namespace plavesk
