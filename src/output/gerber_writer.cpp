#include "output/gerber_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "document/file_io.h"

namespace plavesk {

namespace {

constexpr const char* kEol = "\r\n";

void appendNumber(std::string& s, int64_t n) {
  char buffer[24];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, n);
  s.append(buffer, end);
}

int64_t roundHalfEvenToInt(double v) {
  return static_cast<int64_t>(std::nearbyint(v));
}

}  // namespace

std::string gerberMillimetres(int64_t units) {
  std::string s;
  if (units < 0) s += '-';
  const uint64_t magnitude = units < 0 ? uint64_t(0) - uint64_t(units) : uint64_t(units);
  s += std::to_string(magnitude / 100);
  s += '.';
  const uint64_t hundredths = magnitude % 100;
  s += char('0' + hundredths / 10);
  s += char('0' + hundredths % 10);
  return s;
}

size_t TGerberFile::KeyHash::operator()(const Key& k) const {
  uint64_t h = uint64_t(k.shape) * 0x9E3779B97F4A7C15ull;
  for (int64_t v : {k.p1, k.p2, k.p3, k.p4}) h = (h ^ uint64_t(v)) * 0x100000001B3ull + (h >> 29);
  return size_t(h);
}

TGerberFile::TGerberFile() : Path("GERBER.GBR") {}

bool TGerberFile::Open(const std::string& layerName) {
  nextDCode_ = 10;
  penwidth_ = 0;
  apertures_.clear();
  index_.clear();
  header_ = {"%FSLAX32Y32*%", "%MOMM*%", "%LN" + layerName + "*%", "G71*", "G01*"};
  body_.clear();
  line("%LPD*%");
  return true;
}

void TGerberFile::line(const std::string& text) {
  body_ += text;
  body_ += kEol;
}

void TGerberFile::coordinateLine(int64_t x, int64_t y, const char* op) {
  body_ += 'X';
  appendNumber(body_, outX(x));
  body_ += 'Y';
  appendNumber(body_, y);
  body_ += op;
  body_ += kEol;
}

void TGerberFile::MoveTo(int64_t x, int64_t y) {
  coordinateLine(x, y, "D02*");
}
void TGerberFile::LineTo(int64_t x, int64_t y) {
  coordinateLine(x, y, "D01*");
}

void TGerberFile::select(int shape, int64_t p1, int64_t p2, int64_t p3, int64_t p4) {
  const Key key{shape, p1, p2, p3, p4};
  auto [it, inserted] = index_.try_emplace(key, apertures_.size());
  if (inserted) apertures_.push_back(TBlende{shape, nextDCode_++, p1, p2, p3, p4});
  body_ += "G54D";
  appendNumber(body_, apertures_[it->second].dCode);
  body_ += '*';
  body_ += kEol;
}

void TGerberFile::SetPenwidth(int64_t width) {
  penwidth_ = width;
  select(0, 0, width, 0, 0);
}

void TGerberFile::FlashCircle(int64_t drillRadius, int64_t radius) {
  select(1, drillRadius, radius, 0, 0);
  Flash();
}

void TGerberFile::FlashRect(int64_t halfWidth, int64_t halfHeight) {
  select(3, 0, 0, halfWidth, halfHeight);
  Flash();
}

void TGerberFile::Flash() {
  line("D03*");
}
void TGerberFile::BeginRegion() {
  line("G36*");
}
void TGerberFile::EndRegion() {
  line("G37*");
}
void TGerberFile::ClearPolarity() {
  line("%LPC*%");
}
void TGerberFile::DarkPolarity() {
  line("%LPD*%");
}

void TGerberFile::BeginHoleLayer() {
  line("%LNAUGENFREISTANZEN*%");
  line("%LPC*%");
}

void TGerberFile::Arc(int64_t cx, int64_t cy, int64_t sx, int64_t sy, int64_t ex, int64_t ey) {
  cx = outX(cx);
  sx = outX(sx);
  ex = outX(ex);
  // A mirrored arc would run clockwise; swapping its ends keeps it
  // counter-clockwise.
  if (mirror) {
    std::swap(sx, ex);
    std::swap(sy, ey);
  }
  line("G75*");
  body_ += "G01X";
  appendNumber(body_, sx);
  body_ += 'Y';
  appendNumber(body_, sy);
  body_ += "D02*";
  body_ += kEol;
  body_ += "G03X";
  appendNumber(body_, ex);
  body_ += 'Y';
  appendNumber(body_, ey);
  body_ += 'I';
  appendNumber(body_, cx - sx);
  body_ += 'J';
  appendNumber(body_, cy - sy);
  body_ += "D01*";
  body_ += kEol;
  line("G01*");
}

void TGerberFile::FillOctagon(int64_t cx, int64_t cy, int64_t a, int64_t b) {
  const int64_t pen = penwidth_;
  BeginRegion();
  const int64_t e = roundHalfEvenToInt(double(std::min(a, b)) * 0.585);
  MoveTo(cx - a, cy + b - e);
  LineTo(cx - a + e, cy + b);
  LineTo(cx + a - e, cy + b);
  LineTo(cx + a, cy + b - e);
  LineTo(cx + a, cy - b + e);
  LineTo(cx + a - e, cy - b);
  LineTo(cx - a + e, cy - b);
  LineTo(cx - a, cy - b + e);
  EndRegion();
  SetPenwidth(pen);
}

void TGerberFile::FillOblong(int64_t cx, int64_t cy, int64_t a, int64_t b) {
  const int64_t pen = penwidth_;
  // The corners are quarter circles of about three quarters of the smaller
  // half size: an inner rectangle, filled, stroked with a pen of that size.
  const int64_t p = roundHalfEvenToInt(double(std::min(a, b)) * 1.5);
  const int64_t e = p / 2;
  const int64_t left = cx - a + e, right = cx + a - e, low = cy - b + e, high = cy + b - e;
  BeginRegion();
  MoveTo(left, low);
  LineTo(left, high);
  LineTo(right, high);
  LineTo(right, low);
  EndRegion();
  SetPenwidth(p);
  MoveTo(left, low);
  LineTo(left, high);
  LineTo(right, high);
  LineTo(right, low);
  LineTo(left, low);
  SetPenwidth(pen);
}

std::string TGerberFile::Finish() {
  std::string text;
  text.reserve(body_.size() + 64 * (header_.size() + apertures_.size()) + 8);
  for (const std::string& h : header_) {
    text += h;
    text += kEol;
  }
  for (const TBlende& a : apertures_) {
    text += "%ADD";
    appendNumber(text, a.dCode);
    switch (a.shape) {
      case 0:
        text += "C, " + gerberMillimetres(a.p2);
        break;
      case 1:
        text += "C, " + gerberMillimetres(2 * a.p2);
        break;
      default:
        text += "R, " + gerberMillimetres(2 * a.p3) + "X" + gerberMillimetres(2 * a.p4);
        break;
    }
    text += "*%";
    text += kEol;
  }
  text += body_;
  text += "M02*";
  text += kEol;
  return text;
}

bool TGerberFile::Close(std::string& error) {
  const std::string text = Finish();
  return writeFileAtomically(Path, std::vector<uint8_t>(text.begin(), text.end()), error);
}

}  // namespace plavesk
