#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "cli/commands/cli.h"
#include "document/file_io.h"
#include "document/layout_file.h"
#include "support/png_reader.h"
#include "support/sample_layout.h"
#include "view/bmp_file.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

class ImageCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("plavesk-image-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    TLayout layout = testing::makeSampleLayout();  // one board of 160 x 100 mm
    std::string error;
    ASSERT_TRUE(writeFileAtomically(path("sample.lay"), encodeLayout(layout), error)) << error;
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string path(const std::string& name) const { return (dir / name).string(); }
  int run(std::vector<std::string> args) {
    std::ostringstream out, err;
    args.insert(args.begin(), {"image", path("sample.lay")});
    const int status = runCli(args, out, err);
    lastError = err.str();
    return status;
  }
  std::vector<uint8_t> read(const std::string& name) const {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(readWholeFile(path(name), bytes, error)) << error;
    return bytes;
  }
  fs::path dir;
  std::string lastError;
};

uint32_t le(const std::vector<uint8_t>& b, size_t at, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[at + size_t(i)];
  return v;
}
uint32_t be32(const std::vector<uint8_t>& b, size_t at) {
  return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) |
         b[at + 3];
}

TEST_F(ImageCommand, WritesEachFormatAtTheSizeOfItsResolution) {
  struct Case {
    std::string name;
    std::vector<std::string> options;
    uint32_t width, height;
  } cases[] = {
      {"a.png", {"--dpi", "100"}, 630, 394},
      {"b.bmp", {"--dpi", "300"}, 1890, 1181},
      {"c.gif", {"--dpi", "100"}, 630, 394},
      {"d.BMP", {"--dpi", "100", "--bw"}, 630, 394},
      {"e.png", {"--photo", "--side", "2", "--shine-through", "--dpi", "100"}, 630, 394},
      {"f.png", {"--layers", "S1,C2", "--bw", "--dpi", "150"}, 945, 591},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"-o", path(c.name)};
    args.insert(args.end(), c.options.begin(), c.options.end());
    ASSERT_EQ(run(args), 0) << c.name << ": " << lastError;
    const std::vector<uint8_t> b = read(c.name);
    ASSERT_GT(b.size(), 30u) << c.name;
    if (b[0] == 0x89) {
      EXPECT_EQ(be32(b, 16), c.width) << c.name;
      EXPECT_EQ(be32(b, 20), c.height) << c.name;
    } else if (b[0] == 'B') {
      EXPECT_EQ(le(b, 18, 4), c.width) << c.name;
      EXPECT_EQ(le(b, 22, 4), c.height) << c.name;
      EXPECT_EQ(le(b, 28, 2), c.name == "d.BMP" ? 1u : 24u) << c.name;
    } else {
      ASSERT_EQ(b[0], 'G') << c.name;
      EXPECT_EQ(le(b, 6, 2), c.width) << c.name;
      EXPECT_EQ(le(b, 8, 2), c.height) << c.name;
    }
  }
}

// The PNG, read back by libpng, holds the pixels of the BMP the same request
// writes: the same picture whatever the file format.
TEST_F(ImageCommand, PngHoldsThePixelsOfTheBitmap) {
  const std::vector<std::vector<std::string>> requests = {
      {"--dpi", "100"},
      {"--dpi", "150", "--bw"},
      {"--dpi", "100", "--photo", "--side", "2"},
  };
  for (const auto& options : requests) {
    SCOPED_TRACE(options.back());
    std::vector<std::string> png = {"-o", path("p.png")}, bmp = {"-o", path("p.bmp")};
    png.insert(png.end(), options.begin(), options.end());
    bmp.insert(bmp.end(), options.begin(), options.end());
    ASSERT_EQ(run(png), 0) << lastError;
    ASSERT_EQ(run(bmp), 0) << lastError;
    testing::TPngPicture picture;
    std::string error;
    ASSERT_TRUE(testing::readPngFile(path("p.png"), picture, error)) << error;
    const TBmpReadResult bitmap = decodeBmp(read("p.bmp"));
    ASSERT_TRUE(bitmap.ok) << bitmap.error;
    ASSERT_EQ(picture.width, uint32_t(bitmap.image.width));
    ASSERT_EQ(picture.height, uint32_t(bitmap.image.height));
    EXPECT_EQ(picture.xPixelsPerUnit, uint32_t(std::lround(std::stod(options[1]) / 0.0254)));
    size_t wrong = 0, dark = 0;
    for (uint32_t y = 0; y < picture.height; ++y)
      for (uint32_t x = 0; x < picture.width; ++x) {
        const CanvasColour c = bitmap.image.pixels[y * picture.width + x];  // 0x00BBGGRR
        const uint32_t expected = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        wrong += picture.pixel(x, y) != expected;
        dark += expected != 0xFFFFFF;
      }
    EXPECT_EQ(wrong, 0u);
    EXPECT_GT(dark, 0u) << "the board is drawn";
  }
}

TEST_F(ImageCommand, WritesAMetafile) {
  ASSERT_EQ(run({"-o", path("board.emf")}), 0) << lastError;
  const std::vector<uint8_t> b = read("board.emf");
  EXPECT_EQ(le(b, 0, 4), 1u);
  EXPECT_EQ(le(b, 40, 4), 0x464D4520u);
  EXPECT_EQ(le(b, 48, 4), b.size());
  EXPECT_EQ(le(b, b.size() - 20, 4), 14u);  // EOF
}

#ifdef PLAVESK_WITH_QT
TEST_F(ImageCommand, WritesAnSvgPicture) {
  ASSERT_EQ(run({"-o", path("board.svg"), "--dpi", "100"}), 0) << lastError;
  const std::vector<uint8_t> b = read("board.svg");
  const std::string svg(b.begin(), b.end());
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("viewBox=\"0 0 630 394\""), std::string::npos);
  EXPECT_NE(svg.find("</svg>"), std::string::npos);
}
#endif

TEST_F(ImageCommand, RefusesBadRequestsAndLeavesNoFile) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string message;
  } cases[] = {
      {{"--dpi", "100"}, 1, "-o OUT is required"},
      {{"-o", "x.txt"}, 1, "must end in"},
      {{"-o", "x.gif", "--bw"}, 1, "--bw applies"},
      {{"-o", "x.png", "--color", "--bw"}, 1, "exclude each other"},
      {{"-o", "x.png", "--side", "2"}, 1, "need --photo"},
      {{"-o", "x.png", "--photo", "--side", "3"}, 1, "--side"},
      {{"-o", "x.png", "--dpi", "50"}, 1, "--dpi 50"},
      {{"-o", "x.png", "--dpi", "abc"}, 1, "--dpi abc"},
      {{"-o", "x.png", "--layers", "C1,X9"}, 1, "--layers"},
      {{"-o", "x.png", "--board", "2"}, 1, "--board 2"},
      {{"-o", "no/such/folder/x.png"}, 2, "image:"},
  };
  for (Case& c : cases) {
    for (auto& a : c.args)
      if (a.starts_with("x.") || a.starts_with("no/")) a = path(a);
    EXPECT_EQ(run(c.args), c.status) << c.message;
    EXPECT_NE(lastError.find(c.message), std::string::npos) << lastError;
  }
  for (const auto& entry : fs::directory_iterator(dir))
    EXPECT_EQ(entry.path().filename(), "sample.lay") << "left behind: " << entry.path();
}

TEST_F(ImageCommand, AFailedRunKeepsAnOlderPicture) {
  ASSERT_EQ(run({"-o", path("keep.png"), "--dpi", "100"}), 0) << lastError;
  const std::vector<uint8_t> before = read("keep.png");
  std::ostringstream out, err;
  EXPECT_EQ(runCli({"image", path("missing.lay"), "-o", path("keep.png")}, out, err), 2);
  EXPECT_FALSE(err.str().empty());
  EXPECT_EQ(read("keep.png"), before);
}

}  // namespace
}  // namespace plavesk
