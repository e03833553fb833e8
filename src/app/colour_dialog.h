// "Farben definieren": seven swatches of the working colours, the scheme
// selector (Standard and three user schemes) and OK / Cancel. A changed
// swatch shows at once in the whole window; choosing another scheme after a
// change asks whether to save it; OK saves the selected user scheme's file.
// Also the colour chooser's custom colours kept in "COLORS.DAT" and the
// layer information window.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "view/colour_schemes.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace plavesk {

class TUserDialogs;

// "COLORS.DAT": one custom colour a line as "#rrggbb"; lines that are not
// colours are skipped. A missing file gives no colours.
std::vector<TColour> readCustomColours(const std::string& folder);
bool writeCustomColours(const std::string& folder, const std::vector<TColour>& colours,
                        std::string& error);
// The platform's colour chooser, its custom colours loaded from and saved
// to "COLORS.DAT" in `folder`. Empty when cancelled.
std::optional<TColour> chooseColour(QWidget* parent, const std::string& folder, TColour start);

class TColourDialog : public QDialog {
  Q_OBJECT

 public:
  // The scheme indexes the dialog shows, in order.
  static constexpr std::array<int, 7> kSwatchColours = {
      kColourBackground, kColourGrid,  kColourCopper1,    kColourSilk1,
      kColourCopper2,    kColourSilk2, kColourConnections};

  TColourDialog(int language, TColourSchemes& schemes, const std::string& programFolder,
                TUserDialogs& dialogs, QWidget* parent = nullptr);

  // The current colours changed (a swatch, another scheme): the window
  // rebuilds its patterns and repaints.
  std::function<void()> preview;
  // The chooser; tests answer it. Default: chooseColour above.
  std::function<std::optional<TColour>(TColour)> choose;

  const TColourScheme& working() const { return working_; }
  bool changed() const { return changed_; }
  QPushButton* swatch(int colourIndex) const;
  QLabel* swatchCaption(int colourIndex) const;
  QComboBox* selector() const { return selector_; }
  // What clicking a swatch does.
  void editSwatch(int colourIndex);

  void accept() override;
  void reject() override;

 private:
  void selectScheme(int index);
  void showWorking();
  void report(const std::vector<std::string>& problems);

  int language_;
  TColourSchemes& schemes_;
  std::string folder_;
  TUserDialogs& dialogs_;
  TColourScheme savedCurrent_;
  int savedIndex_;
  int shownIndex_;
  TColourScheme working_;
  bool changed_ = false;
  std::array<QPushButton*, 7> swatches_{};
  std::array<QLabel*, 7> captions_{};
  QComboBox* selector_;
};

// "LayerInfo": the two sides of a board in cross-section and a component
// outline as seen from each side, in the current colours.
class TLayerInfoDialog : public QDialog {
  Q_OBJECT

 public:
  TLayerInfoDialog(int language, const TColourScheme& colours, QWidget* parent = nullptr);
};

}  // namespace plavesk
