#include "app/status_panels.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolButton>

#include "app/ground_plane_controls.h"
#include "app/hint_text.h"
#include "app/main_window_texts.h"
#include "editing/command_table.h"
#include "view/layer_visibility.h"

namespace plavesk {

namespace {

QString colourName(TColour c) {
  return QColor(redOf(c), greenOf(c), blueOf(c)).name();
}

}  // namespace

TStatusPanels::TStatusPanels(int language, QStatusBar* bar) : QObject(bar), language_(language) {
  coordinates_ = new QLabel;
  coordinates_->setObjectName("L_Koordinaten");
  coordinates_->setFixedWidth(110);
  coordinates_->setFrameShape(QFrame::StyledPanel);
  coordinates_->setFrameShadow(QFrame::Sunken);
  bar->addWidget(coordinates_);

  layerPanel_ = new QWidget;
  layerPanel_->setObjectName("P_Layer");
  layerPanel_->setAutoFillBackground(true);
  auto* grid = new QGridLayout(layerPanel_);
  grid->setContentsMargins(4, 1, 4, 1);
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(0);
  auto* group = new QButtonGroup(this);
  for (int layer = 1; layer <= 4; ++layer) {
    auto* v = new QToolButton;
    v->setObjectName(QString("SB_") + texts::kLayerShort[layer - 1].de);
    v->setText(pick(language, texts::kLayerShort[layer - 1]));
    v->setFixedSize(28, 18);
    v->setAutoRaise(true);
    applyHint(v, language, texts::kHintLayerVisible);
    connect(v, &QToolButton::clicked, this, [this, layer] {
      if (visibilityClicked) visibilityClicked(layer);
    });
    grid->addWidget(v, 0, layer - 1, Qt::AlignHCenter);
    visible_[size_t(layer - 1)] = v;
    auto* a = new QRadioButton;
    a->setObjectName(QString("RB_") + texts::kLayerShort[layer - 1].de);
    applyHint(a, language, texts::kHintLayerActive);
    group->addButton(a, layer);
    grid->addWidget(a, 1, layer - 1, Qt::AlignHCenter);
    active_[size_t(layer - 1)] = a;
  }
  connect(group, &QButtonGroup::idClicked, this, [this](int layer) {
    if (activeChosen) activeChosen(layer);
  });
  auto small = [](QLabel* l) {
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    l->setFont(f);
    return l;
  };
  grid->addWidget(small(new QLabel(pick(language, texts::kStatusVisible))), 0, 4);
  grid->addWidget(small(new QLabel(pick(language, texts::kStatusActive))), 1, 4);
  layerInfo_ = new QToolButton;
  layerInfo_->setObjectName("SB_LayerInfo");
  layerInfo_->setText("?");
  layerInfo_->setFixedSize(18, 32);
  applyHint(layerInfo_, language, findCommand("layer.info")->hint);
  connect(layerInfo_, &QToolButton::clicked, this, [this] {
    if (layerInfoClicked) layerInfoClicked();
  });
  grid->addWidget(layerInfo_, 0, 5, 2, 1);
  bar->addWidget(layerPanel_);

  boardSize_ = new QPushButton;
  boardSize_->setObjectName("SB_PlatinenGroesse");
  boardSize_->setFlat(false);
  applyHint(boardSize_, language, texts::kHintBoardSize);
  connect(boardSize_, &QPushButton::clicked, this, [this] {
    if (boardSizeClicked) boardSizeClicked();
  });
  bar->addWidget(boardSize_);

  // The ground-plane button; its clearance field and cutout button show
  // only while it is down.
  groundPlane_ = new TGroundPlaneControls(language);
  bar->addWidget(groundPlane_);

  hint_ = new QLabel;
  hint_->setObjectName("L_Hilfetext");
  hint_->setFrameShape(QFrame::StyledPanel);
  hint_->setFrameShadow(QFrame::Sunken);
  hint_->setMinimumWidth(100);
  bar->addWidget(hint_, 1);
}

void TStatusPanels::showCoordinates(const QString& x, const QString& y) {
  coordinates_->setText(x + "\n" + y);
}

void TStatusPanels::showLayers(const TBoardRecord& state, const TColourScheme& colours) {
  const TLayerPanelLook look = layerPanelLook(state, colours, language_);
  QPalette pal = layerPanel_->palette();
  pal.setColor(QPalette::Window,
               QColor(redOf(look.background), greenOf(look.background), blueOf(look.background)));
  pal.setColor(QPalette::WindowText, Qt::white);
  layerPanel_->setPalette(pal);
  for (int i = 0; i < 4; ++i) {
    QToolButton* v = visible_[size_t(i)];
    v->setText(QString::fromUtf8(look.captions[size_t(i)]));
    v->setStyleSheet(QString("QToolButton { color: %1; font-weight: %2; }")
                         .arg(colourName(look.captionColours[size_t(i)]))
                         .arg(look.bold[size_t(i)] ? "bold" : "normal"));
    active_[size_t(i)]->setChecked(state.activeLayer == i + 1);
  }
}

void TStatusPanels::showBoardSize(int32_t width, int32_t height) {
  boardSize_->setText(QString("%1 x %2 mm").arg(width / 100.0).arg(height / 100.0));
}

void TStatusPanels::setHint(const QString& text) {
  hint_->setText(text);
}

QString TStatusPanels::hint() const {
  return hint_->text();
}

}  // namespace plavesk
