#include "editing/action_runner.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>
#include <sstream>

#include "editing/editor.h"
#include "editing/macro_library.h"
#include "editing/routing_actions.h"
#include "editing/tool_actions.h"
#include "editing/transforms.h"
#include "editing/value_field_actions.h"

namespace plavesk {

TParam integerParam(std::string name, std::string what) {
  return {TParam::integer, std::move(name), std::move(what)};
}
TParam numberParam(std::string name, std::string what) {
  return {TParam::number, std::move(name), std::move(what)};
}
TParam wordParam(std::string name, std::string what) {
  return {TParam::word, std::move(name), std::move(what)};
}
TParam flagParam(std::string name) {
  return {TParam::flag, std::move(name)};
}
TParam numberOption(std::string name, std::string what) {
  return {TParam::numberOption, std::move(name), std::move(what)};
}

int32_t TActionArgs::integer(const std::string& name) const {
  auto it = numbers_.find(name);
  return it == numbers_.end() ? 0 : int32_t(it->second);
}

double TActionArgs::number(const std::string& name) const {
  auto it = numbers_.find(name);
  return it == numbers_.end() ? 0 : it->second;
}

const std::string& TActionArgs::text(const std::string& name) const {
  static const std::string none;
  auto it = texts_.find(name);
  return it == texts_.end() ? none : it->second;
}

bool TActionArgs::flag(const std::string& name) const {
  return texts_.count(name) != 0;
}

bool TActionArgs::has(const std::string& name) const {
  return texts_.count(name) != 0 || numbers_.count(name) != 0;
}

double TActionArgs::option(const std::string& name, double fallback) const {
  auto it = numbers_.find(name);
  return it == numbers_.end() ? fallback : it->second;
}

namespace {

std::string whatOf(const TParam& p) {
  return p.what.empty() ? p.name : p.what;
}

// Reads one value word; false with a message when it is not one.
bool readValue(const TParam& p, const std::string& word, std::map<std::string, double>& numbers,
               std::map<std::string, std::string>& texts, std::string& error) {
  if (p.kind == TParam::word) {
    if (!p.choices.empty() &&
        std::find(p.choices.begin(), p.choices.end(), word) == p.choices.end()) {
      error = p.range.empty() ? whatOf(p) + " \"" + word + "\" is not one of the choices" : p.range;
      return false;
    }
    texts[p.name] = word;
    return true;
  }
  double value = 0;
  const char* first = word.data();
  const char* last = word.data() + word.size();
  if (p.kind == TParam::integer) {
    int32_t v = 0;
    auto [end, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || end != last) {
      error = whatOf(p) + " \"" + word + "\" is not a whole number";
      return false;
    }
    value = v;
  } else {
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || !std::isfinite(value)) {
      error = whatOf(p) + " \"" + word + "\" is not a number";
      return false;
    }
  }
  if ((p.min && value < *p.min) || (p.max && value > *p.max)) {
    error = p.range;
    if (error.empty()) {
      std::ostringstream range;
      range << whatOf(p) << " must lie in " << p.min.value_or(-INFINITY) << ".."
            << p.max.value_or(INFINITY);
      error = range.str();
    }
    return false;
  }
  numbers[p.name] = value;
  return true;
}

}  // namespace

bool TActionArgs::read(const std::vector<TParam>& params, const std::vector<std::string>& words,
                       std::string& error) {
  std::vector<bool> used(words.size(), false);
  // Flags and options first: they may stand anywhere.
  for (const TParam& p : params) {
    if (p.kind != TParam::flag && p.kind != TParam::numberOption) continue;
    for (size_t i = 0; i < words.size(); ++i) {
      if (used[i] || words[i] != p.name) continue;
      used[i] = true;
      texts_[p.name] = p.name;
      if (p.kind == TParam::flag) break;
      if (i + 1 >= words.size() || used[i + 1]) {
        error = "missing " + whatOf(p);
        return false;
      }
      used[i + 1] = true;
      if (!readValue(p, words[i + 1], numbers_, texts_, error)) return false;
      break;
    }
  }
  size_t next = 0;
  bool optionalGiven = false;
  for (const TParam& p : params) {
    if (p.kind == TParam::flag || p.kind == TParam::numberOption) continue;
    while (next < words.size() && used[next]) ++next;
    if (next >= words.size() && p.optional && !optionalGiven) break;
    optionalGiven = optionalGiven || p.optional;
    if (next >= words.size()) {
      error = "missing " + whatOf(p);
      return false;
    }
    used[next] = true;
    if (!readValue(p, words[next++], numbers_, texts_, error)) return false;
  }
  for (size_t i = 0; i < words.size(); ++i)
    if (!used[i]) {
      error = "unexpected argument \"" + words[i] + "\"";
      return false;
    }
  return true;
}

std::string actionUsage(const std::string& name, const TActionEntry& entry) {
  std::string usage = name;
  bool optionalOpen = false;
  for (const TParam& p : entry.params) {
    // The optional positional parameters in one pair of brackets: "paste [DX DY]".
    usage += p.optional && !optionalOpen ? " [" : " ";
    optionalOpen = optionalOpen || p.optional;
    if (p.kind == TParam::flag)
      usage += "[" + p.name + "]";
    else if (p.kind == TParam::numberOption)
      usage += "[" + p.name + " " + (p.what.find("mm") != std::string::npos ? "MM" : "N") + "]";
    else if (!p.choices.empty()) {
      for (size_t i = 0; i < p.choices.size(); ++i) usage += (i ? "|" : "") + p.choices[i];
    } else
      usage += p.name;
  }
  if (optionalOpen) usage += ']';
  return usage;
}

namespace {

std::map<std::string, TActionEntry>& table();

std::vector<std::string> splitWords(const std::string& s) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false, any = false;
  for (char c : s) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      if (any) words.push_back(word);
      word.clear();
      any = false;
    } else {
      word += c;
      any = true;
    }
  }
  if (any) words.push_back(word);
  return words;
}

// A command without arguments whose enable rule, checked by the runner,
// says all there is to refuse.
TActionEntry simple(bool (TEditor::*command)()) {
  return {{}, [command](TActionContext& c, const TActionArgs&, std::string&) {
            (c.editor.*command)();
            return true;
          }};
}

TParam layerParam() {
  TParam p = integerParam("N", "layer");
  p.min = 1;
  p.max = 4;
  p.range = "the layers are 1 to 4";
  return p;
}

void registerEditorActions(std::map<std::string, TActionEntry>& t) {
  t["board"] = {{integerParam("N", "board number")},
                [](TActionContext& c, const TActionArgs& args, std::string& error) {
                  const int n = args.integer("N");
                  if (n < 1 || n > int(c.editor.layout.boards.size())) {
                    error = "the layout has boards 1 to " +
                            std::to_string(c.editor.layout.boards.size());
                    return false;
                  }
                  c.editor.activateBoard(n - 1);
                  return true;
                }};
  t["add-board"] = {{wordParam("NAME", "board name")},
                    [](TActionContext& c, const TActionArgs& args, std::string&) {
                      c.editor.addBoard(args.text("NAME"));
                      return true;
                    }};
  t["delete-board"] = {{}, [](TActionContext& c, const TActionArgs&, std::string& error) {
                         if (!c.editor.deleteBoard(c.editor.layout.activeBoard)) {
                           error = "the last board cannot be deleted";
                           return false;
                         }
                         return true;
                       }};
  t["select-all"] = {{}, [](TActionContext& c, const TActionArgs&, std::string&) {
                       c.editor.selectAll();
                       return true;
                     }};
  t["deselect"] = {{}, [](TActionContext& c, const TActionArgs&, std::string&) {
                     c.editor.deselectAll();
                     c.editor.commandStatesChanged();
                     return true;
                   }};
  t["select-at"] = {{integerParam("X"), integerParam("Y")},
                    [](TActionContext& c, const TActionArgs& args, std::string&) {
                      c.editor.selectAt({args.integer("X"), args.integer("Y")});
                      return true;
                    }};
  t["copy"] = simple(&TEditor::copy);
  t["cut"] = simple(&TEditor::cut);
  t["delete"] = simple(&TEditor::deleteSelection);
  t["group"] = simple(&TEditor::buildGroup);
  t["ungroup"] = simple(&TEditor::splitGroup);
  t["undo"] = simple(&TEditor::undo);
  t["redo"] = simple(&TEditor::redo);
  t["delete-outside"] = {{}, [](TActionContext& c, const TActionArgs&, std::string&) {
                           c.out << "delete-outside: " << c.editor.deleteOutside() << " deleted\n";
                           return true;
                         }};
  t["layer"] = {{layerParam()}, [](TActionContext& c, const TActionArgs& args, std::string&) {
                  c.editor.chooseActiveLayer(args.integer("N"));
                  return true;
                }};
  TParam entries = integerParam("N", "number of undo steps");
  entries.min = 1;
  entries.max = kMaxUndoEntries;
  entries.range = "the number of undo steps must lie in 1..50";
  t["undo-depth"] = {{entries}, [](TActionContext& c, const TActionArgs& args, std::string&) {
                       c.editor.setUndoEntries(args.integer("N"));
                       return true;
                     }};
  t["macro-save"] = {{wordParam("PATH")},
                     [](TActionContext& c, const TActionArgs& args, std::string& error) {
                       return saveMacro(c.editor, args.text("PATH"), error) == TMacroSave::saved;
                     }};
  t["macro-insert"] = {
      {wordParam("PATH"), integerParam("X"), integerParam("Y"), flagParam("--mirror"),
       flagParam("--other-side"), flagParam("--through-pads")},
      [](TActionContext& c, const TActionArgs& args, std::string& error) {
        TMacroPreview preview;
        if (!preview.load(args.text("PATH"), c.editor.working().activeLayer,
                          c.editor.working().grid, error))
          return false;
        if (preview.macro.elements.empty()) {
          error = "the macro holds no elements";
          return false;
        }
        if (args.flag("--mirror")) preview.toggleMirror();
        if (args.flag("--other-side")) preview.toggleSide();
        if (args.flag("--through-pads")) preview.setThroughPads(true);
        c.editor.insertElements(preview.macro.elements, {args.integer("X"), args.integer("Y")});
        return true;
      }};
}

std::map<std::string, TActionEntry>& table() {
  static std::map<std::string, TActionEntry> t = [] {
    std::map<std::string, TActionEntry> initial;
    registerEditorActions(initial);
    return initial;
  }();
  return t;
}

}  // namespace

// The actions of other subsystems register through registerAction, which
// needs the table, so they join once it stands.
static void ensureSubsystemActions() {
  static bool done = false;
  if (done) return;
  done = true;
  registerRoutingActions();
  // Tool modes, mouse, keys, paste placement and the node menu.
  registerToolActions();
  // Rotate, mirror, align, layers, through pads and pad shapes.
  registerTransformActions();
  // set FIELD VALUE: the tool panel's value fields.
  registerValueFieldActions();
}

const std::map<std::string, TActionEntry>& actions() {
  ensureSubsystemActions();
  return table();
}

void registerAction(const std::string& name, TActionEntry entry) {
  table()[name] = std::move(entry);
}

bool runAction(TActionContext& context, const std::string& action, std::string& error) {
  error.clear();
  std::vector<std::string> words = splitWords(action);
  if (words.empty()) {
    error = "empty action";
    return false;
  }
  ensureSubsystemActions();
  const std::string& name = words[0];
  auto it = table().find(name);
  if (it == table().end()) {
    error = "unknown action \"" + name + "\"";
    return false;
  }
  TActionArgs args;
  bool ok =
      args.read(it->second.params, std::vector<std::string>(words.begin() + 1, words.end()), error);
  // A command refuses to run exactly when its menu entry would be disabled.
  if (ok)
    if (const TCommand* command = findCommandForAction(name);
        command && !context.editor.enabled(*command)) {
      error = refusalOf(command->rule, context.editor.commandStates());
      ok = false;
    }
  if (ok && !it->second.run(context, args, error)) ok = false;
  if (ok) return true;
  if (error.empty()) error = "cannot run";
  error = name + ": " + error;
  return false;
}

}  // namespace plavesk
