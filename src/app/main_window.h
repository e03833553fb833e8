// The main window: menus, tool bar, tool column, rulers, drawing area, board
// tabs and status bar around one editor. Commands are the editor's and the
// file commands'; the window forwards input and shows what changed.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/app_settings.h"
#include "app/file_commands.h"
#include "app/image_commands.h"
#include "app/language.h"
#include "app/template_bitmaps.h"
#include "app/user_dialogs.h"
#include "editing/editor.h"
#include "platform/core/ini_file.h"
#include "view/colour_schemes.h"
#include "view/render_settings.h"
#include "view/view_state.h"

class QActionGroup;
class QLabel;
class QMenu;
class QSplitter;
class QTabBar;
class QTimer;
class QToolButton;

namespace plavesk {

class TLayoutView;
class TMeasurePanel;
class TLongJobs;
class TPhotoWindow;
class TAutorouteWindow;
class TMacroPanel;
class TManufacturingCommands;
class TRecoverySession;
class TToolManager;
struct TToolButton;
class TRuler;
class TStatusPanels;
class TToolPanel;

struct TMainWindowOptions {
  int language = 0;
  std::string programFolder;  // ends in a separator
  std::string settingsPath;   // PLAVESKA.INI
  // Where recovery copies and session files live; empty: no crash recovery.
  std::string recoveryFolder;
};

class TMainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `dialogs` answers questions and chooses files; null means message boxes
  // and the platform's file dialogs.
  explicit TMainWindow(const TMainWindowOptions& options,
                       std::unique_ptr<TUserDialogs> dialogs = nullptr);
  ~TMainWindow() override;

  TEditor& editor() { return editor_; }
  TViewState& view() { return view_; }
  TFileCommands& files() { return *files_; }
  TImageCommands& images() { return *images_; }
  TManufacturingCommands& manufacturing() { return *manufacturing_; }
  TLongJobs& jobs() { return *jobs_; }
  // Null until the photo view was first entered.
  TPhotoWindow* photoWindow() const { return photoWindow_; }
  TAutorouteWindow* autorouteWindow() const { return autorouteWindow_; }
  TMacroPanel* macroPanel() const { return macroPanel_; }
  TColourSchemes& colourSchemes() { return colours_; }
  // "Farben definieren..." and the layer panel's "?" window.
  void showColourDialog();
  void showLayerInfo();
  // After the current colours changed: patterns, view and layer panel.
  void applyColours();
  const TTemplateBitmaps& templates() const { return templates_; }
  // The folder the template dialog starts in during this run.
  const std::string& templateFolder() const { return templateFolder_; }
  const TAppSettings& settings() const { return settings_; }
  int language() const { return language_; }

  // Menu and tool-bar commands by name ("file.open", "edit.undo", ...).
  QAction* action(const std::string& name) const;
  QMenu* menu(const std::string& name) const;
  QTabBar* boardTabs() const { return tabs_; }
  TLayoutView* layoutView() const { return layoutView_; }
  TToolManager& tools() { return *tools_; }
  TToolPanel* toolPanel() const { return toolPanel_; }
  TStatusPanels* statusPanels() const { return status_; }
  QToolButton* rulerUnitButton() const { return unitButton_; }
  QTimer* autosaveTimer() const { return autosaveTimer_; }

  // Start-up, on first showing: opens the file named on the command line.
  void openStartFile(const std::string& path);
  void activateBoard(int index);
  // Writes the settings file as at close (History stays as it is).
  bool writeSettingsFile();

  // The board commands.
  void addNewBoard();
  void editBoardProperties();
  void deleteActiveBoard();
  void showProjectInfo();
  void showAutoSaveDialog();
  // The working-folders dialog, the about window and the update check
  // (main_window_aux.cpp).
  void showFoldersDialog();
  void showAboutWindow();
  void showUpdateWindow();
  // OK of the working-folders dialog: the defaults, and the folders the file
  // dialogs start in from now on.
  void setDefaultFolders(const std::array<std::string, kFolderCount>& folders);
  // "Scanned copy...": the template dialog on the page of the active side.
  void showTemplateDialog();
  // "&Drucken...": the print window over the active board (print_window.cpp).
  // Nothing when no printer is installed; the PDF printer always is.
  void showPrintWindow();
  void setInchMode(bool inch);
  void setAutoSave(bool on, int intervalMs);
  // Layer menu and status bar: F1..F4, the radio buttons and the menu
  // choose the active layer; F5..F8 and the buttons toggle a layer after
  // deselecting everything, the menu entries (`fromButton` false) after
  // deselecting that layer's elements.
  void chooseActiveLayer(int layer);
  void toggleLayerVisible(int layer, bool fromButton = true);
  // The pad-shape menu LAForm_Popup: its entries and "Through pad" (F12).
  void choosePadShape(int shape);
  void toggleThroughPad();
  // The macro panel connects here to turn its macro to the new active side.
  std::function<void(int activeLayer)> macroToActiveSide;

  void updateCommandStates();
  // An edit asks for the refresh above; the requests of one event-loop turn
  // are served once, by a queued call or by whatever looks at the command
  // states first (a menu about to show, `action`).
  void scheduleCommandStates();
  void flushCommandStates();
  // A tool button's click: the mode, and the button of the mode pressed.
  void selectTool(const TToolButton& button);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // The command table's entry `id` as an action in `menu` (none: null).
  // A pending command is present but disabled until its part of the program
  // exists; `run` may be empty for a command whose caller connects it.
  QAction* addCommand(QMenu* menu, const std::string& id, std::function<void()> run = {});
  void buildMenus();
  void buildToolBar();
  void buildCentre();
  // Rotate, mirror, align, layers and pads: menus, tool bar, keys, hints.
  void buildTransformCommands();
  // The pad tool button and the pad-shape menu show the current shape and
  // through-pad mode.
  void refreshPadImages();
  void connectEditor();
  void applySettings();

  // After the layout was replaced or boards changed: tabs, view, status.
  void reloadFromLayout();
  void rebuildTabs();
  void loadViewFromWorking();
  void onViewChanged();
  void onCursorMoved(TPoint world, bool inside);
  void refreshRecentMenu();
  void refreshTitle();
  void refreshStatus();
  // The connection tools' controls (main_window_connections.cpp): the
  // autorouter window, the ground-plane field, the macro panel's commands
  // and drops, "Luftlinien entfernen".
  void buildConnectionCommands();
  // The drawing tools' dialogs, the measure panel and "Kreisbogen..."
  // (main_window_drawing.cpp).
  void buildDrawingTools();
  void Kreisbogen1Click();
  void SB_AutoMasseClick(bool on);
  void M_AutoMasseClick();
  void showGroundPlaneControls();
  // The active layer or board changed: the ground-plane button shows that
  // side's switch and the macro preview turns to that side.
  void showActiveSide();
  void LuftlinienEntfernen();
  void showMacroPanel(bool shown);
  // The panel's root, folder and visibility go to the settings; typed
  // descriptions to their file.
  void storeMacroPanel();
  // The autorouter window and the magenta bands follow the tool mode.
  void showAutorouteTool();
  void zoomCommand(const std::function<void()>& zoom);
  void moveBoard(bool (TLayout::*move)());
  void writeRecentFiles();
  void toggleHints(bool on);
  // The tool panel presses the button of the tool manager's mode.
  void showToolMode();
  // The context menu or node menu of the drawing area at a viewport pixel,
  // with the entries of the command table's ids ("" a separator).
  void openViewMenu(const std::string& name, const std::vector<std::string>& ids, QPoint at);

  int language_;
  std::string programFolder_;
  std::string settingsPath_;
  TAppSettings settings_;
  TEditor editor_;
  TViewState view_;
  TColourSchemes colours_;
  TRenderSettings render_;
  std::unique_ptr<TUserDialogs> dialogs_;
  std::unique_ptr<TFileCommands> files_;
  std::unique_ptr<TImageCommands> images_;
  std::unique_ptr<TLongJobs> jobs_;
  std::unique_ptr<TManufacturingCommands> manufacturing_;
  TPhotoWindow* photoWindow_ = nullptr;
  TTemplateBitmaps templates_;
  std::string templateFolder_;
  std::unique_ptr<TToolManager> tools_;
  std::unique_ptr<TRecoverySession> recovery_;
  // Where the last menu of the drawing area was opened (viewport pixels).
  QPoint menuPixel_;

  std::map<std::string, QAction*> actions_;
  std::map<std::string, QMenu*> menus_;
  std::array<QAction*, kRecentFileCount> recentActions_{};
  QAction* recentSeparator_ = nullptr;
  std::array<QAction*, 4> activeLayerActions_{};
  std::array<QAction*, 4> visibleLayerActions_{};

  TToolPanel* toolPanel_ = nullptr;
  TMeasurePanel* measurePanel_ = nullptr;
  TLayoutView* layoutView_ = nullptr;
  TRuler* topRuler_ = nullptr;
  TRuler* leftRuler_ = nullptr;
  QToolButton* unitButton_ = nullptr;
  QTabBar* tabs_ = nullptr;
  TMacroPanel* macroPanel_ = nullptr;
  TAutorouteWindow* autorouteWindow_ = nullptr;
  QMenu* padShapeMenu_ = nullptr;
  TStatusPanels* status_ = nullptr;
  QTimer* autosaveTimer_ = nullptr;
  bool shown_ = false;
  bool rebuildingTabs_ = false;
  bool commandStatesPending_ = false;
  // The actions with their table entries, looked up once.
  std::vector<std::pair<const TCommand*, QAction*>> commandActions_;
};

}  // namespace plavesk
