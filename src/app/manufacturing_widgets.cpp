#include "app/manufacturing_widgets.h"

#include <QDesktopServices>
#include <QFrame>
#include <QPushButton>
#include <QUrl>

#include "app/export_files.h"
#include "app/help_topics.h"
#include "app/language.h"
#include "app/lay_spin_edit.h"
#include "app/user_dialogs.h"

namespace plavesk {

namespace {
constexpr TText kHelp{"&Hilfe", "&Help", "&Aide"};
constexpr TText kFilesWent{"Gespeichert in:", "Saved in:", "Enregistré dans :"};
constexpr TText kOpenFolder{"Ordner öffnen?", "Open the folder?", "Ouvrir le dossier ?"};
}  // namespace

QPushButton* helpButton(int language, int topic) {
  auto* b = new QPushButton(pick(language, kHelp));
  b->setObjectName("HelpBtn");
  b->setAccessibleName(pick(language, kHelp).remove('&'));
  b->setAutoDefault(false);
  QObject::connect(b, &QPushButton::clicked, [topic] { showHelpTopic(topic); });
  return b;
}

QFrame* colourSwatch(const QString& name, TColour colour) {
  auto* f = new QFrame;
  f->setObjectName(name);
  f->setAccessibleName(name);
  f->setFixedSize(18, 14);
  f->setFrameShape(QFrame::Box);
  setSwatchColour(f, colour);
  return f;
}

void setSwatchColour(QFrame* swatch, TColour colour) {
  swatch->setStyleSheet(
      QString("QFrame#%1 { background: rgb(%2, %3, %4); border: 1px solid black; }")
          .arg(swatch->objectName())
          .arg(redOf(colour))
          .arg(greenOf(colour))
          .arg(blueOf(colour)));
}

TLaySpinEdit* millimetreField(const QString& name, double min, double max, double value) {
  auto* e = new TLaySpinEdit(min, max, 0.01, 2, value);
  e->setObjectName(name);
  e->setCaption(name);
  return e;
}

std::string fileDialogFilter(const std::string& filter) {
  return filter.substr(0, filter.find('|'));
}

std::string writtenFilesText(int language, const std::string& headline,
                             const std::vector<std::string>& paths) {
  std::string text = headline + "\n\n" + pickText(language, kFilesWent) + "\n";
  const std::string folder = paths.empty() ? std::string() : folderOf(paths.front());
  text += folder.empty() ? "." : folder;
  text += "\n";
  for (const std::string& p : paths)
    text += "  " + p.substr(folder.empty() ? 0 : folder.size() + 1) + "\n";
  text += "\n";
  text += pickText(language, kOpenFolder);
  return text;
}

void reportWrittenFiles(TUserDialogs& dialogs, int language, const std::string& caption,
                        const std::string& headline, const std::vector<std::string>& paths) {
  if (!dialogs.askYesNo(caption, writtenFilesText(language, headline, paths))) return;
  const std::string folder = paths.empty() ? std::string() : folderOf(paths.front());
  QDesktopServices::openUrl(
      QUrl::fromLocalFile(QString::fromStdString(folder.empty() ? "." : folder)));
}

std::string notWrittenText(const std::string& headline, const std::string& path,
                           const std::string& reason) {
  return headline + "\n\n" + path + "\n" + reason;
}

}  // namespace plavesk
