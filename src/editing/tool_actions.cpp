#include "editing/tool_actions.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "editing/action_runner.h"
#include "editing/command_table.h"
#include "editing/drawing_actions.h"
#include "editing/editing_keys.h"
#include "editing/editor.h"
#include "editing/tools/script_host.h"

namespace plavesk {

namespace {

constexpr TToolButton kButtons[] = {
    {"edit", "tool.edit", TToolMode::edit},
    {"track", "tool.track", TToolMode::track},
    {"pad", "tool.pad", TToolMode::pad},
    {"zoom", "tool.zoom", TToolMode::zoom},
    {"area", "tool.area", TToolMode::area},
    {"circle", "tool.circle", TToolMode::circle},
    {"text", "tool.text", TToolMode::text},
    {"test", "tool.test", TToolMode::test},
    {"connect", "tool.connect", TToolMode::connect},
    {"polygon", "tool.polygon", TToolMode::polygon},
    {"autoroute", "tool.autoroute", TToolMode::autoroute},
    {"measure", "tool.measure", TToolMode::measure},
    {"smd", "tool.smd", TToolMode::smdPad},
    {"photo", "tool.photo", TToolMode::zoom, true},
};

using TModifiers = TScriptSession::TModifiers;

TScriptSession& sessionOf(TActionContext& c) {
  if (!c.session) c.session = std::make_shared<TScriptSession>(c.editor);
  c.session->followBoard();
  return *c.session;
}

TPoint pointOf(const TActionArgs& args) {
  return TPoint{args.integer("X"), args.integer("Y")};
}

TModifiers modifiersOf(const TActionArgs& args) {
  return TModifiers{args.flag("--shift"), args.flag("--ctrl"), args.flag("--alt")};
}

// The key names a script may use: as the window's drawing area names them.
bool knownKey(const std::string& name) {
  static const std::set<std::string> named = {
      "Space", "Delete", "Left", "Right", "Up", "Down", "Escape", "F1",  "F2", "F3",
      "F4",    "F5",     "F6",   "F7",    "F8", "F9",   "F10",    "F11", "F12"};
  return named.count(name) != 0 || (name.size() == 1 && std::isupper(uint8_t(name[0])));
}

// "r" and "R" are the same key.
std::string keyName(const std::string& word) {
  if (word.size() == 1 && std::isalpha(uint8_t(word[0])))
    return std::string(1, char(std::toupper(uint8_t(word[0]))));
  return word;
}

TParam keyParam() {
  TParam p = wordParam("NAME", "key");
  return p;
}

bool checkKey(const std::string& name, std::string& error) {
  if (knownKey(name)) return true;
  error = "unknown key \"" + name +
          "\" (Space, Delete, Left, Right, Up, Down, Escape, F1..F12 or a letter)";
  return false;
}

// The command whose shortcut is this key with exactly these modifiers, as
// the window's menus catch it before the view sees the key.
const TCommand* shortcutCommand(const std::string& key, TModifiers keys) {
  for (const TCommand& c : commandTable()) {
    if (c.shortcut.empty()) continue;
    TModifiers wanted;
    std::string_view rest = c.shortcut;
    for (size_t plus; (plus = rest.find('+')) != std::string_view::npos && plus + 1 < rest.size();
         rest.remove_prefix(plus + 1)) {
      const std::string_view mod = rest.substr(0, plus);
      wanted.ctrl = wanted.ctrl || mod == "Ctrl";
      wanted.shift = wanted.shift || mod == "Shift";
      wanted.alt = wanted.alt || mod == "Alt";
    }
    if (rest == key && wanted.ctrl == keys.ctrl && wanted.shift == keys.shift &&
        wanted.alt == keys.alt)
      return &c;
  }
  return nullptr;
}

// A key press: a shortcut whose command is enabled runs that command (as its
// menu entry would); any other key goes to the view's tool.
bool keyDown(TActionContext& c, const std::string& key, TModifiers keys, std::string& error) {
  TScriptSession& s = sessionOf(c);
  if (const TCommand* command = shortcutCommand(key, keys);
      command && !command->pending && !command->action.empty() && c.editor.enabled(*command))
    return runAction(c, std::string(command->action), error);
  // With Alt held the window leaves every key but Space to its menus.
  if (keys.alt && key != "Space") return true;
  // The editing keys of the shortcut hook come before the view's tool.
  TInputEvent e;
  e.kind = TInputEvent::keyDown;
  e.pixel = s.pointer();
  e.key = key;
  e.shift = keys.shift;
  e.ctrl = keys.ctrl;
  e.alt = keys.alt;
  e.leftHeld = s.held() == TInputEvent::left;
  if (handleEditingKey(s.tools, e)) return true;
  s.key(TInputEvent::keyDown, key, keys);
  return true;
}

TActionHandler mouse(void (*run)(TScriptSession&, const TActionArgs&)) {
  return [run](TActionContext& c, const TActionArgs& args, std::string&) {
    run(sessionOf(c), args);
    return true;
  };
}

TActionHandler node(bool (TEditor::*command)(TNodeRef)) {
  return [command](TActionContext& c, const TActionArgs&, std::string&) {
    // The menu entry's enable rule, checked by the runner, says whether the
    // corner can take the command; the command itself may still find
    // nothing to change (a corner already on the grid).
    (c.editor.*command)(c.editor.nodeTarget);
    if (c.session) c.session->host.menu.clear();
    return true;
  };
}

void registerMouseActions() {
  const TParam x = integerParam("X"), y = integerParam("Y");
  const TParam right = flagParam("--right"), shift = flagParam("--shift"),
               ctrl = flagParam("--ctrl");
  registerAction("press",
                 {{x, y, right, shift, ctrl}, mouse([](TScriptSession& s, const TActionArgs& a) {
                    s.press(pointOf(a), a.flag("--right") ? TInputEvent::right : TInputEvent::left,
                            modifiersOf(a));
                  })});
  registerAction("move", {{x, y, shift, ctrl}, mouse([](TScriptSession& s, const TActionArgs& a) {
                            s.move(pointOf(a), modifiersOf(a));
                          })});
  registerAction("release",
                 {{x, y, shift, ctrl}, mouse([](TScriptSession& s, const TActionArgs& a) {
                    s.release(pointOf(a), modifiersOf(a));
                  })});
  registerAction("click",
                 {{x, y, right, shift, ctrl}, mouse([](TScriptSession& s, const TActionArgs& a) {
                    s.press(pointOf(a), a.flag("--right") ? TInputEvent::right : TInputEvent::left,
                            modifiersOf(a));
                    s.release(pointOf(a), modifiersOf(a));
                  })});
  registerAction(
      "dblclick",
      {{x, y}, mouse([](TScriptSession& s, const TActionArgs& a) { s.doubleClick(pointOf(a)); })});
}

void registerKeyActions() {
  registerAction("key",
                 {{keyParam(), flagParam("--ctrl"), flagParam("--shift"), flagParam("--alt")},
                  [](TActionContext& c, const TActionArgs& args, std::string& error) {
                    const std::string key = keyName(args.text("NAME"));
                    if (!checkKey(key, error)) return false;
                    const TModifiers keys = modifiersOf(args);
                    if (!keyDown(c, key, keys, error)) return false;
                    sessionOf(c).key(TInputEvent::keyUp, key, keys);
                    return true;
                  }});
  registerAction("keydown",
                 {{keyParam()}, [](TActionContext& c, const TActionArgs& args, std::string& error) {
                    const std::string key = keyName(args.text("NAME"));
                    return checkKey(key, error) && keyDown(c, key, {}, error);
                  }});
  registerAction("keyup",
                 {{keyParam()}, [](TActionContext& c, const TActionArgs& args, std::string& error) {
                    const std::string key = keyName(args.text("NAME"));
                    if (!checkKey(key, error)) return false;
                    sessionOf(c).key(TInputEvent::keyUp, key, {});
                    return true;
                  }});
}

void registerViewActions() {
  TParam name = wordParam("NAME", "tool");
  for (const TToolButton& b : kButtons) name.choices.emplace_back(b.name);
  registerAction("tool",
                 {{name}, [](TActionContext& c, const TActionArgs& args, std::string& error) {
                    const TToolButton& b = *findToolButton(args.text("NAME"));
                    if (findCommand(b.id)->pending) {
                      error = "the " + std::string(b.name) + " tool is not available yet";
                      return false;
                    }
                    TScriptSession& s = sessionOf(c);
                    // The text tool opens the text dialog, which a script
                    // fills in with text-options beforehand.
                    if (b.mode == TToolMode::text && !s.host.textAnswer) {
                      error = "the text tool needs the text dialog's values: text-options TEXT";
                      return false;
                    }
                    s.host.textNotGenerated = false;
                    // A tool whose dialog was cancelled stays in edit mode, as the
                    // button leaves it.
                    s.tools.selectTool(b.mode, b.photoView);
                    if (s.host.textNotGenerated) {
                      error = "the text could not be generated (no character of it has a stroke)";
                      return false;
                    }
                    return true;
                  }});
  TParam zoom = numberParam("Z", "zoom");
  zoom.min = kMinZoom;
  zoom.max = kMaxZoom;
  zoom.range = "the zoom lies in 0.01..1 pixels per unit";
  registerAction("zoom", {{zoom}, [](TActionContext& c, const TActionArgs& args, std::string&) {
                            TScriptSession& s = sessionOf(c);
                            s.tools.eraseAllFeedback();
                            TViewState& view = s.host.view();
                            view.pushZoomState();
                            view.setZoom(args.number("Z"));
                            s.host.viewChanged();
                            return true;
                          }});
}

void registerEditActions() {
  TParam dx = integerParam("DX"), dy = integerParam("DY");
  dx.optional = dy.optional = true;
  registerAction("paste", {{dx, dy}, [](TActionContext& c, const TActionArgs& args, std::string&) {
                             if (args.has("DX")) {
                               c.editor.paste(args.integer("DX"), args.integer("DY"));
                               return true;
                             }
                             sessionOf(c).tools.enterPastePlacement();
                             return true;
                           }});
  // Duplicate copies and then places the copy with the mouse, as in the
  // window; "paste DX DY" still places it at once.
  registerAction("duplicate", {{}, [](TActionContext& c, const TActionArgs&, std::string&) {
                                 c.editor.duplicate();
                                 sessionOf(c).tools.enterPastePlacement();
                                 return true;
                               }});
  registerAction("undo-all", {{}, [](TActionContext& c, const TActionArgs&, std::string&) {
                                if (c.session) c.session->tools.eraseAllFeedback();
                                while (c.editor.undo()) {
                                }
                                return true;
                              }});
  registerAction("node-remove", {{}, node(&TEditor::removeCorner)});
  registerAction("node-add", {{}, node(&TEditor::addCorner)});
  registerAction("node-snap", {{}, node(&TEditor::snapCorner)});
  registerAction("node-split", {{}, node(&TEditor::splitTrack)});
}

}  // namespace

std::span<const TToolButton> toolButtons() {
  return kButtons;
}

const TToolButton* findToolButton(std::string_view nameOrId) {
  for (const TToolButton& b : kButtons)
    if (b.name == nameOrId || b.id == nameOrId) return &b;
  return nullptr;
}

void registerToolActions() {
  registerViewActions();
  // The dialogs of the text, polygon and arc tools, cutout, measure read-out.
  registerDrawingActions();
  registerMouseActions();
  registerKeyActions();
  registerEditActions();
}

}  // namespace plavesk
