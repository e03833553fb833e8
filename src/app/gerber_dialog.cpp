#include "app/gerber_dialog.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/help_topics.h"
#include "app/lay_spin_edit.h"
#include "app/manufacturing_widgets.h"
#include "output/gerber_texts.h"

namespace plavesk {

namespace {

QString q(const std::string& s) {
  return QString::fromStdString(s);
}
QString plain(const std::string& s) {
  return q(s).remove('&');
}

// The dialog's control names, by TGerberOutput.
constexpr const char* kOutputControls[kGerberOutputCount] = {
    "K1", "B1", "K2", "B2", "LStop1", "LStop2", "RB_SMDOnly_K1", "RB_SMDOnly_K2"};

QCheckBox* checkBox(const char* name, const std::string& caption) {
  auto* c = new QCheckBox(q(caption));
  c->setObjectName(name);
  c->setAccessibleName(plain(caption));
  return c;
}

}  // namespace

TGerberDialog::TGerberDialog(int language, const TColourScheme& colours,
                             const TGerberOptions& options, QWidget* parent)
    : QDialog(parent), options_(options) {
  const TGerberDialogTexts t = gerberDialogTexts(language);
  setObjectName("GerberDialog");
  setWindowTitle(q(t.title));
  setAccessibleName(q(t.title));

  auto* intro = new QLabel(q(t.intro));
  intro->setObjectName("Label3");
  intro->setWordWrap(true);

  auto* layers = new QGroupBox(q(t.layerGroup));
  layers->setObjectName("GroupBox1");
  auto* layerGrid = new QGridLayout(layers);
  for (int i = 0; i < kGerberOutputCount; ++i) {
    auto* b = new QRadioButton(q(t.outputs[size_t(i)]));
    b->setObjectName(kOutputControls[i]);
    b->setAccessibleName(plain(t.outputs[size_t(i)]));
    outputs_[size_t(i)] = b;
    if (i < 4) {
      swatches_[size_t(i)] =
          colourSwatch(QString("P_") + kOutputControls[i], colours[kColourCopper1 + i]);
      layerGrid->addWidget(swatches_[size_t(i)], i, 0);
      layerGrid->addWidget(b, i, 1);
    } else {
      layerGrid->addWidget(b, i - 4, 2);
    }
    const auto output = TGerberOutput(i);
    connect(b, &QRadioButton::toggled, this, [this, output](bool on) {
      if (!on || showing_) return;
      readControls();
      options_.chooseOutput(output);
      showOptions(options_);
    });
  }

  auto* optionsBox = new QGroupBox(q(t.optionsGroup));
  optionsBox->setObjectName("GroupBox2");
  auto* optionsColumn = new QVBoxLayout(optionsBox);
  mirror_ = checkBox("Spiegeln", t.mirror);
  outline_ = checkBox("Umriss", t.outline);
  punch_ = checkBox("BohrungenFrei", t.punch);
  mark_ = checkBox("Koernen", t.mark);
  optionsColumn->addWidget(mirror_);
  optionsColumn->addWidget(outline_);
  optionsColumn->addWidget(punch_);
  auto* markRow = new QHBoxLayout;
  markRow->addSpacing(20);
  markRow->addWidget(mark_);
  optionsColumn->addLayout(markRow);

  maskGroup_ = new QGroupBox(q(t.maskGroup));
  maskGroup_->setObjectName("GB_Loetstop");
  auto* maskGrid = new QGridLayout(maskGroup_);
  invert_ = checkBox("Invertieren", t.invert);
  pads_ = checkBox("CB_Loetaugen", t.pads);
  smdPads_ = checkBox("CB_SMDPads", t.smdPads);
  offsetLabel_ = new QLabel(q(t.offset));
  offsetLabel_->setObjectName("L_Offset");
  padOffset_ = millimetreField("SE_LAOffset", kMaskOffsetMin, kMaskOffsetMax, options_.padOffset);
  smdOffset_ = millimetreField("SE_SMDOffset", kMaskOffsetMin, kMaskOffsetMax, options_.smdOffset);
  padOffset_->setCaption(plain(t.pads) + " " + plain(t.offset));
  smdOffset_->setCaption(plain(t.smdPads) + " " + plain(t.offset));
  maskGrid->addWidget(invert_, 0, 0, 1, 2);
  maskGrid->addWidget(offsetLabel_, 1, 1);
  maskGrid->addWidget(pads_, 2, 0);
  maskGrid->addWidget(padOffset_, 2, 1);
  maskGrid->addWidget(smdPads_, 3, 0);
  maskGrid->addWidget(smdOffset_, 3, 1);

  ok_ = new QPushButton(q(t.ok));
  ok_->setObjectName("OKBtn");
  ok_->setAccessibleName(plain(t.ok));
  ok_->setDefault(true);
  close_ = new QPushButton(q(t.close));
  close_->setObjectName("CancelBtn");
  close_->setAccessibleName(plain(t.close));
  close_->setAutoDefault(false);
  connect(ok_, &QPushButton::clicked, this, [this] {
    readControls();
    if (create) create(options_);
  });
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);

  auto* columns = new QHBoxLayout;
  columns->addWidget(layers);
  auto* right = new QVBoxLayout;
  right->addWidget(optionsBox);
  right->addWidget(maskGroup_);
  columns->addLayout(right);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(helpButton(language, kHelpGerberExport));
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(close_);
  auto* page = new QVBoxLayout(this);
  page->addWidget(intro);
  page->addLayout(columns);
  page->addLayout(buttons);

  // Every change of a box goes through the options' rules and back.
  for (QCheckBox* c : {mirror_, outline_, punch_, mark_, invert_, pads_, smdPads_})
    connect(c, &QCheckBox::toggled, this, [this] {
      if (showing_) return;
      readControls();
      showOptions(options_);
    });
  for (TLaySpinEdit* f : {padOffset_, smdOffset_})
    connect(f, &TLaySpinEdit::OnEditChange, this, [this] {
      if (!showing_) readControls();
    });
  showOptions(options_);
}

void TGerberDialog::readControls() {
  options_.mirror = mirror_->isChecked();
  options_.outline = outline_->isChecked();
  options_.setPunch(punch_->isChecked());
  options_.setMark(mark_->isChecked());
  options_.invert = invert_->isChecked();
  options_.pads = pads_->isChecked();
  options_.smdPads = smdPads_->isChecked();
  options_.setPadOffset(padOffset_->value());
  options_.setSmdOffset(smdOffset_->value());
}

void TGerberDialog::showOptions(const TGerberOptions& o) {
  showing_ = true;
  outputs_[size_t(o.output)]->setChecked(true);
  mirror_->setChecked(o.mirror);
  outline_->setChecked(o.outline);
  punch_->setChecked(o.punch);
  punch_->setEnabled(o.punchEnabled());
  mark_->setChecked(o.mark);
  mark_->setEnabled(o.markEnabled());
  invert_->setChecked(o.invert);
  pads_->setChecked(o.pads);
  smdPads_->setChecked(o.smdPads);
  padOffset_->setValue(o.padOffset);
  smdOffset_->setValue(o.smdOffset);
  const bool mask = o.maskOptionsEnabled();
  for (QWidget* w : std::initializer_list<QWidget*>{maskGroup_, invert_, pads_, smdPads_,
                                                    offsetLabel_, padOffset_, smdOffset_})
    w->setEnabled(mask);
  showing_ = false;
}

}  // namespace plavesk
