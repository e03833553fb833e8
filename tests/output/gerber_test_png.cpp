#include "gerber_test_png.h"

#include "support/png_reader.h"

namespace plavesk::gerber_testing {

std::optional<TGreyImage> readPng(const std::string& path, std::string& error) {
  testing::TPngPicture picture;
  if (!testing::readPngFile(path, picture, error)) return std::nullopt;
  TGreyImage image;
  image.width = int(picture.width);
  image.height = int(picture.height);
  image.grey.resize(picture.rgb.size() / 3);
  for (size_t i = 0; i < image.grey.size(); ++i) image.grey[i] = picture.rgb[i * 3];
  return image;
}

}  // namespace plavesk::gerber_testing
