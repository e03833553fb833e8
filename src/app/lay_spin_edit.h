// TLaySpinEdit: the program's numeric entry field. From left to right an edit
// field of at most 5 characters, a coloured strip and a spinner knob. A click
// on the knob adds Step, a right click subtracts it, Ctrl makes it 5 x Step
// rounded to a multiple of that; dragging the knob upward or downward changes
// the value quadratically with the speed of the move. Values are millimetres
// with "." as decimal separator; "," typed by the user is read as ".".
#pragma once

#include <QColor>
#include <QLineEdit>
#include <QWidget>

#include "editing/spin_value.h"

namespace plavesk {

class TSpinKnob;

class TLaySpinEdit : public QWidget {
  Q_OBJECT
  Q_PROPERTY(double Min READ min WRITE setMin)
  Q_PROPERTY(double Max READ max WRITE setMax)
  Q_PROPERTY(double Step READ step WRITE setStep)
  Q_PROPERTY(int NachkommaStellen READ decimals WRITE setDecimals)
  Q_PROPERTY(QColor EditTextColor READ editTextColor WRITE setEditTextColor)
  Q_PROPERTY(QColor EditBKColor READ editBKColor WRITE setEditBKColor)

 public:
  explicit TLaySpinEdit(QWidget* parent = nullptr);
  // Range, step, decimals and the value shown, in one call.
  TLaySpinEdit(double min, double max, double step, int decimals, double value,
               QWidget* parent = nullptr);
  ~TLaySpinEdit() override;

  double min() const { return range_.min; }
  double max() const { return range_.max; }
  double step() const { return range_.step; }
  int decimals() const { return range_.decimals; }
  const TSpinRange& range() const { return range_; }
  void setMin(double v) { range_.min = v; }
  void setMax(double v) { range_.max = v; }
  void setRange(double min, double max);
  void setStep(double v) { range_.step = v; }
  void setDecimals(int v) { range_.decimals = v; }

  // GetValue: every "," in the field becomes "." (the caret stays), the text
  // is read and limited to [Min, Max].
  double value();
  // SetValue: rounded to 4 decimals, limited and shown with the decimals.
  void setValue(double mm);
  // The raw edit text.
  QString text() const;
  void setText(const QString& text);

  QColor editTextColor() const { return textColour_; }
  QColor editBKColor() const { return backColour_; }
  void setEditTextColor(const QColor& colour);
  void setEditBKColor(const QColor& colour);

  // The caption users and the accessibility interface know the field by;
  // the edit field and the knob carry it too.
  void setCaption(const QString& caption);
  QLineEdit* edit() const { return edit_; }
  QWidget* knob() const;

  // What a click on the knob and an upward drag of `pixelsUp` pixels do, for
  // callers that drive the control without a pointer.
  void spinClick(bool up, bool ctrl);
  void spinDrag(int pixelsUp, bool ctrl);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 signals:
  // The edit field got the focus.
  void OnEditEnter();
  // The text changed (by the user or by setValue).
  void OnEditChange();
  // The edit field lost the focus; its text is canonical again.
  void OnEditExit();
  // The first text change after entering the field: time for an undo step.
  void OnBackup();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  friend class TSpinKnob;
  void applyColours();
  void spinTo(double v);
  void textEdited();

  TSpinRange range_;
  QLineEdit* edit_;
  TSpinKnob* knob_;
  QColor textColour_{0xff, 0xff, 0x00};
  QColor backColour_{0, 0, 0};
  bool backupArmed_ = false;
  // Between OnEditEnter and OnEditExit: the focus leaving for another window
  // and coming back is no leaving and entering.
  bool entered_ = false;
};

// The spinner cursor "SE_CURSOR" (hot spot 14,16), made once.
const QCursor& spinCursor();

}  // namespace plavesk
