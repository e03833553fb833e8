#include "app/measure_panel.h"

#include <QGridLayout>
#include <QLabel>

#include "app/language.h"

namespace plavesk {

namespace {

constexpr TText kCaptions[] = {{"dX:", "dX:", "dX:"},
                               {"dY:", "dY:", "dY:"},
                               {"Abstand:", "Distance:", "Distance:"},
                               {"Winkel:", "Angle:", "Angle:"}};
constexpr const char* kNames[] = {"L_DX", "L_DY", "L_Abstand", "L_Winkel"};

}  // namespace

TMeasurePanel::TMeasurePanel(int language, QWidget* parent) : QFrame(parent) {
  setObjectName("P_Messen");
  setFrameShape(QFrame::Box);
  setAutoFillBackground(true);
  setAccessibleName(pick(language, {"Messen", "Measure", "Mesurer"}));
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(4, 2, 4, 2);
  grid->setSpacing(1);
  for (int i = 0; i < 4; ++i) {
    captions_[size_t(i)] = new QLabel(pick(language, kCaptions[i]));
    values_[size_t(i)] = new QLabel;
    values_[size_t(i)]->setObjectName(kNames[i]);
    values_[size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(captions_[size_t(i)], i, 0);
    grid->addWidget(values_[size_t(i)], i, 1);
  }
  hide();
}

void TMeasurePanel::showAt(const TMeasureReadout& r, QPoint pointer, QSize visible) {
  const std::string* texts[] = {&r.dx, &r.dy, &r.distance, &r.angle};
  for (int i = 0; i < 4; ++i) {
    const QString text = QString::fromStdString(*texts[i]);
    values_[size_t(i)]->setText(text);
    values_[size_t(i)]->setAccessibleName(captions_[size_t(i)]->text() + " " + text);
  }
  adjustSize();
  const int top = pointer.y() + 80 < visible.height() ? pointer.y() + 20 : pointer.y() - height();
  const int left = pointer.x() + 120 < visible.width() ? pointer.x() + 20 : pointer.x() - width();
  move(left, top);
  show();
  raise();
  repaint();
}

QString TMeasurePanel::line(int row) const {
  return captions_[size_t(row)]->text() + " " + values_[size_t(row)]->text();
}

}  // namespace plavesk
