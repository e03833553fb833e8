#include "editing/action_runner.h"

#include <charconv>
#include <cmath>
#include <ostream>

#include "editing/editor.h"
#include "editing/macro_library.h"
#include "editing/routing_actions.h"

namespace plavesk {

TActionArgs::TActionArgs(std::string action, std::vector<std::string> words)
    : action_(std::move(action)), words_(std::move(words)), used_(words_.size(), false) {}

void TActionArgs::fail(const std::string& message) {
  if (error_.empty()) error_ = action_ + ": " + message;
}

const std::string* TActionArgs::next(const char* what) {
  while (position_ < words_.size() && used_[position_]) ++position_;
  if (position_ >= words_.size()) {
    fail(std::string("missing ") + what);
    return nullptr;
  }
  used_[position_] = true;
  return &words_[position_++];
}

int32_t TActionArgs::integer(const char* what) {
  const std::string* word = next(what);
  if (!word) return 0;
  int32_t value = 0;
  auto [end, ec] = std::from_chars(word->data(), word->data() + word->size(), value);
  if (ec != std::errc() || end != word->data() + word->size())
    fail(std::string(what) + " \"" + *word + "\" is not a whole number");
  return value;
}

double TActionArgs::number(const char* what) {
  const std::string* word = next(what);
  if (!word) return 0;
  double value = 0;
  auto [end, ec] = std::from_chars(word->data(), word->data() + word->size(), value);
  if (ec != std::errc() || end != word->data() + word->size() || !std::isfinite(value))
    fail(std::string(what) + " \"" + *word + "\" is not a number");
  return value;
}

std::string TActionArgs::text(const char* what) {
  const std::string* word = next(what);
  return word ? *word : std::string();
}

bool TActionArgs::flag(const std::string& name) {
  for (size_t i = 0; i < words_.size(); ++i) {
    if (!used_[i] && words_[i] == name) {
      used_[i] = true;
      return true;
    }
  }
  return false;
}

bool TActionArgs::finish(std::string& error) {
  for (size_t i = 0; i < words_.size(); ++i)
    if (!used_[i]) fail("unexpected argument \"" + words_[i] + "\"");
  error = error_;
  return error_.empty();
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

// A handler for a command that takes no arguments and reports whether it
// could run.
TActionEntry simple(const std::string& name, bool (TEditor::*command)(), const char* refusal) {
  return {name, [command, refusal](TActionContext& c, TActionArgs& args, std::string& error) {
            if (!args.finish(error)) return false;
            if (!(c.editor.*command)()) {
              error = refusal;
              return false;
            }
            return true;
          }};
}

void registerEditorActions(std::map<std::string, TActionEntry>& t) {
  t["board"] = {"board N", [](TActionContext& c, TActionArgs& args, std::string& error) {
                  int n = args.integer("board number");
                  if (!args.finish(error)) return false;
                  if (n < 1 || n > int(c.editor.layout.boards.size())) {
                    error = "board: the layout has boards 1 to " +
                            std::to_string(c.editor.layout.boards.size());
                    return false;
                  }
                  c.editor.activateBoard(n - 1);
                  return true;
                }};
  t["add-board"] = {"add-board NAME", [](TActionContext& c, TActionArgs& args, std::string& error) {
                      std::string name = args.text("board name");
                      if (!args.finish(error)) return false;
                      c.editor.addBoard(name);
                      return true;
                    }};
  t["select-all"] = {"select-all", [](TActionContext& c, TActionArgs& args, std::string& error) {
                       if (!args.finish(error)) return false;
                       c.editor.selectAll();
                       return true;
                     }};
  t["deselect"] = {"deselect", [](TActionContext& c, TActionArgs& args, std::string& error) {
                     if (!args.finish(error)) return false;
                     c.editor.deselectAll();
                     return true;
                   }};
  t["select-at"] = {"select-at X Y", [](TActionContext& c, TActionArgs& args, std::string& error) {
                      TPoint p{args.integer("X"), args.integer("Y")};
                      if (!args.finish(error)) return false;
                      c.editor.selectAt(p);
                      return true;
                    }};
  t["copy"] = simple("copy", &TEditor::copy, "copy: nothing is selected");
  t["cut"] = simple("cut", &TEditor::cut, "cut: nothing is selected");
  t["duplicate"] = simple("duplicate", &TEditor::duplicate, "duplicate: nothing is selected");
  t["delete"] = simple("delete", &TEditor::deleteSelection, "delete: nothing is selected");
  // Grouping a selection that already is one group changes nothing, which
  // is no failure.
  t["group"] = {"group", [](TActionContext& c, TActionArgs& args, std::string& error) {
                  if (!args.finish(error)) return false;
                  c.editor.buildGroup();
                  return true;
                }};
  t["ungroup"] = {"ungroup", [](TActionContext& c, TActionArgs& args, std::string& error) {
                    if (!args.finish(error)) return false;
                    c.editor.splitGroup();
                    return true;
                  }};
  t["undo"] = simple("undo", &TEditor::undo, "undo: nothing to undo");
  t["redo"] = simple("redo", &TEditor::redo, "redo: nothing to redo");
  t["paste"] = {"paste DX DY", [](TActionContext& c, TActionArgs& args, std::string& error) {
                  int32_t dx = args.integer("DX"), dy = args.integer("DY");
                  if (!args.finish(error)) return false;
                  if (!c.editor.paste(dx, dy)) {
                    error = "paste: the clipboard is empty";
                    return false;
                  }
                  return true;
                }};
  t["undo-depth"] = {"undo-depth N", [](TActionContext& c, TActionArgs& args, std::string& error) {
                       int n = args.integer("number of undo steps");
                       if (!args.finish(error)) return false;
                       if (!c.editor.setUndoEntries(n)) {
                         error = "undo-depth: the number of undo steps must lie in 1..50";
                         return false;
                       }
                       return true;
                     }};
  t["macro-save"] = {"macro-save PATH", [](TActionContext& c, TActionArgs& args, std::string& error) {
                       std::string path = args.text("PATH");
                       if (!args.finish(error)) return false;
                       if (saveMacro(c.editor, path, error) != TMacroSave::saved) {
                         error = "macro-save: " + error;
                         return false;
                       }
                       return true;
                     }};
  t["macro-insert"] = {
      "macro-insert PATH X Y [--mirror] [--other-side] [--through-pads]",
      [](TActionContext& c, TActionArgs& args, std::string& error) {
        bool mirror = args.flag("--mirror"), side = args.flag("--other-side"),
             through = args.flag("--through-pads");
        std::string path = args.text("PATH");
        TPoint at{args.integer("X"), args.integer("Y")};
        if (!args.finish(error)) return false;
        if (!c.editor.layout.hasActiveBoard()) {
          error = "macro-insert: no active board";
          return false;
        }
        TMacroPreview preview;
        if (!preview.load(path, c.editor.working().activeLayer, c.editor.working().grid, error)) {
          error = "macro-insert: " + error;
          return false;
        }
        if (preview.macro.elements.empty()) {
          error = "macro-insert: the macro holds no elements";
          return false;
        }
        if (mirror) preview.toggleMirror();
        if (side) preview.toggleSide();
        if (through) preview.setThroughPads(true);
        c.editor.insertElements(preview.macro.elements, at);
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
}

const std::map<std::string, TActionEntry>& actions() {
  ensureSubsystemActions();
  return table();
}

void registerAction(const std::string& name, TActionEntry entry) { table()[name] = std::move(entry); }

bool runAction(TActionContext& context, const std::string& action, std::string& error) {
  std::vector<std::string> words = splitWords(action);
  if (words.empty()) {
    error = "empty action";
    return false;
  }
  ensureSubsystemActions();
  auto it = table().find(words[0]);
  if (it == table().end()) {
    error = "unknown action \"" + words[0] + "\"";
    return false;
  }
  TActionArgs args(words[0], std::vector<std::string>(words.begin() + 1, words.end()));
  if (!it->second.run(context, args, error)) {
    if (error.empty()) error = words[0] + ": cannot run";
    if (error.rfind(words[0], 0) != 0) error = words[0] + ": " + error;
    return false;
  }
  return true;
}

}  // namespace plavesk
