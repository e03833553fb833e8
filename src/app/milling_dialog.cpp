#include "app/milling_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/dialog_buttons.h"
#include "app/help_topics.h"
#include "app/language.h"
#include "app/lay_spin_edit.h"
#include "app/manufacturing_widgets.h"

namespace plavesk {

namespace {

// French follows English unless the French column differs.
constexpr TText kMillingTitle{"Isolationsfräsen", "Isolation milling", "Isolation milling"};
constexpr TText kLayerGroup{"Layer", "Layer", "Layer"};
constexpr TText kK1{"K1", "C1", "C1"};
constexpr TText kK2{"K2", "C2", "C2"};
constexpr TText kChannelGroup{"Isolationskanal", "Milling width", "Milling width"};
constexpr TText kInclude{"Einbeziehen", "Include", "Include"};
constexpr TText kTextGroup{"Texte", "Text", "Text"};
constexpr TText kNormal{"Normal:", "Normal:", "Normal:"};
constexpr TText kMarked{"Markiert:", "Marked", "Marked"};
constexpr TText kDrillGroup{"Bohrungen", "Drillings", "Drillings"};
constexpr TText kDrillChoices[4] = {
    {"Keine Ausgabe", "No output", "No output"},
    {"Alle Bohrungen in einer Extradatei", "All drillings in one extra file",
     "All drillings in a extra file"},
    {"Je Durchmesser eine Extradatei", "Each diameter in a extra file",
     "Each diameter in a extra file"},
    {"Als Fräsungen in einer Extradatei", "Milling in one extra file",
     "Als Fräsungen in einer Extradatei"},
};
constexpr const char* kDrillControls[4] = {"RB_Bohrungen_Keine", "RB_Bohrungen_Extra",
                                           "RB_Bohrungen_AlleExtra", "RB_Bohrungen_Fraesen"};
constexpr TText kToolWidth{"Fräserbreite:", "Milling width:", "Milling width:"};
constexpr TText kSecondLayer{"Auf 2. Layer setzen", "Set on 2. layer", "Set on 2. layer"};
constexpr TText kOptionsGroup{"Optionen", "Options", "Options"};
constexpr TText kHolesHead1{"Pass-", "Reference", "Reference"};
constexpr TText kHolesHead2{"Bohrungen", "holes", "holes"};
// In the order OL, OR, UL, UR.
constexpr TText kCorners[4] = {
    {"Oben / Links", "Top/Left", "Top/Left"},
    {"Oben / Rechts", "Top/Right", "Top/Right"},
    {"Unten / Links", "Bottom/Left", "Bottom/Left"},
    {"Unten / Rechts", "Bottom/Right", "Bottom/Right"},
};
constexpr const char* kCornerControls[4] = {"SB_Nullpunkt_OL", "SB_Nullpunkt_OR", "SB_Nullpunkt_UL",
                                            "SB_Nullpunkt_UR"};
constexpr TText kCentreMarks{"Zentrierkörnungen für Bohrungen", "Mark drill holes for centering",
                             "Mark drill holes for centering"};
constexpr TText kMirrorGroup{"Spiegeln", "Mirror", "Mirror"};
constexpr TText kMirrors[3] = {
    {"Nicht spiegeln", "None", "None"},
    {"X-Richtung spiegeln", "Mirror horizontal", "Mirror horizontal"},
    {"Y-Richtung spiegeln", "Mirror vertical", "Mirror vertical"},
};
constexpr const char* kMirrorControls[3] = {"RB_Spiegeln_Aus", "RB_Spiegel_X", "RB_Spiegel_Y"};
constexpr TText kOutlineTitle{"Platinenkontur", "PCB outline", "PCB outline"};
constexpr TText kOutlineOk{"OK", "OK", "OK"};
constexpr TText kOutlineCancel{"Abbrechen", "&Cancel", "&Cancel"};

template <class W>
W* named(W* w, const char* name, int language, const TText& caption) {
  w->setObjectName(name);
  w->setAccessibleName(pick(language, caption).remove('&'));
  return w;
}

QRadioButton* radio(const char* name, int language, const TText& caption) {
  return named(new QRadioButton(pick(language, caption)), name, language, caption);
}

int32_t units(double mm) {
  return int32_t(std::nearbyint(mm * 100.0));
}

QGroupBox* mirrorGroup(int language, std::array<QRadioButton*, 3>& mirrors, TMirror chosen) {
  auto* box = new QGroupBox(pick(language, kMirrorGroup));
  box->setObjectName("GroupBox5");
  auto* column = new QVBoxLayout(box);
  for (int i = 0; i < 3; ++i) {
    mirrors[size_t(i)] = radio(kMirrorControls[i], language, kMirrors[i]);
    column->addWidget(mirrors[size_t(i)]);
  }
  mirrors[size_t(chosen)]->setChecked(true);
  return box;
}

TMirror chosenMirror(const std::array<QRadioButton*, 3>& mirrors) {
  for (int i = 0; i < 3; ++i)
    if (mirrors[size_t(i)]->isChecked()) return TMirror(i);
  return TMirror::kNone;
}

}  // namespace

TMillingContent millingContent(const TObjektList& list) {
  TMillingContent c;
  for (const auto& e : list) {
    if (e->layer != kCopper1 && e->layer != kCopper2) continue;
    if (e->kind == kText) (e->selected ? c.markedTexts : c.normalTexts) = true;
    if (e->kind == kPad) c.pads = true;
  }
  return c;
}

void TReferenceHoleButtons::build(QGroupBox* box, int language) {
  auto* grid = new QGridLayout;
  auto* head = new QLabel(pick(language, kHolesHead1) + "\n" + pick(language, kHolesHead2));
  grid->addWidget(head, 0, 0, 1, 2);
  for (int i = 0; i < 4; ++i) {
    auto* b = named(new QToolButton, kCornerControls[i], language, kCorners[i]);
    b->setCheckable(true);
    b->setFixedSize(18, 18);
    auto* l = new QLabel(pick(language, kCorners[i]));
    l->setObjectName(QString(kCornerControls[i]).replace("SB_", "L_"));
    buttons_[size_t(i)] = b;
    labels_[size_t(i)] = l;
    QObject::connect(b, &QToolButton::toggled, l, &QLabel::setEnabled);
    grid->addWidget(b, 1 + i, 0);
    grid->addWidget(l, 1 + i, 1);
  }
  if (auto* column = qobject_cast<QBoxLayout*>(box->layout()))
    column->addLayout(grid);
  else
    box->setLayout(grid);
}

void TReferenceHoleButtons::show(const TReferenceHoles& h) {
  const bool down[4] = {h.topLeft, h.topRight, h.bottomLeft, h.bottomRight};
  for (int i = 0; i < 4; ++i) {
    buttons_[size_t(i)]->setChecked(down[i]);
    labels_[size_t(i)]->setEnabled(down[i]);
  }
}

TReferenceHoles TReferenceHoleButtons::holes() const {
  TReferenceHoles h;
  h.topLeft = buttons_[0]->isChecked();
  h.topRight = buttons_[1]->isChecked();
  h.bottomLeft = buttons_[2]->isChecked();
  h.bottomRight = buttons_[3]->isChecked();
  return h;
}

TMillingDialog::TMillingDialog(int language, const TColourScheme& colours,
                               const TMillingOptions& options, const TMillingContent& content,
                               QWidget* parent)
    : QDialog(parent), base_(options) {
  const int L = language;
  setObjectName("MillingDialog");
  setWindowTitle(pick(L, kMillingTitle));
  setAccessibleName(pick(L, kMillingTitle));

  auto* layer = new QGroupBox(pick(L, kLayerGroup));
  auto* layerGrid = new QGridLayout(layer);
  k1_ = radio("RB_K1", L, kK1);
  k2_ = radio("RB_K2", L, kK2);
  layerGrid->addWidget(colourSwatch("P_K1", colours[kColourCopper1]), 0, 0);
  layerGrid->addWidget(k1_, 0, 1);
  layerGrid->addWidget(colourSwatch("P_K2", colours[kColourCopper2]), 1, 0);
  layerGrid->addWidget(k2_, 1, 1);
  (options.layer == kCopper2 ? k2_ : k1_)->setChecked(true);

  auto* channelBox = new QGroupBox(pick(L, kChannelGroup));
  channelBox->setObjectName("GroupBox2");
  auto* channelRow = new QHBoxLayout(channelBox);
  channel_ = named(new QCheckBox(pick(L, kInclude)), "CB_ISO", L, kInclude);
  channelWidth_ = millimetreField("SE_Staerke", 0.0, 4.99, options.channelWidth / 100.0);
  channelWidth_->setCaption(pick(L, kChannelGroup));
  channel_->setChecked(options.includeChannel);
  channelRow->addWidget(channel_);
  channelRow->addWidget(channelWidth_);
  channelRow->addWidget(new QLabel("mm"));

  auto* texts = new QGroupBox(pick(L, kTextGroup));
  texts->setObjectName("GB_Text");
  auto* textGrid = new QGridLayout(texts);
  const TText outline{"Outline", "Outline", "Outline"};
  const TText single{"Singleline", "Singleline", "Singleline"};
  normalLabel_ = new QLabel(pick(L, kNormal));
  normalLabel_->setObjectName("L_Normal");
  markedLabel_ = new QLabel(pick(L, kMarked));
  markedLabel_->setObjectName("L_Markiert");
  // Each pair is a group of its own.
  auto* normalRow = new QWidget;
  auto* normalLayout = new QHBoxLayout(normalRow);
  normalLayout->setContentsMargins(0, 0, 0, 0);
  normalOut_ = radio("RB_Text_Out", L, outline);
  normalSingle_ = radio("RB_Text_Single", L, single);
  normalOut_->setAccessibleName(pick(L, kNormal).remove(':') + " Outline");
  normalSingle_->setAccessibleName(pick(L, kNormal).remove(':') + " Singleline");
  normalLayout->addWidget(normalOut_);
  normalLayout->addWidget(normalSingle_);
  auto* markedRow = new QWidget;
  auto* markedLayout = new QHBoxLayout(markedRow);
  markedLayout->setContentsMargins(0, 0, 0, 0);
  markedOut_ = radio("RB_MText_Out", L, outline);
  markedSingle_ = radio("RB_MText_Single", L, single);
  markedOut_->setAccessibleName(pick(L, kMarked).remove(':') + " Outline");
  markedSingle_->setAccessibleName(pick(L, kMarked).remove(':') + " Singleline");
  markedLayout->addWidget(markedOut_);
  markedLayout->addWidget(markedSingle_);
  textGrid->addWidget(normalLabel_, 0, 0);
  textGrid->addWidget(normalRow, 0, 1);
  textGrid->addWidget(markedLabel_, 1, 0);
  textGrid->addWidget(markedRow, 1, 1);
  (options.singleLineTexts ? normalSingle_ : normalOut_)->setChecked(true);
  (options.singleLineMarkedTexts ? markedSingle_ : markedOut_)->setChecked(true);
  for (QWidget* w : std::initializer_list<QWidget*>{normalLabel_, normalOut_, normalSingle_})
    w->setEnabled(content.normalTexts);
  for (QWidget* w : std::initializer_list<QWidget*>{markedLabel_, markedOut_, markedSingle_})
    w->setEnabled(content.markedTexts);

  drillGroup_ = new QGroupBox(pick(L, kDrillGroup));
  drillGroup_->setObjectName("GroupBox4");
  auto* drillColumn = new QVBoxLayout(drillGroup_);
  for (int i = 0; i < 4; ++i) {
    drills_[size_t(i)] = radio(kDrillControls[i], L, kDrillChoices[i]);
    drillColumn->addWidget(drills_[size_t(i)]);
  }
  drills_[size_t(options.drills)]->setChecked(true);
  auto* toolRow = new QHBoxLayout;
  toolLabel_ = new QLabel(pick(L, kToolWidth));
  toolLabel_->setObjectName("L_Fraesbreite");
  tool_ = millimetreField("SE_Fraesbreite", 0.0, 4.99, options.toolDiameter / 100.0);
  tool_->setCaption(pick(L, kToolWidth).remove(':'));
  toolRow->addSpacing(20);
  toolRow->addWidget(toolLabel_);
  toolRow->addWidget(tool_);
  toolRow->addWidget(new QLabel("mm"));
  drillColumn->addLayout(toolRow);
  secondPen_ = named(new QCheckBox(pick(L, kSecondLayer)), "CB_Layer2", L, kSecondLayer);
  secondPen_->setChecked(options.secondPen);
  drillColumn->addWidget(secondPen_);
  drillGroup_->setEnabled(content.pads);

  auto* optionsBox = new QGroupBox(pick(L, kOptionsGroup));
  optionsBox->setObjectName("GroupBox3");
  auto* optionsColumn = new QVBoxLayout(optionsBox);
  holes_.build(optionsBox, L);
  holes_.show(options.holes);
  centre_ = named(new QCheckBox(pick(L, kCentreMarks)), "CB_Zentrierung", L, kCentreMarks);
  centre_->setChecked(options.centreMarks);
  optionsColumn->addWidget(centre_);

  connect(channel_, &QCheckBox::toggled, this, [this] { applyRules(); });
  for (QRadioButton* d : drills_)
    connect(d, &QRadioButton::toggled, this, [this] { applyRules(); });

  auto* left = new QVBoxLayout;
  left->addWidget(layer);
  left->addWidget(channelBox);
  left->addWidget(texts);
  auto* right = new QVBoxLayout;
  right->addWidget(drillGroup_);
  right->addWidget(optionsBox);
  right->addWidget(mirrorGroup(L, mirrors_, options.mirror));
  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right);
  auto* foot = new QHBoxLayout;
  foot->addWidget(helpButton(L, kHelpMilling));
  foot->addStretch();
  foot->addWidget(okCancelButtons(*this, L));
  auto* page = new QVBoxLayout(this);
  page->addLayout(columns);
  page->addLayout(foot);
  applyRules();
}

void TMillingDialog::applyRules() {
  channelWidth_->setEnabled(channel_->isChecked());
  const bool milled = drills_[size_t(TDrillOutput::kMilled)]->isChecked();
  toolLabel_->setEnabled(milled);
  tool_->setEnabled(milled);
  secondPen_->setEnabled(milled);
}

TMillingOptions TMillingDialog::options() const {
  TMillingOptions o = base_;
  o.layer = k2_->isChecked() ? kCopper2 : kCopper1;
  o.includeChannel = channel_->isChecked();
  o.channelWidth = units(channelWidth_->value());
  o.singleLineTexts = normalSingle_->isChecked();
  o.singleLineMarkedTexts = markedSingle_->isChecked();
  for (int i = 0; i < 4; ++i)
    if (drills_[size_t(i)]->isChecked()) o.drills = TDrillOutput(i);
  o.toolDiameter = units(tool_->value());
  o.secondPen = secondPen_->isChecked();
  o.holes = holes_.holes();
  o.centreMarks = centre_->isChecked();
  o.mirror = chosenMirror(mirrors_);
  return o;
}

TOutlineDialog::TOutlineDialog(int language, const TOutlineOptions& options, QWidget* parent)
    : QDialog(parent), base_(options) {
  const int L = language;
  setObjectName("OutlineDialog");
  setWindowTitle(pick(L, kOutlineTitle));
  setAccessibleName(pick(L, kOutlineTitle));
  auto* optionsBox = new QGroupBox(pick(L, kOptionsGroup));
  optionsBox->setObjectName("GroupBox3");
  new QVBoxLayout(optionsBox);
  holes_.build(optionsBox, L);
  holes_.show(options.holes);

  auto* buttons = new QDialogButtonBox;
  QPushButton* ok = buttons->addButton(pick(L, kOutlineOk), QDialogButtonBox::AcceptRole);
  ok->setObjectName("OKBtn");
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton(pick(L, kOutlineCancel), QDialogButtonBox::RejectRole);
  cancel->setObjectName("CancelBtn");
  cancel->setAccessibleName(pick(L, kOutlineCancel).remove('&'));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* columns = new QHBoxLayout;
  columns->addWidget(optionsBox);
  columns->addWidget(mirrorGroup(L, mirrors_, options.mirror));
  auto* foot = new QHBoxLayout;
  foot->addWidget(helpButton(L, kHelpMilling));
  foot->addStretch();
  foot->addWidget(buttons);
  auto* page = new QVBoxLayout(this);
  page->addLayout(columns);
  page->addLayout(foot);
}

TOutlineOptions TOutlineDialog::options() const {
  TOutlineOptions o = base_;
  o.holes = holes_.holes();
  o.mirror = chosenMirror(mirrors_);
  return o;
}

}  // namespace plavesk
