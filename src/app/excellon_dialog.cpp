#include "app/excellon_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/help_topics.h"
#include "app/manufacturing_widgets.h"
#include "output/excellon_texts.h"

namespace plavesk {

namespace {
QString q(const std::string& s) {
  return QString::fromStdString(s);
}
template <class W>
W* named(W* w, const char* name, const std::string& caption) {
  w->setObjectName(name);
  w->setAccessibleName(q(caption).remove('&'));
  return w;
}
}  // namespace

TExcellonDialog::TExcellonDialog(int language, const TExcellonOptions& options, QWidget* parent)
    : QDialog(parent) {
  const TExcellonDialogTexts t = excellonDialogTexts(language);
  setObjectName("ExcellonDialog");
  setWindowTitle(q(t.title));
  setAccessibleName(q(t.title));

  auto* intro = new QLabel(q(t.intro));
  intro->setObjectName("Label1");

  auto* origin = new QGroupBox(q(t.originGroup));
  origin->setObjectName("GroupBox2");
  auto* originColumn = new QVBoxLayout(origin);
  fromBottom_ = named(new QRadioButton(q(t.fromBottom)), "RB_Kupfer", t.fromBottom);
  fromTop_ = named(new QRadioButton(q(t.fromTop)), "RB_Best", t.fromTop);
  originColumn->addWidget(fromBottom_);
  originColumn->addWidget(fromTop_);

  auto* unit = new QGroupBox(q(t.unitGroup));
  unit->setObjectName("GroupBox1");
  auto* unitGrid = new QGridLayout(unit);
  mm_ = named(new QRadioButton(q(t.mm)), "RB_MM", t.mm);
  inch_ = named(new QRadioButton(q(t.inch)), "RB_Zoll", t.inch);
  unitGrid->addWidget(mm_, 0, 0);
  unitGrid->addWidget(new QLabel(q(t.mmNote)), 0, 1);
  unitGrid->addWidget(inch_, 1, 0);
  unitGrid->addWidget(new QLabel(q(t.inchNote)), 1, 1);
  removeZeros_ =
      named(new QCheckBox(q(t.removeLeadingZeros)), "CB_LeadingZero", t.removeLeadingZeros);

  (options.fromBottom ? fromBottom_ : fromTop_)->setChecked(true);
  (options.inch ? inch_ : mm_)->setChecked(true);
  removeZeros_->setChecked(!options.leadingZeros);

  auto* buttons = new QDialogButtonBox;
  QPushButton* ok = buttons->addButton(q(t.ok), QDialogButtonBox::AcceptRole);
  ok->setObjectName("OKBtn");
  ok->setAccessibleName(q(t.ok).remove('&'));
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton(q(t.cancel), QDialogButtonBox::RejectRole);
  cancel->setObjectName("CancelBtn");
  cancel->setAccessibleName(q(t.cancel).remove('&'));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* foot = new QHBoxLayout;
  foot->addWidget(helpButton(language, kHelpDrillExport));
  foot->addStretch();
  foot->addWidget(buttons);
  auto* page = new QVBoxLayout(this);
  page->addWidget(intro);
  page->addWidget(origin);
  page->addWidget(unit);
  page->addWidget(removeZeros_);
  page->addLayout(foot);
}

TExcellonOptions TExcellonDialog::options() const {
  TExcellonOptions o;
  o.fromBottom = fromBottom_->isChecked();
  o.inch = inch_->isChecked();
  o.leadingZeros = !removeZeros_->isChecked();
  return o;
}

}  // namespace plavesk
