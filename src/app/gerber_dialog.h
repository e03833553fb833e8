// "Gerber-Format exportieren": one of the eight outputs, its options and the
// rules between them. The dialog edits a TGerberOptions the caller keeps
// between uses; its create button hands the options to the caller, which
// writes the file, and the dialog stays open for the next output.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "output/gerber_options.h"
#include "view/colour_scheme.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace plavesk {

class TLaySpinEdit;

class TGerberDialog : public QDialog {
  Q_OBJECT

 public:
  // `colours` fills the four layer swatches.
  TGerberDialog(int language, const TColourScheme& colours, const TGerberOptions& options,
                QWidget* parent = nullptr);

  const TGerberOptions& options() const { return options_; }
  // Called by "&Exportdatei erstellen..." with the options shown.
  std::function<void(const TGerberOptions&)> create;

  QRadioButton* outputButton(TGerberOutput output) const { return outputs_[size_t(output)]; }
  QCheckBox* mirrorBox() const { return mirror_; }
  QCheckBox* outlineBox() const { return outline_; }
  QCheckBox* punchBox() const { return punch_; }
  QCheckBox* markBox() const { return mark_; }
  QGroupBox* maskGroup() const { return maskGroup_; }
  QCheckBox* invertBox() const { return invert_; }
  QCheckBox* padsBox() const { return pads_; }
  QCheckBox* smdPadsBox() const { return smdPads_; }
  TLaySpinEdit* padOffsetField() const { return padOffset_; }
  TLaySpinEdit* smdOffsetField() const { return smdOffset_; }
  QPushButton* createButton() const { return ok_; }
  QPushButton* closeButton() const { return close_; }
  QFrame* swatch(int layer) const { return swatches_[size_t(layer - 1)]; }

 private:
  // Shows options_ in the controls and the enabling rules.
  void showOptions(const TGerberOptions& o);
  void readControls();

  TGerberOptions options_;
  bool showing_ = false;
  std::array<QRadioButton*, kGerberOutputCount> outputs_{};
  std::array<QFrame*, 4> swatches_{};
  QCheckBox* mirror_;
  QCheckBox* outline_;
  QCheckBox* punch_;
  QCheckBox* mark_;
  QGroupBox* maskGroup_;
  QCheckBox* invert_;
  QCheckBox* pads_;
  QCheckBox* smdPads_;
  QLabel* offsetLabel_;
  TLaySpinEdit* padOffset_;
  TLaySpinEdit* smdOffset_;
  QPushButton* ok_;
  QPushButton* close_;
};

}  // namespace plavesk
