#include "cli/commands/json_output.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "cli/commands/cli.h"
#include "document/file_io.h"
#include "document/layout_file.h"
#include "support/sample_layout.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

// `info --json --elements` on the layout, saved to a file first.
std::string infoJson(TLayout& layout) {
  const fs::path file =
      fs::temp_directory_path() / ("plavesk-json-" + std::to_string(::getpid()) + ".lay");
  std::string error;
  EXPECT_TRUE(writeFileAtomically(file.string(), encodeLayout(layout), error)) << error;
  std::ostringstream out, err;
  EXPECT_EQ(runCli({"info", file.string(), "--json", "--elements"}, out, err), 0) << err.str();
  fs::remove(file);
  return out.str();
}

// Texts whose escaping is easy to get wrong, each in a field the layout file
// keeps: quotes, backslashes, control characters and the Windows-1252
// letters that take two or three bytes in UTF-8.
TEST(JsonOutput, TextsComeBackUnchangedThroughAParser) {
  const std::string name = "A \"B\" \\ C/";
  const std::string title = "Über Größe ÄÖÜ äöü ß € é";
  const std::string author = "tab\there\x01\x1f\x7f";
  const std::string company = "\b\f\\u0041";
  const std::string comment = "line 1\r\nline \"2\"\n\tend \\";
  const std::string text = "\"Ä\"\\";

  TLayout layout = testing::makeSampleLayout();
  layout.boards[0]->name = name;
  layout.project = {title, author, company, comment};
  layout.boards[0]->elements[7]->text = text;
  const std::string out = infoJson(layout);

  // One document a line: no control character is written raw.
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out.find('\n'), out.size() - 1);
  EXPECT_EQ(out.find_first_of("\r\t\b\f\x01\x1f"), std::string::npos);
  const Json doc = Json::parse(out);
  EXPECT_EQ(doc["boards"][0]["name"], name);
  EXPECT_EQ(doc["project"]["title"], title);
  EXPECT_EQ(doc["project"]["author"], author);
  EXPECT_EQ(doc["project"]["company"], company);
  EXPECT_EQ(doc["project"]["comment"], comment);
  EXPECT_EQ(doc["boards"][0]["elements"][7]["text"], text);
  // UTF-8 is written as it is, not as \u escapes.
  EXPECT_NE(out.find(title), std::string::npos);
}

// Grid and zoom are doubles: whatever digits the writer picks, they must
// read back as the very values of the file, the extremes included.
TEST(JsonOutput, GridAndZoomReadBackExactly) {
  const std::pair<double, double> values[] = {{254.0 / 3, 1.0 / 3},
                                              {kMaxGrid, kMinZoom},
                                              {1e-5, kMaxZoom},
                                              {0.1 + 0.2, 0.0123456789012345}};
  TLayout layout;
  for (const auto& [grid, zoom] : values) {
    TBoardRecord& r = layout.addBoard("B").record;
    r.grid = grid;
    r.zoom = zoom;
  }
  const std::string out = infoJson(layout);
  const Json doc = Json::parse(out);
  ASSERT_EQ(doc["boards"].size(), std::size(values));
  for (size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(doc["boards"][i]["grid"].get<double>(), values[i].first) << i;
    EXPECT_EQ(doc["boards"][i]["zoom"].get<double>(), values[i].second) << i;
  }
}

// A text that is not UTF-8 (only code can make one; files are converted
// when read) still gives a valid document instead of failing the command.
TEST(JsonOutput, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  const std::string notUtf8 =
      "a\xFF"
      "b\xC3";
  const std::string line = jsonLine(Json{{"name", notUtf8}});
  EXPECT_EQ(line, "{\"name\":\"a\uFFFDb\uFFFD\"}\n");
  EXPECT_NO_THROW(Json::parse(line));
}

}  // namespace
}  // namespace plavesk
