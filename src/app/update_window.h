// The "Internet Update" window: shows the date of the running program, asks
// the update address for the version file and shows the available version's
// date and size. When it is newer, a button opens the download page in the
// browser; the program itself never downloads or starts anything.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "app/update_check.h"

class QLabel;
class QPushButton;

namespace plavesk {

class TUpdateWindow : public QDialog {
  Q_OBJECT

 public:
  TUpdateWindow(int language, std::string address, QWidget* parent = nullptr);

  // Starts the check in the background; `checked` follows with the result.
  void search();
  bool searching() const { return searching_; }
  const TUpdateResult& result() const { return result_; }

  QLabel* currentDate() const { return current_; }
  QLabel* availableDate() const { return available_; }
  QLabel* fileSize() const { return size_; }
  QLabel* status() const { return status_; }
  QPushButton* searchButton() const { return search_; }
  QPushButton* downloadButton() const { return download_; }
  QPushButton* closeButton() const { return close_; }

  // Opens the download page; the platform's browser unless replaced.
  std::function<void(const QString&)> openPage;
  // Shows a failure; a message box titled "Update" unless replaced.
  std::function<void(const QString&)> report;
  long timeoutSeconds = kUpdateTimeoutSeconds;

 signals:
  void checked();

 private:
  void showResult(const TUpdateResult& result);

  int language_;
  std::string address_;
  TUpdateResult result_;
  bool searching_ = false;
  QLabel* current_;
  QLabel* available_;
  QLabel* size_;
  QLabel* versions_;
  QLabel* status_;
  QPushButton* search_;
  QPushButton* download_;
  QPushButton* close_;
};

// The update address of the settings file (section "Update", key
// "Adresse"), or the default one.
std::string updateAddressFromSettings(const std::string& settingsPath);

}  // namespace plavesk
