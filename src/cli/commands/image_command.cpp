// image: the picture of a board as PNG, BMP, GIF, EMF or SVG, drawn by the
// same passes as the main view and the export menu.
#include <algorithm>
#include <cctype>
#include <ostream>
#include <sstream>

#include "cli/commands/cli_command.h"
#include "document/file_io.h"
#include "view/bmp_file.h"
#include "view/gif_file.h"
#include "view/image_export.h"
#include "view/metafile_export.h"
#include "view/png_file.h"
#include "view/render_settings.h"
#include "view/view_state.h"
#ifdef PLAVESK_WITH_QT
#include "platform/qt/svg_picture.h"
#endif

namespace plavesk {
namespace {

enum class ImageFormat { kPng, kBmp, kGif, kEmf, kSvg };

std::optional<ImageFormat> formatOf(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos) return std::nullopt;
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  if (ext == "png") return ImageFormat::kPng;
  if (ext == "bmp") return ImageFormat::kBmp;
  if (ext == "gif") return ImageFormat::kGif;
  if (ext == "emf") return ImageFormat::kEmf;
  if (ext == "svg") return ImageFormat::kSvg;
  return std::nullopt;
}

// "C1,S1,C2,S2" (or the German K1, B1, K2, B2): the visible layers.
std::optional<std::array<uint8_t, 4>> parseLayers(const std::string& text, std::ostream& err) {
  std::array<uint8_t, 4> visible{0, 0, 0, 0};
  std::stringstream in(text);
  std::string item;
  bool any = false;
  while (std::getline(in, item, ',')) {
    std::transform(item.begin(), item.end(), item.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    int layer = 0;
    if (item == "C1" || item == "K1") layer = 1;
    if (item == "S1" || item == "B1") layer = 2;
    if (item == "C2" || item == "K2") layer = 3;
    if (item == "S2" || item == "B2") layer = 4;
    if (!layer) {
      err << "--layers " << text << ": expected a list of C1, S1, C2, S2\n";
      return std::nullopt;
    }
    visible[size_t(layer - 1)] = 1;
    any = true;
  }
  if (!any) {
    err << "--layers: no layer given\n";
    return std::nullopt;
  }
  return visible;
}

struct ImageRequest {
  ImageFormat format = ImageFormat::kPng;
  std::string output;
  double dpi = kExportDefaultDpi;
  bool colour = true;
  TPhotoOptions photo;
  bool photoView = false;
  std::optional<std::array<uint8_t, 4>> layers;
};

std::optional<ImageRequest> parseRequest(const CliArguments& a, std::ostream& err) {
  ImageRequest r;
  if (!a.has("-o")) {
    err << "image: -o OUT is required\n";
    return std::nullopt;
  }
  r.output = a.value("-o");
  const auto format = formatOf(r.output);
  if (!format) {
    err << "-o " << r.output << ": the name must end in .png, .bmp, .gif, .emf or .svg\n";
    return std::nullopt;
  }
  r.format = *format;
#ifndef PLAVESK_WITH_QT
  if (r.format == ImageFormat::kSvg) {
    err << "image: this build has no SVG pictures (built without Qt)\n";
    return std::nullopt;
  }
#endif
  if (a.has("--color") && a.has("--bw")) {
    err << "--color and --bw exclude each other\n";
    return std::nullopt;
  }
  r.colour = !a.has("--bw");
  if (!r.colour && r.format != ImageFormat::kBmp && r.format != ImageFormat::kPng) {
    err << "--bw applies to .bmp and .png pictures\n";
    return std::nullopt;
  }
  const auto dpi =
      parseNumberOption(a, "--dpi", kExportDefaultDpi, kExportMinDpi, kExportMaxDpi, err);
  if (!dpi) return std::nullopt;
  r.dpi = *dpi;
  r.photoView = a.has("--photo");
  if (!r.photoView && (a.has("--side") || a.has("--shine-through"))) {
    err << "--side and --shine-through need --photo\n";
    return std::nullopt;
  }
  const auto side = parseNumberOption(a, "--side", 1, 1, 2, err);
  if (!side) return std::nullopt;
  if (*side != 1 && *side != 2) {
    err << "--side: expected 1 or 2\n";
    return std::nullopt;
  }
  r.photo.side = int(*side);
  r.photo.xray = a.has("--shine-through");
  r.photo.silkscreen = true;
  if (a.has("--layers")) {
    r.layers = parseLayers(a.value("--layers"), err);
    if (!r.layers) return std::nullopt;
  }
  return r;
}

// The templates shown on the board, read from their files; a template that
// cannot be read is left out with a note.
struct LoadedTemplates {
  CanvasImage images[2];
  TTemplateImages pointers;
};
void loadTemplates(const TBoardRecord& state, LoadedTemplates& t, std::ostream& err) {
  const std::string* files[2] = {&state.template1File, &state.template2File};
  const bool shown[2] = {state.template1Shown != 0, state.template2Shown != 0};
  for (int i = 0; i < 2; ++i) {
    if (!shown[i] || files[i]->empty()) continue;
    std::vector<uint8_t> data;
    std::string error;
    TBmpReadResult bmp;
    if (readWholeFile(*files[i], data, error)) bmp = decodeBmp(data);
    if (!bmp.ok) {
      err << "note: template " << *files[i] << " left out: " << (error.empty() ? bmp.error : error)
          << "\n";
      continue;
    }
    t.images[i] = std::move(bmp.image);
    (i == 0 ? t.pointers.side1 : t.pointers.side2) = &t.images[i];
  }
}

// Black-and-white PNG: the same reduction as the 1-bit bitmap.
void reduceToMonochrome(RasterImage& image, CanvasColour background) {
  for (int32_t y = 0; y < image.height(); ++y)
    for (int32_t x = 0; x < image.width(); ++x)
      image.setPixel(x, y, isBlackInMonochrome(image.pixel(x, y), background) ? kBlack : kWhite);
}

int runImage(const CliArguments& a, std::ostream& out, std::ostream& err) {
  const auto request = parseRequest(a, err);
  if (!request) return kExitUsage;
  TLayout layout;
  TReadReport report;
  if (!openLayoutForCli(a.positional[0], layout, report, err)) return kExitFailed;
  if (!selectBoardForCli(a, layout, err)) return kExitUsage;

  TBoardRecord& state = layout.working();
  if (state.width <= 0 || state.height <= 0) {
    err << "image: the board has no area\n";
    return kExitFailed;
  }
  if (request->layers) {
    state.layerVisible = *request->layers;
    // The active layer is always shown: take the first one asked for.
    if (!state.layerVisible[size_t(state.activeLayer - 1)])
      for (int layer = 1; layer <= 4; ++layer)
        if (state.layerVisible[size_t(layer - 1)]) {
          state.activeLayer = layer;
          break;
        }
  }
  TRenderSettings settings;
  settings.photoView = request->photoView;
  settings.photo = request->photo;
  LoadedTemplates templates;
  if (!request->photoView) loadTemplates(state, templates, err);

  const TImageSize size = exportImageSize(state.width, state.height, request->dpi);
  if (size.width <= 0 || size.height <= 0) {
    err << "image: the picture would be empty at " << request->dpi << " dpi\n";
    return kExitFailed;
  }
  TObjektList& list = layout.elements();
  std::vector<uint8_t> bytes;
  std::string error;
  TImageSize reported = size;
  switch (request->format) {
    case ImageFormat::kPng:
    case ImageFormat::kBmp:
    case ImageFormat::kGif: {
      RasterImage image = renderBoardImage(list, state, settings, size, templates.pointers);
      const CanvasColour background = settings.colour(kColourBackground);
      if (request->format == ImageFormat::kBmp) {
        bytes = request->colour ? encodeBmp24(image, request->dpi)
                                : encodeBmp1(image, request->dpi, background);
      } else if (request->format == ImageFormat::kPng) {
        if (!request->colour) reduceToMonochrome(image, background);
        if (!encodePng(image, request->dpi, bytes, error)) {
          err << "image: " << error << "\n";
          return kExitFailed;
        }
      } else {
        const TPaletteImage palette = toPaletteImage(image);
        image = RasterImage();
        if (!encodeGif(palette, bytes, error)) {
          err << "image: " << error << "\n";
          return kExitFailed;
        }
      }
      break;
    }
    case ImageFormat::kEmf: {
      TViewState view;
      view.setRecord(state);
      view.setScroll(0, 0);
      bytes = exportMetafile(list, state, view, settings, false, templates.pointers);
      reported = {view.surfaceWidth(), view.surfaceHeight()};
      break;
    }
    case ImageFormat::kSvg: {
#ifdef PLAVESK_WITH_QT
      ensureGuiApplication();
      bytes = renderSvg(size.width, size.height, request->dpi, [&](Canvas& canvas) {
        canvas.setMapping(exportMapping(state.width, state.height, size,
                                        settings.photoView && settings.photo.mirrored()));
        drawBoardPicture(list, canvas, state, settings, templates.pointers);
      });
#endif
      break;
    }
  }
  if (!writeFileAtomically(request->output, bytes, error)) {
    err << "image: " << error << "\n";
    return kExitFailed;
  }
  out << request->output << " " << reported.width << " x " << reported.height << "\n";
  return kExitOk;
}

const CliRegistration image(
    "image", {"image FILE.lay -o OUT.png|.bmp|.gif|.emf|.svg [--board N] [--dpi D] [--color|--bw] "
              "[--photo [--side 1|2] [--shine-through]] [--layers C1,S1,C2,S2]",
              {"--color", "--bw", "--photo", "--shine-through"},
              {"-o", "--board", "--dpi", "--side", "--layers"},
              1,
              1,
              runImage});

}  // namespace
}  // namespace plavesk
