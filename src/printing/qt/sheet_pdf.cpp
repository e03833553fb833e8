#include "printing/qt/sheet_pdf.h"

#include <algorithm>
#include <cctype>

#include "document/file_io.h"
#include "platform/qt/pdf_document.h"
#include "printing/print_texts.h"

namespace plavesk {

std::optional<TPaperSize> paperSize(const std::string& name) {
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  if (lower == "a4") return TPaperSize{"A4", 210, 297};
  if (lower == "a3") return TPaperSize{"A3", 297, 420};
  if (lower == "letter") return TPaperSize{"Letter", 215.9, 279.4};
  return std::nullopt;
}

std::string printJobTitle(const std::string& layoutPath) {
  return std::string(print_texts::kJobTitlePrefix) + fileNameOf(layoutPath) + "]";
}

std::vector<uint8_t> sheetPdf(const TPrintSource& source, const TPrintOptions& options,
                              const TRenderSettings& settings, const TPaperSize& paper,
                              const std::string& title) {
  TPdfPage page;
  page.widthMm = paper.widthMm;
  page.heightMm = paper.heightMm;
  page.title = title;
  return renderPdf(page, [&](Canvas& canvas, double pixelsPerMm) {
    TSheetDevice device;
    device.pixelsPerMmX = device.pixelsPerMmY = pixelsPerMm;
    device.corrected = true;
    drawPrintSheet(canvas, source, options, device, settings);
  });
}

bool writeSheetPdf(const std::string& path, const TPrintSource& source,
                   const TPrintOptions& options, const TRenderSettings& settings,
                   const TPaperSize& paper, const std::string& title, std::string& error) {
  const std::vector<uint8_t> bytes = sheetPdf(source, options, settings, paper, title);
  if (bytes.empty()) {
    error = "the PDF document could not be made";
    return false;
  }
  return writeFileAtomically(path, bytes, error);
}

}  // namespace plavesk
