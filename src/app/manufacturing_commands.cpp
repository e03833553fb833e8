#include "app/manufacturing_commands.h"

#include <filesystem>

#include "app/excellon_dialog.h"
#include "app/gerber_dialog.h"
#include "app/language.h"
#include "app/long_job.h"
#include "app/manufacturing_widgets.h"
#include "app/milling_dialog.h"
#include "editing/font_text_conversion.h"
#include "output/contour_computation.h"
#include "output/contour_texts.h"
#include "output/excellon_texts.h"
#include "output/gerber_export.h"
#include "output/gerber_texts.h"
#include "output/hpgl_texts.h"
#include "view/geometry.h"

namespace plavesk {

namespace {

constexpr TText kProgramName{"Plavesk", "Plavesk", "Plavesk"};
constexpr TText kWritingStep{
    "Datei wird geschrieben: ", "Writing file: ", "Écriture du fichier : "};
constexpr TText kComputingStep{"Berechnung: ", "Computing: ", "Calcul : "};
constexpr TText kFilesWritten{"Dateien wurden erfolgreich erstellt.", "Files created successfully.",
                              "Fichiers créés avec succès."};
constexpr TText kJobFailed{
    "Die Berechnung ist fehlgeschlagen: ", "The computation failed: ", "Le calcul a échoué : "};

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

std::string withFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return (std::filesystem::path(folder) / name).string();
}

bool folderExists(const std::string& folder) {
  std::error_code ignored;
  return !folder.empty() && std::filesystem::is_directory(folder, ignored);
}

}  // namespace

TManufacturingCommands::TManufacturingCommands(TEditor& editor, TUserDialogs& dialogs,
                                               TLongJobs& jobs, int language, QWidget* parent)
    : editor_(editor), dialogs_(dialogs), jobs_(jobs), language_(language), parent_(parent) {
  colours = [] { return standardColourScheme(); };
  milling.language = language;
  outline.language = language;
}

bool TManufacturingCommands::writeFiles(const std::vector<TExportFile>& files,
                                        const std::string& caption,
                                        const std::string& failedHeadline) {
  const TExportFilesResult r = writeExportFiles(files, writeCall);
  if (!r.ok) {
    dialogs_.message(TMessageKind::Error, caption,
                     notWrittenText(failedHeadline, r.failedPath, r.reason));
    return false;
  }
  return true;
}

std::string TManufacturingCommands::gerberStartPath(TGerberOutput output) const {
  const std::string name = gerberFileName(output, language_);
  return folderExists(exportFolder) ? withFolder(exportFolder, name) : name;
}

// --- Gerber ---

void TManufacturingCommands::exportGerber() {
  if (!editor_.layout.hasActiveBoard()) return;
  // Font texts have no Gerber form: offer to convert them first.
  const int fontTexts = countFontTexts(editor_.layout);
  if (fontTexts > 0 &&
      dialogs_.askYesNo(pickText(language_, kProgramName), fontTextQuestion(language_, fontTexts)))
    editor_.convertFontTexts(pixelsPerInch);
  TGerberDialog dialog(language_, colours(), gerber, parent_);
  dialog.create = [this, &dialog](const TGerberOptions& options) {
    gerber = options;
    const std::string path =
        dialogs_.chooseSaveFile(dialog.windowTitle().toStdString(), gerberStartPath(options.output),
                                fileDialogFilter(gerberFileFilter()), "GBR");
    if (!path.empty()) writeGerber(options, path);
  };
  dialog.exec();
  gerber = dialog.options();
}

bool TManufacturingCommands::writeGerber(const TGerberOptions& options, const std::string& path) {
  struct TJob {
    std::shared_ptr<TJobBoard> board;
    TGerberOptions options;
    int language = 0;
    std::string step, text;
  };
  auto job = std::make_shared<TJob>();
  job->board = copyBoardForJob(editor_.layout);
  job->options = options;
  job->language = language_;
  job->step = pickText(language_, kWritingStep) + std::filesystem::path(path).filename().string();
  const std::string caption = gerberMessageCaption(language_);
  std::string error;
  const TJobOutcome outcome = jobs_.run(
      q(caption),
      [job](TJobControl& control) {
        control.setStep(job->step);
        job->text =
            gerberText(job->board->elements, job->board->board, job->options, job->language);
      },
      &error);
  if (outcome == TJobOutcome::cancelled) return false;
  if (outcome == TJobOutcome::failed) {
    dialogs_.message(TMessageKind::Error, caption, pickText(language_, kJobFailed) + error);
    return false;
  }
  if (!writeFiles({{path, job->text}}, caption, gerberNotCreatedMessage(language_))) return false;
  exportFolder = folderOf(path);
  reportWrittenFiles(dialogs_, language_, caption, gerberCreatedMessage(language_), {path});
  return true;
}

// --- Excellon ---

void TManufacturingCommands::exportDrill() {
  if (!editor_.layout.hasActiveBoard()) return;
  TExcellonDialog dialog(language_, excellon, parent_);
  if (dialog.exec() != QDialog::Accepted) return;
  excellon = dialog.options();
  const std::string start = folderExists(exportFolder) ? exportFolder + "/" : std::string();
  const std::string path = dialogs_.chooseSaveFile(dialog.windowTitle().toStdString(), start,
                                                   fileDialogFilter(excellonFileFilter()), "DRL");
  if (!path.empty()) writeDrill(excellon, path);
}

bool TManufacturingCommands::writeDrill(const TExcellonOptions& options, const std::string& path) {
  struct TJob {
    std::shared_ptr<TJobBoard> board;
    TExcellonOptions options;
    std::string step, text;
  };
  auto job = std::make_shared<TJob>();
  job->board = copyBoardForJob(editor_.layout);
  job->options = options;
  job->step = pickText(language_, kWritingStep) + std::filesystem::path(path).filename().string();
  const std::string caption = excellonDialogTexts(language_).title;
  std::string error;
  const TJobOutcome outcome = jobs_.run(
      q(caption),
      [job](TJobControl& control) {
        control.setStep(job->step);
        job->text = excellonText(job->board->elements, job->board->board, job->options);
      },
      &error);
  if (outcome == TJobOutcome::cancelled) return false;
  if (outcome == TJobOutcome::failed) {
    dialogs_.message(TMessageKind::Error, caption, pickText(language_, kJobFailed) + error);
    return false;
  }
  if (!writeFiles({{path, job->text}}, caption, gerberNotCreatedMessage(language_))) return false;
  exportFolder = folderOf(path);
  reportWrittenFiles(dialogs_, language_, caption, gerberCreatedMessage(language_), {path});
  return true;
}

// --- isolation milling ---

void TManufacturingCommands::isolationMilling() {
  if (!editor_.layout.hasActiveBoard()) return;
  TMillingDialog dialog(language_, colours(), milling, millingContent(editor_.elements()), parent_);
  if (dialog.exec() != QDialog::Accepted) return;
  milling = dialog.options();
  milling.language = language_;
  outline.holes = milling.holes;
  editor_.discardContours();
  if (millingLayerIsEmpty(editor_.elements(), milling.layer)) {
    dialogs_.message(TMessageKind::Warning, millingCaption(language_),
                     millingEmptyLayerMessage(language_));
    return;
  }
  const std::string start = folderExists(millingFolder) ? millingFolder + "/" : std::string();
  const std::string path =
      dialogs_.chooseSaveFile(millingCaption(language_), start, "HPGL (*.plt)", "PLT");
  if (!path.empty()) runMilling(milling, path);
}

bool TManufacturingCommands::runMilling(const TMillingOptions& options,
                                        const std::string& mainPath) {
  const std::string caption = millingCaption(language_);
  if (millingLayerIsEmpty(editor_.elements(), options.layer)) {
    dialogs_.message(TMessageKind::Warning, caption, millingEmptyLayerMessage(language_));
    return false;
  }
  struct TJob {
    std::shared_ptr<TJobBoard> board;
    TMillingOptions options;
    std::string mainName;
    int language = 0;
    TContourResult contours;
    TMillingFiles files;
  };
  auto job = std::make_shared<TJob>();
  job->board = copyBoardForJob(editor_.layout);
  job->options = options;
  job->mainName = std::filesystem::path(mainPath).filename().string();
  job->language = language_;
  std::string error;
  const TJobOutcome outcome = jobs_.run(
      q(contourProgressTitle(language_)),
      [job](TJobControl& control) {
        const TObjektList& list = job->board->elements;
        if (millingLayerNeedsContours(list, job->options)) {
          int shown = -1;
          TContourOptions contourOptions = job->options.contourOptions();
          // A cancel stops the computation at its next step instead of
          // leaving it to run on in the background.
          contourOptions.stopRequested = [&control] { return control.cancelled(); };
          job->contours =
              computeContours(list, contourOptions,
                              [&](TContourStep step, size_t position, size_t range) {
                                if (int(step) != shown) {
                                  shown = int(step);
                                  control.setStep(pickText(job->language, kComputingStep) +
                                                  contourStepLabel(step, job->language));
                                }
                                control.setProgress(position, range);
                              });
        }
        if (control.cancelled() || job->contours.overBudget) return;
        control.setStep(pickText(job->language, kWritingStep) + job->mainName);
        job->files = millingFiles(list, job->board->board.height, elementsBounds(list),
                                  job->contours.contours, job->options, job->mainName);
      },
      &error);
  if (outcome == TJobOutcome::cancelled) return false;
  if (outcome == TJobOutcome::failed) {
    dialogs_.message(TMessageKind::Error, caption, pickText(language_, kJobFailed) + error);
    return false;
  }
  if (job->contours.overBudget) {
    dialogs_.message(
        TMessageKind::Warning, caption,
        contourMemoryMessage(job->contours.crossings, options.memoryBudget, language_));
    return false;
  }
  const std::string folder = folderOf(mainPath);
  std::vector<TExportFile> files;
  for (const THpglFile& f : job->files.files) files.push_back({withFolder(folder, f.name), f.text});
  if (!writeFiles(files, caption, gerberNotCreatedMessage(language_))) return false;
  millingFolder = folder;
  // The contours stay on the board until the next change discards them.
  editor_.contours = std::move(job->contours.contours);
  if (contoursChanged) contoursChanged();
  std::string headline = gerberCreatedMessage(language_);
  if (files.size() > 1) headline = pickText(language_, kFilesWritten);
  if (job->files.plungedHoles > 0)
    headline += "\n" + plungedHolesMessage(job->files.plungedHoles, language_);
  std::vector<std::string> paths;
  for (const TExportFile& f : files) paths.push_back(f.path);
  reportWrittenFiles(dialogs_, language_, caption, headline, paths);
  return true;
}

// --- board outline ---

void TManufacturingCommands::outlineMilling() {
  if (!editor_.layout.hasActiveBoard()) return;
  if (!hasOutlineElements(editor_.elements())) {
    dialogs_.message(TMessageKind::Warning, outlineCaption(language_),
                     outlineNothingSelectedMessage(language_));
    return;
  }
  // The reference holes are the milling dialog's.
  outline.holes = milling.holes;
  TOutlineDialog dialog(language_, outline, parent_);
  if (dialog.exec() != QDialog::Accepted) return;
  outline = dialog.options();
  outline.language = language_;
  milling.holes = outline.holes;
  const std::string start = folderExists(millingFolder) ? millingFolder + "/" : std::string();
  const std::string path =
      dialogs_.chooseSaveFile(outlineCaption(language_), start, "HPGL (*.plt)", "PLT");
  if (!path.empty()) writeOutline(outline, path);
}

bool TManufacturingCommands::writeOutline(const TOutlineOptions& options, const std::string& path) {
  const std::string caption = outlineCaption(language_);
  const TObjektList& list = editor_.elements();
  if (!hasOutlineElements(list)) {
    dialogs_.message(TMessageKind::Warning, caption, outlineNothingSelectedMessage(language_));
    return false;
  }
  const std::string text =
      outlineFileText(list, editor_.layout.working().height, elementsBounds(list), options);
  if (!writeFiles({{path, text}}, caption, gerberNotCreatedMessage(language_))) return false;
  millingFolder = folderOf(path);
  reportWrittenFiles(dialogs_, language_, caption, gerberCreatedMessage(language_), {path});
  return true;
}

}  // namespace plavesk
