// The two milling dialogs: "Isolationsfräsen" (layer, channel, texts, drill
// files, reference holes, centring marks, mirroring) and "Platinenkontur"
// (reference holes and mirroring of the outline file). The reference-hole
// buttons are one setting shared by both.
#pragma once

#include <QDialog>
#include <array>

#include "document/board.h"
#include "output/hpgl_milling.h"
#include "output/hpgl_outline.h"
#include "view/colour_scheme.h"

class QCheckBox;
class QLabel;
class QGroupBox;
class QRadioButton;
class QToolButton;

namespace plavesk {

class TLaySpinEdit;

// What the copper layers hold, for the enabling rules of the dialog.
struct TMillingContent {
  bool normalTexts = false;  // unselected texts on layer 1 or 3
  bool markedTexts = false;  // selected ones
  bool pads = false;
};
TMillingContent millingContent(const TObjektList& list);

// The four toggle buttons with their labels, in the order OL, OR, UL, UR.
class TReferenceHoleButtons {
 public:
  void build(QGroupBox* box, int language);
  void show(const TReferenceHoles& holes);
  TReferenceHoles holes() const;
  QToolButton* button(int i) const { return buttons_[size_t(i)]; }
  QLabel* label(int i) const { return labels_[size_t(i)]; }

 private:
  std::array<QToolButton*, 4> buttons_{};
  std::array<QLabel*, 4> labels_{};
};

class TMillingDialog : public QDialog {
  Q_OBJECT

 public:
  TMillingDialog(int language, const TColourScheme& colours, const TMillingOptions& options,
                 const TMillingContent& content, QWidget* parent = nullptr);

  // The options shown; language and memory budget as given.
  TMillingOptions options() const;

  QRadioButton* layerButton(int side) const { return side == 1 ? k1_ : k2_; }
  QCheckBox* channelBox() const { return channel_; }
  TLaySpinEdit* channelField() const { return channelWidth_; }
  QRadioButton* textOutline(bool marked) const { return marked ? markedOut_ : normalOut_; }
  QRadioButton* textSingle(bool marked) const { return marked ? markedSingle_ : normalSingle_; }
  QGroupBox* drillGroup() const { return drillGroup_; }
  QRadioButton* drillButton(TDrillOutput d) const { return drills_[size_t(d)]; }
  TLaySpinEdit* toolField() const { return tool_; }
  QCheckBox* secondPenBox() const { return secondPen_; }
  QCheckBox* centreMarksBox() const { return centre_; }
  QRadioButton* mirrorButton(TMirror m) const { return mirrors_[size_t(m)]; }
  const TReferenceHoleButtons& holeButtons() const { return holes_; }

 private:
  void applyRules();

  TMillingOptions base_;
  QRadioButton* k1_;
  QRadioButton* k2_;
  QCheckBox* channel_;
  TLaySpinEdit* channelWidth_;
  QLabel* normalLabel_;
  QRadioButton* normalOut_;
  QRadioButton* normalSingle_;
  QLabel* markedLabel_;
  QRadioButton* markedOut_;
  QRadioButton* markedSingle_;
  QGroupBox* drillGroup_;
  std::array<QRadioButton*, 4> drills_{};
  QLabel* toolLabel_;
  TLaySpinEdit* tool_;
  QCheckBox* secondPen_;
  QCheckBox* centre_;
  std::array<QRadioButton*, 3> mirrors_{};
  TReferenceHoleButtons holes_;
};

class TOutlineDialog : public QDialog {
  Q_OBJECT

 public:
  TOutlineDialog(int language, const TOutlineOptions& options, QWidget* parent = nullptr);
  TOutlineOptions options() const;
  QRadioButton* mirrorButton(TMirror m) const { return mirrors_[size_t(m)]; }
  const TReferenceHoleButtons& holeButtons() const { return holes_; }

 private:
  TOutlineOptions base_;
  std::array<QRadioButton*, 3> mirrors_{};
  TReferenceHoleButtons holes_;
};

}  // namespace plavesk
