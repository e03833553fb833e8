// Little-endian packing for the binary file formats. The reader never reads
// past its end: a short read sets `failed` and yields zeros, so callers check
// once after a block instead of after every field.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace plavesk {

class ByteWriter {
 public:
  void reserve(size_t n) { bytes_.reserve(n); }
  std::vector<uint8_t>& bytes() { return bytes_; }
  void u8(uint8_t v) { bytes_.push_back(v); }
  void i16(int16_t v) { raw(&v, 2); }
  void i32(int32_t v) { raw(&v, 4); }
  void u32(uint32_t v) { raw(&v, 4); }
  void f64(double v) { raw(&v, 8); }
  void raw(const void* p, size_t n) {
    // x86 and ARM Linux are little-endian, as the files are.
    size_t at = bytes_.size();
    bytes_.resize(at + n);
    std::memcpy(bytes_.data() + at, p, n);
  }
  void zeros(size_t n) { bytes_.insert(bytes_.end(), n, 0); }
  // A length byte followed by `capacity` bytes; `text` is already in the file
  // encoding and cut to `capacity`.
  void shortString(const std::string& text, size_t capacity) {
    size_t n = std::min(text.size(), capacity);
    u8(static_cast<uint8_t>(n));
    raw(text.data(), n);
    zeros(capacity - n);
  }

 private:
  std::vector<uint8_t> bytes_;
};

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : p_(data), end_(data + size), begin_(data) {}

  bool failed() const { return failed_; }
  size_t remaining() const { return static_cast<size_t>(end_ - p_); }
  size_t offset() const { return static_cast<size_t>(p_ - begin_); }

  uint8_t u8() { return get<uint8_t>(); }
  int16_t i16() { return get<int16_t>(); }
  int32_t i32() { return get<int32_t>(); }
  uint32_t u32() { return get<uint32_t>(); }
  double f64() { return get<double>(); }
  // Returns a pointer to the next n bytes, or nullptr (and failed) if the
  // data ends first.
  const uint8_t* take(size_t n) {
    if (failed_ || remaining() < n) {
      failed_ = true;
      p_ = end_;
      return nullptr;
    }
    const uint8_t* at = p_;
    p_ += n;
    return at;
  }
  void skip(size_t n) { take(n); }
  // A length byte and `capacity` character bytes; a length above the
  // capacity is clamped (the rest of the slot is never trusted).
  std::string shortString(size_t capacity) {
    const uint8_t* b = take(capacity + 1);
    if (!b) return {};
    size_t n = std::min<size_t>(b[0], capacity);
    return std::string(reinterpret_cast<const char*>(b + 1), n);
  }

 private:
  template <class T>
  T get() {
    T v{};
    if (const uint8_t* b = take(sizeof(T))) std::memcpy(&v, b, sizeof(T));
    return v;
  }

  const uint8_t* p_;
  const uint8_t* end_;
  const uint8_t* begin_;
  bool failed_ = false;
};

}  // namespace plavesk
