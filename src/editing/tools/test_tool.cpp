// The test tool: a click on copper marks its whole net (the selection look
// shows it); the marks stay until the next click or another tool.
#include "editing/connectivity_commands.h"
#include "editing/editor.h"
#include "editing/tools/connection_tools.h"
#include "editing/tools/tool_manager.h"
#include "routing/connectivity.h"

namespace plavesk {
namespace {

class TTestTool : public TTool {
 public:
  using TTool::TTool;

  // The first click on a board just opened would wait for the nets of the
  // whole board: they are worked out meanwhile, while the pointer travels
  // from the tool bar to the board.
  void enter() override {
    TEditor& editor = m_.editor();
    if (editor.layout.hasActiveBoard())
      sharedNetCache().prepare(editor.elements(), editor.working());
  }

  TToolResult press(const TInputEvent& e) override {
    testAt(m_.editor(), m_.worldAt(e.pixel, false));
    m_.host().flush();
    m_.editor().commandStatesChanged();
    return TToolResult::handled;
  }

  TToolResult release(const TInputEvent&) override {
    m_.state().inProgress = false;
    return TToolResult::handled;
  }

  TCursor cursor() const override { return TCursor::test; }
};

}  // namespace

std::unique_ptr<TTool> makeTestTool(TToolManager& manager) {
  return std::make_unique<TTestTool>(manager);
}

}  // namespace plavesk
