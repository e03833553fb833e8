#include "editing/drawing_actions.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <ostream>

#include "editing/action_runner.h"
#include "editing/editor.h"
#include "editing/text_commands.h"
#include "editing/tools/script_host.h"

namespace plavesk {

namespace {

TScriptSession& sessionOf(TActionContext& c) {
  if (!c.session) c.session = std::make_shared<TScriptSession>(c.editor);
  c.session->followBoard();
  return *c.session;
}

// A number for a whole-valued field, limited to what an int holds.
int wholeNumber(double v) {
  if (std::isnan(v)) return 0;
  return int(std::nearbyint(std::clamp(v, -1e9, 1e9)));
}

void registerTextOptions() {
  registerAction("text-options",
                 {{wordParam("TEXT", "text"), numberOption("--height", "text height in mm"),
                   numberOption("--number", "start value")},
                  [](TActionContext& c, const TActionArgs& args, std::string&) {
                    // The dialog filled in and confirmed: other fields at their defaults.
                    TTextSettings s;
                    s.text = args.text("TEXT");
                    s.height = args.option("--height", s.height);
                    s.addNumber = args.flag("--number");
                    s.startValue = wholeNumber(args.option("--number", 0));
                    sessionOf(c).host.textAnswer = limited(s);
                    return true;
                  }});
}

void registerPolygonOptions() {
  registerAction("polygon-options",
                 {{integerParam("CORNERS", "number of corners"), numberParam("RADIUS", "radius"),
                   numberParam("OFFSET", "angle offset"), numberParam("WIDTH", "line width"),
                   flagParam("--fill")},
                  [](TActionContext& c, const TActionArgs& args, std::string&) {
                    TPolygonSettings s;
                    s.corners = args.integer("CORNERS");
                    s.radiusMm = args.number("RADIUS");
                    s.offsetDeg = args.number("OFFSET");
                    s.widthMm = args.number("WIDTH");
                    s.filled = args.flag("--fill");
                    sessionOf(c).tools.dialogs().polygon = limited(s);
                    return true;
                  }});
}

void registerSegment() {
  registerAction("segment",
                 {{numberParam("START", "start angle"), numberParam("STOP", "stop angle"),
                   numberParam("DIAMETER", "diameter"), flagParam("--fill")},
                  [](TActionContext& c, const TActionArgs& args, std::string& error) {
                    TArcSettings s;
                    int32_t middle = 0;
                    if (!arcSettingsFromSelection(c.editor, s, middle)) {
                      error = "no circle is selected";
                      return false;
                    }
                    if (c.session) c.session->tools.eraseAllFeedback();
                    // The dialog's fields: whole degrees, the diameter in
                    // hundredths of a millimetre, each limited to its range.
                    s.startDeg = wholeNumber(args.number("START"));
                    s.stopDeg = wholeNumber(args.number("STOP"));
                    s.diameterMm = std::nearbyint(args.number("DIAMETER") * 100) / 100;
                    s.filled = args.flag("--fill");
                    applyArcSettings(c.editor, s, middle);
                    return true;
                  }});
}

void registerCutout() {
  TParam state = wordParam("STATE", "on or off");
  state.choices = {"on", "off"};
  registerAction("cutout", {{state}, [](TActionContext& c, const TActionArgs& args, std::string&) {
                              TScriptSession& s = sessionOf(c);
                              const bool down = args.text("STATE") == "on";
                              // Pressing the button chooses the area tool; the
                              // area tool leaves the button as it is.
                              if (down) {
                                s.tools.selectTool(TToolMode::area);
                                s.host.showMode(int(TToolMode::area));
                                s.tools.eraseAllFeedback();
                              }
                              s.tools.values().cutout = down;
                              return true;
                            }});
}

void registerMeasureReadout() {
  registerAction("measure-readout",
                 {{}, [](TActionContext& c, const TActionArgs&, std::string& error) {
                    if (!c.session || !c.session->host.measured) {
                      error = "nothing has been measured (tool measure, then drag)";
                      return false;
                    }
                    c.out << measureLine(*c.session->host.measured) << "\n";
                    return true;
                  }});
}

}  // namespace

std::string measureLine(const TMeasureReadout& r) {
  return "dX: " + r.dx + "  dY: " + r.dy + "  Distance: " + r.distance + "  Angle: " + r.angle;
}

void registerDrawingActions() {
  registerTextOptions();
  registerPolygonOptions();
  registerSegment();
  registerCutout();
  registerMeasureReadout();
}

}  // namespace plavesk
