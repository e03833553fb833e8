#include "app/autosave_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialog_buttons.h"
#include "app/help_window.h"
#include "app/language.h"

namespace plavesk {

namespace {

constexpr TText kCaption{"Autospeichern", "AutoSave", "Sauvegarde auto"};
constexpr TText kFrame{"Optionen", "Options", "Options"};
constexpr TText kExplanation{
    "Mit dieser Funktion wird Ihr Layout in regelmässigen Abständen automatisch mit der Endung "
    "*.BAK gespeichert.",
    "Save layout periodical\nto backup file (*.bak)",
    "Enregistre tracé périodiquement\ndans un fichier de sauvegarde (*.bak)"};
constexpr TText kInterval{"Speicherzyklus:", "Interval:", "Intervale:"};

// A label whose click toggles the check box beside it.
class TClickLabel : public QLabel {
 public:
  TClickLabel(const QString& text, QCheckBox* box) : QLabel(text), box_(box) {}

 protected:
  void mouseReleaseEvent(QMouseEvent*) override { box_->toggle(); }

 private:
  QCheckBox* box_;
};

}  // namespace

TAutoSaveDialog::TAutoSaveDialog(int language, bool on, int intervalMs, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(pick(language, kCaption));
  auto* layout = new QVBoxLayout(this);
  auto* frame = new QGroupBox(pick(language, kFrame));
  auto* inner = new QVBoxLayout(frame);
  auto* row = new QHBoxLayout;
  on_ = new QCheckBox;
  on_->setChecked(on);
  auto* explanation = new TClickLabel(pick(language, kExplanation), on_);
  explanation->setWordWrap(true);
  row->addWidget(on_, 0, Qt::AlignTop);
  row->addWidget(explanation, 1);
  inner->addLayout(row);
  auto* intervalRow = new QHBoxLayout;
  minutesLabel_ = new QLabel(pick(language, kInterval));
  minutes_ = new QSpinBox;
  minutes_->setRange(1, 60);
  minutes_->setSuffix(" min");
  minutes_->setValue(std::clamp(intervalMs / 60000, 1, 60));
  intervalRow->addWidget(minutesLabel_);
  intervalRow->addWidget(minutes_);
  intervalRow->addStretch();
  inner->addLayout(intervalRow);
  layout->addWidget(frame);
  layout->addWidget(okCancelButtons(*this, language));
  attachHelp(*this, kHelpAutoSave, language);
  connect(on_, &QCheckBox::toggled, this, [this] { updateEnabled(); });
  updateEnabled();
  setMinimumWidth(320);
}

void TAutoSaveDialog::updateEnabled() {
  minutes_->setEnabled(on_->isChecked());
  minutesLabel_->setEnabled(on_->isChecked());
}

bool TAutoSaveDialog::autoSaveOn() const {
  return on_->isChecked();
}

int TAutoSaveDialog::intervalMs() const {
  return minutes_->value() * 60000;
}

}  // namespace plavesk
