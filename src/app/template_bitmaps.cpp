#include "app/template_bitmaps.h"

#include <cstdlib>
#include <fstream>

#include "document/file_io.h"
#include "document/objekt.h"
#include "view/bmp_file.h"

namespace plavesk {

namespace {

int32_t le32(const char* p) {
  return int32_t(uint32_t(uint8_t(p[0])) | uint32_t(uint8_t(p[1])) << 8 |
                 uint32_t(uint8_t(p[2])) << 16 | uint32_t(uint8_t(p[3])) << 24);
}

}  // namespace

TTemplateBitmap readTemplateBitmap(const std::string& path) {
  TTemplateBitmap result;
  {
    std::ifstream in(path, std::ios::binary);
    char header[26] = {};
    if (!in || !in.read(header, sizeof header)) {
      result.error = path + ": not a Windows bitmap";
      return result;
    }
    const int64_t width = le32(header + 18);
    const int64_t height = std::llabs(int64_t(le32(header + 22)));
    if (header[0] == 'B' && header[1] == 'M' && width * height > kMaxTemplatePixels) {
      result.error = path + ": bitmap too large";
      return result;
    }
  }
  std::vector<uint8_t> data;
  std::string error;
  if (!readWholeFile(path, data, error)) {
    result.error = error;
    return result;
  }
  TBmpReadResult bmp = decodeBmp(data);
  if (!bmp.ok) {
    result.error = path + ": " + bmp.error;
    return result;
  }
  result.ok = true;
  result.dpi = bmp.dpi;
  result.image = std::make_shared<const CanvasImage>(std::move(bmp.image));
  return result;
}

bool TTemplateBitmaps::load(int side, const std::string& path) {
  TTemplateBitmap bitmap = readTemplateBitmap(path);
  if (!bitmap.ok) return false;
  sides_[index(side)] = {path, std::move(bitmap.image)};
  return true;
}

void TTemplateBitmaps::clear(int side) {
  sides_[index(side)] = {};
}

bool TTemplateBitmaps::preload(const std::string& path) {
  TTemplateBitmap bitmap = readTemplateBitmap(path);
  if (!bitmap.ok) return false;
  preloaded_.emplace_back(path, std::move(bitmap.image));
  while (preloaded_.size() > 2) preloaded_.pop_front();
  return true;
}

void TTemplateBitmaps::adopt(const TBoardRecord& record) {
  const std::string* files[2] = {&record.template1File, &record.template2File};
  for (int side = 1; side <= 2; ++side) {
    const std::string& file = *files[side - 1];
    Side& s = sides_[index(side)];
    if (file.empty()) {
      s = {};
      continue;
    }
    bool found = false;
    for (auto it = preloaded_.rbegin(); it != preloaded_.rend(); ++it)
      if (it->first == file) {
        s = {file, it->second};
        found = true;
        break;
      }
    if (!found && s.path != file && !load(side, file)) s = {};
  }
  preloaded_.clear();
}

TTemplateBitmaps::Saved TTemplateBitmaps::save() const {
  Saved saved;
  for (int i = 0; i < 2; ++i) {
    saved.path[i] = sides_[i].path;
    saved.image[i] = sides_[i].image;
  }
  return saved;
}

void TTemplateBitmaps::restore(const Saved& saved) {
  for (int i = 0; i < 2; ++i) sides_[i] = {saved.path[i], saved.image[i]};
}

int templateSideOf(int activeLayer) {
  return isSide2Layer(activeLayer) ? 2 : 1;
}

}  // namespace plavesk
