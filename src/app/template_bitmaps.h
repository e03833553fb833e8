// The template bitmaps (scanned copies) of the two board sides as loaded
// into memory, which the view draws under the layout. The board record keeps
// only their file names and settings.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <utility>

#include "document/board.h"
#include "platform/core/canvas.h"
#include "view/main_view_paint.h"

namespace plavesk {

// Beyond this a template would take gigabytes; it is refused like a file
// that cannot be read.
constexpr int64_t kMaxTemplatePixels = 200'000'000;

struct TTemplateBitmap {
  bool ok = false;
  std::shared_ptr<const CanvasImage> image;
  int32_t dpi = 0;  // from the header's pixels per metre; 0 when not set
  std::string error;
};

// Reads an uncompressed BMP file. The header's size is checked before the
// pixels are read.
TTemplateBitmap readTemplateBitmap(const std::string& path);

class TTemplateBitmaps {
 public:
  // side 1 or 2. On failure the side keeps what it had.
  bool load(int side, const std::string& path);
  void set(int side, const std::string& path, std::shared_ptr<const CanvasImage> image) {
    sides_[index(side)] = {path, std::move(image)};
  }
  void clear(int side);
  const std::string& path(int side) const { return sides_[index(side)].path; }
  const CanvasImage* image(int side) const { return sides_[index(side)].image.get(); }
  TTemplateImages images() const { return {image(1), image(2)}; }

  // For the layout's loadTemplate hook, which is called with the file names
  // while a board becomes active: reads the file and keeps the bitmap until
  // adopt() hands it to its side.
  bool preload(const std::string& path);
  // Takes the bitmaps of the record's template files: preloaded ones, or the
  // side's own when the name is unchanged; a side without a file is cleared.
  void adopt(const TBoardRecord& record);

  // What the template dialog's Cancel goes back to.
  struct Saved {
    std::string path[2];
    std::shared_ptr<const CanvasImage> image[2];
  };
  Saved save() const;
  void restore(const Saved& saved);

 private:
  struct Side {
    std::string path;
    std::shared_ptr<const CanvasImage> image;
  };
  static size_t index(int side) { return side == 2 ? 1 : 0; }
  Side sides_[2];
  // The last activation asks for at most two files.
  std::deque<std::pair<std::string, std::shared_ptr<const CanvasImage>>> preloaded_;
};

// The side whose template the view shows: 1 for layers 1 and 2, 2 for 3, 4.
int templateSideOf(int activeLayer);

}  // namespace plavesk
