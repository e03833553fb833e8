// Help by topic number. Every dialog's help button and the F1 key of the
// autorouter and photo-view windows call showHelpTopic with the window's fixed
// number; the "?" menu opens the contents. When the manual's pages are not
// installed both calls do nothing visible.
#pragma once

namespace plavesk {

// The fixed topic numbers, one a window.
enum THelpTopic : int {
  kHelpBoardProperties = 4000,
  kHelpGrid = 5000,
  kHelpLayerInfo = 5500,
  kHelpArcSegment = 10000,
  kHelpRegularPolygon = 12000,
  kHelpTextProperties = 13000,
  kHelpAutorouter = 19100,
  kHelpPhotoView = 19300,
  kHelpAutoSave = 25000,
  kHelpTemplate = 29000,
  kHelpPrint = 30000,
  kHelpImageExport = 32000,
  kHelpImageExportSecond = 32100,
  kHelpGerberExport = 33000,
  kHelpDrillExport = 34000,
  kHelpProjectInfo = 35100,
  kHelpColours = 35200,
  kHelpWorkingFolders = 35300,
  kHelpMilling = 35500,
};

// Every topic number in the order of the manual's contents.
inline constexpr int kHelpTopics[] = {
    kHelpBoardProperties,   kHelpGrid,           kHelpLayerInfo,   kHelpArcSegment,
    kHelpRegularPolygon,    kHelpTextProperties, kHelpAutorouter,  kHelpPhotoView,
    kHelpAutoSave,          kHelpTemplate,       kHelpPrint,       kHelpImageExport,
    kHelpImageExportSecond, kHelpGerberExport,   kHelpDrillExport, kHelpProjectInfo,
    kHelpColours,           kHelpWorkingFolders, kHelpMilling};

// Opens the manual at the topic's page in the help window (without owner
// window). Unknown numbers and missing pages do nothing.
void showHelpTopic(int topic);

// Opens the manual's contents page; does nothing when the manual is missing.
void showHelpContents();

}  // namespace plavesk
