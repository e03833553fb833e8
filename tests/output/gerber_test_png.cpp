#include "gerber_test_png.h"

#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace plavesk::gerber_testing {

namespace {

class BitReader {
 public:
  BitReader(const std::vector<uint8_t>& data, size_t pos) : data_(data), pos_(pos) {}
  // -1 past the end.
  int bit() {
    if (pos_ >= data_.size()) return -1;
    const int b = (data_[pos_] >> bit_) & 1;
    if (++bit_ == 8) {
      bit_ = 0;
      ++pos_;
    }
    return b;
  }
  bool bits(int n, int& value) {
    value = 0;
    for (int i = 0; i < n; ++i) {
      const int b = bit();
      if (b < 0) return false;
      value |= b << i;
    }
    return true;
  }
  void alignToByte() {
    if (bit_ != 0) {
      bit_ = 0;
      ++pos_;
    }
  }
  size_t pos() const { return pos_; }
  void skip(size_t n) { pos_ += n; }
  const std::vector<uint8_t>& data() const { return data_; }

 private:
  const std::vector<uint8_t>& data_;
  size_t pos_;
  int bit_ = 0;
};

// A canonical Huffman code as counts per length and symbols in code order.
struct Huffman {
  std::array<int, 16> count{};
  std::vector<int> symbol;
  bool build(const int* lengths, int n) {
    count.fill(0);
    for (int i = 0; i < n; ++i) ++count[lengths[i]];
    count[0] = 0;
    std::array<int, 16> offset{};
    for (int len = 1; len < 16; ++len) offset[len] = offset[len - 1] + count[len - 1];
    symbol.assign(n, 0);
    for (int i = 0; i < n; ++i)
      if (lengths[i]) symbol[offset[lengths[i]]++] = i;
    return true;
  }
  int decode(BitReader& in) const {
    int code = 0, first = 0, index = 0;
    for (int len = 1; len < 16; ++len) {
      const int b = in.bit();
      if (b < 0) return -1;
      code |= b;
      const int c = count[len];
      if (code - c < first) return symbol[index + (code - first)];
      index += c;
      first = (first + c) << 1;
      code <<= 1;
    }
    return -1;
  }
};

constexpr std::array<int, 29> kLengthBase{3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                          15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                          67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistBase{
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistExtra{0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

bool inflateBlock(BitReader& in, const Huffman& lit, const Huffman& dist,
                  std::vector<uint8_t>& out) {
  for (;;) {
    const int sym = lit.decode(in);
    if (sym < 0) return false;
    if (sym < 256) {
      out.push_back(uint8_t(sym));
    } else if (sym == 256) {
      return true;
    } else {
      const int li = sym - 257;
      if (li >= 29) return false;
      int extra = 0;
      if (!in.bits(kLengthExtra[li], extra)) return false;
      const int length = kLengthBase[li] + extra;
      const int di = dist.decode(in);
      if (di < 0 || di >= 30) return false;
      if (!in.bits(kDistExtra[di], extra)) return false;
      const size_t distance = size_t(kDistBase[di] + extra);
      if (distance > out.size()) return false;
      for (int i = 0; i < length; ++i) out.push_back(out[out.size() - distance]);
    }
  }
}

uint32_t bigEndian(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

}  // namespace

std::optional<std::vector<uint8_t>> zlibInflate(const std::vector<uint8_t>& data) {
  if (data.size() < 2) return std::nullopt;
  BitReader in(data, 2);
  std::vector<uint8_t> out;
  int last = 0;
  do {
    int type = 0;
    if (!in.bits(1, last) || !in.bits(2, type)) return std::nullopt;
    if (type == 0) {
      in.alignToByte();
      const size_t p = in.pos();
      if (p + 4 > data.size()) return std::nullopt;
      const size_t len = data[p] | data[p + 1] << 8;
      if (p + 4 + len > data.size()) return std::nullopt;
      out.insert(out.end(), data.begin() + long(p + 4), data.begin() + long(p + 4 + len));
      in.skip(4 + len);
    } else if (type == 1) {
      std::array<int, 288> lengths{};
      for (int i = 0; i < 288; ++i) lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
      std::array<int, 30> dl;
      dl.fill(5);
      Huffman lit, dist;
      lit.build(lengths.data(), 288);
      dist.build(dl.data(), 30);
      if (!inflateBlock(in, lit, dist, out)) return std::nullopt;
    } else if (type == 2) {
      int nlen = 0, ndist = 0, ncode = 0;
      if (!in.bits(5, nlen) || !in.bits(5, ndist) || !in.bits(4, ncode)) return std::nullopt;
      nlen += 257;
      ndist += 1;
      ncode += 4;
      constexpr std::array<int, 19> order{16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                          11, 4,  12, 3, 13, 2, 14, 1, 15};
      std::array<int, 19> codeLengths{};
      for (int i = 0; i < ncode; ++i)
        if (!in.bits(3, codeLengths[order[i]])) return std::nullopt;
      Huffman lencode;
      lencode.build(codeLengths.data(), 19);
      std::vector<int> lengths(size_t(nlen + ndist), 0);
      for (int i = 0; i < nlen + ndist;) {
        const int sym = lencode.decode(in);
        if (sym < 0) return std::nullopt;
        if (sym < 16) {
          lengths[size_t(i++)] = sym;
          continue;
        }
        int repeat = 0, value = 0;
        if (sym == 16) {
          if (i == 0 || !in.bits(2, repeat)) return std::nullopt;
          value = lengths[size_t(i - 1)];
          repeat += 3;
        } else if (sym == 17) {
          if (!in.bits(3, repeat)) return std::nullopt;
          repeat += 3;
        } else {
          if (!in.bits(7, repeat)) return std::nullopt;
          repeat += 11;
        }
        if (i + repeat > nlen + ndist) return std::nullopt;
        while (repeat--) lengths[size_t(i++)] = value;
      }
      Huffman lit, dist;
      lit.build(lengths.data(), nlen);
      dist.build(lengths.data() + nlen, ndist);
      if (!inflateBlock(in, lit, dist, out)) return std::nullopt;
    } else {
      return std::nullopt;
    }
  } while (!last);
  return out;
}

std::optional<TGreyImage> readPng(const std::string& path, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<uint8_t> data{std::istreambuf_iterator<char>(file), {}};
  static constexpr uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
  if (data.size() < 8 || !std::equal(kSignature, kSignature + 8, data.begin())) {
    error = path + " is not a PNG file";
    return std::nullopt;
  }
  TGreyImage image;
  int channels = 0;
  std::vector<uint8_t> compressed;
  for (size_t p = 8; p + 12 <= data.size();) {
    const uint32_t length = bigEndian(&data[p]);
    if (p + 12 + length > data.size()) break;
    const std::string type(data.begin() + long(p + 4), data.begin() + long(p + 8));
    const uint8_t* body = &data[p + 8];
    if (type == "IHDR") {
      image.width = int(bigEndian(body));
      image.height = int(bigEndian(body + 4));
      const int depth = body[8], colour = body[9], interlace = body[12];
      channels = colour == 0 ? 1 : colour == 2 ? 3 : colour == 6 ? 4 : 0;
      if (depth != 8 || channels == 0 || interlace != 0) {
        error = path + ": unsupported PNG kind";
        return std::nullopt;
      }
    } else if (type == "IDAT") {
      compressed.insert(compressed.end(), body, body + length);
    }
    p += 12 + length;
  }
  auto raw = zlibInflate(compressed);
  const size_t stride = size_t(image.width) * size_t(channels);
  if (!raw || channels == 0 || raw->size() < (stride + 1) * size_t(image.height)) {
    error = path + ": damaged PNG data";
    return std::nullopt;
  }
  std::vector<uint8_t> previous(stride, 0), row(stride);
  image.grey.resize(size_t(image.width) * size_t(image.height));
  const size_t bpp = size_t(channels);
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* src = raw->data() + size_t(y) * (stride + 1);
    const int filter = src[0];
    for (size_t x = 0; x < stride; ++x) {
      const int a = x >= bpp ? row[x - bpp] : 0, b = previous[x],
                c = x >= bpp ? previous[x - bpp] : 0;
      int predictor = 0;
      switch (filter) {
        case 1:
          predictor = a;
          break;
        case 2:
          predictor = b;
          break;
        case 3:
          predictor = (a + b) / 2;
          break;
        case 4: {
          const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
          predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
          break;
        }
        default:
          break;
      }
      row[x] = uint8_t(src[1 + x] + predictor);
    }
    for (int x = 0; x < image.width; ++x)
      image.grey[size_t(y) * size_t(image.width) + size_t(x)] = row[size_t(x) * bpp];
    previous.swap(row);
    row.assign(stride, 0);
  }
  return image;
}

}  // namespace plavesk::gerber_testing
