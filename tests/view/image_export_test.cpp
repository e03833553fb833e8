#include "view/image_export.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "render_fixtures.h"
#include "view/bmp_file.h"
#include "view/emf_canvas.h"
#include "view/gif_file.h"
#include "view/metafile_export.h"
#include "view/png_file.h"

namespace plavesk {
namespace {

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) |
         (uint32_t(b[at + 3]) << 24);
}
uint32_t be32(const std::vector<uint8_t>& b, size_t at) {
  return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) |
         b[at + 3];
}

TEST(ExportSize, PixelsAndMemoryEstimates) {
  struct Case {
    int32_t w, h;
    int dpi;
    TImageSize size;
    int64_t bwKb, colourKb;
  } cases[] = {
      {16000, 10000, 300, {1890, 1181}, 272, 6540},
      {30000, 30000, 600, {7087, 7087}, 6131, 147144},
      {100, 100, 100, {4, 4}, 0, 0},
  };
  for (const Case& c : cases) {
    const TImageSize s = exportImageSize(c.w, c.h, c.dpi);
    EXPECT_EQ(s, c.size) << c.w << " at " << c.dpi;
    EXPECT_EQ(exportMemoryEstimateKb(s, false), c.bwKb);
    EXPECT_EQ(exportMemoryEstimateKb(s, true), c.colourKb);
  }
  EXPECT_GT(exportMemoryEstimateKb({7087, 7087}, true), kLargeExportKb);
}

TEST(ExportImage, BoardFillsTheImageAndTheSelectionIsDrawnUnselectedAndKept) {
  TBoardRecord state;
  state.width = 1000;
  state.height = 500;
  state.activeLayer = 1;
  TObjektList list;
  list.push_back(createSmdPad({500, -250}, 200, kCopper1, 200));
  list[0]->selected = 1;
  const RasterImage image = renderBoardImage(list, state, TRenderSettings(), {100, 50});
  const TColourScheme std = standardColourScheme();
  EXPECT_EQ(image.pixel(0, 0), std[kColourBackground]);
  EXPECT_EQ(image.pixel(99, 49), std[kColourBackground]);
  EXPECT_EQ(image.pixel(50, 25), std[kColourCopper1]);
  EXPECT_EQ(list[0]->selected, 1);
  EXPECT_EQ(list[0]->workMark, 0);
}

// Rows of colours a, b, c, ... as a raster.
RasterImage stripes(const std::vector<CanvasColour>& colours) {
  RasterImage image(int32_t(colours.size()), 2, 0);
  for (size_t i = 0; i < colours.size(); ++i)
    image.setPixel(int32_t(colours.size() - 1 - i), 1, colours[i]);
  for (size_t i = 0; i < colours.size(); ++i) image.setPixel(int32_t(i), 0, colours[i]);
  return image;
}

TEST(GifPalette, ColoursInOrderOfFirstAppearancePadded) {
  struct Case {
    size_t colours;
    size_t palette;
  } cases[] = {{1, 1}, {2, 2}, {3, 16}, {4, 16}, {16, 16}, {17, 256}, {255, 256}};
  for (const Case& c : cases) {
    std::vector<CanvasColour> colours;
    for (size_t i = 0; i < c.colours; ++i)
      colours.push_back(CanvasColour(0x010203 * (i + 1)) & 0xFFFFFF);
    const TPaletteImage p = toPaletteImage(stripes(colours));
    ASSERT_EQ(p.palette.size(), c.palette) << c.colours;
    EXPECT_EQ(p.distinctColours, c.colours);
    for (size_t i = 0; i < c.colours; ++i) EXPECT_EQ(p.palette[i], colours[i]);
    // The second row runs backwards through the same palette.
    EXPECT_EQ(p.indexes[colours.size()], uint8_t(c.colours - 1));
  }
}

TEST(GifFile, HasTheSizeAndTheGlobalPalette) {
  const TPaletteImage p =
      toPaletteImage(stripes({rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), 0}));
  std::vector<uint8_t> gif;
  std::string error;
  ASSERT_TRUE(encodeGif(p, gif, error)) << error;
  ASSERT_GT(gif.size(), 13u + 48u);
  EXPECT_EQ(std::string(gif.begin(), gif.begin() + 3), "GIF");
  EXPECT_EQ(gif[6] | (gif[7] << 8), 4);
  EXPECT_EQ(gif[8] | (gif[9] << 8), 2);
  EXPECT_EQ(gif[10] & 0x80, 0x80);    // a global colour table
  EXPECT_EQ(2 << (gif[10] & 7), 16);  // of 16 entries
  EXPECT_EQ((std::vector<uint8_t>(gif.begin() + 13, gif.begin() + 19)),
            (std::vector<uint8_t>{255, 0, 0, 0, 255, 0}));
  EXPECT_EQ(gif.back(), 0x3B);
  EXPECT_FALSE(encodeGif(TPaletteImage{}, gif, error));
}

TEST(BmpFile, ColourAndMonochromeRoundTrip) {
  RasterImage image(5, 3, rgb(0, 0, 0));
  image.setPixel(0, 0, rgb(10, 20, 30));
  image.setPixel(4, 2, kWhite);
  const std::vector<uint8_t> colour = encodeBmp24(image, 300);
  EXPECT_EQ(colour.size(), 54u + 16u * 3);  // rows padded to 16 bytes
  EXPECT_EQ(le32(colour, 38), 11811u);      // 300 dpi in pixels per metre
  TBmpReadResult back = decodeBmp(colour);
  ASSERT_TRUE(back.ok) << back.error;
  EXPECT_EQ(back.dpi, 300);
  EXPECT_EQ(back.image.pixels[0], rgb(10, 20, 30));
  EXPECT_EQ(back.image.pixels[14], kWhite);

  // Black background reads as white, drawn colours as black.
  const std::vector<uint8_t> mono = encodeBmp1(image, 300, rgb(0, 0, 0));
  EXPECT_EQ(mono[28], 1);
  back = decodeBmp(mono);
  ASSERT_TRUE(back.ok) << back.error;
  EXPECT_TRUE(back.image.twoColour);
  EXPECT_EQ(back.image.pixels[0], 0u);
  EXPECT_EQ(back.image.pixels[1], kWhite);
  EXPECT_EQ(back.image.pixels[14], kWhite);

  std::vector<uint8_t> truncated(colour.begin(), colour.end() - 10);
  EXPECT_FALSE(decodeBmp(truncated).ok);
  EXPECT_FALSE(decodeBmp({'B', 'M'}).ok);
}

TEST(PngFile, HeaderChunksAndSize) {
  RasterImage image(7, 3, kWhite);
  const std::vector<uint8_t> png = encodePng(image, 300);
  EXPECT_EQ((std::vector<uint8_t>(png.begin(), png.begin() + 8)),
            (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
  EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
  EXPECT_EQ(be32(png, 16), 7u);
  EXPECT_EQ(be32(png, 20), 3u);
  EXPECT_EQ(std::string(png.end() - 8, png.end() - 4), "IEND");
}

// The records of a metafile: type and size, walked from the header to EOF.
struct EmfRecord {
  uint32_t type;
  size_t offset, size;
};
std::vector<EmfRecord> parseEmf(const std::vector<uint8_t>& emf) {
  std::vector<EmfRecord> records;
  size_t at = 0;
  while (at + 8 <= emf.size()) {
    const uint32_t size = le32(emf, at + 4);
    if (size < 8 || size % 4 || at + size > emf.size()) break;
    records.push_back({le32(emf, at), at, size});
    at += size;
  }
  EXPECT_EQ(at, emf.size()) << "records must tile the file";
  return records;
}

TEST(Metafile, RecordsParseBackFromHeaderToEof) {
  TObjektList list;
  testing::addThroughPad(list, {1000, -1000}, 100, 40);
  list.push_back(createArea(20, kCopper1));
  list.back()->points = {{0, 0}, {500, 0}, {500, -500}};
  TBoardRecord state;
  TViewState view;
  view.loadBoard(state, nullptr);
  const std::vector<uint8_t> emf = exportMetafile(list, state, view, TRenderSettings(), false);
  const auto records = parseEmf(emf);
  ASSERT_GE(records.size(), 3u);
  EXPECT_EQ(records.front().type, EmfCanvas::kHeader);
  EXPECT_EQ(le32(emf, 40), 0x464D4520u);  // " EMF"
  EXPECT_EQ(le32(emf, 48), emf.size());
  EXPECT_EQ(le32(emf, 52), records.size());
  EXPECT_EQ(records.back().type, EmfCanvas::kEof);
  std::map<uint32_t, int> count;
  for (const auto& r : records) ++count[r.type];
  EXPECT_EQ(count[EmfCanvas::kSetMapMode], 1);
  EXPECT_EQ(count[EmfCanvas::kRectangle], 1);  // the board background
  EXPECT_EQ(count[EmfCanvas::kEllipse], 2 + 2);
  EXPECT_EQ(count[EmfCanvas::kCreateDibPatternBrush], 1);  // the through-pad hatch
  ASSERT_EQ(count[EmfCanvas::kPolygon], 1);
  for (const auto& r : records) {
    if (r.type != EmfCanvas::kPolygon) continue;
    EXPECT_EQ(le32(emf, r.offset + 24), 3u);  // three points after the bounds
    EXPECT_EQ(r.size, 28u + 3 * 8);
    EXPECT_EQ(int32_t(le32(emf, r.offset + 28 + 16)), 500);
    EXPECT_EQ(int32_t(le32(emf, r.offset + 28 + 20)), -500);
  }
  // Every selected object is created before and deleted after use.
  std::set<uint32_t> live;
  for (const auto& r : records) {
    const uint32_t handle = r.size >= 12 ? le32(emf, r.offset + 8) : 0;
    if (r.type == EmfCanvas::kCreatePen || r.type == EmfCanvas::kExtCreatePen ||
        r.type == EmfCanvas::kCreateBrushIndirect || r.type == EmfCanvas::kCreateDibPatternBrush)
      EXPECT_TRUE(live.insert(handle).second) << "handle reused while live";
    if (r.type == EmfCanvas::kSelectObject) EXPECT_TRUE(live.count(handle));
    if (r.type == EmfCanvas::kDeleteObject) EXPECT_EQ(live.erase(handle), 1u);
  }
}

TEST(Metafile, SelectionOnlyHasThePadAndItsHoleButNoBackground) {
  TObjektList list;
  list.push_back(createPad({1000, -1000}, 100, kPadRound, kCopper1, 40));
  list.push_back(createPad({3000, -1000}, 100, kPadRound, kCopper1, 40));
  list[0]->selected = 1;
  TBoardRecord state;
  TViewState view;
  view.loadBoard(state, nullptr);
  const std::vector<uint8_t> emf = exportMetafile(list, state, view, TRenderSettings(), true);
  std::vector<std::vector<int32_t>> ellipses;
  for (const auto& r : parseEmf(emf)) {
    EXPECT_NE(r.type, EmfCanvas::kRectangle);
    if (r.type == EmfCanvas::kEllipse)
      ellipses.push_back({int32_t(le32(emf, r.offset + 8)), int32_t(le32(emf, r.offset + 12))});
  }
  EXPECT_EQ(ellipses, (std::vector<std::vector<int32_t>>{{900, -900}, {960, -960}}));
  EXPECT_EQ(list[0]->selected, 1);
}

}  // namespace
}  // namespace plavesk
