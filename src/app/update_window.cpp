#include "app/update_window.h"

#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <thread>

#include "app/app_settings.h"
#include "app/language.h"
#include "app/main_window_texts.h"

namespace plavesk {

namespace {

constexpr TText kCaption{"Internet Update", "Internet Update", "Mise à jour Internet"};
constexpr TText kCurrent{
    "Aktuelle Programmversion vom:", "Current version from:", "Version actuelle du :"};
constexpr TText kAvailable{
    "Verfügbares Update vom:", "Available update from:", "Mise à jour disponible du :"};
constexpr TText kSize{"Dateigrösse:", "Filesize:", "Taille du fichier :"};
constexpr TText kSearch{"&Suche nach verfügbarem Update...", "&Search for update...",
                        "&Rechercher une mise à jour..."};
constexpr TText kDownload{"&Download-Seite öffnen", "Open &download page",
                          "Ouvrir la page de &téléchargement"};
constexpr TText kClose{"&Beenden", "&Close", "&Fermer"};
constexpr TText kSearching{"Suche läuft...", "Searching...", "Recherche en cours..."};
constexpr TText kNewer{"Aktualisierung empfohlen!", "Update recommended!",
                       "Mise à jour recommandé!"};
constexpr TText kUpToDate{"+++ aktuell +++", "+++ up-to-date +++", "+++ à jour +++"};
constexpr TText kNoConnection{"Es kann keine Verbindung zum Server aufgebaut werden.",
                              "Can´t connect to the server.", "Can´t connect to the server."};
constexpr TText kInvalid{"Die Antwort des Servers ist keine Versionsangabe.",
                         "The server's answer is no version file.",
                         "La réponse du serveur n'est pas un fichier de version."};
constexpr TText kVersions{"Version %1, verfügbar: %2", "Version %1, available: %2",
                          "Version %1, disponible : %2"};
constexpr const char* kRunningVersion = "4.0";

QString dateText(const QDate& date) {
  return date.isValid() ? QLocale::system().toString(date, QLocale::ShortFormat) : "???";
}

void colour(QLabel* label, const char* background) {
  label->setStyleSheet(background ? QString("background:%1;padding:4px").arg(background)
                                  : QString("padding:4px"));
}

}  // namespace

std::string updateAddressFromSettings(const std::string& settingsPath) {
  const TIniFile ini = loadIniFile(settingsPath);
  const std::string address = ini.readString("Update", "Adresse", kDefaultUpdateAddress);
  return address.empty() ? kDefaultUpdateAddress : address;
}

TUpdateWindow::TUpdateWindow(int language, std::string address, QWidget* parent)
    : QDialog(parent), language_(language), address_(std::move(address)) {
  setObjectName("TUpdateDlg");
  setWindowTitle(pick(language, kCaption));
  auto* column = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  auto row = [&](int r, const TText& caption, const char* name) {
    auto* label = new QLabel(pick(language, caption));
    auto* value = new QLabel("???");
    value->setObjectName(name);
    value->setAccessibleName(pick(language, caption).remove(':').trimmed());
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(label, r, 0);
    grid->addWidget(value, r, 1);
    return value;
  };
  current_ = row(0, kCurrent, "L_Aktuell");
  available_ = row(1, kAvailable, "L_Verfuegbar");
  size_ = row(2, kSize, "L_Groesse");
  column->addLayout(grid);
  const QFileInfo program(QCoreApplication::applicationFilePath());
  current_->setText(dateText(program.lastModified().date()));
  versions_ = new QLabel(pick(language, kVersions).arg(kRunningVersion, QString("???")));
  versions_->setObjectName("L_Versionen");
  column->addWidget(versions_);
  status_ = new QLabel;
  status_->setObjectName("L_Status");
  status_->setAlignment(Qt::AlignCenter);
  status_->setMinimumHeight(28);
  colour(status_, nullptr);
  column->addWidget(status_);

  auto* buttons = new QHBoxLayout;
  auto button = [&](const TText& caption, const char* name) {
    auto* b = new QPushButton(pick(language, caption));
    b->setObjectName(name);
    b->setAccessibleName(pick(language, caption).remove('&').remove("..."));
    b->setAutoDefault(false);
    buttons->addWidget(b);
    return b;
  };
  search_ = button(kSearch, "B_Suchen");
  download_ = button(kDownload, "B_Download");
  close_ = button(kClose, "B_Beenden");
  download_->setEnabled(false);
  column->addLayout(buttons);
  connect(search_, &QPushButton::clicked, this, &TUpdateWindow::search);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
  connect(download_, &QPushButton::clicked, this, [this] {
    // Only an https page of a newer version is ever opened.
    if (result_.outcome == TUpdateOutcome::newer && isAllowedDownloadPage(result_.available.page) &&
        openPage)
      openPage(QString::fromStdString(result_.available.page));
  });
  openPage = [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); };
  report = [this](const QString& text) { QMessageBox::warning(this, "Update", text); };
}

void TUpdateWindow::search() {
  if (searching_) return;
  searching_ = true;
  search_->setEnabled(false);
  download_->setEnabled(false);
  status_->setText(pick(language_, kSearching));
  colour(status_, nullptr);
  // The check may take up to the time-out; the window stays alive meanwhile
  // and a result for a window closed in between is dropped.
  QPointer<TUpdateWindow> self(this);
  std::thread([self, address = address_, timeout = timeoutSeconds] {
    TUpdateResult result = checkForUpdate(address, kRunningVersion, timeout);
    QMetaObject::invokeMethod(
        qApp,
        [self, result] {
          if (self) self->showResult(result);
        },
        Qt::QueuedConnection);
  }).detach();
}

void TUpdateWindow::showResult(const TUpdateResult& result) {
  result_ = result;
  searching_ = false;
  search_->setEnabled(true);
  const bool known = result.outcome == TUpdateOutcome::newer ||
                     result.outcome == TUpdateOutcome::same ||
                     result.outcome == TUpdateOutcome::older;
  if (known) {
    available_->setText(
        dateText(QDate::fromString(QString::fromStdString(result.available.date), Qt::ISODate)));
    size_->setText(QLocale::system().toString(qlonglong(kilobytes(result.available.size))) + " kB");
    versions_->setText(pick(language_, kVersions)
                           .arg(kRunningVersion, QString::fromStdString(result.available.version)));
    const bool newer = result.outcome == TUpdateOutcome::newer;
    status_->setText(pick(language_, newer ? kNewer : kUpToDate));
    colour(status_, newer ? "#ffb0b0" : "#b0ffb0");
    download_->setEnabled(newer);
  } else {
    available_->setText("???");
    size_->setText("???");
    versions_->setText(pick(language_, kVersions).arg(kRunningVersion, QString("???")));
    const QString text =
        pick(language_, result.outcome == TUpdateOutcome::invalid ? kInvalid : kNoConnection);
    status_->setText(text);
    colour(status_, nullptr);
    if (report) report(text + "\n(" + QString::fromStdString(result.detail) + ")");
  }
  emit checked();
}

}  // namespace plavesk
