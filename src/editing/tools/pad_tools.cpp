// Pads and SMD pads: the outline of the next one follows the pointer, a
// click places it.
#include <utility>

#include "editing/editor.h"
#include "editing/tools/draw_tools.h"
#include "editing/tools/tool_manager.h"
#include "view/units.h"

namespace plavesk {

namespace {

class TPlacementTool : public TTool {
 public:
  TPlacementTool(TToolManager& manager, TFeedbackKind outline)
      : TTool(manager), outline_(outline) {}

  TToolResult press(const TInputEvent& e) override {
    const TPoint p = m_.pointerAt(e);
    m_.hideFeedback(outline_);
    TEditor& ed = m_.editor();
    ed.takeSnapshot();
    place(p);
    m_.state().current = p;
    m_.showFeedback(outline(p));
    return TToolResult::changed;
  }

  TToolResult move(const TInputEvent& e) override {
    TToolState& s = m_.state();
    const TPoint p = m_.pointerAt(e);
    if (p == s.current && m_.feedbackVisible(outline_)) return TToolResult::handled;
    m_.hideFeedback(outline_);
    s.current = p;
    m_.showFeedback(outline(p));
    return TToolResult::handled;
  }

 protected:
  int activeLayer() const { return m_.editor().working().activeLayer; }
  // Appends the new element(s) at p; the snapshot is taken.
  virtual void place(TPoint p) = 0;
  virtual TFeedback outline(TPoint p) const = 0;

  TFeedbackKind outline_;
};

class TPadTool : public TPlacementTool {
 public:
  explicit TPadTool(TToolManager& m) : TPlacementTool(m, TFeedbackKind::padOutline) {}

 private:
  TObjektPtr newPad(TPoint p) const {
    const TToolValues& v = m_.values();
    TObjektPtr pad = createPad(p, v.padRadius, v.padShape, activeLayer(), v.drillRadius);
    pad->clearance = v.clearance;
    return pad;
  }

  void place(TPoint p) override {
    TEditor& ed = m_.editor();
    TObjektList& list = ed.elements();
    list.push_back(newPad(p));
    TObjekt& pad = *list.back();
    if (m_.values().throughPad) ed.invalidate(ed.addThroughPartner(pad));
    ed.invalidate(pad);
  }

  TFeedback outline(TPoint p) const override {
    TFeedback fb{TFeedbackKind::padOutline, {}};
    TFeedbackFigure& f = fb.figures.emplace_back();
    f.shape = TFeedbackFigure::elementList;
    f.colour = m_.layerColour();
    f.activeLayer = activeLayer();
    f.owned.push_back(newPad(p));
    return fb;
  }
};

class TSmdPadTool : public TPlacementTool {
 public:
  explicit TSmdPadTool(TToolManager& m) : TPlacementTool(m, TFeedbackKind::smdOutline) {}

 private:
  void place(TPoint p) override {
    const TToolValues& v = m_.values();
    TEditor& ed = m_.editor();
    TObjektPtr pad = createSmdPad(p, roundToUnit(v.smdWidthMm * 100), activeLayer(),
                                  roundToUnit(v.smdHeightMm * 100));
    pad->clearance = v.clearance;
    ed.elements().push_back(std::move(pad));
    ed.invalidate(*ed.elements().back());
  }

  TFeedback outline(TPoint p) const override {
    const TToolValues& v = m_.values();
    const int32_t hw = roundToUnit(v.smdWidthMm * 50), hh = roundToUnit(v.smdHeightMm * 50);
    TFeedback fb{TFeedbackKind::smdOutline, {}};
    TFeedbackFigure& f = fb.figures.emplace_back();
    f.shape = TFeedbackFigure::rectangle;
    f.colour = m_.layerColour();
    f.points = {{p.x - hw, p.y + hh}, {p.x + hw, p.y - hh}};
    return fb;
  }
};

}  // namespace

std::unique_ptr<TTool> makePadTool(TToolManager& manager) {
  return std::make_unique<TPadTool>(manager);
}

std::unique_ptr<TTool> makeSmdPadTool(TToolManager& manager) {
  return std::make_unique<TSmdPadTool>(manager);
}

}  // namespace plavesk
