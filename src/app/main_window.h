// The main window: menus, tool bar, tool column, rulers, drawing area, board
// tabs and status bar around one editor. Commands are the editor's and the
// file commands'; the window forwards input and shows what changed.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <map>
#include <memory>
#include <string>

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
class TToolManager;
struct TToolButton;
class TRuler;
class TStatusPanels;
class TToolPanel;

struct TMainWindowOptions {
  int language = 0;
  std::string programFolder;  // ends in a separator
  std::string settingsPath;   // PLAVESKA.INI
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
  // "Scanned copy...": the template dialog on the page of the active side.
  void showTemplateDialog();
  void setInchMode(bool inch);
  void setAutoSave(bool on, int intervalMs);
  // Layer menu and status bar.
  void chooseActiveLayer(int layer);
  void toggleLayerVisible(int layer);

  void updateCommandStates();
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
  TTemplateBitmaps templates_;
  std::string templateFolder_;
  std::unique_ptr<TToolManager> tools_;
  // Where the last menu of the drawing area was opened (viewport pixels).
  QPoint menuPixel_;

  std::map<std::string, QAction*> actions_;
  std::map<std::string, QMenu*> menus_;
  std::array<QAction*, kRecentFileCount> recentActions_{};
  QAction* recentSeparator_ = nullptr;
  std::array<QAction*, 4> activeLayerActions_{};
  std::array<QAction*, 4> visibleLayerActions_{};

  TToolPanel* toolPanel_ = nullptr;
  TLayoutView* layoutView_ = nullptr;
  TRuler* topRuler_ = nullptr;
  TRuler* leftRuler_ = nullptr;
  QToolButton* unitButton_ = nullptr;
  QTabBar* tabs_ = nullptr;
  QWidget* macroPanel_ = nullptr;
  TStatusPanels* status_ = nullptr;
  QTimer* autosaveTimer_ = nullptr;
  bool shown_ = false;
  bool rebuildingTabs_ = false;
};

}  // namespace plavesk
