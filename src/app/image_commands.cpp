#include "app/image_commands.h"

#include <QApplication>
#include <filesystem>
#include <new>

#include "app/clipboard_picture.h"
#include "app/error_report.h"
#include "app/long_job.h"
#include "app/main_window_texts.h"
#include "document/file_io.h"
#include "view/bmp_file.h"
#include "view/gif_file.h"
#include "view/image_export.h"
#include "view/metafile_export.h"

namespace plavesk {

namespace {

constexpr TText kBmpFilter{"Bitmaps (*.bmp *.BMP)", "Bitmaps (*.bmp *.BMP)",
                           "Bitmaps (*.bmp *.BMP)"};
constexpr TText kGifFilter{"GIF-Dateien (*.gif *.GIF)", "GIF-Files (*.gif *.GIF)",
                           "Fichiers-GIF (*.gif *.GIF)"};
constexpr TText kEmfFilter{"Enhanced Metafiles (*.emf *.EMF)", "Enhanced Metafiles (*.emf *.EMF)",
                           "Enhanced Metafiles (*.emf *.EMF)"};
constexpr TText kOutOfMemory{"Zu wenig Arbeitsspeicher", "Out of memory", "Mémoire insuffisante"};

bool folderExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

std::string folderOf(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

class TWaitCursor {
 public:
  TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};

}  // namespace

TImageCommands::TImageCommands(TEditor& editor, const TViewState& view,
                               const TRenderSettings& render, const TTemplateBitmaps& templates,
                               TUserDialogs& dialogs, int language, QWidget* parent)
    : editor_(editor),
      view_(view),
      render_(render),
      templates_(templates),
      dialogs_(dialogs),
      language_(language),
      parent_(parent) {}

TRenderSettings TImageCommands::exportSettings() const {
  // As the main view shows it: the photo view and its side follow the view.
  TRenderSettings settings = render_;
  settings.photoView = view_.photoViewActive;
  settings.photo.side = view_.photoMirrored ? 2 : 1;
  return settings;
}

void TImageCommands::reportError(const std::string& text) {
  dialogs_.message(TMessageKind::Error, texts::kProgramTitle, errorReportText(text));
}

bool TImageCommands::exportBitmap(TExportFormat format) {
  TLayout& layout = editor_.layout;
  if (!layout.hasActiveBoard()) return false;
  TExportDialog dialog(language_, format, layout.working().width, layout.working().height, dialogs_,
                       parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  const bool gif = format == TExportFormat::kGif;
  const std::string path = dialogs_.chooseSaveFile(
      pickText(language_, texts::kSaveAsTitle), folderExists(bitmapFolder) ? bitmapFolder : "",
      pickText(language_, gif ? kGifFilter : kBmpFilter), gif ? "gif" : "bmp");
  if (path.empty()) return false;
  return writeBitmap(format, path, dialog.dpi(), gif || dialog.colour());
}

bool TImageCommands::writeBitmap(TExportFormat format, const std::string& path, int dpi,
                                 bool colour) {
  TLayout& layout = editor_.layout;
  if (!layout.hasActiveBoard()) return false;
  const TBoardRecord& state = layout.working();
  const TImageSize size = exportImageSize(state.width, state.height, dpi);
  if (size.width <= 0 || size.height <= 0) return false;
  // Drawn on a worker thread over copies, so that a cancel leaves nothing
  // behind and the window keeps repainting; without a job runner, here.
  struct TImageJob {
    std::shared_ptr<TJobBoard> board;
    TRenderSettings settings;
    TImageSize size;
    CanvasImage template1, template2;
    bool hasTemplate1 = false, hasTemplate2 = false;
    TExportFormat format = TExportFormat::kBmp;
    bool colour = true;
    int dpi = 0;
    std::vector<uint8_t> bytes;
    std::string error;
    bool outOfMemory = false;
  };
  auto job = std::make_shared<TImageJob>();
  job->board = copyBoardForJob(layout);
  job->settings = exportSettings();
  job->size = size;
  const TTemplateImages templates = templates_.images();
  if (templates.side1) job->template1 = *templates.side1, job->hasTemplate1 = true;
  if (templates.side2) job->template2 = *templates.side2, job->hasTemplate2 = true;
  job->format = format;
  job->colour = colour;
  job->dpi = dpi;
  auto work = [job](TJobControl&) {
    try {
      TTemplateImages t;
      if (job->hasTemplate1) t.side1 = &job->template1;
      if (job->hasTemplate2) t.side2 = &job->template2;
      RasterImage image = renderBoardImage(job->board->elements, job->board->board,
                                           job->settings, job->size, t);
      if (job->format == TExportFormat::kGif) {
        const TPaletteImage palette = toPaletteImage(image);
        image = RasterImage();
        if (!encodeGif(palette, job->bytes, job->error)) job->bytes.clear();
      } else {
        job->bytes = job->colour ? encodeBmp24(image, job->dpi)
                                 : encodeBmp1(image, job->dpi,
                                              job->settings.colour(kColourBackground));
      }
    } catch (const std::bad_alloc&) {
      job->outOfMemory = true;
    }
  };
  if (jobs) {
    const TJobOutcome outcome = jobs->run(QString::fromStdString(fileNameOf(path)), work);
    if (outcome != TJobOutcome::finished) return false;
  } else {
    TWaitCursor wait;
    TJobControl control;
    work(control);
  }
  if (job->outOfMemory) {
    reportError(pickText(language_, kOutOfMemory));
    return false;
  }
  if (!job->error.empty()) {
    reportError(job->error);
    return false;
  }
  std::vector<uint8_t>& bytes = job->bytes;
  std::string error;
  if (!writeFileAtomically(path, bytes, error)) {
    reportError(error);
    return false;
  }
  bitmapFolder = folderOf(path);
  return true;
}

bool TImageCommands::exportMetafileCommand() {
  if (!editor_.layout.hasActiveBoard()) return false;
  const std::string path = dialogs_.chooseSaveFile(pickText(language_, texts::kSaveAsTitle),
                                                   folderExists(bitmapFolder) ? bitmapFolder : "",
                                                   pickText(language_, kEmfFilter), "emf");
  if (path.empty()) return false;
  return writeMetafile(path);
}

bool TImageCommands::writeMetafile(const std::string& path) {
  TLayout& layout = editor_.layout;
  if (!layout.hasActiveBoard()) return false;
  TWaitCursor wait;
  TClipboardPicture picture;
  try {
    picture = makeClipboardPicture(layout.elements(), layout.working(), view_, exportSettings(),
                                   false, templates_.images());
  } catch (const std::bad_alloc&) {
    reportError(pickText(language_, kOutOfMemory));
    return false;
  }
  std::string error;
  if (!writeFileAtomically(path, picture.emf, error)) {
    reportError(error);
    return false;
  }
  putOnClipboard(picture);
  bitmapFolder = folderOf(path);
  return true;
}

void TImageCommands::copySelectionPicture() {
  TLayout& layout = editor_.layout;
  if (!layout.hasActiveBoard() || editor_.selectedCount() == 0) return;
  TWaitCursor wait;
  try {
    putOnClipboard(makeClipboardPicture(layout.elements(), layout.working(), view_,
                                        exportSettings(), true, templates_.images()));
  } catch (const std::bad_alloc&) {
    reportError(pickText(language_, kOutOfMemory));
  }
}

}  // namespace plavesk
