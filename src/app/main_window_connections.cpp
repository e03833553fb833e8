// The main window's part of the connection tools, the ground plane, the
// autorouter window and the macro library panel.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QSplitter>

#include "app/autoroute_window.h"
#include "app/ground_plane_controls.h"
#include "app/lay_spin_edit.h"
#include "app/layout_view.h"
#include "app/macro_panel.h"
#include "app/main_window.h"
#include "app/main_window_texts.h"
#include "app/route_all_job.h"
#include "app/status_panels.h"
#include "app/tool_panel.h"
#include "editing/connections.h"
#include "editing/connectivity_commands.h"
#include "editing/tool_actions.h"
#include "editing/tool_value_fields.h"
#include "editing/tools/tool_manager.h"
#include "routing/band_removal.h"

namespace plavesk {

void TMainWindow::buildConnectionCommands() {
  TAutorouteTool& router = tools_->autorouter();
  router.language = language_;
  autorouteWindow_ = new TAutorouteWindow(language_, router, this);
  autorouteWindow_->closedByUser = [this] {
    tools_->backToEditMode();
    showToolMode();
  };

  TGroundPlaneControls* ground = status_->groundPlane();
  ground->groundPlaneClicked = [this](bool on) { SB_AutoMasseClick(on); };
  // The cutout button chooses the area tool, which leaves the button as it
  // is; its down state makes the next areas cutout areas.
  ground->cutoutClicked = [this](bool down) {
    selectTool(*findToolButton("area"));
    tools_->eraseAllFeedback();
    tools_->values().cutout = down;
    showGroundPlaneControls();
  };
  // The clearance field edits the selection in one undo step per phase.
  TLaySpinEdit* clearance = ground->clearanceField();
  TToolValueFields& fields = tools_->fields();
  connect(clearance, &TLaySpinEdit::OnEditEnter, this,
          [this] { tools_->fields().enter(TValueField::clearance); });
  connect(clearance, &TLaySpinEdit::OnEditChange, this, [this, clearance] {
    tools_->fields().changed(TValueField::clearance, clearance->value());
  });
  connect(clearance, &TLaySpinEdit::OnEditExit, this,
          [this, clearance] { tools_->fields().exit(TValueField::clearance, clearance->value()); });
  // While a value field is being edited, a repaint draws only the selected
  // elements, which are all it changes, over a kept picture of the rest.
  QList<TLaySpinEdit*> valueFields = toolPanel_->findChildren<TLaySpinEdit*>();
  valueFields.push_back(clearance);
  for (TLaySpinEdit* field : valueFields) {
    connect(field, &TLaySpinEdit::OnEditEnter, this, [this] { layoutView_->holdUnselected(true); });
    connect(field, &TLaySpinEdit::OnEditExit, this, [this] { layoutView_->holdUnselected(false); });
  }
  auto shown = fields.showField;
  fields.showField = [shown, clearance](TValueField field, double mm) {
    if (field == TValueField::clearance) {
      if (!clearance->edit()->hasFocus()) clearance->setValue(mm);
    } else if (shown) {
      shown(field, mm);
    }
  };
  clearance->setValue(fields.shown(TValueField::clearance));

  connect(action("opt.groundPlane"), &QAction::triggered, this, [this] { M_AutoMasseClick(); });
  connect(action("fn.removeConnections"), &QAction::triggered, this,
          [this] { LuftlinienEntfernen(); });
  // The tracks take the autorouter window's width and clearance and the
  // current ground-plane clearance, as a click of the autoroute tool does.
  connect(action("fn.routeAll"), &QAction::triggered, this, [this] {
    if (!editor_.layout.hasActiveBoard()) return;
    tools_->eraseAllFeedback();
    TRouteSettings settings = tools_->autorouter().settings();
    settings.trackClearance = tools_->values().clearance;
    routeAllRubberbands(editor_, settings, *jobs_, *dialogs_, language_);
    updateCommandStates();
  });

  // A root that is gone falls back to the macros the program brings along,
  // and the user hears of it (the settings alone would fall back silently).
  const std::string saved = loadIniFile(settingsPath_).readString("Ordner", "Makro", "");
  std::string fallback = programFolder_ + "Makros";
  if (!QFileInfo(QString::fromStdString(fallback)).isDir()) fallback = programFolder_;
  macroPanel_->setFolders(saved.empty() ? settings_.macroRoot : saved, settings_.macroSubfolder,
                          fallback);
  macroPanel_->hideRequested = [this] { showMacroPanel(false); };
  connect(action("file.saveMacro"), &QAction::triggered, this, [this] {
    tools_->eraseAllFeedback();
    macroPanel_->saveAsMacro();
  });
  connect(action("opt.showMacros"), &QAction::triggered, this,
          [this](bool on) { showMacroPanel(on); });
  connect(action("opt.macroFolder"), &QAction::triggered, this,
          [this] { macroPanel_->chooseRoot(); });
  // Choosing the active layer refreshes the status, which turns the preview.
  layoutView_->draggedMacro = [this] { return &macroPanel_->macro(); };
  layoutView_->macroDropped = [this] {
    tools_->fields().takeOverFromSelection(false);
    updateCommandStates();
  };
  layoutView_->setAcceptDrops(true);
  layoutView_->viewport()->setAcceptDrops(true);
}

void TMainWindow::showAutorouteTool() {
  const bool active = tools_->mode() == TToolMode::autoroute;
  if (render_.autorouteToolActive != active) {
    render_.autorouteToolActive = active;
    layoutView_->repaintSurface();
  }
  autorouteWindow_->showWithTool(active);
  // Every tool but the area tool has released the cutout button.
  showGroundPlaneControls();
}

void TMainWindow::SB_AutoMasseClick(bool on) {
  if (!editor_.layout.hasActiveBoard()) return;
  switchGroundPlane(editor_, tools_->values(), on);
  showGroundPlaneControls();
  refreshTitle();
}

void TMainWindow::M_AutoMasseClick() {
  if (!editor_.layout.hasActiveBoard()) return;
  switchGroundPlane(editor_, tools_->values(), !groundPlaneOfActiveSide(editor_.working()));
  showGroundPlaneControls();
  refreshTitle();
}

void TMainWindow::showGroundPlaneControls() {
  if (!editor_.layout.hasActiveBoard()) return;
  const bool on = groundPlaneOfActiveSide(editor_.working());
  status_->groundPlane()->showGroundPlane(on, tools_->values().cutout);
  if (QAction* a = action("opt.groundPlane")) a->setChecked(on);
}

void TMainWindow::showActiveSide() {
  if (!editor_.layout.hasActiveBoard()) return;
  showGroundPlaneControls();
  macroPanel_->orientToActiveSide(editor_.working().activeLayer);
}

void TMainWindow::LuftlinienEntfernen() {
  if (!editor_.layout.hasActiveBoard()) return;
  tools_->eraseAllFeedback();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const TBandCounts counts = clearSatisfiedBands(editor_);
  QApplication::restoreOverrideCursor();
  std::string text = bandRemovalMessage(counts, language_);
  std::replace(text.begin(), text.end(), '\r', '\n');
  dialogs_->message(TMessageKind::Information, texts::kProgramName, text);
}

void TMainWindow::showMacroPanel(bool shown) {
  settings_.macroPanel = shown;
  macroPanel_->setVisible(shown);
  if (QAction* a = action("opt.showMacros")) a->setChecked(shown);
  onViewChanged();
}

void TMainWindow::storeMacroPanel() {
  macroPanel_->saveDescriptions();
  settings_.macroRoot = macroPanel_->root();
  settings_.macroSubfolder = macroPanel_->subfolder().empty() ? "..." : macroPanel_->subfolder();
}

}  // namespace plavesk
