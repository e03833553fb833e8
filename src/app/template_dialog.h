// The template dialog ("Scanned copy"): for each board side a bitmap file
// drawn under the layout, with its resolution, colour and offset. Changes go
// straight into the working state so the view shows them at once; Cancel
// puts back what was there when the dialog opened.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "app/template_bitmaps.h"
#include "document/board.h"
#include "view/colour_scheme.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace plavesk {

class TUserDialogs;

constexpr int kTemplateMinDpi = 20;
constexpr int kTemplateMaxDpi = 2400;
constexpr int kTemplateMaxOffset = 1000;  // 1/10 mm

class TTemplateDialog : public QDialog {
  Q_OBJECT

 public:
  // `record` is the active board's working state; `activeSide` (1 or 2) is
  // the page shown first and the side whose changes repaint the view.
  // `folder` is where the file choice starts.
  TTemplateDialog(int language, TBoardRecord& record, TTemplateBitmaps& bitmaps,
                  TUserDialogs& dialogs, const std::string& folder, int activeSide,
                  QWidget* parent = nullptr);

  // Called after a change of the active side's page.
  std::function<void()> repaintView;

  struct Page {
    QPushButton* load = nullptr;
    QPushButton* remove = nullptr;
    QCheckBox* show = nullptr;
    QSpinBox* dpi = nullptr;
    QToolButton* colour = nullptr;
    QSpinBox* offsetX = nullptr;
    QSpinBox* offsetY = nullptr;
    QLabel* fileName = nullptr;
  };
  const Page& page(int side) const { return pages_[side == 2 ? 1 : 0]; }
  QTabWidget* tabs() const { return tabs_; }
  // The folder of the last file chosen (or the one given).
  const std::string& folder() const { return folder_; }

  // The load button: a file choice, then loadFile.
  void chooseFile(int side);
  // Reads the bitmap; on failure shows the message and keeps the page as it
  // was.
  bool loadFile(int side, const std::string& path);
  void removeFile(int side);
  void setColour(int side, TColour colour);

  void reject() override;

 private:
  struct Fields {
    uint8_t* shown;
    std::string* file;
    int32_t* dpi;
    int32_t* offsetX;
    int32_t* offsetY;
    int32_t* colour;
  };
  Fields fields(int side);
  QWidget* buildPage(int side);
  void showColour(int side);
  void changed(int side);

  int language_;
  TBoardRecord& record_;
  TTemplateBitmaps& bitmaps_;
  TUserDialogs& dialogs_;
  std::string folder_;
  int activeSide_;
  TBoardRecord saved_;
  TTemplateBitmaps::Saved savedBitmaps_;
  QTabWidget* tabs_ = nullptr;
  Page pages_[2];
};

}  // namespace plavesk
