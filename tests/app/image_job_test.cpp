// The picture export runs as a long job in the window: a cancel in the
// progress window writes no file.
#include <QPushButton>
#include <chrono>
#include <filesystem>
#include <thread>

#include "app/long_job.h"
#include "window_fixture.h"

namespace plavesk {
namespace {

using testing::WindowFixture;

class ImageJobTest : public WindowFixture {};

TEST_F(ImageJobTest, CancelledPictureWritesNothing) {
  TMainWindow& w = open();
  w.editor().elements().push_back(createPad({1000, -1000}, 90, kPadRound, kCopper1, 40));
  TLongJobs& jobs = w.jobs();
  jobs.showAfterMs = 0;
  jobs.beforeWork = [](TJobControl& c) {
    while (!c.cancelled()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  jobs.windowShown = [&jobs] { jobs.cancelButton()->click(); };
  EXPECT_FALSE(w.images().writeBitmap(TExportFormat::kBmp, path("board.bmp"), 100, true));
  EXPECT_FALSE(std::filesystem::exists(path("board.bmp")));
  EXPECT_TRUE(dialogs->messages.empty());
  // Without the cancel the same call writes the picture.
  jobs.beforeWork = {};
  jobs.windowShown = {};
  EXPECT_TRUE(w.images().writeBitmap(TExportFormat::kBmp, path("board.bmp"), 100, true));
  EXPECT_TRUE(std::filesystem::exists(path("board.bmp")));
}

}  // namespace
}  // namespace plavesk
