#include "app/error_report.h"

#include <QMessageBox>
#include <exception>
#include <new>

#include "app/main_window_texts.h"

namespace plavesk {

std::string errorReportText(const std::string& text) {
  if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
    return text + ".";
  return text;
}

void showErrorReport(const std::string& text) {
  QMessageBox::critical(QApplication::activeWindow(), QString::fromUtf8(texts::kProgramTitle),
                        QString::fromStdString(errorReportText(text)));
}

bool TPlaveskApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::bad_alloc&) {
    showErrorReport(pickText(interfaceLanguage(), {"Zu wenig Arbeitsspeicher", "Out of memory",
                                                   "Mémoire insuffisante"}));
  } catch (const std::exception& e) {
    showErrorReport(e.what());
  }
  return false;
}

}  // namespace plavesk
