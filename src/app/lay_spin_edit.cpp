#include "app/lay_spin_edit.h"

#include <QBitmap>
#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace plavesk {

namespace {

constexpr int kKnobWidth = 5;
constexpr int kKnobHeight = 12;
constexpr int kStripWidth = 3;
const QColor kDisabledText(0xc0, 0xc0, 0xc0);
const QColor kDisabledBack(0x80, 0x80, 0x80);

// The knob pictures: a ribbed wheel seen from the side, "RAD1" at rest and
// the lighter "RAD2" under the pointer or pressed.
QPixmap knobPicture(bool lit) {
  QImage image(kKnobWidth, kKnobHeight, QImage::Format_RGB32);
  const QColor body = lit ? QColor(0xe8, 0xe8, 0xe8) : QColor(0xc0, 0xc0, 0xc0);
  const QColor rib = lit ? QColor(0x40, 0x40, 0xff) : QColor(0x40, 0x40, 0x40);
  image.fill(body);
  QPainter p(&image);
  p.setPen(QColor(0x80, 0x80, 0x80));
  p.drawRect(0, 0, kKnobWidth - 1, kKnobHeight - 1);
  p.setPen(rib);
  for (int y = 2; y < kKnobHeight - 1; y += 2) p.drawLine(1, y, kKnobWidth - 2, y);
  return QPixmap::fromImage(image);
}

}  // namespace

// The spinner knob: its own widget so it can carry the spinner cursor and
// watch the pointer.
class TSpinKnob : public QWidget {
 public:
  explicit TSpinKnob(TLaySpinEdit& owner) : QWidget(&owner), owner_(owner) {
    setFixedSize(kKnobWidth + 2, kKnobHeight + 4);
    setCursor(spinCursor());
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    static const QPixmap rest = knobPicture(false), lit = knobPicture(true);
    p.drawPixmap((width() - kKnobWidth) / 2, (height() - kKnobHeight) / 2,
                 hover_ || pressed_ ? lit : rest);
  }
  bool event(QEvent* e) override {
    if (e->type() == QEvent::HoverEnter || e->type() == QEvent::HoverLeave) {
      hover_ = e->type() == QEvent::HoverEnter;
      update();
    }
    return QWidget::event(e);
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (!owner_.isEnabled()) return;
    owner_.edit_->setFocus(Qt::MouseFocusReason);
    if (e->button() == Qt::LeftButton || e->button() == Qt::RightButton) {
      pressed_ = true;
      dragged_ = false;
      referenceY_ = int(e->position().y());
      update();
    }
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (!pressed_ || !(e->buttons() & Qt::LeftButton)) return;
    const int y = int(e->position().y());
    if (spinDragSteps(referenceY_ - y) == 0) return;
    owner_.spinDrag(referenceY_ - y, e->modifiers() & Qt::ControlModifier);
    referenceY_ = y;
    dragged_ = true;
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (!pressed_) return;
    pressed_ = false;
    update();
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    if (e->button() == Qt::LeftButton && !dragged_) owner_.spinClick(true, ctrl);
    if (e->button() == Qt::RightButton) owner_.spinClick(false, ctrl);
  }
  void contextMenuEvent(QContextMenuEvent* e) override { e->accept(); }

 private:
  TLaySpinEdit& owner_;
  bool hover_ = false;
  bool pressed_ = false;
  bool dragged_ = false;
  int referenceY_ = 0;
};

TLaySpinEdit::TLaySpinEdit(QWidget* parent) : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  edit_ = new QLineEdit(this);
  edit_->setFrame(false);
  edit_->setMaxLength(5);
  QFont font("Arial");
  font.setPointSize(8);
  edit_->setFont(font);
  edit_->setTextMargins(1, 0, 0, 0);
  edit_->installEventFilter(this);
  edit_->setFixedWidth(edit_->fontMetrics().horizontalAdvance("00000") + 6);
  row->addWidget(edit_);
  row->addSpacing(kStripWidth);
  knob_ = new TSpinKnob(*this);
  row->addWidget(knob_, 0, Qt::AlignVCenter);
  setFocusProxy(edit_);
  connect(edit_, &QLineEdit::textChanged, this, [this] { textEdited(); });
  applyColours();
  setValue(0);
}

TLaySpinEdit::TLaySpinEdit(double min, double max, double step, int decimals, double value,
                           QWidget* parent)
    : TLaySpinEdit(parent) {
  range_ = {min, max, step, decimals};
  setValue(value);
}

TLaySpinEdit::~TLaySpinEdit() {
  // The edit field loses the focus while it is destroyed: no events then.
  edit_->removeEventFilter(this);
  disconnect(edit_, nullptr, this, nullptr);
}

void TLaySpinEdit::setRange(double min, double max) {
  range_.min = min;
  range_.max = max;
}

double TLaySpinEdit::value() {
  QString text = edit_->text();
  if (text.contains(',')) {
    const int caret = edit_->cursorPosition();
    text.replace(',', '.');
    edit_->setText(text);
    edit_->setCursorPosition(caret);
  }
  return readSpinText(text.toStdString(), range_);
}

void TLaySpinEdit::setValue(double mm) {
  edit_->setText(QString::fromStdString(formatSpinValue(mm, range_)));
}

QString TLaySpinEdit::text() const {
  return edit_->text();
}

void TLaySpinEdit::setText(const QString& text) {
  edit_->setText(text);
}

void TLaySpinEdit::setEditTextColor(const QColor& colour) {
  textColour_ = colour;
  applyColours();
}

void TLaySpinEdit::setEditBKColor(const QColor& colour) {
  backColour_ = colour;
  applyColours();
}

void TLaySpinEdit::setCaption(const QString& caption) {
  setAccessibleName(caption);
  edit_->setAccessibleName(caption);
  knob_->setAccessibleName(caption);
}

QWidget* TLaySpinEdit::knob() const {
  return knob_;
}

void TLaySpinEdit::spinClick(bool up, bool ctrl) {
  spinTo(plavesk::spinClick(value(), range_, up, ctrl));
}

void TLaySpinEdit::spinDrag(int pixelsUp, bool ctrl) {
  spinTo(plavesk::spinDrag(value(), range_, pixelsUp, ctrl));
}

void TLaySpinEdit::spinTo(double v) {
  setValue(v);
}

void TLaySpinEdit::textEdited() {
  if (backupArmed_) {
    backupArmed_ = false;
    emit OnBackup();
  }
  emit OnEditChange();
}

QSize TLaySpinEdit::sizeHint() const {
  return {edit_->width() + kStripWidth + knob_->width(),
          std::max(edit_->sizeHint().height(), knob_->height())};
}

bool TLaySpinEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_) {
    if (event->type() == QEvent::FocusIn) {
      // Coming back to the window is no entering of the field; a click into
      // the field of an inactive window gets the focus with that same
      // reason, and is one.
      if (!entered_) {
        entered_ = true;
        backupArmed_ = true;
        emit OnEditEnter();
      }
    } else if (event->type() == QEvent::FocusOut) {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (entered_ && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        entered_ = false;
        setValue(value());
        emit OnEditExit();
        backupArmed_ = false;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TLaySpinEdit::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) applyColours();
  QWidget::changeEvent(event);
}

void TLaySpinEdit::paintEvent(QPaintEvent*) {
  // The strip between the edit field and the knob takes the field's colour.
  QPainter p(this);
  const QRect strip(edit_->geometry().right() + 1, edit_->geometry().top(), kStripWidth,
                    edit_->height());
  p.fillRect(strip, isEnabled() ? backColour_ : kDisabledBack);
}

void TLaySpinEdit::applyColours() {
  const bool on = isEnabled();
  QPalette palette = edit_->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Text, on ? textColour_ : kDisabledText);
    palette.setColor(group, QPalette::Base, on ? backColour_ : kDisabledBack);
  }
  edit_->setPalette(palette);
  update();
}

const QCursor& spinCursor() {
  // "SE_CURSOR": an up and a down arrow around a short bar, outlined in white.
  static const QCursor cursor = [] {
    constexpr int kSize = 32;
    QImage picture(kSize, kSize, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    {
      QPainter p(&picture);
      const QPolygonF up{{14.5, 4.5}, {9.5, 11.5}, {19.5, 11.5}};
      const QPolygonF down{{14.5, 27.5}, {9.5, 20.5}, {19.5, 20.5}};
      for (const auto& [pen, brush] : {std::pair{QPen(Qt::white, 3), QBrush(Qt::white)},
                                       std::pair{QPen(Qt::black, 1), QBrush(Qt::black)}}) {
        p.setPen(pen);
        p.setBrush(brush);
        p.drawPolygon(up);
        p.drawPolygon(down);
        p.drawLine(QPointF(14.5, 11.5), QPointF(14.5, 20.5));
        p.drawLine(QPointF(11.5, 16), QPointF(17.5, 16));
      }
    }
    QImage bits(kSize, kSize, QImage::Format_MonoLSB), mask(kSize, kSize, QImage::Format_MonoLSB);
    bits.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    mask.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    bits.fill(0);
    mask.fill(0);
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        const QRgb c = picture.pixel(x, y);
        if (qAlpha(c) < 128) continue;
        mask.setPixel(x, y, 1);
        if (qGray(c) < 128) bits.setPixel(x, y, 1);
      }
    return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), 14, 16);
  }();
  return cursor;
}

}  // namespace plavesk
