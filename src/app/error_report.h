// The report of an error that no command handled itself: a message box with
// the program title and an error icon; the program goes on.
#pragma once

#include <QApplication>
#include <string>

namespace plavesk {

// The text as the report shows it: a full stop is appended when the last
// character sorts after ".".
std::string errorReportText(const std::string& text);

// The event loop: an exception escaping an event handler ends that command
// and is reported instead of ending the program.
class TPlaveskApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the report (also used by commands that fail on a file).
void showErrorReport(const std::string& text);

}  // namespace plavesk
