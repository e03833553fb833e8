// The help window: the manual's HTML pages in a text browser, opened at a
// topic number or at the contents. The pages lie in "manual/<de|en|fr>/"
// beside the program (or in share/plavesk/manual of an installed program);
// without them help does nothing.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "app/help_topics.h"

class QDialog;
class QPushButton;
class QTextBrowser;
class QToolButton;

namespace plavesk {

// Every topic number a window may ask for, in the order of the contents.
const std::vector<int>& helpTopicNumbers();

// The page of a topic: "topic-<n>.html"; the contents page is "index.html".
std::string helpPageName(int topic);

// Where the manual is looked for: the folders tried in order, each holding
// one folder per language.
void setManualFolders(std::vector<std::string> folders);
// The manual folders for a program in `programFolder` (ending in a
// separator): "manual" beside it, then "../share/plavesk/manual".
std::vector<std::string> manualFoldersFor(const std::string& programFolder);

// The page file for `topic` (0: the contents) in `language`, falling back to
// English and then German; empty when no such page exists or the number is
// none of the table.
std::string findHelpPage(int language, int topic);

// Help for a dialog: F1 and a "Hilfe" button in its OK/Cancel row (when it
// has one) open `topic`; the dialog's "helpTopic" property names it.
QPushButton* attachHelp(QDialog& dialog, int topic, int language);

class THelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit THelpWindow(int language);
  void showPage(const std::string& path);
  QTextBrowser* browser() const { return browser_; }

  // The one help window of the program (made on first use).
  static THelpWindow* instance(bool create);

 protected:
  // Escape closes the window, as it closes a dialog.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTextBrowser* browser_;
  QToolButton* back_;
  QToolButton* forward_;
  QToolButton* contents_;
  int language_;
};

}  // namespace plavesk
