#include "app/autoroute_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>

#include "app/help_topics.h"
#include "app/language.h"
#include "app/lay_spin_edit.h"
#include "editing/autoroute_tool.h"
#include "routing/route_texts.h"

namespace plavesk {

namespace {

constexpr TText kWidth{"Breite:", "Width:", "Largeur:"};
constexpr TText kClearance{"Abstand:", "Distance:", "Distance:"};

}  // namespace

TAutorouteWindow::TAutorouteWindow(int language, TAutorouteTool& router, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint),
      router_(router) {
  setObjectName("AutorouteWindow");
  setWindowTitle("Autorouter");
  setAccessibleName("Autorouter");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 8, 8, 8);
  grid->setHorizontalSpacing(6);
  // The fields start at 0.4 mm and 0.2 mm on every start of the program.
  width_ = new TLaySpinEdit(0.1, 9.9, 0.1, 1, router.widthMm);
  width_->setObjectName("SE_AutoWidth");
  width_->setCaption(pick(language, kWidth).remove(':'));
  clearance_ = new TLaySpinEdit(0.1, 9.9, 0.1, 1, router.clearanceMm);
  clearance_->setObjectName("SE_AutoAbstand");
  clearance_->setCaption(pick(language, kClearance).remove(':'));
  grid->addWidget(new QLabel(pick(language, kWidth)), 0, 0);
  grid->addWidget(width_, 0, 1);
  grid->addWidget(new QLabel(pick(language, kClearance)), 1, 0);
  grid->addWidget(clearance_, 1, 1);
  status_ = new QLabel;
  status_->setObjectName("P_AutoInfo");
  status_->setFrameShape(QFrame::StyledPanel);
  status_->setFrameShadow(QFrame::Sunken);
  status_->setStyleSheet("QLabel { color: blue; }");
  status_->setMinimumWidth(150);
  grid->addWidget(status_, 2, 0, 1, 2);
  status_->setText(QString::fromStdString(routeText(TRouteText::ready, language)));
  status_->setAccessibleName(status_->text().trimmed());
  connect(width_, &TLaySpinEdit::OnEditChange, this, [this] { router_.widthMm = width_->value(); });
  connect(clearance_, &TLaySpinEdit::OnEditChange, this,
          [this] { router_.clearanceMm = clearance_->value(); });
  router_.status = [this](const std::string& text) { showStatus(text); };
  adjustSize();
  setFixedSize(sizeHint());
}

void TAutorouteWindow::showWithTool(bool shown) {
  if (shown == isVisible()) return;
  if (!shown) {
    hiding_ = true;
    hide();
    hiding_ = false;
    return;
  }
  if (!placed_ && parentWidget()) {
    placed_ = true;
    const QRect owner = parentWidget()->frameGeometry();
    move(owner.center() - QPoint(width() / 2, height() / 2));
  }
  show();
}

void TAutorouteWindow::showStatus(const std::string& text) {
  status_->setText(QString::fromStdString(" " + text));
  status_->setAccessibleName(QString::fromStdString(text));
  status_->repaint();
}

void TAutorouteWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (!hiding_ && closedByUser) closedByUser();
}

void TAutorouteWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    showHelpTopic(kHelpAutorouter);
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace plavesk
