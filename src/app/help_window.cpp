#include "app/help_window.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/language.h"

namespace plavesk {

namespace {

std::vector<std::string> gManualFolders;
QPointer<THelpWindow> gWindow;

const char* languageFolder(int language) {
  switch (language) {
    case kEnglish:
      return "en";
    case kFrench:
      return "fr";
    default:
      return "de";
  }
}

bool isFile(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

constexpr TText kTitle{"Plavesk - Hilfe", "Plavesk - Help", "Plavesk - Aide"};
constexpr TText kBack{"Zurück", "Back", "Retour"};
constexpr TText kForward{"Vor", "Forward", "Suivant"};
constexpr TText kContents{"Inhalt", "Contents", "Sommaire"};
constexpr TText kHelpButton{"&Hilfe", "&Help", "&Aide"};

void openAt(int topic) {
  const std::string page = findHelpPage(interfaceLanguage(), topic);
  if (page.empty()) return;
  THelpWindow* window = THelpWindow::instance(true);
  window->showPage(page);
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace

const std::vector<int>& helpTopicNumbers() {
  static const std::vector<int> numbers(std::begin(kHelpTopics), std::end(kHelpTopics));
  return numbers;
}

std::string helpPageName(int topic) {
  return topic == 0 ? "index.html" : "topic-" + std::to_string(topic) + ".html";
}

void setManualFolders(std::vector<std::string> folders) {
  gManualFolders = std::move(folders);
}

std::vector<std::string> manualFoldersFor(const std::string& programFolder) {
  return {programFolder + "manual", programFolder + "../share/plavesk/manual"};
}

std::string findHelpPage(int language, int topic) {
  const auto& numbers = helpTopicNumbers();
  if (topic != 0 && std::find(numbers.begin(), numbers.end(), topic) == numbers.end()) return {};
  for (const std::string& folder : gManualFolders)
    for (int lang : {language, int(kEnglish), int(kGerman)}) {
      const auto path = std::filesystem::path(folder) / languageFolder(lang) / helpPageName(topic);
      if (isFile(path)) return path.lexically_normal().string();
    }
  return {};
}

void showHelpTopic(int topic) {
  if (topic > 0) openAt(topic);
}

void showHelpContents() {
  openAt(0);
}

QPushButton* attachHelp(QDialog& dialog, int topic, int language) {
  dialog.setProperty("helpTopic", topic);
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), &dialog);
  f1->setContext(Qt::WindowShortcut);
  QObject::connect(f1, &QShortcut::activated, &dialog, [topic] { showHelpTopic(topic); });
  auto* box = dialog.findChild<QDialogButtonBox*>();
  if (!box) return nullptr;
  QPushButton* help = box->addButton(pick(language, kHelpButton), QDialogButtonBox::HelpRole);
  help->setObjectName("B_Hilfe");
  help->setAccessibleName(pick(language, kHelpButton).remove('&'));
  help->setAutoDefault(false);
  QObject::connect(help, &QPushButton::clicked, &dialog, [topic] { showHelpTopic(topic); });
  return help;
}

THelpWindow* THelpWindow::instance(bool create) {
  if (!gWindow && create) gWindow = new THelpWindow(interfaceLanguage());
  return gWindow;
}

THelpWindow::THelpWindow(int language) : QWidget(nullptr), language_(language) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("HelpWindow");
  setWindowTitle(pick(language, kTitle));
  auto* column = new QVBoxLayout(this);
  auto* buttons = new QHBoxLayout;
  auto button = [&](const TText& caption, const char* name) {
    auto* b = new QToolButton;
    b->setText(pick(language, caption));
    b->setAccessibleName(pick(language, caption));
    b->setObjectName(name);
    buttons->addWidget(b);
    return b;
  };
  contents_ = button(kContents, "SB_Inhalt");
  back_ = button(kBack, "SB_Zurueck");
  forward_ = button(kForward, "SB_Vor");
  buttons->addStretch(1);
  column->addLayout(buttons);
  browser_ = new QTextBrowser;
  browser_->setObjectName("HelpPage");
  browser_->setAccessibleName(pick(language, kTitle));
  browser_->setOpenExternalLinks(true);
  column->addWidget(browser_, 1);
  back_->setEnabled(false);
  forward_->setEnabled(false);
  connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
  connect(contents_, &QToolButton::clicked, this, [this] {
    const std::string page = findHelpPage(language_, 0);
    if (!page.empty()) showPage(page);
  });
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? pick(language_, kTitle)
                                   : pick(language_, kTitle) + " - " + title);
  });
  resize(720, 640);
}

void THelpWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void THelpWindow::showPage(const std::string& path) {
  browser_->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace plavesk
