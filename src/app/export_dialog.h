// The export dialog of the Bitmap and GIF export: the board's size, the
// resolution from 100 to 600 dpi, the picture's size in pixels, the memory it
// takes and colour or black and white. OK asks first when the picture would
// take more than 25000 kB.
#pragma once

#include <QDialog>
#include <cstdint>

#include "view/image_export.h"

class QLabel;
class QRadioButton;
class QSlider;

namespace plavesk {

class TUserDialogs;

enum class TExportFormat { kBmp, kGif };

class TExportDialog : public QDialog {
  Q_OBJECT

 public:
  // `width` and `height` of the board in units; `dialogs` asks the question
  // about large pictures.
  TExportDialog(int language, TExportFormat format, int32_t width, int32_t height,
                TUserDialogs& dialogs, QWidget* parent = nullptr);

  int dpi() const;
  // Whole multiples of 20 from 100 to 600; other values go to the nearest.
  void setDpi(int dpi);
  bool colour() const;
  void setColour(bool colour);
  TImageSize imageSize() const { return size_; }
  int64_t memoryKb() const { return memoryKb_; }

  QSlider* resolutionSlider() const { return slider_; }
  QLabel* originalSizeLabel() const { return originalSize_; }
  QLabel* resolutionLabel() const { return resolution_; }
  QLabel* pixelSizeLabel() const { return pixels_; }
  QLabel* memoryLabel() const { return memory_; }
  QLabel* memoryCaption() const { return memoryCaption_; }
  QRadioButton* colourButton() const { return colourButton_; }
  QRadioButton* blackWhiteButton() const { return blackWhite_; }

  void accept() override;

 private:
  void recompute();

  int language_;
  TExportFormat format_;
  int32_t width_;
  int32_t height_;
  TUserDialogs& dialogs_;
  TImageSize size_;
  int64_t memoryKb_ = 0;
  QSlider* slider_;
  QLabel* originalSize_;
  QLabel* resolution_;
  QLabel* pixels_;
  QLabel* memory_;
  QLabel* memoryCaption_;
  QRadioButton* colourButton_;
  QRadioButton* blackWhite_;
};

}  // namespace plavesk
