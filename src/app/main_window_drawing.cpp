// The window's side of the drawing tools: the text, font-text and polygon
// dialogs the tools ask for, the warning for a text without strokes, the
// measure panel, and the arc dialog of "Kreisbogen...".
#include "app/arc_dialog.h"
#include "app/font_text_dialog.h"
#include "app/language.h"
#include "app/layout_view.h"
#include "app/main_window.h"
#include "app/measure_panel.h"
#include "app/polygon_dialog.h"
#include "app/text_dialog.h"
#include "editing/text_commands.h"
#include "editing/tools/tool_manager.h"

namespace plavesk {

namespace {

constexpr TText kTextTitle{"Layout-Text", "Layout-text", "Layout-text"};
constexpr TText kTextNotGenerated{"Der Text konnte nicht generiert werden.",
                                  "The text could not be generated.",
                                  "Le texte ne peut pas être généré."};

}  // namespace

void TMainWindow::buildDrawingTools() {
  measurePanel_ = new TMeasurePanel(language_, layoutView_->viewport());
  layoutView_->measureShown = [this](const TMeasureReadout* readout, QPoint at) {
    if (!readout) {
      measurePanel_->hide();
      return;
    }
    measurePanel_->showAt(*readout, at, layoutView_->viewport()->size());
  };
  layoutView_->textDialog = [this](TTextSettings& settings, bool) {
    TLinienText_Dlg dialog(language_, this);
    dialog.setSettings(settings);
    if (dialog.exec() != QDialog::Accepted) return false;
    settings = dialog.settings();
    return true;
  };
  layoutView_->fontTextDialog = [this](TFontTextSettings& settings) {
    TTXT_Dlg dialog(language_, this);
    dialog.setSettings(settings);
    if (dialog.exec() != QDialog::Accepted) return false;
    settings = dialog.settings();
    return true;
  };
  layoutView_->polygonDialog = [this](TPolygonSettings& settings) {
    TVielEckDlg dialog(language_, this);
    dialog.setSettings(settings);
    if (dialog.exec() != QDialog::Accepted) return false;
    settings = dialog.settings();
    return true;
  };
  layoutView_->textNotGenerated = [this] {
    dialogs_->message(TMessageKind::Warning, pickText(language_, kTextTitle),
                      pickText(language_, kTextNotGenerated));
  };
  if (QAction* segment = action("fn.segment"))
    connect(segment, &QAction::triggered, this, [this] { Kreisbogen1Click(); });
}

void TMainWindow::Kreisbogen1Click() {
  TArcSettings settings;
  int32_t middleRadius = 0;
  if (!arcSettingsFromSelection(editor_, settings, middleRadius)) return;
  TBogenDlg dialog(language_, this);
  dialog.setSettings(settings);
  if (dialog.exec() != QDialog::Accepted) return;
  tools_->eraseAllFeedback();
  applyArcSettings(editor_, dialog.settings(), middleRadius);
}

}  // namespace plavesk
