// Every editor command by a stable name with typed arguments, so scripts and
// tests can drive the editor as the mouse and menus would.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace plavesk {

class TEditor;

// The words of one action after its name, with typed readers that record
// the first problem. Flags ("--mirror") may stand anywhere after the name.
class TActionArgs {
 public:
  TActionArgs(std::string action, std::vector<std::string> words);

  int32_t integer(const char* what);
  double number(const char* what);
  std::string text(const char* what);
  bool flag(const std::string& name);  // consumes it when present
  // True when every word was used and nothing was wrong; else `error` says
  // what, naming the action.
  bool finish(std::string& error);

 private:
  const std::string* next(const char* what);
  void fail(const std::string& message);

  std::string action_;
  std::vector<std::string> words_;
  std::vector<bool> used_;
  size_t position_ = 0;
  std::string error_;
};

struct TActionContext {
  TEditor& editor;
  std::ostream& out;  // reports of actions that print something
};

// Reads its arguments from `args` and runs; returns false with a message in
// `error` when the command cannot run.
using TActionHandler = std::function<bool(TActionContext&, TActionArgs& args, std::string& error)>;

struct TActionEntry {
  std::string usage;  // e.g. "paste DX DY"
  TActionHandler run;
};

// The table of actions. Subsystems add theirs with registerAction.
const std::map<std::string, TActionEntry>& actions();
void registerAction(const std::string& name, TActionEntry entry);

// Splits an action into words (double quotes group words) and runs it.
// Returns false with a message naming the action on an unknown name, a bad
// argument or a command that cannot run.
bool runAction(TActionContext& context, const std::string& action, std::string& error);

}  // namespace plavesk
