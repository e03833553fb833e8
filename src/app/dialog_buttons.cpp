#include "app/dialog_buttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "app/language.h"

namespace plavesk {
namespace {
constexpr TText kOk{"&OK", "&OK", "&OK"};
constexpr TText kCancel{"&Abbrechen", "&Cancel", "&Annuler"};
}  // namespace

QDialogButtonBox* okCancelButtons(QDialog& dialog, int language) {
  auto* buttons = new QDialogButtonBox;
  buttons->addButton(pick(language, kOk), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(pick(language, kCancel), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return buttons;
}

}  // namespace plavesk
