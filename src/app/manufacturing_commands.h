// The manufacturing commands of the Export menu: Gerber, Excellon,
// isolation milling and board outline milling. Each shows its dialog, asks
// for the file, computes on a worker thread over a copy of the board (with
// the progress window when it takes a while), writes every file through a
// temporary file, and then says where the files went.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/export_files.h"
#include "app/user_dialogs.h"
#include "editing/editor.h"
#include "output/excellon_export.h"
#include "output/gerber_options.h"
#include "output/hpgl_milling.h"
#include "output/hpgl_outline.h"
#include "view/colour_scheme.h"

class QWidget;

namespace plavesk {

class TLongJobs;

class TManufacturingCommands {
 public:
  TManufacturingCommands(TEditor& editor, TUserDialogs& dialogs, TLongJobs& jobs, int language,
                         QWidget* parent = nullptr);

  // The swatches of the dialogs show these colours.
  std::function<TColourScheme()> colours;
  double pixelsPerInch = 96;
  // The folder of the last Gerber or drill file, and of the last milling
  // file, for this run of the program.
  std::string exportFolder;
  std::string millingFolder;
  // What the dialogs show when they open again.
  TGerberOptions gerber;
  TExcellonOptions excellon;
  TMillingOptions milling;
  TOutlineOptions outline;
  // The write call of the files (tests: a full disk).
  TWriteCall writeCall;
  // Shown or cleared milling contours: the view repaints.
  std::function<void()> contoursChanged;

  // The menu commands.
  void exportGerber();
  void exportDrill();
  void isolationMilling();
  void outlineMilling();

  // The parts after the dialogs; each returns whether its files were written
  // and reports success or failure to the user.
  bool writeGerber(const TGerberOptions& options, const std::string& path);
  bool writeDrill(const TExcellonOptions& options, const std::string& path);
  bool runMilling(const TMillingOptions& options, const std::string& mainPath);
  bool writeOutline(const TOutlineOptions& options, const std::string& path);

  // Paths where the save dialogs start: the folder and the suggested name.
  std::string gerberStartPath(TGerberOutput output) const;

 private:
  bool writeFiles(const std::vector<TExportFile>& files, const std::string& caption,
                  const std::string& failedHeadline);

  TEditor& editor_;
  TUserDialogs& dialogs_;
  TLongJobs& jobs_;
  int language_;
  QWidget* parent_;
};

}  // namespace plavesk
