// plavesk [--lang de|en|fr] [FILE.lay]: the editor window.
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "app/about_window.h"
#include "app/app_settings.h"
#include "app/crash_recovery.h"
#include "app/error_report.h"
#include "app/help_window.h"
#include "app/language.h"
#include "app/main_window.h"
#include "app/main_window_texts.h"

int main(int argc, char** argv) {
  using namespace plavesk;
  TPlaveskApplication app(argc, argv);
  QApplication::setApplicationName("Plavesk");
  // No display name: the toolkit would append it to every window title.

  int language = -1;
  std::vector<std::string> words;
  const QStringList arguments = QApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const std::string word = arguments[i].toStdString();
    if (word == "--lang" && i + 1 < arguments.size()) {
      language = languageFromOption(arguments[++i].toStdString());
      if (language < 0) {
        std::fprintf(stderr, "plavesk: --lang takes de, en or fr\n");
        return 1;
      }
    } else if (word.rfind("--lang=", 0) == 0) {
      language = languageFromOption(word.substr(7));
      if (language < 0) {
        std::fprintf(stderr, "plavesk: --lang takes de, en or fr\n");
        return 1;
      }
    } else {
      words.push_back(word);
    }
  }
  // An unquoted path with blanks arrives as several arguments.
  std::string path;
  for (const std::string& w : words) path += (path.empty() ? "" : " ") + w;
  if (!path.empty())
    path = QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();

  const std::string programFolder =
      QDir(QApplication::applicationDirPath()).absolutePath().toStdString() + "/";
  if (language < 0) language = readLanguageIndex(programFolder);
  setInterfaceLanguage(language);

  setManualFolders(manualFoldersFor(programFolder));

  // The splash window: the about window without border, the title picture
  // alone; without a picture there is nothing to show.
  TAboutWindow* splash = nullptr;
  if (!loadTitlePicture(programFolder).isNull()) {
    splash = new TAboutWindow(language, programFolder, TAboutWindow::Mode::splash);
    splash->show();
    app.processEvents();
  }

  TMainWindowOptions options;
  options.language = language;
  options.programFolder = programFolder;
  options.settingsPath = settingsFilePath(
      programFolder,
      QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString());
  options.recoveryFolder = defaultRecoveryFolder();
  TMainWindow window(options);
  window.show();
  if (splash) {
    splash->raise();
    QTimer::singleShot(1000, splash, [splash] {
      splash->close();
      splash->deleteLater();
    });
  }
  QTimer::singleShot(0, &window, [&window, path] { window.openStartFile(path); });
  return app.exec();
}
