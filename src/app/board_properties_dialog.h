// The board properties dialog: name and size of a board in whole
// millimetres, 1 to 300.
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

namespace plavesk {

enum class BoardSizeCheck { Ok, OutOfRange, NotWhole };

// A size typed in the dialog: a number from 1 to 300 ("." or "," as decimal
// separator) that must be a whole number of millimetres.
BoardSizeCheck checkBoardSize(const QString& text, int& millimetres);

class TBoardPropertiesDialog : public QDialog {
  Q_OBJECT

 public:
  // `width` and `height` in units; shown as whole millimetres, fraction
  // dropped.
  TBoardPropertiesDialog(int language, const std::string& name, int32_t width, int32_t height,
                         QWidget* parent = nullptr);

  std::string name() const;
  int32_t boardWidth() const { return width_; }    // units, after OK
  int32_t boardHeight() const { return height_; }  // units, after OK

  QLineEdit* nameField() const { return name_; }
  QLineEdit* widthField() const { return widthField_; }
  QLineEdit* heightField() const { return heightField_; }
  // The refusal shown by the last OK, empty when accepted (tests read it).
  const QString& lastRefusal() const { return lastRefusal_; }
  // Shows refusals in a message box; tests switch that off.
  bool showMessages = true;

  void accept() override;

 private:
  int language_;
  QLineEdit* name_;
  QLineEdit* widthField_;
  QLineEdit* heightField_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  QString lastRefusal_;
};

}  // namespace plavesk
