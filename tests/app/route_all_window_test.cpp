// "Route all rubberbands" in the window runs as a long job over a copy of
// the board: a finished run gives the same tracks as routing in place, in one
// undo step; a cancelled run leaves the layout as it was while the drawing
// area keeps repainting.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "app/layout_view.h"
#include "app/long_job.h"
#include "app/route_all_job.h"
#include "editing/autoroute_tool.h"
#include "editing/editor.h"
#include "editing/tools/tool_manager.h"
#include "support/sample_layout.h"
#include "window_fixture.h"

namespace plavesk {
namespace {

using testing::WindowFixture;

// An 80 x 50 mm board: three pad pairs with a band each on rows of their own,
// an SMD pad on side 1 with a band to one on side 2 (never routable), and
// that side-2 SMD pad with a band to a through pad (routed on side 2).
TLayout bandsLayout() {
  TLayout layout = testing::boardLayout("Bands", 8000, 5000, 127);
  TObjektList& l = layout.elements();
  for (int32_t y : {-1016, -2032, -3048}) {
    l.push_back(createPad({1016, y}, 80, kPadRound, kCopper1, 40));
    l.push_back(createPad({4064, y}, 80, kPadRound, kCopper1, 40));
  }
  l.push_back(createSmdPad({5588, -1016}, 120, kCopper1, 60));
  l.push_back(createSmdPad({5588, -3048}, 120, kCopper2, 60));
  l.push_back(createPad({7112, -3048}, 80, kPadRound, kCopper1, 40));
  auto join = [&](size_t a, size_t b) {
    l[a]->connections.push_back(l[b].get());
    l[b]->connections.push_back(l[a].get());
  };
  join(0, 1);
  join(2, 3);
  join(4, 5);
  join(6, 7);
  join(7, 8);
  layout.modified = false;
  return layout;
}

// Each element as a line: what routing creates or changes, references as
// list positions.
std::vector<std::string> describe(const TObjektList& list) {
  std::unordered_map<const TObjekt*, int> at;
  for (size_t i = 0; i < list.size(); ++i) at.emplace(list[i].get(), int(i));
  auto pos = [&](const TObjekt* e) { return e && at.count(e) ? at.at(e) : -1; };
  std::vector<std::string> lines;
  for (const auto& e : list) {
    std::string s = "kind " + std::to_string(e->kind) + " layer " + std::to_string(e->layer) +
                    " w " + std::to_string(e->dim3) + " clear " + std::to_string(e->clearance) +
                    " auto " + std::to_string(e->autorouted) + " from " +
                    std::to_string(pos(e->routeFrom)) + " to " + std::to_string(pos(e->routeTo)) +
                    " points";
    for (TPoint p : e->points) s += " " + std::to_string(p.x) + "," + std::to_string(p.y);
    s += " bands";
    for (const TObjekt* b : e->connections) s += " " + std::to_string(pos(b));
    lines.push_back(s);
  }
  return lines;
}

class RouteAllWindowTest : public WindowFixture {
 protected:
  TMainWindow& openBands() {
    TMainWindow& w = open();
    w.editor().layout = bandsLayout();
    w.activateBoard(0);
    QApplication::processEvents();
    return w;
  }
  size_t undoSteps() { return window->editor().layout.active().undoStack.size(); }
};

TEST_F(RouteAllWindowTest, RoutesOnACopyAndTakesTheTracksOverInOneStep) {
  TMainWindow& w = openBands();
  TAutorouteTool& router = w.tools().autorouter();
  router.widthMm = 0.5;
  router.clearanceMm = 0.3;
  // The same bands routed in place, band after band, by the runner's path.
  TEditor reference;
  reference.layout = bandsLayout();
  TAutorouteTool tool;
  tool.widthMm = 0.5;
  tool.clearanceMm = 0.3;
  tool.trackClearance = w.tools().values().clearance;
  routeAllBands(reference, tool);
  ASSERT_EQ(reference.elements().size(), 13u) << "four tracks expected from the reference";

  QAction* routeAll = w.action("fn.routeAll");
  ASSERT_NE(routeAll, nullptr);
  ASSERT_TRUE(routeAll->isEnabled());
  w.jobs().showAfterMs = 0;
  routeAll->trigger();
  EXPECT_EQ(describe(w.editor().elements()), describe(reference.elements()));
  const TObjekt& side2 = *w.editor().elements()[12];
  EXPECT_EQ(side2.layer, kCopper2);
  EXPECT_EQ(side2.dim3, 50);
  ASSERT_EQ(dialogs->messages.size(), 1u);
  EXPECT_EQ(dialogs->messages[0].kind, TMessageKind::Information);
  EXPECT_EQ(dialogs->messages[0].text, "4 rubberbands routed, 1 not found.");
  EXPECT_TRUE(w.editor().layout.modified);
  EXPECT_EQ(w.editor().selectedCount(), 0u);

  // One undo step brings every band back and takes every track off.
  EXPECT_EQ(undoSteps(), 1u);
  ASSERT_TRUE(w.editor().undo());
  EXPECT_EQ(describe(w.editor().elements()), describe(bandsLayout().elements()));
}

TEST_F(RouteAllWindowTest, CancelLeavesTheLayoutAsItWasWhileTheViewRepaints) {
  TMainWindow& w = openBands();
  const std::vector<std::string> before = describe(w.editor().elements());
  TLongJobs& jobs = w.jobs();
  jobs.showAfterMs = 0;
  // The worker holds until the user has cancelled, then runs on over its
  // copy: whatever it still does must not reach the layout.
  jobs.beforeWork = [](TJobControl& c) {
    while (!c.cancelled()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) ++paints;
      return false;
    }
  } counter;
  QWidget* surface = w.layoutView()->viewport();
  surface->installEventFilter(&counter);
  QString title;
  jobs.windowShown = [&] {
    title = jobs.progressWindow()->windowTitle();
    surface->update();
    QTimer::singleShot(100, jobs.progressWindow(), [&] { jobs.cancelButton()->click(); });
  };
  w.action("fn.routeAll")->trigger();
  surface->removeEventFilter(&counter);
  EXPECT_EQ(title, "Route all rubberbands");
  EXPECT_GT(counter.paints, 0) << "the drawing area was not repainted during the job";
  EXPECT_EQ(describe(w.editor().elements()), before);
  EXPECT_EQ(undoSteps(), 0u);
  EXPECT_FALSE(w.editor().layout.modified);
  EXPECT_TRUE(dialogs->messages.empty());
  // The next run, not cancelled, routes.
  jobs.beforeWork = {};
  jobs.windowShown = {};
  w.action("fn.routeAll")->trigger();
  EXPECT_EQ(w.editor().elements().size(), 13u);
}

TEST(RouteAllTexts, StepAndMessageInEachLanguage) {
  struct Case {
    int language;
    const char* step;
    const char* message;
  } cases[] = {
      {kGerman, "Luftlinie 3 von 12", "9 Luftlinien verlegt, 3 nicht gefunden."},
      {kEnglish, "Rubberband 3 of 12", "9 rubberbands routed, 3 not found."},
      {kFrench, "Connexion 3 sur 12", "9 connexions routées, 3 non trouvées."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(routeAllStep(2, 12, c.language), c.step);
    EXPECT_EQ(routeAllMessage(9, 3, c.language), c.message);
  }
}

}  // namespace
}  // namespace plavesk
