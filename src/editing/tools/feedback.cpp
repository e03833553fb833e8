#include "editing/tools/feedback.h"

#include <algorithm>

#include "view/geometry.h"

namespace plavesk {

namespace {

// Min/max box that also keeps figures without area (a horizontal line, a
// one-pixel dot), which TRect's union would drop.
struct BoundsBuilder {
  bool any = false;
  TRect r{};

  void add(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    const auto clampI = [](int64_t v) {
      return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    };
    const TRect b{clampI(std::min(x0, x1)), clampI(std::min(y0, y1)), clampI(std::max(x0, x1)),
                  clampI(std::max(y0, y1))};
    if (!any) {
      r = b;
      any = true;
      return;
    }
    r = {std::min(r.left, b.left), std::min(r.top, b.top), std::max(r.right, b.right),
         std::max(r.bottom, b.bottom)};
  }
  void add(TPoint p, int64_t grow) { add(p.x - grow, p.y - grow, p.x + grow, p.y + grow); }
  void add(const TRect& b, TPoint offset) {
    add(int64_t(b.left) + offset.x, int64_t(b.top) + offset.y, int64_t(b.right) + offset.x,
        int64_t(b.bottom) + offset.y);
  }
};

void extend(bool& any, TRect& box, const TRect& b) {
  if (!any) {
    box = b;
    any = true;
    return;
  }
  box = {std::min(box.left, b.left), std::min(box.top, b.top), std::max(box.right, b.right),
         std::max(box.bottom, b.bottom)};
}

void addElement(TListBounds& out, const TObjekt& e, bool bands) {
  const TRect b = elementBounds(e);
  if (b.left != b.right || b.top != b.bottom) extend(out.anyElement, out.elements, b);
  if (!bands || !e.hasConnections()) return;
  // A rubber band runs to the partner's centre, which moves along when
  // the partner is moved too: both places are covered.
  for (const TObjekt* partner : e.connections)
    if (partner)
      extend(out.anyPartner, out.partners, TRect{partner->x, partner->y, partner->x, partner->y});
}

}  // namespace

TRect feedbackBounds(const TFeedback& feedback) {
  BoundsBuilder out;
  for (const TFeedbackFigure& f : feedback.figures) {
    switch (f.shape) {
      case TFeedbackFigure::elementList: {
        const TListBounds b = f.listBounds ? *f.listBounds : elementListBounds(f);
        if (b.anyElement) out.add(b.elements, f.offset);
        if (b.anyPartner) {
          out.add(b.partners, TPoint{});
          out.add(b.partners, f.offset);
        }
        break;
      }
      case TFeedbackFigure::polyline:
      case TFeedbackFigure::polygon:
        for (TPoint p : f.points) out.add(p, (int64_t(f.width) + 1) / 2);
        break;
      default:
        // Figures inside their corner points (the ellipse keeps its pen
        // inside the box).
        for (TPoint p : f.points) out.add(p, 0);
        break;
    }
  }
  return out.r;
}

TListBounds elementListBounds(const TFeedbackFigure& figure) {
  TListBounds out;
  const bool bands = figure.connectionList != nullptr;
  for (const auto& e : figure.owned) addElement(out, *e, bands);
  for (const TObjekt* e : figure.elements)
    if (e) addElement(out, *e, bands);
  return out;
}

}  // namespace plavesk
