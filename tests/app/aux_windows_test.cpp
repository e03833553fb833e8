// The auxiliary windows: help by topic number from the dialogs, the shipped
// manual, the about and splash window with good and damaged title pictures,
// the working-folders dialog and the update window against a loopback server.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QToolButton>
#include <chrono>
#include <fstream>
#include <thread>

#include "app/about_window.h"
#include "app/autosave_dialog.h"
#include "app/board_properties_dialog.h"
#include "app/export_dialog.h"
#include "app/folders_dialog.h"
#include "app/help_window.h"
#include "app/manufacturing_commands.h"
#include "app/project_info_dialog.h"
#include "app/update_window.h"
#include "document/file_io.h"
#include "loopback_server.h"
#include "platform/core/ini_file.h"
#include "view/bmp_file.h"
#include "window_fixture.h"

namespace plavesk::testing {
namespace {

namespace fs = std::filesystem;

void writeText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// A manual with a page for every topic in English and a few in German.
class HelpTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    manual = folder / "manual";
    for (int topic : kHelpTopics)
      writeText(manual / "en" / helpPageName(topic),
                "<html><head><title>Topic " + std::to_string(topic) + "</title></head></html>");
    writeText(manual / "en" / "index.html", "<html><title>Contents</title></html>");
    writeText(manual / "de" / helpPageName(kHelpGrid), "<html><title>Raster</title></html>");
    setManualFolders({manual.string()});
    closeHelp();
  }
  void TearDown() override {
    closeHelp();
    setManualFolders({});
    setInterfaceLanguage(kGerman);
    WindowFixture::TearDown();
  }
  static void closeHelp() {
    if (THelpWindow* w = THelpWindow::instance(false)) delete w;
  }
  // The page the help window shows; empty without a help window.
  static std::string shownPage() {
    THelpWindow* w = THelpWindow::instance(false);
    if (!w || !w->isVisible()) return {};
    return fs::path(w->browser()->source().toLocalFile().toStdString()).filename().string();
  }
  fs::path manual;
};

TEST_F(HelpTest, TopicsOpenTheirPageInTheInterfaceLanguage) {
  setInterfaceLanguage(kEnglish);
  showHelpTopic(kHelpDrillExport);
  EXPECT_EQ(shownPage(), "topic-34000.html");
  EXPECT_TRUE(THelpWindow::instance(false)->windowTitle().contains("Topic 34000"));
  // German where there is a German page, English otherwise.
  setInterfaceLanguage(kGerman);
  showHelpTopic(kHelpGrid);
  EXPECT_EQ(THelpWindow::instance(false)->browser()->source().toLocalFile().toStdString(),
            (manual / "de" / "topic-5000.html").string());
  showHelpTopic(kHelpColours);
  EXPECT_EQ(THelpWindow::instance(false)->browser()->source().toLocalFile().toStdString(),
            (manual / "en" / "topic-35200.html").string());
  showHelpContents();
  EXPECT_EQ(shownPage(), "index.html");
}

TEST_F(HelpTest, MissingPagesAndUnknownNumbersDoNothing) {
  setInterfaceLanguage(kEnglish);
  fs::remove(manual / "en" / helpPageName(kHelpPrint));
  for (int topic : {int(kHelpPrint), 1234, 0, -5}) {
    showHelpTopic(topic);
    EXPECT_EQ(THelpWindow::instance(false), nullptr) << topic;
  }
  setManualFolders({(folder / "nowhere").string()});
  showHelpContents();
  showHelpTopic(kHelpGrid);
  EXPECT_EQ(THelpWindow::instance(false), nullptr);
}

// Each dialog's help button opens its own topic.
TEST_F(HelpTest, DialogHelpButtonsOpenTheirTopic) {
  setInterfaceLanguage(kEnglish);
  TAutoSaveDialog autosave(kEnglish, false, 300000);
  TBoardPropertiesDialog board(kEnglish, "Board 1", 10000, 8000);
  TProjectInfoDialog project(kEnglish, TProjectInfo{});
  TScriptedDialogs questions;
  TExportDialog bitmap(kEnglish, TExportFormat::kBmp, 10000, 8000, questions);
  TExportDialog gif(kEnglish, TExportFormat::kGif, 10000, 8000, questions);
  TFoldersDialog folders(kEnglish, {});
  struct Case {
    QDialog* dialog;
    int topic;
  };
  for (const Case& c : {Case{&autosave, kHelpAutoSave}, Case{&board, kHelpBoardProperties},
                        Case{&project, kHelpProjectInfo}, Case{&bitmap, kHelpImageExport},
                        Case{&gif, kHelpImageExportSecond}, Case{&folders, kHelpWorkingFolders}}) {
    closeHelp();
    auto* button = c.dialog->findChild<QPushButton*>("B_Hilfe");
    ASSERT_NE(button, nullptr) << c.topic;
    EXPECT_EQ(button->text(), "&Help");
    button->click();
    EXPECT_EQ(shownPage(), helpPageName(c.topic));
  }
}

TEST_F(HelpTest, TheHelpMenuOpensTheContents) {
  TMainWindow& w = open();
  ASSERT_TRUE(w.action("help.topics")->isEnabled());
  setInterfaceLanguage(kEnglish);
  w.action("help.topics")->trigger();
  EXPECT_EQ(shownPage(), "index.html");
  // Escape in the page closes the window; other keys leave it open.
  QTextBrowser* page = THelpWindow::instance(false)->browser();
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QApplication::sendEvent(page, &down);
  EXPECT_TRUE(THelpWindow::instance(false)->isVisible());
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(page, &escape);
  EXPECT_TRUE(THelpWindow::instance(false) == nullptr ||
              !THelpWindow::instance(false)->isVisible());
}

// The manual shipped in the source tree has every page in every language,
// each with a title and a way back to the contents.
TEST(Manual, EveryTopicHasAPageInEveryLanguage) {
  const fs::path manual = fs::path(PLAVESK_SOURCE_DIR) / "docs" / "manual";
  for (const char* lang : {"de", "en", "fr"}) {
    std::vector<std::string> pages{"index.html", "getting-started.html", "command-line.html"};
    for (int topic : kHelpTopics) pages.push_back(helpPageName(topic));
    for (const std::string& page : pages) {
      std::ifstream in(manual / lang / page);
      ASSERT_TRUE(in) << lang << "/" << page;
      const std::string html((std::istreambuf_iterator<char>(in)), {});
      EXPECT_NE(html.find("<h1>"), std::string::npos) << lang << "/" << page;
      if (page != "index.html") {
        EXPECT_NE(html.find("href=\"index.html\""), std::string::npos) << lang << "/" << page;
      }
    }
  }
}

class AboutTest : public WindowFixture {};

TEST_F(AboutTest, DamagedOrMissingTitlePicturesLeaveThePictureEmpty) {
  RasterImage image(40, 20, 0x00FF8000);
  const std::vector<uint8_t> bmp = encodeBmp24(image, 96);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    bool shown;
  };
  std::vector<uint8_t> noisy(3000);
  for (size_t i = 0; i < noisy.size(); ++i) noisy[i] = uint8_t(i * 131 + 7);
  noisy[0] = 'B', noisy[1] = 'M';
  const Case cases[] = {{"whole", bmp, true},
                        {"truncated", {bmp.begin(), bmp.begin() + 60}, false},
                        {"header only", {bmp.begin(), bmp.begin() + 14}, false},
                        {"noise", noisy, false},
                        {"empty", {}, false}};
  for (const Case& c : cases) {
    std::string error;
    ASSERT_TRUE(writeFileAtomically(path("TITEL.BMP"), c.bytes, error));
    for (auto mode : {TAboutWindow::Mode::about, TAboutWindow::Mode::splash}) {
      TAboutWindow about(kEnglish, folder.string() + "/", mode);
      const bool hasPicture = !about.picture()->pixmap().isNull();
      EXPECT_EQ(hasPicture, c.shown) << c.name;
      if (c.shown && mode == TAboutWindow::Mode::splash) {
        EXPECT_EQ(about.size(), QSize(40, 20));
      }
    }
  }
  std::filesystem::remove(path("TITEL.BMP"));
  TAboutWindow about(kEnglish, folder.string() + "/", TAboutWindow::Mode::about);
  EXPECT_TRUE(about.picture()->pixmap().isNull());
}

TEST_F(AboutTest, TheLinkUnderlinesUnderTheMouseAndOpensThePage) {
  TAboutWindow about(kGerman, folder.string() + "/", TAboutWindow::Mode::about);
  QStringList opened;
  about.openPage = [&](const QString& url) { opened << url; };
  about.show();
  EXPECT_FALSE(about.linkUnderlined());
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QApplication::sendEvent(about.link(), &enter);
  EXPECT_TRUE(about.linkUnderlined());
  EXPECT_TRUE(about.link()->font().underline());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(about.link(), &leave);
  EXPECT_FALSE(about.link()->font().underline());
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(about.link(), &release);
  EXPECT_EQ(opened, QStringList{kMakerWebPage});
  EXPECT_EQ(about.windowTitle(), "Info");
}

TEST_F(AboutTest, TheInfoMenuShowsTheAboutWindow) {
  TMainWindow& w = open(kFrench);
  bool shown = false;
  answerNextDialog<TAboutWindow>([&](TAboutWindow& about) {
    shown = true;
    EXPECT_TRUE(about.findChild<QLabel*>("L_Hersteller")->text().contains("Éditeur"));
    about.okButton()->click();
  });
  w.action("help.info")->trigger();
  EXPECT_TRUE(shown);
}

class FoldersTest : public WindowFixture {};

TEST_F(FoldersTest, RowsLabelsAndTheFolderBrowser) {
  const std::array<std::string, kFolderCount> start{"/a/Layouts", "/b", "/c", "/d", "/e"};
  struct Case {
    int language;
    const char* firstLabel;
    const char* prompt;
  };
  for (const Case& c :
       {Case{kGerman, "Layout-Dateien:", "Bitte wählen Sie ein Arbeitsverzeichnis für Vorlagen:"},
        Case{kEnglish, "Layout files:", "Please select a default-directory for Scanned copy:"},
        Case{kFrench, "Fichiers layout:",
             "Sélectionnez s´il vous plait un répertoire par défaut pour Copie scannée:"}}) {
    TFoldersDialog dialog(c.language, start);
    EXPECT_EQ(dialog.label(0)->text(), QString::fromUtf8(c.firstLabel));
    // Folder names keep their letter case: the file system tells them apart.
    EXPECT_EQ(dialog.field(0)->text(), "/a/Layouts");
    QString title, prompt;
    std::string from;
    dialog.chooseFolder = [&](const QString& t, const QString& p, const std::string& s) {
      title = t, prompt = p, from = s;
      return std::string("/chosen/Vorlagen");
    };
    dialog.browseButton(kFolderTemplate)->click();
    EXPECT_EQ(prompt, QString::fromUtf8(c.prompt));
    EXPECT_EQ(from, "/d");
    EXPECT_FALSE(title.isEmpty());
    EXPECT_EQ(dialog.field(kFolderTemplate)->text(), "/chosen/Vorlagen");
    // A cancelled browser leaves the field.
    dialog.chooseFolder = [](const QString&, const QString&, const std::string&) {
      return std::string();
    };
    dialog.browseButton(kFolderPlt)->click();
    EXPECT_EQ(dialog.field(kFolderPlt)->text(), "/e");
  }
}

TEST_F(FoldersTest, OkSetsTheDefaultsAndTheFileDialogFoldersAndCancelDiscards) {
  TMainWindow& w = open();
  const std::string other = path("Other");
  std::filesystem::create_directories(other);
  answerNextDialog<TFoldersDialog>([&](TFoldersDialog& d) {
    d.field(kFolderLayout)->setText(QString::fromStdString(other));
    d.reject();
  });
  w.action("file.directories")->trigger();
  EXPECT_EQ(w.settings().folders[kFolderLayout], folder.string() + "/");

  answerNextDialog<TFoldersDialog>([&](TFoldersDialog& d) {
    for (int row = 0; row < kFolderCount; ++row)
      d.field(row)->setText(QString::fromStdString(other + "/" + std::to_string(row)));
    d.accept();
  });
  w.action("file.directories")->trigger();
  for (int row = 0; row < kFolderCount; ++row)
    EXPECT_EQ(w.settings().folders[size_t(row)], other + "/" + std::to_string(row));
  EXPECT_EQ(w.files().layoutFolder, other + "/0");
  EXPECT_EQ(w.images().bitmapFolder, other + "/2");
  EXPECT_EQ(w.templateFolder(), other + "/3");
  EXPECT_EQ(w.manufacturing().exportFolder, other + "/1");
  EXPECT_EQ(w.manufacturing().millingFolder, other + "/4");
  // Written when the program closes.
  dialogs->answers.push_back(TAnswer::No);
  w.close();
  const TIniFile ini = loadIniFile(path("PLAVESKA.INI"));
  EXPECT_EQ(ini.readString("Ordner", "Gerber", ""), other + "/1");
  EXPECT_EQ(ini.readString("Ordner", "PLT", ""), other + "/4");
}

TEST_F(FoldersTest, ASettingsFileOfGarbageStartsWithUsableValues) {
  std::string junk =
      "[Optionen]\nKurzhilfe=yes\nAutoSave=1\nAutoSaveTime=-5\nUndo=999999\n"
      "Farbschema=42\nRasterMarkierung=7\nPlatinenZoom=\x01\x02\n[Ordner]\nLayout=\n"
      "[R_POPUP]\nT8=abc\nT9=-3\nS9=x\n";
  junk += std::string(100000, 'z') + "\n\xff\xfe\x00garbage\n";
  std::ofstream(path("PLAVESKA.INI"), std::ios::binary) << junk;
  TMainWindow& w = open();
  EXPECT_TRUE(w.settings().hints);
  EXPECT_GT(w.autosaveTimer()->interval(), 0);
  EXPECT_LE(w.editor().undoDepth(), 50);
  // Values outside their choices fall back to the defaults.
  EXPECT_EQ(w.settings().gridMarking, 4);
  EXPECT_EQ(w.settings().colourScheme, 0);
  EXPECT_TRUE(w.action("opt.gridMarking4")->isChecked());
  EXPECT_TRUE(w.isVisible());
  dialogs->answers.push_back(TAnswer::No);
  w.close();
}

class UpdateWindowTest : public WindowFixture {
 protected:
  // Runs the check and waits for its result.
  static void check(TUpdateWindow& window) {
    bool done = false;
    QObject::connect(&window, &TUpdateWindow::checked, [&] { done = true; });
    window.searchButton()->click();
    EXPECT_TRUE(window.searching());
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done && std::chrono::steady_clock::now() < end) {
      QApplication::processEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(done);
  }
};

TEST_F(UpdateWindowTest, ANewerVersionLeadsToTheDownloadPage) {
  LoopbackServer server(httpAnswer(versionFile("4.2")));
  TUpdateWindow window(kEnglish, server.url());
  EXPECT_EQ(window.availableDate()->text(), "???");
  EXPECT_EQ(window.fileSize()->text(), "???");
  EXPECT_NE(window.currentDate()->text(), "???");
  EXPECT_FALSE(window.downloadButton()->isEnabled());
  QStringList opened, reports;
  window.openPage = [&](const QString& url) { opened << url; };
  window.report = [&](const QString& text) { reports << text; };
  check(window);
  EXPECT_EQ(window.status()->text(), "Update recommended!");
  EXPECT_EQ(window.fileSize()->text(), QLocale::system().toString(6656) + " kB");
  EXPECT_EQ(window.availableDate()->text(),
            QLocale::system().toString(QDate(2027, 3, 1), QLocale::ShortFormat));
  ASSERT_TRUE(window.downloadButton()->isEnabled());
  window.downloadButton()->click();
  EXPECT_EQ(opened, QStringList{"https://plavesk.example/download"});
  EXPECT_TRUE(reports.isEmpty());
}

TEST_F(UpdateWindowTest, SameOlderAndFailedChecks) {
  std::string unreachable;
  {
    LoopbackServer gone("");
    unreachable = gone.url();
  }
  LoopbackServer same(httpAnswer(versionFile("4.0")));
  LoopbackServer older(httpAnswer(versionFile("3.1")));
  LoopbackServer garbage(httpAnswer(std::string(20000, '\x07')));
  struct Case {
    std::string url;
    int language;
    const char* status;
    bool reported;
  };
  for (const Case& c :
       {Case{same.url(), kGerman, "+++ aktuell +++", false},
        Case{older.url(), kFrench, "+++ à jour +++", false},
        Case{unreachable, kEnglish, "Can´t connect to the server.", true},
        Case{garbage.url(), kEnglish, "The server's answer is no version file.", true},
        Case{"ftp://plavesk.example/v.txt", kGerman,
             "Es kann keine Verbindung zum Server aufgebaut werden.", true}}) {
    TUpdateWindow window(c.language, c.url);
    QStringList opened, reports;
    window.openPage = [&](const QString& url) { opened << url; };
    window.report = [&](const QString& text) { reports << text; };
    check(window);
    EXPECT_EQ(window.status()->text(), QString::fromUtf8(c.status)) << c.url;
    EXPECT_EQ(reports.size(), c.reported ? 1 : 0) << c.url;
    EXPECT_FALSE(window.downloadButton()->isEnabled());
    window.downloadButton()->click();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(window.searchButton()->isEnabled());
    if (c.reported) {
      EXPECT_EQ(window.fileSize()->text(), "???");
    }
  }
}

TEST_F(UpdateWindowTest, TheAddressComesFromTheSettings) {
  EXPECT_EQ(updateAddressFromSettings(path("PLAVESKA.INI")), kDefaultUpdateAddress);
  std::ofstream(path("PLAVESKA.INI")) << "[Update]\nAdresse = https://mirror.example/v.txt \n";
  EXPECT_EQ(updateAddressFromSettings(path("PLAVESKA.INI")), "https://mirror.example/v.txt");
}

}  // namespace
}  // namespace plavesk::testing
