#include "app/macro_panel.h"

#include <QApplication>
#include <QDrag>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "app/hint_text.h"
#include "app/language.h"
#include "app/user_dialogs.h"
#include "editing/command_table.h"
#include "editing/editor.h"
#include "platform/core/raster_canvas.h"
#include "view/element_rendering.h"
#include "view/geometry.h"
#include "view/render_settings.h"

namespace plavesk {

namespace fs = std::filesystem;

namespace {

constexpr TText kHeader{"Makros", "Macros", "Macros"};
constexpr TText kListHint{"Makroliste|Liste aller Makros im aktuellen Ordner",
                          "Macro list|Macro files in current directory",
                          "Liste des macros|Macros du dossier actuel"};
constexpr TText kPreviewHint{"Makrovorschau|Makro anklicken und in das Layout ziehen.",
                             "Preview|Drag && drop the macro to your layout",
                             "Aperçu|Glisser la macro dans le tracé"};
constexpr TText kDescriptionHint{"Beschreibung|Beschreibung des Makros",
                                 "Description|Description of the macro",
                                 "Description|Description de la macro"};

constexpr TText kNoElementsTitle{"Makro speichern", "Save macro", "Sauvegarder macro"};
constexpr TText kSaveTitle{"Makro speichern", "Save as macro", "Sauvegarder comme macro"};
constexpr TText kSaveFilter{"Layout-Makros (*.lmk)", "Layout-Macros (*.lmk)",
                            "Macros-Layout (*.lmk)"};
constexpr TText kDeleteBefore{"Möchten Sie die Datei ", "Delete file ", "Effacer fichier "};
constexpr TText kDeleteAfter{" wirklich löschen?", " ?", " ?"};
constexpr TText kRootTitle{
    "In dem Stammverzeichnis sollten alle Makros und deren Unterverzeichnisse enthalten sein.",
    "The root folder should hold all macros and their subfolders.",
    "Le répertoire racine doit contenir toutes les macros et leurs sous-répertoires."};
constexpr TText kBadMacro{"Die Makrodatei \"%1\" kann nicht gelesen werden:\r%2",
                          "The macro file \"%1\" cannot be read:\r%2",
                          "Impossible de lire le fichier macro \"%1\" :\r%2"};
constexpr TText kRootGone{
    "Das Makro-Stammverzeichnis \"%1\" existiert nicht mehr.\rEs werden die Makros im "
    "Programmordner \"%2\" gezeigt.",
    "The macro root folder \"%1\" no longer exists.\rThe macros of the program folder \"%2\" "
    "are shown.",
    "Le répertoire des macros \"%1\" n'existe plus.\rLes macros du dossier du programme \"%2\" "
    "sont affichées."};
constexpr TText kDescriptionNotSaved{"Die Beschreibung konnte nicht gespeichert werden:\r%1",
                                     "The description could not be saved:\r%1",
                                     "La description n'a pas pu être enregistrée :\r%1"};

constexpr const char* kProgramName = "Plavesk";

bool isFolder(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

// A button of the panel with its hint from the command table.
QToolButton* toolButton(const char* name, const QString& text, int language) {
  const TCommand* command = findCommandForControl(name);
  auto* b = new QToolButton;
  b->setObjectName(name);
  b->setText(text);
  b->setCheckable(command && command->checkable);
  b->setAutoRaise(true);
  if (command) applyHint(b, language, command->hint);
  return b;
}

// The preview box: the macro scaled into the box, centred, y upwards.
class TPreviewBox : public QWidget {
 public:
  TPreviewBox(const TMacroPreview& preview, const TRenderSettings& render)
      : preview_(preview), render_(render) {
    setObjectName("PB_Makro");
    setMinimumSize(150, 120);
    setCursor(Qt::OpenHandCursor);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    const TColour background = render_.colour(kColourBackground);
    RasterImage image(std::max(1, width()), std::max(1, height()), background);
    const TObjektList& list = preview_.macro.elements;
    if (!list.empty()) {
      const TRect box = elementsBounds(list);
      const double w = std::max<int64_t>(1, int64_t(box.right) - box.left);
      const double h = std::max<int64_t>(1, int64_t(box.bottom) - box.top);
      const double scale = std::max(0.01, std::min((width() - 10) / w, (height() - 10) / h));
      // (L - 10, B + 10) at the top left, the scaled box centred.
      CanvasMapping m;
      m.windowOrgX = box.left - 10;
      m.windowOrgY = box.bottom + 10;
      m.windowExtX = 1;
      m.windowExtY = -1;
      m.viewportExtX = scale;
      m.viewportExtY = scale;
      m.viewportOrgX = (width() - (w + 20) * scale) / 2;
      m.viewportOrgY = (height() - (h + 20) * scale) / 2;
      RasterCanvas canvas(image);
      canvas.setMapping(m);
      // The other side below, the side 1 silkscreen on top.
      for (int layer : {kCopper2, kSilk2, kCopper1, kSilk1})
        for (const auto& e : list)
          if (e->layer == layer) drawElement(*e, canvas, kCopper1, render_);
    }
    const QImage picture(image.row(0), image.width(), image.height(), image.width() * 3,
                         QImage::Format_BGR888);
    QPainter painter(this);
    painter.drawImage(0, 0, picture);
    painter.setPen(Qt::gray);
    painter.drawText(rect().adjusted(4, 2, -4, -2), Qt::AlignBottom | Qt::AlignRight,
                     "Drag and Drop");
  }

 private:
  const TMacroPreview& preview_;
  const TRenderSettings& render_;
};

}  // namespace

TMacroPanel::TMacroPanel(int language, TEditor& editor, TUserDialogs& dialogs,
                         const TRenderSettings& render, QWidget* parent)
    : QWidget(parent), language_(language), editor_(editor), dialogs_(dialogs), render_(render) {
  setObjectName("P_Makro");
  setMinimumWidth(180);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(2, 2, 2, 2);
  column->setSpacing(2);

  auto* head = new QHBoxLayout;
  auto* title = new QLabel(pick(language, kHeader));
  title->setObjectName("L_Makros");
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  head->addWidget(title, 1);
  auto* hide = toolButton("SB_MakroAusblenden", "x", language);
  connect(hide, &QToolButton::clicked, this, [this] {
    if (hideRequested) hideRequested();
  });
  head->addWidget(hide);
  column->addLayout(head);

  auto* folders = new QHBoxLayout;
  subfolderButton_ = toolButton("SB_MakroOrdner", "..", language);
  subfolderButton_->setPopupMode(QToolButton::InstantPopup);
  subfolderButton_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  subfolderButton_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  folderMenu_ = new QMenu(this);
  folderMenu_->setObjectName("PM_MakroOrdner");
  subfolderButton_->setMenu(folderMenu_);
  folders->addWidget(subfolderButton_, 1);
  auto* rootButton = toolButton("SB_MakroStamm", "...", language);
  connect(rootButton, &QToolButton::clicked, this, [this] { chooseRoot(); });
  folders->addWidget(rootButton);
  column->addLayout(folders);

  list_ = new QListWidget;
  list_->setObjectName("LB_Makro");
  applyHint(list_, language, kListHint);
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list_, &QListWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { folderMenu_->exec(list_->viewport()->mapToGlobal(at)); });
  connect(list_, &QListWidget::currentRowChanged, this, [this](int) {
    if (!loading_) loadChosen();
  });
  list_->viewport()->installEventFilter(this);
  column->addWidget(list_, 1);

  for (QLineEdit** field : {&description1_, &description2_}) {
    auto* e = new QLineEdit;
    const int line = field == &description1_ ? 1 : 2;
    e->setObjectName(QString("E_Beschreibung%1").arg(line));
    e->setMaxLength(kMacroDescriptionMax);
    applyHint(e, language, kDescriptionHint);
    e->setAccessibleName(pick(language, kDescriptionHint).section('|', 0, 0) +
                         QString(" %1").arg(line));
    connect(e, &QLineEdit::textEdited, this, [this, line](const QString& text) {
      preview_.setDescription(line, text.toStdString());
    });
    connect(e, &QLineEdit::editingFinished, this, [this] { saveDescriptions(); });
    column->addWidget(e);
    *field = e;
  }

  previewBox_ = new TPreviewBox(preview_, render_);
  applyHint(previewBox_, language, kPreviewHint);
  previewBox_->installEventFilter(this);
  column->addWidget(previewBox_, 1);

  auto* buttons = new QHBoxLayout;
  side_ = toolButton("SB_SeiteWechseln", "1|2", language);
  mirror_ = toolButton("SB_MakroSpiegeln", "<|>", language);
  auto* save = toolButton("SB_MakroSpeichern", "+", language);
  auto* remove = toolButton("SB_MakroLoeschen", "-", language);
  through_ = toolButton("SB_Durchkontaktiert", "DK", language);
  connect(side_, &QToolButton::clicked, this, [this] {
    preview_.toggleSide();
    showToggles();
  });
  connect(mirror_, &QToolButton::clicked, this, [this] {
    preview_.toggleMirror();
    showToggles();
  });
  connect(through_, &QToolButton::clicked, this, [this](bool on) {
    preview_.setThroughPads(on);
    showToggles();
  });
  connect(save, &QToolButton::clicked, this, [this] { saveAsMacro(); });
  connect(remove, &QToolButton::clicked, this, [this] { deleteMacro(); });
  for (QToolButton* b : {side_, mirror_, save, remove, through_}) buttons->addWidget(b);
  buttons->addStretch(1);
  column->addLayout(buttons);

  chooseFolder = [this](const std::string& start, const std::string& title) {
    return QFileDialog::getExistingDirectory(this, QString::fromStdString(title),
                                             QString::fromStdString(start))
        .toStdString();
  };
}

void TMacroPanel::message(int kind, const std::string& text) {
  std::string shown = text;
  std::replace(shown.begin(), shown.end(), '\r', '\n');
  dialogs_.message(TMessageKind(kind), kProgramName, shown);
}

std::string TMacroPanel::folderPath() const {
  return subfolder_.empty() ? root_ : root_ + "/" + subfolder_;
}

void TMacroPanel::setFolders(const std::string& root, const std::string& subfolder,
                             const std::string& fallbackRoot) {
  root_ = root;
  while (root_.size() > 1 && (root_.back() == '/' || root_.back() == '\\')) root_.pop_back();
  if (!isFolder(root_)) {
    std::string fallback = fallbackRoot;
    while (fallback.size() > 1 && fallback.back() == '/') fallback.pop_back();
    if (!root_.empty()) {
      QString text = pick(language_, kRootGone)
                         .arg(QString::fromStdString(root_), QString::fromStdString(fallback));
      message(int(TMessageKind::Warning), text.toStdString());
    }
    root_ = fallback;
  }
  rebuildFolderMenu();
  // "..." and ".." of the settings stand for the root itself.
  std::string sub = subfolder == "..." || subfolder == ".." ? "" : subfolder;
  std::replace(sub.begin(), sub.end(), '\\', '/');
  if (!isFolder(sub.empty() ? root_ : root_ + "/" + sub)) sub.clear();
  openFolder(sub);
}

void TMacroPanel::rebuildFolderMenu() {
  folderMenu_->clear();
  const TMacroFolder tree = macroFolderTree(root_);
  // One menu per folder with subfolders: "..", a separator and the
  // subfolders; choosing an entry without a submenu opens its folder.
  std::function<void(QMenu*, const TMacroFolder&, const std::string&)> fill =
      [&](QMenu* menu, const TMacroFolder& folder, const std::string& path) {
        QAction* up = menu->addAction("..");
        connect(up, &QAction::triggered, this, [this, path] { openFolder(path); });
        menu->addSeparator();
        for (const TMacroFolder& child : folder.children) {
          const std::string childPath = path.empty() ? child.name : path + "/" + child.name;
          const QString caption = QString::fromStdString(child.name);
          if (child.children.empty()) {
            QAction* a = menu->addAction(caption);
            connect(a, &QAction::triggered, this, [this, childPath] { openFolder(childPath); });
          } else {
            fill(menu->addMenu(caption), child, childPath);
          }
        }
      };
  fill(folderMenu_, tree, "");
}

void TMacroPanel::openFolder(const std::string& subfolder) {
  saveDescriptions();
  subfolder_ = subfolder;
  subfolderButton_->setText(subfolder_.empty() ? ".." : QString::fromStdString(subfolder_));
  loading_ = true;
  list_->clear();
  for (const std::string& name : macroFiles(folderPath()))
    list_->addItem(QString::fromStdString(name));
  loading_ = false;
  if (list_->count() > 0) {
    list_->setCurrentRow(0);
  } else {
    preview_.clear();
    showToggles();
  }
}

void TMacroPanel::refreshList() {
  const QString chosen = list_->currentItem() ? list_->currentItem()->text() : QString();
  const int row = list_->currentRow();
  loading_ = true;
  list_->clear();
  if (!isFolder(folderPath())) subfolder_.clear();
  for (const std::string& name : macroFiles(folderPath()))
    list_->addItem(QString::fromStdString(name));
  loading_ = false;
  const auto found = list_->findItems(chosen, Qt::MatchFixedString);
  if (!chosen.isEmpty() && !found.isEmpty()) {
    loading_ = true;
    list_->setCurrentItem(found.front());
    loading_ = false;
  } else if (list_->count() > 0) {
    list_->setCurrentRow(std::clamp(row, 0, list_->count() - 1));
  } else {
    preview_.clear();
    showToggles();
  }
}

bool TMacroPanel::selectFile(const std::string& name) {
  const auto found = list_->findItems(QString::fromStdString(name), Qt::MatchFixedString);
  if (found.isEmpty()) return false;
  if (list_->currentItem() == found.front())
    loadChosen();
  else
    list_->setCurrentItem(found.front());
  return true;
}

void TMacroPanel::loadChosen() {
  if (!list_->currentItem()) return;
  const std::string name = list_->currentItem()->text().toStdString();
  const std::string path = folderPath() + "/" + name;
  std::error_code ec;
  if (!fs::exists(path, ec)) return;
  const TBoardRecord& board = editor_.working();
  std::string error;
  if (!preview_.load(path, board.activeLayer, board.grid, error)) {
    // A damaged file stays in the list; choosing it says what is wrong.
    preview_.clear();
    showToggles();
    message(int(TMessageKind::Warning),
            pick(language_, kBadMacro)
                .arg(QString::fromStdString(name), QString::fromStdString(error))
                .toStdString());
    return;
  }
  showToggles();
}

void TMacroPanel::showToggles() {
  side_->setChecked(preview_.otherSide);
  mirror_->setChecked(preview_.mirrored);
  through_->setChecked(preview_.throughPads);
  description1_->setText(QString::fromStdString(preview_.macro.description1));
  description2_->setText(QString::fromStdString(preview_.macro.description2));
  // A description longer than the field shows its beginning, not its end.
  for (QLineEdit* e : {description1_, description2_})
    if (!e->hasFocus()) e->setCursorPosition(0);
  previewBox_->update();
}

void TMacroPanel::orientToActiveSide(int activeLayer) {
  preview_.orientTo(activeLayer);
  showToggles();
}

void TMacroPanel::saveDescriptions() {
  if (!preview_.textsChanged) return;
  std::string error;
  if (!preview_.saveDescriptions(editor_.layout.hasActiveBoard() ? editor_.working().grid : 127.0,
                                 error))
    message(int(TMessageKind::Error),
            pick(language_, kDescriptionNotSaved).arg(QString::fromStdString(error)).toStdString());
}

void TMacroPanel::saveAsMacro() {
  if (!editor_.layout.hasActiveBoard() || editor_.elements().empty()) {
    dialogs_.message(TMessageKind::Warning, pickText(language_, kNoElementsTitle),
                     macroNoElementsMessage(language_));
    return;
  }
  if (editor_.selectedCount() == 0) {
    std::string question = macroNoSelectionQuestion(language_);
    std::replace(question.begin(), question.end(), '\r', '\n');
    if (!dialogs_.askYesNo(pickText(language_, kSaveTitle), question)) return;
  }
  const std::string path =
      dialogs_.chooseSaveFile(pickText(language_, kSaveTitle), folderPath(),
                              std::string(pickText(language_, kSaveFilter)) + ";;*.LMK", "lmk");
  if (path.empty()) return;
  std::string error;
  if (saveMacro(editor_, path, error) != TMacroSave::saved) {
    message(int(TMessageKind::Error), error);
    return;
  }
  refreshList();
  selectFile(fs::path(path).filename().string());
}

void TMacroPanel::chooseRoot() {
  const std::string chosen =
      chooseFolder ? chooseFolder(root_, pickText(language_, kRootTitle)) : "";
  if (chosen.empty() || !isFolder(chosen)) return;
  saveDescriptions();
  root_ = chosen;
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
  rebuildFolderMenu();
  openFolder("");
}

void TMacroPanel::deleteMacro() {
  if (!list_->currentItem()) return;
  const std::string name = list_->currentItem()->text().toStdString();
  const std::string question = std::string(pickText(language_, kDeleteBefore)) + "\"" + name +
                               "\"" + pickText(language_, kDeleteAfter);
  if (!dialogs_.askOkCancel(kProgramName, question)) return;
  const std::string path = folderPath() + "/" + name;
  // Whatever was typed for the file goes with it.
  if (preview_.fileName == path) preview_.clear();
  std::error_code ec;
  fs::remove(path, ec);
  refreshList();
}

bool TMacroPanel::eventFilter(QObject* watched, QEvent* event) {
  const bool source = watched == previewBox_ || watched == list_->viewport();
  if (source) {
    if (event->type() == QEvent::MouseButtonPress) {
      auto* e = static_cast<QMouseEvent*>(event);
      pressed_ = e->button() == Qt::LeftButton;
      pressAt_ = e->position().toPoint();
    } else if (event->type() == QEvent::MouseButtonRelease) {
      pressed_ = false;
    } else if (event->type() == QEvent::MouseMove && pressed_) {
      auto* e = static_cast<QMouseEvent*>(event);
      if ((e->position().toPoint() - pressAt_).manhattanLength() >=
          QApplication::startDragDistance()) {
        pressed_ = false;
        startDrag();
        return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TMacroPanel::startDrag() {
  if (preview_.macro.elements.empty()) return;
  auto* data = new QMimeData;
  data->setData(kMacroMimeType, QByteArray::fromStdString(preview_.fileName));
  auto* drag = new QDrag(this);
  drag->setMimeData(data);
  drag->exec(Qt::CopyAction);
}

}  // namespace plavesk
