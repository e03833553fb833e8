// The runner's drawing area: where a script's pointer lands and what the
// view scrolls to get it there, and feedback that is taken off again.
#include "editing/tools/script_host.h"

#include <gtest/gtest.h>

#include "editing/editor.h"

namespace plavesk {
namespace {

// A 300 x 200 mm board with one pad at (5000, -5000), shown at one pixel a
// unit, so its paint surface is far larger than the 1200 x 800 client area.
class ScriptSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    editor.addBoard("B");
    TBoardRecord& r = editor.working();
    r.width = 30000;
    r.height = 20000;
    r.zoom = 1;
    r.grid = 100;
    editor.elements().push_back(createPad({5000, -5000}, 100, kPadRound, 1, 40));
    session = std::make_unique<TScriptSession>(editor);
  }
  TEditor editor;
  std::unique_ptr<TScriptSession> session;
};

TEST_F(ScriptSessionTest, ScrollsThePointTheMarginInside) {
  struct Case {
    TPoint world;
    int32_t scrollX, scrollY;  // expected afterwards
  };
  const Case cases[] = {
      {{100, -100}, 0, 0},                           // near the corner: no scrolling
      {{5000, -5000}, 5000 - 1183, 5000 - 783},      // beyond: the margin inside the far border
      {{4000, -4500}, 5000 - 1183, 5000 - 783},      // visible and inside the margin: stays
      {{2000, -1000}, 2000 - 16, 1000 - 16},         // before the near border
      {{29990, -19990}, 30001 - 1200, 20001 - 800},  // the board's end: as far as it goes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.world.x);
    session->move(c.world, {});
    const TViewState& v = session->host.view();
    EXPECT_EQ(v.scrollX(), c.scrollX);
    EXPECT_EQ(v.scrollY(), c.scrollY);
    EXPECT_EQ(session->pointer(), v.worldToDevice(c.world));
  }
}

TEST_F(ScriptSessionTest, DragFeedbackIsTakenOffAgain) {
  session->press({5000, -5000}, TInputEvent::left, {});
  ASSERT_TRUE(editor.elements()[0]->selected);
  EXPECT_EQ(session->held(), TInputEvent::left);
  session->move({5300, -5200}, {});
  EXPECT_EQ(session->host.feedbackShown[size_t(TFeedbackKind::movePreview)], 1);
  // Far enough to scroll: the preview goes before the scroll and comes back.
  session->move({9000, -9000}, {});
  EXPECT_EQ(session->host.feedbackShown[size_t(TFeedbackKind::movePreview)], 1);
  session->release({9000, -9000}, {});
  EXPECT_EQ(session->held(), TInputEvent::none);
  for (size_t k = 0; k < kFeedbackKinds; ++k) EXPECT_EQ(session->host.feedbackShown[k], 0) << k;
  EXPECT_EQ(editor.elements()[0]->x, 9000);
  EXPECT_EQ(editor.elements()[0]->y, -9000);
}

}  // namespace
}  // namespace plavesk
