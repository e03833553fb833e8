// The OK and Cancel buttons of the window's dialogs speak the interface
// language; the toolkit's own would say "Cancel" in every language.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QStringList>
#include <memory>

#include "app/autosave_dialog.h"
#include "app/board_properties_dialog.h"
#include "app/language.h"

namespace plavesk {
namespace {

QStringList buttonTexts(const QDialog& dialog) {
  QStringList texts;
  for (const QPushButton* b : dialog.findChildren<QPushButton*>()) texts << b->text();
  return texts;
}

TEST(DialogButtons, OkAndCancelInTheInterfaceLanguage) {
  struct Case {
    int language;
    const char* cancel;
  } cases[] = {{kGerman, "&Abbrechen"}, {kEnglish, "&Cancel"}, {kFrench, "&Annuler"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    std::unique_ptr<QDialog> dialogs[] = {
        std::make_unique<TAutoSaveDialog>(c.language, true, 300000),
        std::make_unique<TBoardPropertiesDialog>(c.language, "Platine 1", 16000, 10000)};
    for (const auto& dialog : dialogs) {
      const QStringList texts = buttonTexts(*dialog);
      EXPECT_TRUE(texts.contains("&OK")) << texts.join('|').toStdString();
      EXPECT_TRUE(texts.contains(c.cancel)) << texts.join('|').toStdString();
    }
  }
}

}  // namespace
}  // namespace plavesk
