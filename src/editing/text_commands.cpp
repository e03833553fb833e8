#include "editing/text_commands.h"

#include <algorithm>
#include <cmath>

#include "editing/editor.h"
#include "view/units.h"

namespace plavesk {

namespace {

// The element of the active list, or null.
TObjekt* inList(TEditor& editor, const TObjekt* e, uint8_t kind) {
  if (!e || !editor.layout.hasActiveBoard()) return nullptr;
  for (auto& x : editor.elements())
    if (x.get() == e) return x->kind == kind ? x.get() : nullptr;
  return nullptr;
}

int32_t middleRadius(const TObjekt& circle) {
  return circle.dim2 + roundToUnit((circle.dim1 - circle.dim2) / 2.0);
}

}  // namespace

bool replaceText(TEditor& editor, const TObjekt* old, const TTextSettings& settings,
                 TTextCounter& counter, double grid) {
  TObjekt* o = inList(editor, old, kText);
  if (!o) return false;
  editor.takeSnapshot();
  editor.invalidate(*o);
  const TRect oldBox = elementBounds(*o);
  TObjektList& list = editor.elements();
  ++editor.layout.suppressSnapshots;
  const TTextContext context{o->layer, o->clearance, grid};
  TObjekt& text = createTextElement(list, {o->x, o->y}, settings, counter, context);
  --editor.layout.suppressSnapshots;
  text.groupIds = o->groupIds;
  text.clearance = o->clearance;
  const bool keep = hasStrokes(text);
  if (keep) {
    const TRect box = elementBounds(text);
    moveElement(text, oldBox.left - box.left, oldBox.top - box.top);
    editor.invalidate(text);
  }
  const TObjekt* made = &text;
  deleteElementsIf(list, [&](const TObjekt& e) { return &e == o || (!keep && &e == made); });
  editor.repaint();
  editor.commandStatesChanged();
  return true;
}

TFontTextSettings fontTextSettings(const TObjekt& fontText, double pixelsPerInch) {
  TFontTextSettings s;
  s.text = fontText.text;
  s.heightMm = pixelsPerInch > 0 ? -fontText.dim3 / pixelsPerInch * 72 / 100 : 5.0;
  s.orientation = ((fontText.angle / 90) % 4 + 4) % 4;
  return limited(s);
}

bool editFontText(TEditor& editor, TObjekt* fontText, const TFontTextSettings& settings,
                  double pixelsPerInch, const TFontMeasure& measure) {
  TObjekt* f = inList(editor, fontText, kFontText);
  if (!f || !(pixelsPerInch > 0)) return false;
  const TFontTextSettings s = limited(settings);
  editor.invalidate(*f);
  f->dim3 = -roundToUnit(pixelsPerInch * roundToUnit(s.heightMm * 100) / 72);
  f->text = s.text;
  f->angle = s.orientation * 90;
  const TPoint e = measure ? measure(s.text + " ", -f->dim3) : TPoint{};
  TPoint corner;
  switch (s.orientation) {
    case 1:
      corner = {-e.y, -e.x};
      break;
    case 2:
      corner = {-e.x, e.y};
      break;
    case 3:
      corner = {e.y, e.x};
      break;
    default:
      corner = {e.x, -e.y};
      break;
  }
  f->dim1 = f->x + corner.x;
  f->dim2 = f->y + corner.y;
  editor.invalidate(*f);
  // Changed without an undo step, as the font texts always were; the file
  // still needs saving.
  editor.layout.modified = true;
  editor.repaint();
  return true;
}

bool arcSettingsFromSelection(const TEditor& editor, TArcSettings& settings, int32_t& radius) {
  if (!editor.layout.hasActiveBoard()) return false;
  bool any = false;
  for (const auto& e : editor.elements()) {
    if (e->kind != kCircle || !e->selected) continue;
    any = true;
    settings.startDeg = e->angle;
    settings.stopDeg = e->dim3;
    radius = middleRadius(*e);
    settings.diameterMm = radius / 50.0;
    settings.filled = e->filled != 0;
  }
  settings = limited(settings);
  return any;
}

bool applyArcSettings(TEditor& editor, const TArcSettings& settings, int32_t radius) {
  if (!editor.layout.hasActiveBoard()) return false;
  const TArcSettings s = limited(settings);
  const int32_t delta = roundToUnit(s.diameterMm * 50) - radius;
  const uint8_t filled = s.filled ? 1 : 0;
  auto changes = [&](const TObjekt& e) {
    return e.angle != s.startDeg || e.dim3 != s.stopDeg || e.filled != filled || delta != 0;
  };
  bool any = false;
  for (const auto& e : editor.elements())
    any = any || (e->kind == kCircle && e->selected && changes(*e));
  if (!any) return false;
  editor.takeSnapshot();
  for (auto& e : editor.elements()) {
    if (e->kind != kCircle || !e->selected || !changes(*e)) continue;
    editor.invalidate(*e);
    e->angle = s.startDeg;
    e->dim3 = s.stopDeg;
    e->filled = filled;
    e->dim1 = std::max(0, e->dim1 + delta);
    e->dim2 = std::max(0, e->dim2 + delta);
    editor.invalidate(*e);
  }
  editor.repaint();
  editor.commandStatesChanged();
  return true;
}

}  // namespace plavesk
