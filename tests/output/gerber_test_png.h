// The pictures gerbv exports in the tests, as one grey value a pixel.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plavesk::gerber_testing {

struct TGreyImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> grey;  // rows top to bottom; the first channel of each pixel
};

// nullopt with `error` set when the file is missing or not a readable PNG.
std::optional<TGreyImage> readPng(const std::string& path, std::string& error);

}  // namespace plavesk::gerber_testing
