#include "app/photo_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/help_topics.h"
#include "app/language.h"
#include "view/photo_view.h"

namespace plavesk {

namespace {
constexpr TText kTitle{"Fotoansicht", "Photoview", "Vue photo"};
constexpr TText kSide1{"Seite 1 = K1/B1", "Side 1 = C1/S1", "Face 1 = C1/S1"};
constexpr TText kSide2{"Seite 2 = K2/B2  (gespiegelt)", "Side 2 = C2/S2 (mirrored)",
                       "Face 2 = C2/S2 (inversée)"};
constexpr TText kSilkscreen{"Mit Bestückung", "with silkscreen", "avec sérigraphie"};
constexpr TText kXray{"Durchscheinend", "X-Ray", "Rayons-X"};

template <class W>
W* named(W* w, const char* name, int language, const TText& caption) {
  w->setObjectName(name);
  w->setAccessibleName(pick(language, caption));
  return w;
}
}  // namespace

bool applyPhotoView(TViewState& view, TRenderSettings& render, bool active,
                    const TPhotoOptions& options) {
  const bool before = view.mirrored();
  view.photoViewActive = active;
  view.photoMirrored = options.mirrored();
  render.photoView = active;
  render.photo = options;
  const bool flipped = view.mirrored() != before;
  if (flipped)
    view.record().scrollX =
        mirroredScrollPosition(view.surfaceWidth(), view.scrollX(), view.clientWidth);
  return flipped;
}

TPhotoWindow::TPhotoWindow(int language, TViewState& view, TRenderSettings& render, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), view_(view), render_(render) {
  setObjectName("FotoAnsicht");
  setWindowTitle(pick(language, kTitle));
  setAccessibleName(pick(language, kTitle));
  side1_ = named(new QRadioButton(pick(language, kSide1)), "RB_Seite1", language, kSide1);
  side2_ = named(new QRadioButton(pick(language, kSide2)), "RB_Seite2", language, kSide2);
  silkscreen_ =
      named(new QCheckBox(pick(language, kSilkscreen)), "CB_Bestueckung", language, kSilkscreen);
  xray_ = named(new QCheckBox(pick(language, kXray)), "CB_XRay", language, kXray);
  side1_->setChecked(true);
  silkscreen_->setChecked(true);
  xray_->setChecked(true);
  auto* column = new QVBoxLayout(this);
  column->addWidget(side1_);
  column->addWidget(side2_);
  column->addWidget(silkscreen_);
  column->addWidget(xray_);
  for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{side2_, silkscreen_, xray_})
    connect(b, &QAbstractButton::toggled, this, [this] {
      if (isVisible()) refreshView(true);
    });
  adjustSize();
  setFixedSize(sizeHint());
}

TPhotoOptions TPhotoWindow::options() const {
  TPhotoOptions o;
  o.side = side2_->isChecked() ? 2 : 1;
  o.silkscreen = silkscreen_->isChecked();
  o.xray = xray_->isChecked();
  return o;
}

void TPhotoWindow::refreshView(bool active) {
  applyPhotoView(view_, render_, active, options());
  if (changed) changed();
}

void TPhotoWindow::leave() {
  leaving_ = true;
  hide();
  leaving_ = false;
}

void TPhotoWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  refreshView(true);
}

void TPhotoWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  refreshView(false);
}

void TPhotoWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (!leaving_ && closedByUser) closedByUser();
}

void TPhotoWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    showHelpTopic(kHelpPhotoView);
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace plavesk
