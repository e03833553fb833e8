// Every editor command by a stable name with typed arguments, so scripts and
// tests can drive the editor as the mouse and menus would.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace plavesk {

class TEditor;
class TScriptSession;

// One word an action takes. Positional parameters come in order; flags
// ("--mirror") and options ("--width MM") may stand anywhere after the name.
struct TParam {
  enum Kind { integer, number, word, flag, numberOption };
  Kind kind;
  std::string name;  // "X", "PATH", "--mirror", "--width"
  // What the value is, for messages ("board number"); the name when empty.
  std::string what = {};
  // integer and number values outside min..max are refused with `range` as
  // the message (a default one when empty).
  std::optional<double> min = {};
  std::optional<double> max = {};
  std::string range = {};
  // A word must be one of these when any are given.
  std::vector<std::string> choices = {};
  // Positional parameters at the end may be left out together ("paste" or
  // "paste DX DY"); once the first is given, the others are needed too.
  bool optional = false;
};

TParam integerParam(std::string name, std::string what = {});
TParam numberParam(std::string name, std::string what = {});
TParam wordParam(std::string name, std::string what = {});
TParam flagParam(std::string name);
TParam numberOption(std::string name, std::string what);

// The values of one action's words, read and checked against its
// parameters before the handler runs.
class TActionArgs {
 public:
  int32_t integer(const std::string& name) const;
  double number(const std::string& name) const;
  const std::string& text(const std::string& name) const;
  bool flag(const std::string& name) const;  // also: an option was given
  bool has(const std::string& name) const;   // a value was given
  double option(const std::string& name, double fallback) const;

  // Reads `words` for `params`; false with a message (without the action's
  // name) on the first problem.
  bool read(const std::vector<TParam>& params, const std::vector<std::string>& words,
            std::string& error);

 private:
  std::map<std::string, std::string> texts_;
  std::map<std::string, double> numbers_;
};

struct TActionContext {
  TEditor& editor;
  std::ostream& out;  // reports of actions that print something
  // The drawing area of a script (tool mode, pointer, held buttons), made by
  // the first tool, mouse or key action and kept for the rest of the run.
  std::shared_ptr<TScriptSession> session = {};
};

// Runs with checked arguments; returns false with a message in `error` when
// the command cannot run.
using TActionHandler =
    std::function<bool(TActionContext&, const TActionArgs& args, std::string& error)>;

struct TActionEntry {
  std::vector<TParam> params;
  TActionHandler run;
};

// "paste DX DY", "route I J [--width MM] [--clearance MM]", "ground-plane on|off".
std::string actionUsage(const std::string& name, const TActionEntry& entry);

// The table of actions. Subsystems add theirs with registerAction.
const std::map<std::string, TActionEntry>& actions();
void registerAction(const std::string& name, TActionEntry entry);

// Splits an action into words (double quotes group words) and runs it.
// Returns false with a message naming the action on an unknown name, a bad
// argument, a command whose menu entry is disabled, or a command that cannot
// run.
bool runAction(TActionContext& context, const std::string& action, std::string& error);

}  // namespace plavesk
