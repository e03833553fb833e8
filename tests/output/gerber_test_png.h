// A small PNG reader for the pictures gerbv exports in the tests: 8-bit
// grey, RGB or RGBA, not interlaced.
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

// nullopt with `error` set when the file is missing or not a PNG of that kind.
std::optional<TGreyImage> readPng(const std::string& path, std::string& error);

// zlib stream (RFC 1950/1951) to bytes; nullopt on a damaged stream.
std::optional<std::vector<uint8_t>> zlibInflate(const std::vector<uint8_t>& data);

}  // namespace plavesk::gerber_testing
