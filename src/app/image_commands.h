// The picture commands of the Export menu (Bitmap, GIF, EMF) and the picture
// Copy puts on the system clipboard. They draw the active board with the
// passes of the main view and ask the user through TUserDialogs.
#pragma once

#include <string>

#include "app/export_dialog.h"
#include "app/template_bitmaps.h"
#include "app/user_dialogs.h"
#include "editing/editor.h"
#include "view/render_settings.h"
#include "view/view_state.h"

class QWidget;

namespace plavesk {

class TLongJobs;

class TImageCommands {
 public:
  TImageCommands(TEditor& editor, const TViewState& view, const TRenderSettings& render,
                 const TTemplateBitmaps& templates, TUserDialogs& dialogs, int language,
                 QWidget* parent = nullptr);

  // Where the save dialogs start; the folder of the last picture written.
  std::string bitmapFolder;
  // Set: pictures are drawn on a worker thread with the progress window,
  // and a cancel writes nothing.
  TLongJobs* jobs = nullptr;

  // "Bitmap (*.bmp)..." and "GIF (*.gif)...": the export dialog, the file
  // choice, then the picture. Returns whether a file was written.
  bool exportBitmap(TExportFormat format);
  // The part after the dialogs.
  bool writeBitmap(TExportFormat format, const std::string& path, int dpi, bool colour);
  // "EMF (*.emf)...": the whole board as metafile, written and put on the
  // clipboard.
  bool exportMetafileCommand();
  bool writeMetafile(const std::string& path);
  // After Copy: the selected elements' picture on the system clipboard.
  void copySelectionPicture();

 private:
  TRenderSettings exportSettings() const;
  void reportError(const std::string& text);

  TEditor& editor_;
  const TViewState& view_;
  const TRenderSettings& render_;
  const TTemplateBitmaps& templates_;
  TUserDialogs& dialogs_;
  int language_;
  QWidget* parent_;
};

}  // namespace plavesk
