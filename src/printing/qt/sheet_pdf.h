// The sheet as a PDF file at true size: the printer that is always there.
// The print window and `plavesk-cli print` write through the same function,
// so both give the same drawing for the same settings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "printing/print_options.h"
#include "printing/print_sheet.h"
#include "view/render_settings.h"

namespace plavesk {

struct TPaperSize {
  std::string name;
  double widthMm = 210;
  double heightMm = 297;
};

// "A4", "A3" or "Letter" (any case); nullopt otherwise.
std::optional<TPaperSize> paperSize(const std::string& name);

// "Plavesk 4.0 - [" + file name + "]".
std::string printJobTitle(const std::string& layoutPath);

// The PDF printer has no unprintable margin: its printable area is the page.
std::vector<uint8_t> sheetPdf(const TPrintSource& source, const TPrintOptions& options,
                              const TRenderSettings& settings, const TPaperSize& paper,
                              const std::string& title);

// Writes the document through a temporary file: a failure leaves no
// partial file and reports why in `error`.
bool writeSheetPdf(const std::string& path, const TPrintSource& source,
                   const TPrintOptions& options, const TRenderSettings& settings,
                   const TPaperSize& paper, const std::string& title, std::string& error);

}  // namespace plavesk
