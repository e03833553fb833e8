#include "editing/value_field_actions.h"

#include <cmath>
#include <memory>

#include "editing/action_runner.h"
#include "editing/editor.h"
#include "editing/grid_values.h"
#include "editing/tool_value_fields.h"
#include "editing/tools/script_host.h"

namespace plavesk {

namespace {

// The grid dialog's field SE_Raster.
constexpr TSpinRange kGridRange{0.01, 99.9, 0.01, 2};

}  // namespace

void registerValueFieldActions() {
  TParam field = wordParam("FIELD", "field");
  for (const TValueFieldInfo& s : valueFieldInfos()) field.choices.emplace_back(s.name);
  field.choices.emplace_back("grid");
  // The value as typed: "1,5" is 1.5, out-of-range values are limited, a
  // text that is a number only in its beginning reads as that beginning.
  TParam value = wordParam("VALUE", "value in mm");
  registerAction(
      "set", {{field, value}, [](TActionContext& c, const TActionArgs& args, std::string&) {
                if (!c.session) c.session = std::make_shared<TScriptSession>(c.editor);
                c.session->followBoard();
                const std::string& name = args.text("FIELD");
                const std::string& text = args.text("VALUE");
                if (name == "grid") {
                  // A fixed grid by its exact value; others as the grid
                  // dialog's field reads them.
                  const std::optional<double> raw = readDecimalPrefix(text);
                  const double exact = raw ? gridUnitsForMm(*raw) : 0;
                  const bool fixed = raw && exact != std::nearbyint(*raw * 100);
                  setGrid(c.editor, fixed ? exact : gridUnitsForMm(readSpinText(text, kGridRange)));
                  return true;
                }
                c.session->tools.fields().type(findValueField(name)->field, text);
                return true;
              }});
}

}  // namespace plavesk
