#include "view/stroke_font.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "document/text_codec.h"
#include "view/geometry.h"
#include "view/units.h"

namespace plavesk {
namespace {

constexpr const char* kNoGlyph = "ZZZZZZ";
// The capital O shares the glyph of the digit 0, the small l that of the I.
constexpr const char* kGlyphZero =
    "XXXXXX+40+65+40+15+35+05+25+00+15+00+05+05+00+15+00+65+05+75+15+80+25+80+35+75+40+65ZZZZZZ";
constexpr const char* kGlyphCapitalI = "XXXXXX+00+00+00+80ZZZZZZ";

struct GlyphEntry {
  uint8_t code;
  const char* glyph;
};

// Keyed by Windows-1252 code; glyph units, x 0..60, y -20..85, y up.
// clang-format off
constexpr GlyphEntry kGlyphs[] = {
    {33, "XXXXXX+00+80+00+20XXXXXX+00+00+00+00ZZZZZZ"},
    {34, "XXXXXX+00+80+00+60XXXXXX+15+80+15+60ZZZZZZ"},
    {35, "XXXXXX+05+50+50+50XXXXXX+00+25+45+25XXXXXX+10+10+20+65XXXXXX+30+10+40+65ZZZZZZ"},
    {37, "XXXXXX+10+00+50+80XXXXXX+55+25+45+25+40+20+40+10+45+05+55+05+60+10+60+20+55+25XXXXXX+15+75+05+75+00+70+00+60+05+55+15+55+20+60+20+70+15+75ZZZZZZ"},
    {38, "XXXXXX+50+10+10+50+05+60+05+70+15+80+25+80+35+70+35+60+30+50+05+35+00+25+00+15+05+05+15+00+25+00+35+05+45+25ZZZZZZ"},
    {40, "XXXXXX+15+80+05+75+00+65+00+15+05+05+15+00ZZZZZZ"},
    {41, "XXXXXX+00+80+10+75+15+65+15+15+10+05+00+00ZZZZZZ"},
    {42, "XXXXXX+00+35+40+35XXXXXX+20+55+20+15XXXXXX+05+50+35+20XXXXXX+05+20+35+50ZZZZZZ"},
    {43, "XXXXXX+00+35+40+35XXXXXX+20+55+20+15ZZZZZZ"},
    {44, "XXXXXX+10+00+10-10+05-20+00-20ZZZZZZ"},
    {45, "XXXXXX+00+35+40+35ZZZZZZ"},
    {46, "XXXXXX+00+00+00+00ZZZZZZ"},
    {47, "XXXXXX+00+00+40+80ZZZZZZ"},
    {48, kGlyphZero},
    {49, "XXXXXX+00+50+25+80+25+00ZZZZZZ"},
    {50, "XXXXXX+40+00+00+00+00+05+05+15+35+45+40+55+40+65+35+75+25+80+15+80+05+75+00+65ZZZZZZ"},
    {51, "XXXXXX+00+65+05+75+15+80+25+80+35+75+40+65+40+55+35+45+25+40+35+35+40+25+40+15+35+05+25+00+15+00+05+05+00+15ZZZZZZ"},
    {52, "XXXXXX+30+00+30+80+00+30+00+20+40+20ZZZZZZ"},
    {53, "XXXXXX+40+80+00+80+00+45+05+45+15+50+25+50+35+45+40+35+40+15+35+05+25+00+15+00+05+05+00+15ZZZZZZ"},
    {54, "XXXXXX+40+65+35+75+25+80+15+80+05+75+00+65+00+40+00+35+15+45+25+45+35+40+40+30+40+15+35+05+25+00+15+00+05+05+00+15+00+40ZZZZZZ"},
    {55, "XXXXXX+00+80+40+80+35+70+25+55+15+35+10+20+10+00ZZZZZZ"},
    {56, "XXXXXX+25+40+15+40+05+45+00+55+00+65+05+75+15+80+25+80+35+75+40+65+40+55+35+45+25+40+35+35+40+25+40+15+35+05+25+00+15+00+05+05+00+15+00+25+05+35+15+40ZZZZZZ"},
    {57, "XXXXXX+00+15+05+05+15+00+25+00+35+05+40+15+40+40+40+45+25+35+15+35+05+40+00+50+00+65+05+75+15+80+25+80+35+75+40+65+40+40ZZZZZZ"},
    {58, "XXXXXX+00+00+00+00XXXXXX+00+45+00+45ZZZZZZ"},
    {60, "XXXXXX+00+35+40+55XXXXXX+00+35+40+15ZZZZZZ"},
    {61, "XXXXXX+00+45+40+45XXXXXX+00+25+40+25ZZZZZZ"},
    {62, "XXXXXX+00+55+40+35XXXXXX+00+15+40+35ZZZZZZ"},
    {63, "XXXXXX+20+20+20+35+25+40+35+45+40+55+40+65+35+75+25+80+15+80+05+75+00+65XXXXXX+20+00+20+00ZZZZZZ"},
    {65, "XXXXXX+00+00+25+80+50+00XXXXXX+10+30+40+30ZZZZZZ"},
    {66, "XXXXXX+00+00+00+80+25+80+35+75+40+65+40+55+35+45+25+40+35+35+40+25+40+15+35+05+25+00+00+00XXXXXX+00+40+25+40ZZZZZZ"},
    {67, "XXXXXX+40+15+35+05+25+00+15+00+05+05+00+15+00+65+05+75+15+80+25+80+35+75+40+65ZZZZZZ"},
    {68, "XXXXXX+00+00+00+80+25+80+35+75+40+65+40+15+35+05+25+00+00+00ZZZZZZ"},
    {69, "XXXXXX+35+00+00+00+00+80+35+80XXXXXX+00+40+35+40ZZZZZZ"},
    {70, "XXXXXX+00+00+00+80+35+80XXXXXX+00+40+35+40ZZZZZZ"},
    {71, "XXXXXX+20+40+40+40+40+15+35+05+25+00+15+00+05+05+00+15+00+65+05+75+15+80+25+80+35+75+40+65ZZZZZZ"},
    {72, "XXXXXX+00+00+00+80XXXXXX+40+00+40+80XXXXXX+00+40+40+40ZZZZZZ"},
    {73, kGlyphCapitalI},
    {74, "XXXXXX+40+80+40+15+35+05+25+00+15+00+05+05+00+15ZZZZZZ"},
    {75, "XXXXXX+00+00+00+80XXXXXX+00+25+40+80XXXXXX+15+40+40+00ZZZZZZ"},
    {76, "XXXXXX+00+80+00+00+35+00ZZZZZZ"},
    {77, "XXXXXX+00+00+00+80+25+30+50+80+50+00ZZZZZZ"},
    {78, "XXXXXX+00+00+00+80+40+00+40+80ZZZZZZ"},
    {79, kGlyphZero},  // O
    {80, "XXXXXX+00+00+00+80+25+80+35+75+40+65+40+55+35+45+25+40+00+40ZZZZZZ"},
    {81, "XXXXXX+20+15+45+00XXXXXX+40+65+40+15+35+05+25+00+15+00+05+05+00+15+00+65+05+75+15+80+25+80+35+75+40+65ZZZZZZ"},
    {82, "XXXXXX+20+40+35+30+40+20+40+00XXXXXX+00+00+00+80+25+80+35+75+40+65+40+55+35+45+25+40+00+40ZZZZZZ"},
    {83, "XXXXXX+00+15+05+05+15+00+25+00+35+05+40+15+40+25+35+35+25+40+15+40+05+45+00+55+00+65+05+75+15+80+25+80+35+75+40+65ZZZZZZ"},
    {84, "XXXXXX+20+00+20+80XXXXXX+00+80+40+80ZZZZZZ"},
    {85, "XXXXXX+00+80+00+15+05+05+15+00+25+00+35+05+40+15+40+80ZZZZZZ"},
    {86, "XXXXXX+00+80+25+00+50+80ZZZZZZ"},
    {87, "XXXXXX+00+80+00+00+25+50+50+00+50+80ZZZZZZ"},
    {88, "XXXXXX+00+80+50+00XXXXXX+00+00+50+80ZZZZZZ"},
    {89, "XXXXXX+00+80+25+40+25+00XXXXXX+25+40+50+80ZZZZZZ"},
    {90, "XXXXXX+00+80+40+80+00+00+40+00ZZZZZZ"},
    {92, "XXXXXX+40+00+00+80ZZZZZZ"},
    {95, "XXXXXX+00+00+50+00ZZZZZZ"},
    {97, "XXXXXX+00+40+10+45+22+45+30+35+30+00XXXXXX+30+15+25+25+15+27+05+25+00+15+02+05+10+00+15+00+17+00+25+05+30+15ZZZZZZ"},
    {98, "XXXXXX+00+00+00+80XXXXXX+00+32+05+42+15+45+25+42+30+32+30+12+25+02+15+00+05+02+00+12ZZZZZZ"},
    {99, "XXXXXX+25+42+15+45+05+42+00+32+00+12+05+02+15+00+25+02ZZZZZZ"},
    {100, "XXXXXX+30+00+30+80XXXXXX+30+32+25+42+15+45+05+42+00+32+00+12+05+02+15+00+25+02+30+12ZZZZZZ"},
    {101, "XXXXXX+30+05+22+00+12+00+02+05+00+15+00+32+05+42+15+45+25+42+30+35+30+25+00+25ZZZZZZ"},
    {102, "XXXXXX+10+00+10+75+15+80+20+77XXXXXX+00+45+20+45ZZZZZZ"},
    {103, "XXXXXX+00-15+10-20+17-20+27-15+30-05+30+45XXXXXX+30+32+25+42+15+45+05+42+00+32+00+12+05+02+15+00+25+02+30+12ZZZZZZ"},
    {104, "XXXXXX+00+00+00+80XXXXXX+00+32+05+42+15+45+25+42+30+32+30+00ZZZZZZ"},
    {105, "XXXXXX+00+00+00+45XXXXXX+00+60+00+60ZZZZZZ"},
    {106, "XXXXXX+10+60+10+60XXXXXX+00-20+05-20+10-12+10+45ZZZZZZ"},
    {107, "XXXXXX+00+00+00+80XXXXXX+15+30+30+00XXXXXX+00+20+30+45ZZZZZZ"},
    {108, kGlyphCapitalI},  // l
    {109, "XXXXXX+00+00+00+45XXXXXX+00+37+10+45+20+42+25+35+25+00XXXXXX+25+37+35+45+45+42+50+35+50+00ZZZZZZ"},
    {110, "XXXXXX+00+00+00+45XXXXXX+00+35+05+42+15+45+25+42+30+35+30+00ZZZZZZ"},
    {111, "XXXXXX+30+12+30+32+25+42+15+45+05+42+00+32+00+12+05+02+15+00+25+02+30+12ZZZZZZ"},
    {112, "XXXXXX+00+45+00-20XXXXXX+00+15+05+02+15+00+25+02+30+12+30+32+25+42+15+45+05+42+00+30ZZZZZZ"},
    {113, "XXXXXX+30+45+30-20XXXXXX+30+12+25+02+15+00+05+02+00+12+00+32+05+42+15+45+25+42+30+32ZZZZZZ"},
    {114, "XXXXXX+00+00+00+45XXXXXX+00+35+10+45+20+45ZZZZZZ"},
    {115, "XXXXXX+00+05+10+00+20+00+30+05+30+15+25+20+05+25+00+30+00+40+10+45+20+45+30+40ZZZZZZ"},
    {116, "XXXXXX+10+80+10+05+15+00+20+02XXXXXX+00+45+20+45ZZZZZZ"},
    {117, "XXXXXX+30+45+30+00XXXXXX+30+10+25+02+15+00+05+02+00+10+00+45ZZZZZZ"},
    {118, "XXXXXX+00+45+20+00+40+45ZZZZZZ"},
    {119, "XXXXXX+00+45+15+00+30+45+45+00+55+45ZZZZZZ"},
    {120, "XXXXXX+00+45+40+00XXXXXX+00+00+40+45ZZZZZZ"},
    {121, "XXXXXX+00+45+20+00+40+45XXXXXX+20+00+15-15+10-20+05-20ZZZZZZ"},
    {122, "XXXXXX+00+45+30+45+00+00+30+00ZZZZZZ"},
    {181, "XXXXXX+00+45+00-20XXXXXX+30+45+30+00XXXXXX+30+10+25+02+15+00+05+02+00+10+00+45ZZZZZZ"},
    {196, "XXXXXX+00+00+25+80+50+00XXXXXX+10+30+40+30XXXXXX+05+85+05+85XXXXXX+45+85+45+85ZZZZZZ"},
    {214, "XXXXXX+40+60+40+15+35+05+25+00+15+00+05+05+00+15+00+60+05+70+15+75+25+75+35+70+40+60XXXXXX+00+85+00+85XXXXXX+40+85+40+85ZZZZZZ"},
    {220, "XXXXXX+00+70+00+15+05+05+15+00+25+00+35+05+40+15+40+70XXXXXX+00+85+00+85XXXXXX+40+85+40+85ZZZZZZ"},
    {223, "XXXXXX+00+00+00+70+10+75+20+70+25+60+25+50+15+40XXXXXX+15+40+25+40+30+35+35+25+35+15+30+05+25+00+15+00+10+05ZZZZZZ"},
    {228, "XXXXXX+05+60+05+60XXXXXX+25+60+25+60XXXXXX+00+40+10+45+22+45+30+35+30+00XXXXXX+30+15+25+25+15+27+05+25+00+15+02+05+10+00+15+00+17+00+25+05+30+15ZZZZZZ"},
    {246, "XXXXXX+05+60+05+60XXXXXX+25+60+25+60XXXXXX+30+12+30+32+25+42+15+45+05+42+00+32+00+12+05+02+15+00+25+02+30+12ZZZZZZ"},
    {252, "XXXXXX+00+60+00+60XXXXXX+30+60+30+60XXXXXX+30+45+30+00XXXXXX+30+10+25+02+15+00+05+02+00+10+00+45ZZZZZZ"},
};
// clang-format on

const std::array<const char*, 256>& glyphTable() {
  static const std::array<const char*, 256> table = [] {
    std::array<const char*, 256> t;
    t.fill(kNoGlyph);
    for (const auto& g : kGlyphs) t[g.code] = g.glyph;
    return t;
  }();
  return table;
}

// Round half to even into the i32 range; huge heights from damaged files
// saturate instead of overflowing.
int32_t roundClamped(double v) {
  if (std::isnan(v)) return 0;
  constexpr double lo = std::numeric_limits<int32_t>::min();
  constexpr double hi = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::clamp(std::nearbyint(v), lo, hi));
}

int32_t clampToUnit(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

int parseSignedTwoDigits(const char* t) {
  int v = (t[1] - '0') * 10 + (t[2] - '0');
  return t[0] == '-' ? -v : v;
}

int normalisedQuarterTurns(int orientation) {
  return ((orientation % 4) + 4) % 4;
}

int normalisedChoice(int v) {
  return v >= 0 && v <= 2 ? v : 1;
}

}  // namespace

const char* glyphString(uint8_t code) {
  return glyphTable()[code];
}

TGlyphToken glyphToken(uint8_t code, int k) {
  const std::string_view g = glyphString(code);
  TGlyphToken token;
  if (k < 0 || size_t(k) * 6 + 6 > g.size()) return token;
  const char* t = g.data() + size_t(k) * 6;
  if (t[0] == 'X') {
    token.kind = GlyphTokenKind::penUp;
  } else if (t[0] == 'Z') {
    token.kind = GlyphTokenKind::end;
  } else {
    token.kind = GlyphTokenKind::point;
    token.point = TPoint{parseSignedTwoDigits(t), parseSignedTwoDigits(t + 3)};
  }
  return token;
}

int glyphWidth(uint8_t code) {
  if (code == ' ') return 1;
  int width = 0;
  for (int k = 0;; ++k) {
    TGlyphToken t = glyphToken(code, k);
    if (t.kind == GlyphTokenKind::end) break;
    if (t.kind == GlyphTokenKind::point && t.point.x >= 0) width = std::max(width, t.point.x);
  }
  return width;
}

std::vector<int> glyphCodes(const std::string& utf8) {
  std::vector<int> codes;
  for (size_t i = 0; i < utf8.size();) {
    auto lead = static_cast<uint8_t>(utf8[i]);
    size_t len = lead < 0x80         ? 1
                 : (lead >> 5) == 6  ? 2
                 : (lead >> 4) == 14 ? 3
                 : (lead >> 3) == 30 ? 4
                                     : 1;
    if (i + len > utf8.size()) len = 1;
    const std::string one = utf8.substr(i, len);
    const std::string coded = utf8ToCp1252(one);
    // The codec writes '?' for characters it cannot encode; those get no glyph
    // rather than the question mark's.
    if (coded.size() == 1 && (coded[0] != '?' || one == "?"))
      codes.push_back(static_cast<uint8_t>(coded[0]));
    else
      codes.push_back(-1);
    i += len;
  }
  return codes;
}

TStrokeMetrics strokeMetrics(double heightMm, int thickness, int spacing) {
  TStrokeMetrics m;
  m.scale = heightMm * 100.0 / 90.0;
  static constexpr double kStretch[3] = {0.8, 1.2, 1.6};
  static constexpr double kWidthDivisor[3] = {1.8, 1.0, 0.7};
  static constexpr double kGapUnits[3] = {16.0, 22.0, 28.0};
  const int th = normalisedChoice(thickness);
  m.stretch = kStretch[normalisedChoice(spacing)];
  m.strokeWidth = roundClamped(10.0 * m.scale / kWidthDivisor[th]);
  m.gap = roundClamped(kGapUnits[th] * m.scale);
  return m;
}

TPoint generateStrokes(TPoint p, const std::string& text, double heightMm, int thickness,
                       int spacing, int layer, int32_t clearance, TObjektList& target) {
  const TStrokeMetrics m = strokeMetrics(heightMm, thickness, spacing);
  int64_t qx = p.x;
  for (int code : glyphCodes(text)) {
    if (code >= 0) {
      TObjekt* stroke = nullptr;
      for (int k = 0;; ++k) {
        const TGlyphToken t = glyphToken(static_cast<uint8_t>(code), k);
        if (t.kind == GlyphTokenKind::end) break;
        if (t.kind == GlyphTokenKind::penUp) {
          auto track = createTrack(m.strokeWidth, layer);
          track->clearance = clearance;
          stroke = track.get();
          target.push_back(std::move(track));
        } else if (stroke) {
          const int64_t x = qx + roundClamped(t.point.x * m.scale * m.stretch);
          const int64_t y = int64_t(p.y) + roundClamped(t.point.y * m.scale);
          addPoint(*stroke, TPoint{clampToUnit(x), clampToUnit(y)});
        }
      }
    }
    const int width = code >= 0 ? glyphWidth(static_cast<uint8_t>(code)) : 0;
    qx = clampToUnit(qx + int64_t(roundClamped(width * m.scale * m.stretch)) + m.gap);
  }
  return TPoint{clampToUnit(qx), p.y};
}

std::string textWithNumber(const TTextSettings& settings, const TTextCounter& counter) {
  if (!settings.addNumber) return settings.text;
  return settings.text + std::to_string(counter.value);
}

bool hasStrokes(const TObjekt& text) {
  return !text.strokes.empty() && !text.strokes.front()->points.empty();
}

TObjekt& createTextElement(TObjektList& target, TPoint p, const TTextSettings& settings,
                           TTextCounter& counter, const TTextContext& context) {
  const std::string drawn = textWithNumber(settings, counter);
  if (settings.addNumber) ++counter.value;

  const int orientation = normalisedQuarterTurns(settings.orientation);
  auto text =
      createText(p, settings.text, settings.mirrorV, settings.mirrorH, context.layer, orientation,
                 normalisedChoice(settings.spacing), normalisedChoice(settings.thickness),
                 roundClamped(settings.height * 100.0));
  generateStrokes(p, drawn, settings.height, settings.thickness, settings.spacing, context.layer,
                  context.clearance, text->strokes);

  // Without strokes the text has no box to turn or align.
  if (hasStrokes(*text)) {
    const TRect b = elementBounds(*text);
    const TPoint centre = snapToGrid(
        TPoint{b.left + (b.right - b.left) / 2, b.bottom - (b.bottom - b.top) / 2}, context.grid);
    // Turning advances the stored orientation; it keeps the dialog's value.
    for (int i = 0; i < orientation; ++i) {
      rotateElement(*text, centre);
      if (--text->angle < 0) text->angle += 4;
    }
    // Mirroring toggles the flags; they keep the dialog's values.
    if (settings.mirrorV) {
      mirrorElementV(*text, centre);
      text->mirrorV ^= 1;
    }
    if (settings.mirrorH) {
      mirrorElementH(*text, centre);
      text->mirrorH ^= 1;
    }
    const TRect placed = elementBounds(*text);
    moveElement(*text, p.x - placed.left, p.y - placed.top);
  }

  text->clearance = context.clearance;
  target.push_back(std::move(text));
  return *target.back();
}

TPoint textExtentEstimate(const TTextSettings& settings, const TTextCounter& counter) {
  const double s = settings.height * 100.0 / 90.0;
  const std::vector<int> codes = glyphCodes(textWithNumber(settings, counter));
  int64_t w = 0;
  for (int code : codes)
    if (code >= 0) w += roundClamped(glyphWidth(static_cast<uint8_t>(code)) * s);
  if (!codes.empty()) w += int64_t(codes.size() - 1) * roundClamped(1.7 * s);
  const int32_t width = clampToUnit(w);
  const int32_t h = roundClamped(8.0 * s);
  switch (normalisedQuarterTurns(settings.orientation)) {
    case 1:
      return TPoint{h, -width};
    case 2:
      return TPoint{-width, -h};
    case 3:
      return TPoint{-h, width};
    default:
      return TPoint{width, h};
  }
}

TTextSettings textSettingsFromElement(const TObjekt& text) {
  TTextSettings s;
  s.text = text.text;
  s.height = text.dim1 / 100.0;
  s.thickness = normalisedChoice(text.dim2);
  s.spacing = normalisedChoice(text.dim3);
  s.orientation = normalisedQuarterTurns(text.angle);
  s.mirrorH = text.mirrorH != 0;
  s.mirrorV = text.mirrorV != 0;
  return s;
}

}  // namespace plavesk
