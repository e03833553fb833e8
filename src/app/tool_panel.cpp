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

namespace plavesk {

namespace {

constexpr int kScrollBarRoom = 109;

struct ToolButtonSpec {
  IconId icon;
  const TText* hint;
  const char* name;
  bool enabled;  // the tool modes other than Edit arrive with the tools
};

const ToolButtonSpec kTools[] = {
    {IconId::Edit, &texts::kToolEdit, "SB_Standard", true},
    {IconId::Zoom, &texts::kToolZoom, "SB_Zoom", false},
    {IconId::Track, &texts::kToolTrack, "SB_Line", false},
    {IconId::Pad, &texts::kToolPad, "SB_Circle", false},
    {IconId::Circle, &texts::kToolCircle, "SB_Ring", false},
    {IconId::Area, &texts::kToolArea, "SB_Polygon", false},
    {IconId::Text, &texts::kToolText, "SB_LineText", false},
    {IconId::Test, &texts::kToolTest, "SB_Test", false},
    {IconId::Connect, &texts::kToolConnect, "SB_Connect", false},
    {IconId::Polygon, &texts::kToolPolygon, "SB_Vieleck", false},
    {IconId::Autoroute, &texts::kToolAutoroute, "SB_AutoRoute", false},
    {IconId::Measure, &texts::kToolMeasure, "SB_Messen", false},
    {IconId::SmdPad, &texts::kToolSmd, "SB_SMDPad", false},
    {IconId::Photo, &texts::kToolPhoto, "SB_RealAnsicht", false},
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

QToolButton* toolButton(IconId icon, int language, const TText& hint, const char* name) {
  auto* b = new QToolButton;
  b->setIcon(appIcon(icon));
  b->setIconSize(QSize(24, 24));
  b->setFixedSize(40, 34);
  b->setAutoRaise(false);
  b->setObjectName(name);
  applyHint(b, language, hint);
  return b;
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
  e->setStyleSheet(
      "QDoubleSpinBox { color: #ffff00; background: #000000; }"
      "QDoubleSpinBox:disabled { color: #c0c0c0; background: #808080; }");
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
  for (const ToolButtonSpec& t : kTools) {
    QToolButton* b = toolButton(t.icon, language, *t.hint, t.name);
    b->setCheckable(true);
    b->setEnabled(t.enabled);
    tools_->addButton(b);
    place(b);
    if (t.icon == IconId::Pad) {
      QToolButton* shape =
          toolButton(IconId::PadShape, language, texts::kToolPadShape, "SB_PadShape");
      shape->setEnabled(false);
      place(shape);
    }
    if (t.icon == IconId::Text) {
      grid_ = new QToolButton;
      grid_->setObjectName("SB_Raster");
      grid_->setFixedSize(83, 24);
      grid_->setPopupMode(QToolButton::MenuButtonPopup);
      grid_->setMenu(new QMenu(grid_));
      grid_->setEnabled(false);
      applyHint(grid_, language, texts::kToolGrid);
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

  const IconId lists[] = {IconId::ValueList, IconId::ValueList, IconId::ValueList};
  const TText* listHints[] = {&texts::kToolTrackList, &texts::kToolPadList, &texts::kToolSmdList};
  const char* listNames[] = {"SB_LineContainer", "SB_LoetaugenContainer", "SB_SMDContainer"};
  const int fieldRows[] = {0, 1, 3};
  for (int i = 0, list = 0; i < int(std::size(kFields)); ++i) {
    auto* fieldRow = new QHBoxLayout;
    fieldRow->setSpacing(2);
    fieldRow->addWidget(valueField(language, kFields[i]));
    if (list < 3 && fieldRows[list] == i) {
      QToolButton* b = toolButton(lists[list], language, *listHints[list], listNames[list]);
      b->setFixedSize(22, 22);
      b->setIconSize(QSize(16, 16));
      b->setEnabled(false);
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
