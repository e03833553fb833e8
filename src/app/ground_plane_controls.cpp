#include "app/ground_plane_controls.h"

#include <QHBoxLayout>
#include <QToolButton>

#include "app/hint_text.h"
#include "app/lay_spin_edit.h"
#include "editing/command_table.h"
#include "editing/tool_value_fields.h"

namespace plavesk {

namespace {

constexpr TText kGroundPlaneHint{"AutoMasse|Schaltet die AutoMasse für das Layout ein/aus",
                                 "Ground plane|Enable/disable ground plane",
                                 "Plan de masse|Active ou désactive le plan de masse"};
// The narrow field holds the button alone, the wide one the clearance and
// the cutout button as well.
constexpr int kNarrow = 47;

}  // namespace

TGroundPlaneControls::TGroundPlaneControls(int language, QWidget* parent) : QWidget(parent) {
  setObjectName("P_AutoMasse");
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  groundPlane_ = new QToolButton;
  groundPlane_->setObjectName("SB_AutoMasse");
  groundPlane_->setText("GND");
  groundPlane_->setCheckable(true);
  groundPlane_->setFixedWidth(kNarrow);
  applyHint(groundPlane_, language, kGroundPlaneHint);
  connect(groundPlane_, &QToolButton::clicked, this, [this](bool on) {
    if (groundPlaneClicked) groundPlaneClicked(on);
  });
  row->addWidget(groundPlane_);

  const TValueFieldInfo& field = valueFieldInfo(TValueField::clearance);
  clearance_ = new TLaySpinEdit(field.range.min, field.range.max, field.range.step,
                                field.range.decimals, field.start);
  clearance_->setObjectName(
      QString::fromUtf8(field.control.data(), qsizetype(field.control.size())));
  applyHint(clearance_, language, field.hint);
  clearance_->setCaption(QString::fromUtf8(pickText(language, field.hint)).section('|', 0, 0));
  row->addWidget(clearance_);

  const TCommand* cutout = findCommand("tool.cutout");
  cutout_ = new QToolButton;
  cutout_->setObjectName("SB_Sperrflaeche");
  cutout_->setText("//");
  cutout_->setCheckable(true);
  if (cutout) applyHint(cutout_, language, cutout->hint);
  connect(cutout_, &QToolButton::clicked, this, [this](bool down) {
    if (cutoutClicked) cutoutClicked(down);
  });
  row->addWidget(cutout_);
  showGroundPlane(false, false);
}

void TGroundPlaneControls::showGroundPlane(bool on, bool cutoutDown) {
  groundPlane_->setChecked(on);
  cutout_->setChecked(on && cutoutDown);
  if (on == controlsShown_ && isVisible()) return;
  controlsShown_ = on;
  clearance_->setVisible(on);
  cutout_->setVisible(on);
  adjustSize();
}

}  // namespace plavesk
