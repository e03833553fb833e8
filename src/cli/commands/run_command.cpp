// run: applies editor actions to a layout and saves it.
#include <ostream>

#include "cli/commands/cli_command.h"
#include "editing/action_runner.h"
#include "editing/editor.h"
#include "editing/layout_commands.h"

namespace plavesk {
namespace {

int runActions(const CliArguments& a, std::ostream& out, std::ostream& err) {
  const std::vector<std::string> script = a.values("-e");
  if (script.empty()) {
    err << "run: give at least one action with -e\nusage: plavesk-cli run FILE.lay -e ACTION "
           "[-e ACTION ...] [-o OUT.lay]\n";
    return kExitUsage;
  }
  TEditor editor;
  TReadReport report;
  if (!openLayoutForCli(a.positional[0], editor.layout, report, err)) return kExitFailed;
  TActionContext context{editor, out};
  for (size_t i = 0; i < script.size(); ++i) {
    std::string error;
    if (!runAction(context, script[i], error)) {
      err << "run: action " << i + 1 << ": " << error << "; nothing was saved\n";
      return kExitUsage;
    }
  }
  std::string error;
  if (!saveLayout(editor.layout, a.value("-o", a.positional[0]), false, error)) {
    err << error << "\n";
    return kExitFailed;
  }
  return kExitOk;
}

std::string actionList() {
  std::string list;
  for (const auto& [name, entry] : actions()) list += "\n      " + actionUsage(name, entry);
  return list;
}

const CliRegistration run("run", {"run FILE.lay -e ACTION [-e ACTION ...] [-o OUT.lay]; actions:" +
                                      actionList(),
                                  {},
                                  {"-e", "-o"},
                                  1,
                                  1,
                                  runActions});

}  // namespace
}  // namespace plavesk
