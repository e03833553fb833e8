#include "output/fab_export.h"

#include <filesystem>

#include "document/file_io.h"
#include "output/excellon_export.h"
#include "output/gerber_export.h"
#include "output/gerber_writer.h"

namespace plavesk {

namespace {

// Layer names in the files are the English ones.
constexpr int kFabLanguage = 1;

bool writeText(const std::string& path, const std::string& text, std::string& error) {
  return writeFileAtomically(path, std::vector<uint8_t>(text.begin(), text.end()), error);
}

}  // namespace

const std::vector<TFabFile>& fabFiles() {
  static const std::vector<TFabFile> files{
      {".GTL", "top copper (K1)", TGerberOutput::K1, false},
      {".GBL", "bottom copper (K2)", TGerberOutput::K2, false},
      {".GTO", "top silkscreen (B1)", TGerberOutput::B1, false},
      {".GBO", "bottom silkscreen (B2)", TGerberOutput::B2, false},
      {".GTS", "top solder mask (LStop1)", TGerberOutput::LStop1, false},
      {".GBS", "bottom solder mask (LStop2)", TGerberOutput::LStop2, false},
      {".GKO", "board outline", std::nullopt, false},
      {".DRL", "drill holes (Excellon, mm)", std::nullopt, true},
  };
  return files;
}

std::string gerberOutlineText(const TBoardRecord& board) {
  TGerberFile file;
  file.Open("OUTLINE");
  file.SetPenwidth(20);
  file.MoveTo(0, 0);
  file.LineTo(board.width, 0);
  file.LineTo(board.width, board.height);
  file.LineTo(0, board.height);
  file.LineTo(0, 0);
  return file.Finish();
}

TFabResult writeFabricationSet(const std::string& folder, const std::string& stem,
                               const TObjektList& elements, const TBoardRecord& board) {
  TFabResult result;
  for (const TFabFile& f : fabFiles()) {
    const std::string path = (std::filesystem::path(folder) / (stem + f.extension)).string();
    std::string text;
    if (f.output) {
      // Seen from side 1 and without the outline, which has a file of its
      // own: a board house reads every layer that way.
      TGerberOptions options = gerberDefaults(*f.output);
      options.mirror = false;
      options.outline = false;
      text = gerberText(elements, board, options, kFabLanguage);
    } else if (f.drill) {
      // Millimetres hold every size and position exactly; inch files round
      // them to a thousandth of an inch.
      text = excellonText(elements, board, TExcellonOptions{false, true, false});
    } else {
      text = gerberOutlineText(board);
    }
    if (!writeText(path, text, result.error)) return result;
    result.written.push_back(path);
  }
  result.ok = true;
  return result;
}

}  // namespace plavesk
