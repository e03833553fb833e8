#include "app/recovery_offer.h"

#include <ctime>

#include "app/file_commands.h"
#include "app/main_window_texts.h"
#include "app/user_dialogs.h"
#include "document/file_io.h"
#include "editing/editor.h"

namespace plavesk {

namespace {

constexpr TText kUnnamedQuestion{
    "Plavesk wurde zuletzt nicht ordnungsgemäss beendet.\n"
    "Soll das nicht gespeicherte Layout vom %1 wiederhergestellt werden?",
    "Plavesk did not close normally last time.\nRestore the unsaved layout of %1?",
    "Plavesk ne s'est pas fermé normalement la dernière fois.\n"
    "Restaurer le layout non enregistré du %1 ?"};
constexpr TText kBackupQuestion{
    "Plavesk wurde zuletzt nicht ordnungsgemäss beendet.\n"
    "Die automatische Sicherung von \"%2\" vom %1 ist neuer als die Datei. "
    "Soll sie wiederhergestellt werden?",
    "Plavesk did not close normally last time.\n"
    "The autosave of \"%2\" from %1 is newer than the file. Restore it?",
    "Plavesk ne s'est pas fermé normalement la dernière fois.\n"
    "La sauvegarde automatique de « %2 » du %1 est plus récente que le fichier. La restaurer ?"};

std::string replace(std::string text, const std::string& mark, const std::string& by) {
  const size_t at = text.find(mark);
  if (at != std::string::npos) text.replace(at, mark.size(), by);
  return text;
}

std::string timeText(std::time_t when, int language) {
  std::tm local{};
  localtime_r(&when, &local);
  char buffer[64];
  std::strftime(buffer, sizeof buffer, language == kEnglish ? "%Y-%m-%d %H:%M" : "%d.%m.%Y %H:%M",
                &local);
  return buffer;
}

bool restore(const TRecoveryItem& item, TEditor& editor, TFileCommands& files, int language) {
  std::vector<uint8_t> data;
  std::string error;
  if (!readWholeFile(item.copy, data, error)) return false;
  TReadOptions options;
  options.language = language;
  const std::string name = item.kind == TRecoveryItem::backup ? item.layout : std::string();
  const TReadReport report = editor.readLayout(data.data(), data.size(), name, options);
  if (!report.ok) return false;
  // What was restored is not saved anywhere the user chose yet.
  editor.layout.modified = true;
  files.fileName = name;
  if (files.layoutReplaced) files.layoutReplaced();
  if (files.titleChanged) files.titleChanged();
  return true;
}

}  // namespace

std::string recoveryQuestion(const TRecoveryItem& item, int language) {
  const TText& text = item.kind == TRecoveryItem::backup ? kBackupQuestion : kUnnamedQuestion;
  return replace(replace(pickText(language, text), "%1", timeText(item.when, language)), "%2",
                 item.layout);
}

bool offerRecovery(TRecoverySession& session, TEditor& editor, TFileCommands& files,
                   TUserDialogs& dialogs, int language) {
  for (const TRecoveryItem& item : session.leftOver()) {
    if (!dialogs.askYesNo(texts::kProgramName, recoveryQuestion(item, language))) {
      session.handled(item);
      continue;
    }
    if (restore(item, editor, files, language)) {
      // The restored copy becomes this run's own until the layout is saved.
      session.handled(item, session.recoveryCopyPath());
      return true;
    }
    // A copy that cannot be read any more is of no use.
    dialogs.message(
        TMessageKind::Warning, texts::kProgramName,
        pickText(language, {"Die Sicherung kann nicht gelesen werden.",
                            "The saved copy cannot be read.", "La copie ne peut pas être lue."}));
    session.handled(item);
  }
  return false;
}

}  // namespace plavesk
