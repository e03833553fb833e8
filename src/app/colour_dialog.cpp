#include "app/colour_dialog.h"

#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/dialog_buttons.h"
#include "app/help_topics.h"
#include "app/language.h"
#include "app/manufacturing_widgets.h"
#include "app/user_dialogs.h"
#include "document/file_io.h"
#include "view/colour_texts.h"
#include "view/scheme_file.h"

namespace plavesk {

namespace {

constexpr const char* kCustomColourFile = "COLORS.DAT";

QColor qcolour(TColour c) {
  return QColor(redOf(c), greenOf(c), blueOf(c));
}
TColour colourOf(const QColor& c) {
  return rgb(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()));
}
std::string customColourPath(const std::string& folder) {
  return (std::filesystem::path(folder) / kCustomColourFile).string();
}

}  // namespace

std::vector<TColour> readCustomColours(const std::string& folder) {
  std::vector<TColour> colours;
  std::ifstream in(customColourPath(folder));
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    const QColor c(QString::fromStdString(line));
    if (line.size() == 7 && line[0] == '#' && c.isValid()) colours.push_back(colourOf(c));
  }
  return colours;
}

bool writeCustomColours(const std::string& folder, const std::vector<TColour>& colours,
                        std::string& error) {
  std::string text;
  for (TColour c : colours) text += qcolour(c).name().toStdString() + "\r\n";
  return writeFileAtomically(customColourPath(folder), {text.begin(), text.end()}, error);
}

std::optional<TColour> chooseColour(QWidget* parent, const std::string& folder, TColour start) {
  const std::vector<TColour> custom = readCustomColours(folder);
  for (int i = 0; i < QColorDialog::customCount() && size_t(i) < custom.size(); ++i)
    QColorDialog::setCustomColor(i, qcolour(custom[size_t(i)]));
  const QColor chosen = QColorDialog::getColor(qcolour(start), parent);
  std::vector<TColour> after;
  for (int i = 0; i < QColorDialog::customCount(); ++i)
    after.push_back(colourOf(QColorDialog::customColor(i)));
  std::string ignored;
  writeCustomColours(folder, after, ignored);
  if (!chosen.isValid()) return std::nullopt;
  return colourOf(chosen);
}

TColourDialog::TColourDialog(int language, TColourSchemes& schemes,
                             const std::string& programFolder, TUserDialogs& dialogs,
                             QWidget* parent)
    : QDialog(parent),
      language_(language),
      schemes_(schemes),
      folder_(programFolder),
      dialogs_(dialogs),
      savedCurrent_(schemes.current()),
      savedIndex_(schemes.selected()),
      shownIndex_(schemes.selected()),
      working_(schemes.current()) {
  setObjectName("FarbDialog");
  setWindowTitle(QString::fromUtf8(colourDialogTitle(language)));
  setAccessibleName(windowTitle());
  choose = [this](TColour start) { return chooseColour(this, folder_, start); };

  auto* grid = new QGridLayout;
  for (size_t i = 0; i < kSwatchColours.size(); ++i) {
    const int index = kSwatchColours[i];
    const QString caption = QString::fromUtf8(colourRoleCaption(index, language));
    auto* b = new QPushButton;
    b->setObjectName(QString("P_Farbe%1").arg(index));
    b->setAccessibleName(caption);
    b->setFixedSize(48, 22);
    b->setAutoDefault(false);
    auto* l = new QLabel(caption);
    l->setObjectName(QString("L_Farbe%1").arg(index));
    connect(b, &QPushButton::clicked, this, [this, index] { editSwatch(index); });
    grid->addWidget(b, int(i), 0);
    grid->addWidget(l, int(i), 1);
    swatches_[i] = b;
    captions_[i] = l;
  }
  selector_ = new QComboBox;
  selector_->setObjectName("CB_Farbschema");
  for (int s = 0; s < kSchemeCount; ++s)
    selector_->addItem(QString::fromUtf8(schemeName(s, language)));
  selector_->setAccessibleName(QString::fromUtf8(schemeName(0, language)) + " / " +
                               QString::fromUtf8(schemeName(1, language)));
  selector_->setCurrentIndex(savedIndex_);
  connect(selector_, &QComboBox::currentIndexChanged, this,
          [this](int index) { selectScheme(index); });

  auto* foot = new QHBoxLayout;
  foot->addWidget(helpButton(language, kHelpColours));
  foot->addStretch();
  foot->addWidget(okCancelButtons(*this, language));
  auto* page = new QVBoxLayout(this);
  page->addWidget(selector_);
  page->addLayout(grid);
  page->addLayout(foot);
  showWorking();
}

QPushButton* TColourDialog::swatch(int colourIndex) const {
  for (size_t i = 0; i < kSwatchColours.size(); ++i)
    if (kSwatchColours[i] == colourIndex) return swatches_[i];
  return nullptr;
}

QLabel* TColourDialog::swatchCaption(int colourIndex) const {
  for (size_t i = 0; i < kSwatchColours.size(); ++i)
    if (kSwatchColours[i] == colourIndex) return captions_[i];
  return nullptr;
}

void TColourDialog::showWorking() {
  const bool editable = shownIndex_ > 0;
  for (size_t i = 0; i < kSwatchColours.size(); ++i) {
    const QColor c = qcolour(working_[kSwatchColours[i]]);
    swatches_[i]->setStyleSheet(QString("QPushButton { background: %1; border: 1px solid %2; }")
                                    .arg(c.name(), editable ? "black" : "gray"));
    swatches_[i]->setEnabled(editable);
    captions_[i]->setEnabled(editable);
  }
}

void TColourDialog::editSwatch(int colourIndex) {
  if (shownIndex_ <= 0 || !choose) return;
  const std::optional<TColour> chosen = choose(working_[colourIndex]);
  if (!chosen) return;
  working_[colourIndex] = *chosen;
  // A live preview: the whole window in the new colours at once.
  schemes_.setCurrent(working_);
  changed_ = true;
  showWorking();
  if (preview) preview();
}

void TColourDialog::report(const std::vector<std::string>& problems) {
  for (const std::string& p : problems) dialogs_.message(TMessageKind::Warning, "Plavesk", p);
}

void TColourDialog::selectScheme(int index) {
  if (index == shownIndex_) return;
  if (changed_) {
    QString question = QString::fromUtf8(saveSchemeQuestion(language_));
    question.replace('\r', '\n');
    if (dialogs_.askYesNo("Plavesk", question.toStdString())) {
      const TSchemeFileResult r = writeUserScheme(folder_, shownIndex_, working_);
      if (!r.ok()) report({r.error});
    }
  }
  changed_ = false;
  report(schemes_.reloadUserSchemes(folder_));
  schemes_.select(index);
  shownIndex_ = index;
  working_ = schemes_.current();
  showWorking();
  if (preview) preview();
}

void TColourDialog::accept() {
  const TSchemeFileResult r = writeUserScheme(folder_, shownIndex_, working_);
  if (!r.ok()) {
    // The dialog stays open with the user's colours.
    report({r.error});
    return;
  }
  report(schemes_.reloadUserSchemes(folder_));
  schemes_.select(shownIndex_);
  schemes_.setCurrent(working_);
  QDialog::accept();
}

void TColourDialog::reject() {
  schemes_.select(savedIndex_);
  schemes_.setCurrent(savedCurrent_);
  QDialog::reject();
}

// --- layer information ---

namespace {

class TLayerInfoPicture : public QWidget {
 public:
  TLayerInfoPicture(int language, const TColourScheme& colours)
      : language_(language), colours_(colours) {
    setMinimumSize(420, 300);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), qcolour(colours_[kColourBackground]));
    const QColor c1 = qcolour(colours_[kColourCopper1]);
    const QColor b1 = qcolour(colours_[kColourSilk1]);
    const QColor c2 = qcolour(colours_[kColourCopper2]);
    const QColor b2 = qcolour(colours_[kColourSilk2]);
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    // Two cross-sections: a board with a pad and a track on each side,
    // silkscreen above the component side.
    auto section = [&](int top, bool side1Up) {
      const QColor upCopper = side1Up ? c1 : c2;
      const QColor upSilk = side1Up ? b1 : b2;
      const QColor downCopper = side1Up ? c2 : c1;
      const QColor downSilk = side1Up ? b2 : b1;
      const int x = 20, w = 250, board = 16;
      p.fillRect(x, top + 20, w, board, QColor(200, 180, 120));
      p.fillRect(x + 20, top + 14, 40, 6, upCopper);
      p.fillRect(x + 120, top + 14, 90, 6, upCopper);
      p.fillRect(x + 20, top + 20 + board, 40, 6, downCopper);
      p.fillRect(x + 150, top + 20 + board, 70, 6, downCopper);
      p.fillRect(x + 80, top + 8, 30, 4, upSilk);
      p.fillRect(x + 200, top + 20 + board + 8, 30, 4, downSilk);
      p.setPen(upSilk);
      p.drawText(x + w + 10, top + 12, layerButtonCaption(side1Up ? 2 : 4, language_));
      p.setPen(upCopper);
      p.drawText(x + w + 10, top + 24, layerButtonCaption(side1Up ? 1 : 3, language_));
      p.setPen(downCopper);
      p.drawText(x + w + 10, top + 44, layerButtonCaption(side1Up ? 3 : 1, language_));
      p.setPen(downSilk);
      p.drawText(x + w + 10, top + 56, layerButtonCaption(side1Up ? 4 : 2, language_));
    };
    section(20, true);
    section(100, false);
    // A component outline as printed on each side: side 2 mirrored.
    auto outline = [&](int x, int y, const QColor& c, bool mirrored) {
      p.save();
      p.translate(x + 30, y + 30);
      if (mirrored) p.scale(-1, 1);
      p.setPen(QPen(c, 2));
      p.drawRect(-25, -15, 50, 30);
      p.drawLine(-25, -5, -15, -15);
      p.drawEllipse(QPointF(15, 0), 4, 4);
      p.restore();
    };
    outline(20, 200, b1, false);
    outline(100, 200, b1, false);
    outline(200, 200, b2, true);
    outline(280, 200, b2, true);
  }

 private:
  int language_;
  TColourScheme colours_;
};

}  // namespace

TLayerInfoDialog::TLayerInfoDialog(int language, const TColourScheme& colours, QWidget* parent)
    : QDialog(parent) {
  setObjectName("LayerInfo");
  setWindowTitle(QString::fromUtf8(layerInfoTitle(language)));
  setAccessibleName(windowTitle());
  auto* page = new QVBoxLayout(this);
  page->addWidget(new TLayerInfoPicture(language, colours));
  auto* foot = new QHBoxLayout;
  foot->addWidget(helpButton(language, kHelpLayerInfo));
  foot->addStretch();
  auto* ok = new QPushButton(QString::fromUtf8(okCaption(language)));
  ok->setObjectName("OKBtn");
  ok->setAccessibleName(QString::fromUtf8(okCaption(language)).remove('&'));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  foot->addWidget(ok);
  page->addLayout(foot);
}

}  // namespace plavesk
