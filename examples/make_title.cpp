// Draws the title picture "TITEL.BMP" of the about and splash windows: a
// small board with the program's name in the stroke font, rendered by the
// same passes as image export.
#include <cstdio>
#include <string>

#include "document/file_io.h"
#include "view/bmp_file.h"
#include "view/image_export.h"
#include "view/stroke_font.h"

using namespace plavesk;

namespace {

TObjekt& add(TObjektList& list, TObjektPtr e) {
  list.push_back(std::move(e));
  return *list.back();
}

void track(TObjektList& list, int layer, int32_t width, std::vector<TPoint> points) {
  add(list, createTrack(width, layer)).points = std::move(points);
}

void text(TObjektList& list, TPoint at, const std::string& s, double heightMm, int layer) {
  TTextSettings settings;
  settings.text = s;
  settings.height = heightMm;
  settings.thickness = kBold;
  TTextCounter counter;
  TTextContext context{layer, 0, 1.0};
  createTextElement(list, at, settings, counter, context);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_title OUT.BMP\n");
    return 1;
  }
  TLayout layout;
  layout.addBoard("Titel");
  TBoardRecord& board = layout.working();
  board.width = 12000;
  board.height = 4000;
  TObjektList& l = layout.elements();

  // A row of pads along the bottom edge, fanned out by tracks on both sides.
  for (int i = 0; i < 10; ++i) {
    const TPoint pad{1500 + i * 1000, -3300};
    add(l, createPad(pad, 170, i == 0 ? kPadSquare : kPadRound, kCopper1, 50));
    track(l, i % 2 ? kCopper2 : kCopper1, 110,
          {pad, {pad.x, -2900}, {pad.x + 400, -2500}, {pad.x + 400, -2300}});
  }
  // SMD pads on the right, a ring in the corner.
  for (int i = 0; i < 4; ++i) add(l, createSmdPad({11300, -700 - i * 300}, 160, kCopper1, 90));
  add(l, createCircle({600, -600}, 300, kPadRound, kCopper1, 120));
  text(l, {1200, -1750}, "Plavesk 4.0", 11.0, kSilk1);

  const TImageSize size{480, 160};
  TRenderSettings settings;
  const RasterImage image = renderBoardImage(l, board, settings, size);
  const std::vector<uint8_t> bmp = encodeBmp24(image, 96);
  std::string error;
  if (!writeFileAtomically(argv[1], bmp, error)) {
    std::fprintf(stderr, "make_title: %s\n", error.c_str());
    return 2;
  }
  return 0;
}
