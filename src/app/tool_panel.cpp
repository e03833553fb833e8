#include "app/tool_panel.h"

#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/app_icons.h"
#include "app/board_zoom_view.h"
#include "app/hint_text.h"
#include "app/main_window_texts.h"
#include "editing/editor.h"
#include "editing/tool_actions.h"

namespace plavesk {

namespace {

constexpr int kScrollBarRoom = 109;

// The tool-mode buttons in their column order.
const char* const kTools[] = {
    "tool.edit",      "tool.zoom",    "tool.track", "tool.pad",     "tool.circle",
    "tool.area",      "tool.text",    "tool.test",  "tool.connect", "tool.polygon",
    "tool.autoroute", "tool.measure", "tool.smd",   "tool.photo",
};

struct FieldSpec {
  const TText* hint;
  const char* name;
  double min, max, step, value;
  int decimals;
};

const FieldSpec kFields[] = {
    {&texts::kFieldTrackWidth, "SE_Breite", 0, 99.9, 0.1, 0.8, 1},
    {&texts::kFieldPadOuter, "SE_Aussen", 0.1, 99.9, 0.1, 1.8, 1},
    {&texts::kFieldPadDrill, "SE_Innen", 0, 99.9, 0.1, 0.6, 1},
    {&texts::kFieldSmdWidth, "SE_SMDPad_X", 0.01, 9.99, 0.01, 0.9, 2},
    {&texts::kFieldSmdHeight, "SE_SMDPad_Y", 0.01, 9.99, 0.01, 1.8, 2},
};

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

QString fieldStyle(bool highlighted) {
  return QString(
             "QDoubleSpinBox { color: %1; background: %2; }"
             "QDoubleSpinBox:disabled { color: #c0c0c0; background: %3; }")
      .arg(highlighted ? "#ffffff" : "#ffff00", highlighted ? "#ff0000" : "#000000",
           highlighted ? "#c04040" : "#808080");
}

QDoubleSpinBox* valueField(int language, const FieldSpec& f) {
  auto* e = new QDoubleSpinBox;
  e->setObjectName(f.name);
  e->setRange(f.min, f.max);
  e->setSingleStep(f.step);
  e->setDecimals(f.decimals);
  e->setValue(f.value);
  e->setFixedWidth(59);
  e->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  e->setStyleSheet(fieldStyle(false));
  applyHint(e, language, *f.hint);
  // The value fields and their lists come with the element properties.
  e->setEnabled(false);
  return e;
}

}  // namespace

TToolPanel::TToolPanel(int language, TViewState& view, QWidget* parent) : QWidget(parent) {
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
    place(b);
    if (std::string_view(id) == "tool.pad") place(toolButton("tool.padShape", language));
    if (std::string_view(id) == "tool.text") {
      const TCommand& grid = *findCommand("tool.grid");
      grid_ = new QToolButton;
      grid_->setObjectName(QString::fromUtf8(grid.control.data(), qsizetype(grid.control.size())));
      grid_->setFixedSize(83, 24);
      grid_->setPopupMode(QToolButton::MenuButtonPopup);
      grid_->setMenu(new QMenu(grid_));
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

  const char* lists[] = {"tool.trackList", "tool.padList", "tool.smdList"};
  const int fieldRows[] = {0, 1, 3};
  for (int i = 0, list = 0; i < int(std::size(kFields)); ++i) {
    auto* fieldRow = new QHBoxLayout;
    fieldRow->setSpacing(2);
    fieldRow->addWidget(valueField(language, kFields[i]));
    if (list < 3 && fieldRows[list] == i) {
      QToolButton* b = toolButton(lists[list], language);
      b->setFixedSize(22, 22);
      b->setIconSize(QSize(16, 16));
      fieldRow->addWidget(b);
      ++list;
    } else {
      fieldRow->addSpacing(24);
    }
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

void TToolPanel::highlightFields(const TSpinHighlights& h) {
  const std::pair<const char*, bool> fields[] = {
      {"SE_Breite", h.trackWidth},  {"SE_Aussen", h.padOuter},
      {"SE_Innen", h.padDrill},     {"SE_SMDPad_X", h.smdWidth},
      {"SE_SMDPad_Y", h.smdHeight}, {"SE_FreistanzOffset", h.clearance},
  };
  for (const auto& [name, on] : fields)
    if (auto* field = content_->findChild<QDoubleSpinBox*>(name)) {
      if (field->property("highlighted").toBool() == on) continue;
      field->setProperty("highlighted", on);
      field->setStyleSheet(fieldStyle(on));
    }
}

void TToolPanel::showGrid(double gridUnits) {
  grid_->setText(QString::number(gridUnits / 100, 'g', 6) + " mm");
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
