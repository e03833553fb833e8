#include "app/tool_panel.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/app_icons.h"
#include "app/board_zoom_view.h"
#include "app/grid_dialog.h"
#include "app/hint_text.h"
#include "app/lay_spin_edit.h"
#include "app/main_window_texts.h"
#include "app/value_lists.h"
#include "editing/editor.h"
#include "editing/grid_values.h"
#include "editing/tool_actions.h"
#include "editing/tool_value_fields.h"

namespace plavesk {

namespace {

constexpr int kScrollBarRoom = 109;

// The tool-mode buttons in their column order.
const char* const kTools[] = {
    "tool.edit",      "tool.zoom",    "tool.track", "tool.pad",     "tool.circle",
    "tool.area",      "tool.text",    "tool.test",  "tool.connect", "tool.polygon",
    "tool.autoroute", "tool.measure", "tool.smd",   "tool.photo",
};

// The fields of the panel in their rows; the first of each group has a
// container button.
constexpr TValueField kPanelFields[] = {TValueField::width, TValueField::outer, TValueField::drill,
                                        TValueField::smdWidth, TValueField::smdHeight};

// The fields a drawing tool's button marks while the pointer is over it.
TSpinHighlights hoverHighlights(std::string_view id) {
  TSpinHighlights h;
  if (id == "tool.track" || id == "tool.circle" || id == "tool.area") h.trackWidth = true;
  if (id == "tool.pad") h.padOuter = h.padDrill = true;
  if (id == "tool.smd") h.smdWidth = h.smdHeight = true;
  return h;
}

bool highlightOf(const TSpinHighlights& h, TValueField f) {
  switch (f) {
    case TValueField::width:
      return h.trackWidth;
    case TValueField::outer:
      return h.padOuter;
    case TValueField::drill:
      return h.padDrill;
    case TValueField::smdWidth:
      return h.smdWidth;
    case TValueField::smdHeight:
      return h.smdHeight;
    case TValueField::clearance:
      return h.clearance;
  }
  return false;
}

// A button of the command table's tool panel entries; greyed out while its
// command is pending.
QToolButton* toolButton(const char* id, int language) {
  const TCommand& command = *findCommand(id);
  auto* b = new QToolButton;
  b->setIcon(appIcon(command.icon));
  b->setIconSize(QSize(24, 24));
  b->setFixedSize(40, 34);
  b->setAutoRaise(false);
  b->setObjectName(QString::fromUtf8(command.control.data(), qsizetype(command.control.size())));
  applyHint(b, language, command.hint);
  b->setEnabled(!command.pending);
  return b;
}

TLaySpinEdit* valueField(int language, const TValueFieldInfo& f) {
  auto* e = new TLaySpinEdit(f.range.min, f.range.max, f.range.step, f.range.decimals, f.start);
  e->setObjectName(QString::fromUtf8(f.control.data(), qsizetype(f.control.size())));
  applyHint(e, language, f.hint);
  applyHint(e->edit(), language, f.hint);
  e->setCaption(splitHint(pick(language, f.hint)).tip);
  return e;
}

}  // namespace

TToolPanel::TToolPanel(int language, TViewState& view, QWidget* parent)
    : QWidget(parent), language_(language) {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  scroll_ = new QScrollArea;
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll_->setWidgetResizable(true);
  content_ = new QWidget;
  auto* grid = new QGridLayout(content_);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setSpacing(3);

  tools_ = new QButtonGroup(this);
  tools_->setExclusive(true);
  int row = 0, column = 0;
  auto place = [&](QWidget* w, int span = 1) {
    if (column + span > 2) {
      ++row;
      column = 0;
    }
    grid->addWidget(w, row, column, 1, span, Qt::AlignHCenter);
    column += span;
  };
  for (const char* id : kTools) {
    QToolButton* b = toolButton(id, language);
    b->setCheckable(true);
    tools_->addButton(b);
    buttonTools_[b] = findToolButton(id);
    connect(b, &QToolButton::clicked, this, [this, b] {
      if (toolClicked) toolClicked(*buttonTools_.at(b));
    });
    b->installEventFilter(this);
    place(b);
    if (std::string_view(id) == "tool.pad") place(toolButton("tool.padShape", language));
    if (std::string_view(id) == "tool.text") {
      const TCommand& grid = *findCommand("tool.grid");
      grid_ = new QToolButton;
      grid_->setObjectName(QString::fromUtf8(grid.control.data(), qsizetype(grid.control.size())));
      grid_->setFixedSize(83, 24);
      grid_->setPopupMode(QToolButton::MenuButtonPopup);
      // Arrow or button: both open the grid list.
      connect(grid_, &QToolButton::clicked, grid_, &QToolButton::showMenu);
      grid_->setEnabled(!grid.pending);
      applyHint(grid_, language, grid.hint);
      place(grid_, 2);
    }
  }
  tools_->buttons().first()->setChecked(true);

  ++row;
  column = 0;
  auto* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  grid->addWidget(line, row++, 0, 1, 2);

  const std::pair<TValueField, const char*> lists[] = {{TValueField::width, "tool.trackList"},
                                                       {TValueField::outer, "tool.padList"},
                                                       {TValueField::smdWidth, "tool.smdList"}};
  for (TValueField f : kPanelFields) {
    auto* fieldRow = new QHBoxLayout;
    fieldRow->setSpacing(2);
    TLaySpinEdit* edit = valueField(language, valueFieldInfo(f));
    fieldRow->addWidget(edit);
    registerField(f, edit);
    const auto list = std::find_if(std::begin(lists), std::end(lists),
                                   [f](const auto& l) { return l.first == f; });
    if (list != std::end(lists)) {
      QToolButton* b = toolButton(list->second, language);
      b->setFixedSize(22, 22);
      b->setIconSize(QSize(16, 16));
      b->setCheckable(false);
      b->setPopupMode(QToolButton::InstantPopup);
      // The container buttons carry only a status-line hint; their name
      // for the accessibility interface is that hint.
      b->setAccessibleName(splitHint(pick(language, findCommand(list->second)->hint)).status);
      listButtons_[f] = b;
      fieldRow->addWidget(b);
    } else {
      fieldRow->addSpacing(24);
    }
    fieldRow->addStretch(1);
    grid->addLayout(fieldRow, row++, 0, 1, 2);
  }
  grid->setRowStretch(row, 1);
  scroll_->setWidget(content_);
  outer->addWidget(scroll_, 1);

  overview_ = new TBoardZoomView(view);
  applyHint(overview_, language, texts::kBoardZoomHint);
  outer->addWidget(overview_, 0, Qt::AlignHCenter);
  fitWidth();
}

void TToolPanel::showTool(const TToolButton& button) {
  for (const auto& [b, tool] : buttonTools_)
    if (tool == &button) b->setChecked(true);
}

TToolPanel::~TToolPanel() {
  // The fields going away lose the focus: that is no leaving by the user,
  // and the model may be gone already.
  model_ = nullptr;
}

void TToolPanel::highlightFields(const TSpinHighlights& h) {
  selectionHighlights_ = std::make_unique<TSpinHighlights>(h);
  paintHighlights(h);
}

void TToolPanel::paintHighlights(const TSpinHighlights& h) {
  for (const auto& [f, edit] : fields_) {
    const bool on = highlightOf(h, f);
    if (edit->property("highlighted").toBool() == on) continue;
    edit->setProperty("highlighted", on);
    edit->setEditTextColor(on ? QColor(0xff, 0xff, 0xff) : QColor(0xff, 0xff, 0x00));
    edit->setEditBKColor(on ? QColor(0xff, 0x00, 0x00) : QColor(0x00, 0x00, 0x00));
  }
}

bool TToolPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Enter || event->type() == QEvent::Leave)
    if (auto* b = qobject_cast<QAbstractButton*>(watched); b && buttonTools_.count(b)) {
      if (event->type() == QEvent::Enter) {
        const TSpinHighlights h = hoverHighlights(buttonTools_.at(b)->id);
        if (h != TSpinHighlights{}) paintHighlights(h);
      } else {
        paintHighlights(selectionHighlights_ ? *selectionHighlights_ : TSpinHighlights{});
      }
    }
  return QWidget::eventFilter(watched, event);
}

void TToolPanel::showGrid(double gridUnits) {
  grid_->setText(QString::fromStdString(gridButtonCaption(gridUnits)));
}

void TToolPanel::registerField(TValueField f, TLaySpinEdit* edit) {
  fields_[f] = edit;
  connect(edit, &TLaySpinEdit::OnEditEnter, this, [this, f] {
    if (model_) model_->enter(f);
  });
  connect(edit, &TLaySpinEdit::OnEditChange, this, [this, f, edit] {
    if (model_ && !showing_) model_->changed(f, edit->value());
  });
  connect(edit, &TLaySpinEdit::OnEditExit, this, [this, f, edit] {
    if (model_) model_->exit(f, edit->value());
  });
  if (model_) edit->setValue(model_->shown(f));
}

void TToolPanel::connectFields(TToolValueFields& fields) {
  model_ = &fields;
  fields.showField = [this, alive = QPointer<TToolPanel>(this)](TValueField f, double mm) {
    if (!alive) return;
    const auto it = fields_.find(f);
    if (it == fields_.end()) return;
    showing_ = true;
    it->second->setValue(mm);
    showing_ = false;
  };
  for (const auto& [f, edit] : fields_) {
    showing_ = true;
    edit->setValue(fields.shown(f));
    showing_ = false;
  }
}

TLaySpinEdit* TToolPanel::field(TValueField f) const {
  const auto it = fields_.find(f);
  return it == fields_.end() ? nullptr : it->second;
}

void TToolPanel::setValueLists(TValueListMenus& lists) {
  listButtons_.at(TValueField::width)->setMenu(lists.trackMenu());
  listButtons_.at(TValueField::outer)->setMenu(lists.padMenu());
  listButtons_.at(TValueField::smdWidth)->setMenu(lists.smdMenu());
  grid_->setMenu(lists.gridMenu());
}

TValueListMenus& TToolPanel::attachValues(TToolValueFields& fields, TEditor& editor,
                                          TValueLists& lists) {
  connectFields(fields);
  valueLists_ = new TValueListMenus(language_, lists, this);
  valueLists_->attach(&fields, &editor);
  valueLists_->askGrid = [this]() -> std::optional<double> {
    TRasterDlg dialog(language_, window());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.gridMm();
  };
  valueLists_->gridChosen = [this](double g) { showGrid(g); };
  setValueLists(*valueLists_);
  return *valueLists_;
}

QToolButton* TToolPanel::listButton(TValueField f) const {
  const auto it = listButtons_.find(f);
  return it == listButtons_.end() ? nullptr : it->second;
}

void TToolPanel::setOverviewVisible(bool visible) {
  overview_->setVisible(visible);
}

void TToolPanel::fitWidth() {
  // 93 pixels while everything fits, wider when the scroll bar appears.
  const bool fits = content_->minimumSizeHint().height() <= scroll_->viewport()->height();
  setFixedWidth(fits ? kToolColumnWidth : kScrollBarRoom);
}

void TToolPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  fitWidth();
}

}  // namespace plavesk
