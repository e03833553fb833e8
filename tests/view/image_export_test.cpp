#include "view/image_export.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "render_fixtures.h"
#include "view/bmp_file.h"
#include "view/emf_canvas.h"
#include "view/gif_file.h"
#include "view/metafile_export.h"

namespace plavesk {
namespace {

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) |
         (uint32_t(b[at + 3]) << 24);
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

// The header's record count and byte size, and the end-of-file record.
void expectWholeFile(const std::vector<uint8_t>& emf, const std::vector<EmfRecord>& records) {
  ASSERT_GE(records.size(), 2u);
  EXPECT_EQ(records.front().type, EmfCanvas::kHeader);
  EXPECT_EQ(le32(emf, 40), 0x464D4520u);  // " EMF"
  EXPECT_EQ(le32(emf, 48), emf.size());
  EXPECT_EQ(le32(emf, 52), records.size());
  EXPECT_EQ(records.back().type, EmfCanvas::kEof);
}

// Every selected object is created before and deleted after use, and no
// handle is reused while it is live.
void expectObjectsCreatedBeforeUse(const std::vector<uint8_t>& emf,
                                   const std::vector<EmfRecord>& records) {
  std::set<uint32_t> live;
  for (const auto& r : records) {
    const uint32_t handle = r.size >= 12 ? le32(emf, r.offset + 8) : 0;
    if (r.type == EmfCanvas::kCreatePen || r.type == EmfCanvas::kExtCreatePen ||
        r.type == EmfCanvas::kCreateBrushIndirect || r.type == EmfCanvas::kCreateDibPatternBrush ||
        r.type == EmfCanvas::kExtCreateFontIndirectW) {
      EXPECT_TRUE(live.insert(handle).second) << "handle reused while live";
      EXPECT_LT(handle, le32(emf, 56) & 0xFFFF) << "beyond the header's handle count";
    }
    if (r.type == EmfCanvas::kSelectObject) {
      EXPECT_TRUE(live.count(handle));
    }
    if (r.type == EmfCanvas::kDeleteObject) {
      EXPECT_EQ(live.erase(handle), 1u);
    }
  }
}

TEST(Metafile, RecordsParseBackFromHeaderToEof) {
  TObjektList list;
  testing::addThroughPad(list, {1000, -1000}, 100, 40);
  list.push_back(createArea(20, kCopper1));
  list.back()->points = {{0, 0}, {500, 0}, {500, -500}};
  TBoardRecord state;
  TViewState view;
  view.setRecord(state);
  const std::vector<uint8_t> emf = exportMetafile(list, state, view, TRenderSettings(), false);
  const auto records = parseEmf(emf);
  ASSERT_GE(records.size(), 3u);
  expectWholeFile(emf, records);
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
  expectObjectsCreatedBeforeUse(emf, records);
}

TEST(Metafile, SelectionOnlyHasThePadAndItsHoleButNoBackground) {
  TObjektList list;
  list.push_back(createPad({1000, -1000}, 100, kPadRound, kCopper1, 40));
  list.push_back(createPad({3000, -1000}, 100, kPadRound, kCopper1, 40));
  list[0]->selected = 1;
  TBoardRecord state;
  TViewState view;
  view.setRecord(state);
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

uint16_t le16(const std::vector<uint8_t>& b, size_t at) {
  return uint16_t(b[at] | (b[at + 1] << 8));
}

std::u16string utf16At(const std::vector<uint8_t>& b, size_t at, size_t chars) {
  std::u16string s;
  for (size_t i = 0; i < chars; ++i) s.push_back(char16_t(le16(b, at + 2 * i)));
  return s;
}

const EmfRecord* firstOf(const std::vector<EmfRecord>& records, uint32_t type) {
  for (const auto& r : records)
    if (r.type == type) return &r;
  return nullptr;
}

TObjektPtr fontText(TPoint at, const std::string& text, int32_t height, int32_t angle) {
  auto t = std::make_unique<TObjekt>();
  t->kind = kFontText;
  t->layer = kCopper1;
  t->x = at.x;
  t->y = at.y;
  t->dim1 = at.x + 1000;
  t->dim2 = at.y + height;
  t->dim3 = height;
  t->angle = angle;
  t->text = text;
  return t;
}

// A 3 x 2 scan: dark, light, dark on the top row, light, dark, light below.
CanvasImage twoColourScan() {
  CanvasImage scan;
  scan.width = 3;
  scan.height = 2;
  scan.twoColour = true;
  scan.pixels = {0x000000, 0xFFFFFF, 0x101010, 0xF0F0F0, 0x000000, 0xFFFFFF};
  return scan;
}

// A whole-board metafile with a legacy font text and the template: the text
// is a font and a text record, the template a bitmap record, and each parses
// back field by field.
TEST(Metafile, FontTextAndTemplateBitmapParseBackRecordByRecord) {
  TObjektList list;
  list.push_back(fontText({1000, -2000},
                          "R\xce\xa9"
                          "5",
                          -250, 90));  // "RΩ5"
  TBoardRecord state;
  state.activeLayer = kCopper1;
  state.template1Shown = 1;
  state.template1Dpi = 254;  // one pixel = 10 units
  state.template1OffsetX = 5;
  state.template1Color = 0x000000FF;
  const CanvasImage scan = twoColourScan();
  TViewState view;
  view.setRecord(state);
  const TRenderSettings settings;
  const std::vector<uint8_t> emf =
      exportMetafile(list, state, view, settings, false, {&scan, nullptr});
  const auto records = parseEmf(emf);
  expectWholeFile(emf, records);
  expectObjectsCreatedBeforeUse(emf, records);

  // The font: its height as stored, turned by 90 degrees, bold "ARIAL".
  const EmfRecord* font = firstOf(records, EmfCanvas::kExtCreateFontIndirectW);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->size, 12u + 320u);
  const size_t lf = font->offset + 12;
  EXPECT_EQ(int32_t(le32(emf, lf)), -250);
  EXPECT_EQ(le32(emf, lf + 8), 900u);   // escapement
  EXPECT_EQ(le32(emf, lf + 12), 900u);  // orientation
  EXPECT_EQ(le32(emf, lf + 16), 700u);  // weight
  EXPECT_EQ(utf16At(emf, lf + 28, 6), (std::u16string{u'A', u'R', u'I', u'A', u'L', 0}));
  // It is selected before the text is drawn, in the element's colour.
  bool selected = false, coloured = false;
  const EmfRecord* text = nullptr;
  for (const auto& r : records) {
    if (r.offset <= font->offset) continue;
    if (r.type == EmfCanvas::kSelectObject &&
        le32(emf, r.offset + 8) == le32(emf, font->offset + 8))
      selected = true;
    if (r.type == EmfCanvas::kSetTextColor) {
      coloured = true;
      EXPECT_EQ(le32(emf, r.offset + 8), settings.colour(kColourCopper1));
    }
    if (r.type == EmfCanvas::kExtTextOutW) {
      text = &r;
      break;
    }
  }
  EXPECT_TRUE(selected);
  EXPECT_TRUE(coloured);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(le32(emf, text->offset + 24), 1u);             // compatible graphics mode
  EXPECT_EQ(int32_t(le32(emf, text->offset + 36)), 1000);  // anchored at the element
  EXPECT_EQ(int32_t(le32(emf, text->offset + 40)), -2000);
  const uint32_t chars = le32(emf, text->offset + 44);
  const uint32_t at = le32(emf, text->offset + 48);
  EXPECT_EQ(chars, 3u);
  EXPECT_EQ(at % 4, 0u);
  ASSERT_LE(at + 2 * chars, text->size);
  EXPECT_EQ(utf16At(emf, text->offset + at, chars), u"R\u03A95");
  EXPECT_EQ(text->size, 76u + 8u);  // six bytes of text padded to eight

  // The template: 30 x 20 units from the board corner moved by the offset,
  // one bit a pixel in its colour on the background, bottom row first.
  const EmfRecord* dib = firstOf(records, EmfCanvas::kStretchDiBits);
  ASSERT_NE(dib, nullptr);
  const size_t d = dib->offset;
  EXPECT_EQ(int32_t(le32(emf, d + 24)), 50);  // x: 10 x the X-offset
  EXPECT_EQ(int32_t(le32(emf, d + 28)), 0);
  EXPECT_EQ(le32(emf, d + 40), 3u);  // source width and height
  EXPECT_EQ(le32(emf, d + 44), 2u);
  EXPECT_EQ(le32(emf, d + 68), 0x00CC0020u);  // copied
  EXPECT_EQ(int32_t(le32(emf, d + 72)), 30);
  EXPECT_EQ(int32_t(le32(emf, d + 76)), -20);
  const uint32_t infoAt = le32(emf, d + 48), infoSize = le32(emf, d + 52);
  const uint32_t bitsAt = le32(emf, d + 56), bitsSize = le32(emf, d + 60);
  EXPECT_EQ(infoAt % 4, 0u);
  EXPECT_EQ(bitsAt % 4, 0u);
  EXPECT_EQ(infoSize, 40u + 8u);
  EXPECT_EQ(bitsAt, infoAt + infoSize);
  EXPECT_EQ(bitsSize, 2u * 4u);  // rows padded to four bytes
  EXPECT_EQ(dib->size, bitsAt + bitsSize);
  const size_t info = d + infoAt;
  EXPECT_EQ(int32_t(le32(emf, info + 4)), 3);
  EXPECT_EQ(int32_t(le32(emf, info + 8)), 2);  // positive: bottom row first
  EXPECT_EQ(le16(emf, info + 14), 1u);         // bits a pixel
  // Colour table: ink (red) then paper (the background), as blue, green, red.
  const TColour paper = settings.colour(kColourBackground);
  EXPECT_EQ((std::vector<uint8_t>(emf.begin() + long(info) + 40, emf.begin() + long(info) + 48)),
            (std::vector<uint8_t>{0, 0, 255, 0, uint8_t(paper >> 16), uint8_t(paper >> 8),
                                  uint8_t(paper), 0}));
  EXPECT_EQ(emf[d + bitsAt], 0b10100000);      // bottom row: light, dark, light
  EXPECT_EQ(emf[d + bitsAt + 4], 0b01000000);  // top row: dark, light, dark
}

TEST(Metafile, SelectionOnlyLeavesTheTemplateOut) {
  TObjektList list;
  list.push_back(createPad({1000, -1000}, 100, kPadRound, kCopper1, 40));
  list[0]->selected = 1;
  TBoardRecord state;
  state.activeLayer = kCopper1;
  state.template1Shown = 1;
  const CanvasImage scan = twoColourScan();
  TViewState view;
  view.setRecord(state);
  const auto emf = exportMetafile(list, state, view, TRenderSettings(), true, {&scan, nullptr});
  EXPECT_EQ(firstOf(parseEmf(emf), EmfCanvas::kStretchDiBits), nullptr);
}

// Straight onto the canvas: a colour picture keeps 24 bits, rows padded;
// texts share a font until it changes; every record stays a multiple of
// four bytes whatever the text's length.
TEST(EmfCanvasRecords, ColourPicturesFontChangesAndOddTextLengths) {
  EmfCanvas canvas(200, 100);
  CanvasMapping m;
  m.windowExtY = -1;
  canvas.setMapping(m);
  CanvasImage picture;
  picture.width = 2;
  picture.height = 2;
  picture.pixels = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456};
  canvas.image({0, 0, 20, -20}, picture);
  canvas.setPen({0x00FF00, 0, PenStyle::kSolid});
  const CanvasFont small{"Arial", -100, 400, 0};
  const CanvasFont turned{"Arial", -100, 400, -90};
  for (const char* t : {"a", "ab", "abc", "abcd", "abcde"})
    EXPECT_TRUE(canvas.text({5, -5}, t, small));
  EXPECT_TRUE(canvas.text({5, -5}, "x", turned));
  EXPECT_TRUE(canvas.text({5, -5}, "", turned));
  // A stray byte and a cut-off sequence each stand for one replacement
  // character; a four-byte character takes two code units.
  EXPECT_TRUE(canvas.text({5, -5},
                          "\xff"
                          "a\xce",
                          turned));
  EXPECT_TRUE(canvas.text({5, -5}, "\xf0\x9f\x98\x80", turned));
  const std::vector<uint8_t> emf = canvas.finish();
  const auto records = parseEmf(emf);
  expectWholeFile(emf, records);
  expectObjectsCreatedBeforeUse(emf, records);

  std::vector<uint32_t> escapements, textSizes;
  std::vector<std::u16string> texts;
  int colours = 0;
  for (const auto& r : records) {
    if (r.type == EmfCanvas::kExtCreateFontIndirectW)
      escapements.push_back(le32(emf, r.offset + 12 + 8));
    if (r.type == EmfCanvas::kExtTextOutW) {
      textSizes.push_back(uint32_t(r.size));
      texts.push_back(utf16At(emf, r.offset + le32(emf, r.offset + 48), le32(emf, r.offset + 44)));
    }
    colours += r.type == EmfCanvas::kSetTextColor;
  }
  EXPECT_EQ(escapements, (std::vector<uint32_t>{0, 2700}));  // -90 degrees is 270
  EXPECT_EQ(textSizes, (std::vector<uint32_t>{80, 80, 84, 84, 88, 80, 84, 80}));
  ASSERT_EQ(texts.size(), 8u);
  EXPECT_EQ(texts[4], u"abcde");
  EXPECT_EQ(texts[6], u"\uFFFDa\uFFFD");
  EXPECT_EQ(texts[7], u"\U0001F600");
  EXPECT_EQ(colours, 1);

  const EmfRecord* dib = firstOf(records, EmfCanvas::kStretchDiBits);
  ASSERT_NE(dib, nullptr);
  const size_t info = dib->offset + le32(emf, dib->offset + 48);
  EXPECT_EQ(le16(emf, info + 14), 24u);
  EXPECT_EQ(le32(emf, dib->offset + 52), 40u);  // no colour table
  const size_t bits = dib->offset + le32(emf, dib->offset + 56);
  EXPECT_EQ(le32(emf, dib->offset + 60), 2u * 8u);
  // Bottom row first, blue, green, red: 0xFF0000 (blue), then 0x123456.
  EXPECT_EQ((std::vector<uint8_t>(emf.begin() + long(bits), emf.begin() + long(bits) + 8)),
            (std::vector<uint8_t>{255, 0, 0, 0x12, 0x34, 0x56, 0, 0}));
  EXPECT_EQ((std::vector<uint8_t>(emf.begin() + long(bits) + 8, emf.begin() + long(bits) + 14)),
            (std::vector<uint8_t>{0, 0, 255, 0, 255, 0}));
}

}  // namespace
}  // namespace plavesk
