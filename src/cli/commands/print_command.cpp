// print: the sheet of the print window as a PDF file at true size, with the
// window's options and defaults.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <ostream>
#include <sstream>

#include "cli/commands/cli_command.h"
#include "document/file_io.h"
#include "printing/print_options.h"
#include "printing/print_sheet.h"
#include "printing/print_texts.h"
#include "view/bmp_file.h"
#include "view/units.h"
#ifdef PLAVESK_WITH_QT
#include "platform/qt/svg_picture.h"
#include "printing/qt/sheet_pdf.h"
#endif

namespace plavesk {
namespace {

bool endsWithPdf(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ext = path.substr(path.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return ext == ".pdf";
}

std::optional<double> number(const std::string& text) {
  double v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
    return std::nullopt;
  return v;
}

// "X Y" of a two-value option as numbers in [min, max].
std::optional<std::pair<double, double>> numberPair(const CliArguments& a, const std::string& flag,
                                                    double min, double max, std::ostream& err) {
  const std::string text = a.value(flag);
  const size_t blank = text.find(' ');
  const auto x = number(text.substr(0, blank));
  const auto y = blank == std::string::npos ? std::nullopt : number(text.substr(blank + 1));
  if (!x || !y || *x < min || *x > max || *y < min || *y > max) {
    err << flag << " " << text << ": expected two numbers from " << min << " to " << max << "\n";
    return std::nullopt;
  }
  return std::pair{*x, *y};
}

// K1 B1 K2 B2 LStop1 LStop2 Bohr1 Bohr2, comma separated; the English
// layer names C1 S1 C2 S2 are understood as well.
std::optional<std::array<bool, kPrintItemCount>> parsePrintLayers(const std::string& text,
                                                                  std::ostream& err) {
  static const std::pair<const char*, int> names[] = {
      {"k1", kPrintCopper1},   {"c1", kPrintCopper1},   {"b1", kPrintSilk1},
      {"s1", kPrintSilk1},     {"k2", kPrintCopper2},   {"c2", kPrintCopper2},
      {"b2", kPrintSilk2},     {"s2", kPrintSilk2},     {"lstop1", kPrintMask1},
      {"lstop2", kPrintMask2}, {"bohr1", kPrintDrill1}, {"bohr2", kPrintDrill2}};
  std::array<bool, kPrintItemCount> items{};
  std::stringstream in(text);
  std::string item;
  bool any = false;
  while (std::getline(in, item, ',')) {
    std::transform(item.begin(), item.end(), item.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    auto it = std::find_if(std::begin(names), std::end(names),
                           [&](const auto& n) { return item == n.first; });
    if (it == std::end(names)) {
      err << "--layers " << text
          << ": expected a comma separated list of K1, B1, K2, B2, LStop1, LStop2, Bohr1, Bohr2\n";
      return std::nullopt;
    }
    items[size_t(it->second)] = true;
    any = true;
  }
  if (!any) {
    err << "--layers: no layer given\n";
    return std::nullopt;
  }
  return items;
}

[[maybe_unused]] std::optional<TPrintOptions> parsePrintOptions(
    const CliArguments& a, double paperWidthMm, double paperHeightMm, int32_t boardWidth,
    int32_t boardHeight, std::ostream& err) {
  TPrintOptions o;
  if (a.has("--layers")) {
    const auto items = parsePrintLayers(a.value("--layers"), err);
    if (!items) return std::nullopt;
    o.items = *items;
  }
  o.mirror = a.has("--mirror");
  o.negative = a.has("--negative");
  o.targets = a.has("--targets");
  o.outline = !a.has("--no-outline");
  o.useTemplate = a.has("--template");
  if (a.has("--scale")) {
    const auto percent = number(a.value("--scale"));
    const double p = percent ? *percent / 10 : 0;
    if (!percent || p != std::floor(p) || p < kMinSlider || p > kMaxSlider) {
      err << "--scale " << a.value("--scale")
          << ": expected a percentage from 10 to 1000 in steps of 10\n";
      return std::nullopt;
    }
    o.freeScale = true;
    o.sliderPosition = int(p);
  }
  if (a.has("--tiles")) {
    const std::string text = a.value("--tiles");
    const size_t x = text.find_first_of("xX");
    int n = 0, m = 0;
    bool ok = x != std::string::npos;
    if (ok) {
      auto r1 = std::from_chars(text.data(), text.data() + x, n);
      auto r2 = std::from_chars(text.data() + x + 1, text.data() + text.size(), m);
      ok = r1.ec == std::errc() && r1.ptr == text.data() + x && r2.ec == std::errc() &&
           r2.ptr == text.data() + text.size();
    }
    if (!ok || n < kMinTiles || n > kMaxTiles || m < kMinTiles || m > kMaxTiles) {
      err << "--tiles " << text << ": expected NxM with N and M from " << kMinTiles << " to "
          << kMaxTiles << "\n";
      return std::nullopt;
    }
    o.tilesX = n;
    o.tilesY = m;
  }
  const auto gap = parseNumberOption(a, "--gap", 0, 0, kMaxTileGap / 100.0, err);
  if (!gap) return std::nullopt;
  o.tileGap = roundToUnit(*gap * 100);
  if (a.has("--correction")) {
    const std::string text = a.value("--correction");
    const size_t blank = text.find(' ');
    const auto cx = parseCorrectionFactor(text.substr(0, blank));
    const auto cy = parseCorrectionFactor(text.substr(blank + 1));
    if (!cx || !cy) {
      err << "--correction " << text << ": "
          << consoleText(std::string(print_texts::kCorrectionRange[kConsoleLanguage])) << "\n";
      return std::nullopt;
    }
    o.correctionX = *cx;
    o.correctionY = *cy;
  }
  if (a.has("--mask-offsets")) {
    const auto mask = numberPair(a, "--mask-offsets", kMinMaskEnlargement / 100.0,
                                 kMaxMaskEnlargement / 100.0, err);
    if (!mask) return std::nullopt;
    o.padMaskEnlargement = roundToUnit(mask->first * 100);
    o.smdMaskEnlargement = roundToUnit(mask->second * 100);
  }
  if (a.has("--offset") && a.has("--centre")) {
    err << "--offset and --centre exclude each other\n";
    return std::nullopt;
  }
  const double s = o.scaleDivisor();
  if (a.has("--offset")) {
    const auto offset = numberPair(a, "--offset", -1000, 1000, err);
    if (!offset) return std::nullopt;
    // Millimetres of paper from the printable area's corner to the block's.
    o.offsetX = -roundToUnit(offset->first * 100 * s);
    o.offsetY = roundToUnit(offset->second * 100 * s);
  } else {
    o.offsetX = roundToUnit(o.offsetX * s);
    o.offsetY = roundToUnit(o.offsetY * s);
  }
  if (a.has("--centre")) centreBlock(o, boardWidth, boardHeight, paperWidthMm, paperHeightMm);
  return o;
}

[[maybe_unused]] bool loadTemplate(const std::string& file, CanvasImage& image, std::ostream& err) {
  if (file.empty()) return false;
  std::vector<uint8_t> data;
  std::string error;
  TBmpReadResult bmp;
  if (readWholeFile(file, data, error)) bmp = decodeBmp(data);
  if (!bmp.ok) {
    err << "note: template " << file << " left out: " << (error.empty() ? bmp.error : error)
        << "\n";
    return false;
  }
  image = std::move(bmp.image);
  return true;
}

int runPrint(const CliArguments& a, std::ostream& out, std::ostream& err) {
  if (!a.has("-o")) {
    err << "print: -o OUT.pdf is required\n";
    return kExitUsage;
  }
  const std::string output = a.value("-o");
  if (!endsWithPdf(output)) {
    err << "-o " << output << ": the name must end in .pdf\n";
    return kExitUsage;
  }
#ifndef PLAVESK_WITH_QT
  (void)out;
  err << "print: this build has no PDF output (built without Qt)\n";
  return kExitFailed;
#else
  const auto paper = paperSize(a.value("--paper", "A4"));
  if (!paper) {
    err << "--paper " << a.value("--paper") << ": expected A4, A3 or Letter\n";
    return kExitUsage;
  }
  TLayout layout;
  TReadReport report;
  if (!openLayoutForCli(a.positional[0], layout, report, err)) return kExitFailed;
  if (!selectBoardForCli(a, layout, err)) return kExitUsage;
  const TBoardRecord& board = layout.working();
  const auto options =
      parsePrintOptions(a, paper->widthMm, paper->heightMm, board.width, board.height, err);
  if (!options) return kExitUsage;

  CanvasImage templates[2];
  TPrintSource source;
  source.elements = &layout.elements();
  source.board = &board;
  if (options->useTemplate) {
    if (options->items[kPrintCopper1] && loadTemplate(board.template1File, templates[0], err))
      source.templates.side1 = &templates[0];
    if (options->items[kPrintCopper2] && loadTemplate(board.template2File, templates[1], err))
      source.templates.side2 = &templates[1];
  }
  ensureGuiApplication();
  std::string error;
  if (!writeSheetPdf(output, source, *options, TRenderSettings(), *paper,
                     printJobTitle(a.positional[0]), error)) {
    err << "print: " << output << ": " << error << "\n";
    return kExitFailed;
  }
  out << output << " " << paper->name << "\n";
  return kExitOk;
#endif
}

const CliRegistration print(
    "print",
    {"print FILE.lay -o OUT.pdf [--board N] [--layers K1,B1,K2,B2,LStop1,LStop2,Bohr1,Bohr2] "
     "[--mirror] [--negative] [--targets] [--no-outline] [--template] [--scale PERCENT] "
     "[--tiles NxM] [--gap MM] [--offset X Y | --centre] [--correction CX CY] "
     "[--paper A4|A3|Letter] [--mask-offsets PAD SMD]",
     {"--mirror", "--negative", "--targets", "--no-outline", "--template", "--centre"},
     {"-o", "--board", "--layers", "--scale", "--tiles", "--gap", "--paper"},
     1,
     1,
     runPrint,
     {"--offset", "--correction", "--mask-offsets"}});

}  // namespace
}  // namespace plavesk
