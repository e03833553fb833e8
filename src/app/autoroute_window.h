// The autorouter window: a small tool window that stays on top while the
// autoroute tool is chosen, with the track width and clearance of the next
// route and a blue status line the router writes into as it works.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

class QLabel;

namespace plavesk {

class TAutorouteTool;
class TLaySpinEdit;

class TAutorouteWindow : public QWidget {
  Q_OBJECT

 public:
  TAutorouteWindow(int language, TAutorouteTool& router, QWidget* parent);

  // The user closed the window: back to the standard tool.
  std::function<void()> closedByUser;

  // Shown with the autoroute tool, hidden by every other tool; centred on
  // the main window the first time.
  void showWithTool(bool shown);
  // showStatus: a blank and the text, painted at once (the router runs
  // without returning to the event loop).
  void showStatus(const std::string& text);

  TLaySpinEdit* widthField() const { return width_; }
  TLaySpinEdit* clearanceField() const { return clearance_; }
  QLabel* statusLine() const { return status_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TAutorouteTool& router_;
  TLaySpinEdit* width_;
  TLaySpinEdit* clearance_;
  QLabel* status_;
  bool placed_ = false;
  bool hiding_ = false;
};

}  // namespace plavesk
