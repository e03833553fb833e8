// TGerberFile writes one RS-274X photoplot. It knows nothing about layouts:
// it turns moves, draws, flashes, regions and arcs given in units (0.01 mm)
// into text, collects the apertures that were used and puts their
// definitions into the header, which is therefore joined to the body only
// when the file is closed.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace plavesk {

// An aperture: shape code 0 drawing pen (p2 = diameter), 1 round flash
// (p1 = drill radius, p2 = radius), 3 rectangular flash (p3, p4 = half
// width and height). Requests with equal shape and parameters share one.
struct TBlende {
  int shape = 0;
  int dCode = 0;
  int64_t p1 = 0, p2 = 0, p3 = 0, p4 = 0;
};

class TGerberFile {
 public:
  TGerberFile();

  std::string Path;  // "GERBER.GBR" until set
  bool mirror = false;
  int64_t mirrorWidth = 0;  // every X written becomes mirrorWidth - X when mirrored

  // Starts a file: resets the apertures (the first gets D10), the header
  // and the body.
  bool Open(const std::string& layerName);

  void MoveTo(int64_t x, int64_t y);
  void LineTo(int64_t x, int64_t y);
  // Selects (creating it when new) the drawing pen of diameter `width`.
  void SetPenwidth(int64_t width);
  int64_t Penwidth() const { return penwidth_; }
  // Flashes at the current point.
  void FlashCircle(int64_t drillRadius, int64_t radius);
  void FlashRect(int64_t halfWidth, int64_t halfHeight);
  void Flash();
  void BeginRegion();
  void EndRegion();
  void ClearPolarity();
  void DarkPolarity();
  void BeginHoleLayer();
  // Counter-clockwise from start to end; start equal to end is a full circle.
  void Arc(int64_t cx, int64_t cy, int64_t sx, int64_t sy, int64_t ex, int64_t ey);
  void FillOctagon(int64_t cx, int64_t cy, int64_t a, int64_t b);
  void FillOblong(int64_t cx, int64_t cy, int64_t a, int64_t b);

  // The whole file as Close writes it: header, aperture definitions, body
  // ending with "M02*". Finishing twice gives the same text.
  std::string Finish();
  // Finishes and writes the file to Path; nothing half-written is left on
  // failure.
  bool Close(std::string& error);

  const std::vector<TBlende>& apertures() const { return apertures_; }

 private:
  struct Key {
    int shape;
    int64_t p1, p2, p3, p4;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    size_t operator()(const Key& k) const;
  };

  int64_t outX(int64_t x) const { return mirror ? mirrorWidth - x : x; }
  void select(int shape, int64_t p1, int64_t p2, int64_t p3, int64_t p4);
  void line(const std::string& text);
  void coordinateLine(int64_t x, int64_t y, const char* op);

  int64_t penwidth_ = 0;
  int nextDCode_ = 10;
  std::vector<TBlende> apertures_;
  std::unordered_map<Key, size_t, KeyHash> index_;
  std::vector<std::string> header_;
  std::string body_;
};

// "n / 100" with exactly two decimals and a point: 20 -> "0.20", -5 -> "-0.05".
std::string gerberMillimetres(int64_t units);

}  // namespace plavesk
