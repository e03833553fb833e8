// The photo view's window: entering with the photo button, the view state
// and paint settings it sets, the scroll position mirrored with the mapping,
// leaving by another tool or by closing the window.
#include "app/photo_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QToolButton>

#include "app/layout_view.h"
#include "editing/tools/tool_manager.h"
#include "window_fixture.h"

namespace plavesk {
namespace {

using testing::WindowFixture;

// Side 2 chosen while shown, and hiding while on side 2, each flip the
// mapping and mirror the scroll position; flipping twice comes back.
TEST(PhotoViewStateTest, ScrollFollowsTheMirroredMapping) {
  TBoardRecord board;
  board.width = 20000;
  board.height = 10000;
  board.zoom = 0.1;
  TViewState view;
  view.setRecord(board);
  view.clientWidth = 600;
  view.clientHeight = 400;
  view.record().scrollX = 100;
  const int32_t range = view.surfaceWidth();
  ASSERT_GT(range, 700);
  TRenderSettings render;
  TPhotoOptions options;
  struct Step {
    bool active;
    int side;
    bool flips;
    int32_t scroll;
  };
  const Step steps[] = {
      {true, 1, false, 100},                // entering on side 1
      {true, 2, true, range - 100 - 600},   // side 2
      {true, 2, false, range - 100 - 600},  // the check boxes change nothing
      {false, 2, true, 100},                // leaving on side 2
      {true, 2, true, range - 100 - 600},   // entering on side 2
      {true, 1, true, 100},
  };
  for (const Step& s : steps) {
    options.side = s.side;
    options.xray = !options.xray;
    EXPECT_EQ(applyPhotoView(view, render, s.active, options), s.flips);
    EXPECT_EQ(view.scrollX(), s.scroll);
    EXPECT_EQ(view.mirrored(), s.active && s.side == 2);
    EXPECT_EQ(render.photoView, s.active);
    EXPECT_EQ(render.photo.xray, options.xray);
  }
}

class PhotoWindowTest : public WindowFixture {};

TEST_F(PhotoWindowTest, EnteringAndLeaving) {
  TMainWindow& w = open(kGerman);
  auto button = [&](const char* name) { return w.findChild<QToolButton*>(name); };
  w.editor().contours = {{{0, 0}, {100, 0}, {100, -100}}};
  button("SB_RealAnsicht")->click();
  TPhotoWindow* photo = w.photoWindow();
  ASSERT_TRUE(photo->isVisible());
  EXPECT_EQ(photo->windowTitle(), "Fotoansicht");
  EXPECT_TRUE(photo->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(w.view().photoViewActive);
  EXPECT_FALSE(w.view().mirrored());
  EXPECT_TRUE(w.editor().contours.empty());
  photo->sideButton(2)->click();
  EXPECT_TRUE(w.view().mirrored());
  photo->silkscreenBox()->click();
  EXPECT_EQ(photo->options().silkscreen, false);

  // Another tool hides the window and ends the photo view.
  button("SB_Standard")->click();
  EXPECT_FALSE(photo->isVisible());
  EXPECT_FALSE(w.view().photoViewActive);
  EXPECT_FALSE(w.view().mirrored());

  // Closing the window goes back to the standard tool; the side stays.
  button("SB_RealAnsicht")->click();
  EXPECT_TRUE(w.view().mirrored());
  photo->close();
  EXPECT_EQ(w.tools().mode(), TToolMode::edit);
  EXPECT_TRUE(button("SB_Standard")->isChecked());
  EXPECT_FALSE(w.view().photoViewActive);
}

}  // namespace
}  // namespace plavesk
