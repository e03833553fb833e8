// The runner's actions of the transform, layer and pad commands. The enable
// rules of their command-table entries are checked by the runner first.
#include <algorithm>
#include <memory>

#include "editing/action_runner.h"
#include "editing/editor.h"
#include "editing/tools/script_host.h"
#include "editing/transforms.h"

namespace plavesk {

namespace {

// The drawing area of the script: through-pad mode and the pad shape belong
// to its tools, as they belong to the window's.
TToolManager& toolsOf(TActionContext& c) {
  if (!c.session) c.session = std::make_shared<TScriptSession>(c.editor);
  c.session->followBoard();
  return c.session->tools;
}

TActionEntry selectionCommand(bool (*command)(TEditor&)) {
  return {{}, [command](TActionContext& c, const TActionArgs&, std::string&) {
            command(c.editor);
            return true;
          }};
}

TParam rangeParam(const char* name, const char* what, int min, int max, const char* range) {
  TParam p = integerParam(name, what);
  p.min = min;
  p.max = max;
  p.range = range;
  return p;
}

TParam layerParam() {
  return rangeParam("N", "layer", 1, 4, "the layers are 1 to 4");
}

}  // namespace

void registerTransformActions() {
  registerAction("rotate", selectionCommand(rotateSelection));
  registerAction("mirror-h", selectionCommand(mirrorSelectionH));
  registerAction("mirror-v", selectionCommand(mirrorSelectionV));
  registerAction("snap-to-grid", selectionCommand(snapSelectionToGrid));
  registerAction("change-side", selectionCommand(changeSelectionSide));

  TParam how = wordParam("HOW", "alignment");
  how.choices = {"top", "bottom", "left", "right", "hcentre", "vcentre"};
  how.range = "say top, bottom, left, right, hcentre or vcentre";
  registerAction(
      "align",
      {{how}, [choices = how.choices](TActionContext& c, const TActionArgs& args, std::string&) {
         const auto at = std::find(choices.begin(), choices.end(), args.text("HOW"));
         alignSelection(c.editor, TAlign(1 + (at - choices.begin())));
         return true;
       }});

  registerAction("set-layer",
                 {{layerParam()}, [](TActionContext& c, const TActionArgs& args, std::string&) {
                    setSelectionLayer(c.editor, args.integer("N"));
                    return true;
                  }});
  registerAction("visible", {{layerParam()},
                             [](TActionContext& c, const TActionArgs& args, std::string& error) {
                               const int layer = args.integer("N");
                               if (c.editor.working().activeLayer == layer) {
                                 error = "the active layer cannot be hidden";
                                 return false;
                               }
                               toggleViewLayer(toolsOf(c), layer, true);
                               return true;
                             }});
  registerAction("through-pad", {{}, [](TActionContext& c, const TActionArgs&, std::string&) {
                                   c.out << "through-pad: "
                                         << (toggleThroughPadMode(toolsOf(c)) ? "on" : "off")
                                         << "\n";
                                   return true;
                                 }});
  registerAction("pad-shape", {{rangeParam("N", "pad shape", 1, 9, "the pad shapes are 1 to 9")},
                               [](TActionContext& c, const TActionArgs& args, std::string&) {
                                 choosePadShape(toolsOf(c), args.integer("N"));
                                 return true;
                               }});
}

}  // namespace plavesk
