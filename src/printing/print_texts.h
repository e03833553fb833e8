// Messages of printing that the window and the command line share, in
// German, English and French.
#pragma once

#include <array>
#include <string_view>

namespace plavesk::print_texts {

using Text = std::array<std::string_view, 3>;

inline constexpr Text kCorrectionRange = {
    "Die Korrekturfaktoren müssen\rzwischen 0.8...1.2 liegen.\r",
    "Please enter values from 0.8 to 1.2",
    "Entrez s´il vous plait des valeurs comprises entre 0.8 et 1.2"};

inline constexpr Text kClipboardDone = {
    "Die Bitmap der Druckvorschau wurde in die Zwischenablage kopiert.",
    "The bitmap of the preview has been copied to the clipboard.",
    "L´image bitmap de la vue préliminaire a été copiée dans le presse-papiers."};

// The printer that writes PDF files is always there.
inline constexpr Text kPdfPrinter = {"PDF-Datei", "PDF file", "Fichier PDF"};

inline constexpr std::string_view kJobTitlePrefix = "Plavesk 4.0 - [";

}  // namespace plavesk::print_texts
