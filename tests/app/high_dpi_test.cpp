// The drawing area on a screen of pixel ratio 2: it paints every screen
// pixel itself, so a one-pixel line stays one screen pixel wide instead of
// a small picture enlarged to two.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QPainter>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/layout_view.h"
#include "app/main_window.h"

extern char** environ;

namespace plavesk {
namespace {

// The lengths of the runs of pixels in row `y` that differ from the row's
// most common colour.
std::vector<int> runsAcross(const QImage& image, int y) {
  std::map<QRgb, int> counts;
  for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
  QRgb ground = 0;
  int most = -1;
  for (const auto& [colour, n] : counts)
    if (n > most) most = n, ground = colour;
  std::vector<int> runs;
  int run = 0;
  for (int x = 0; x < image.width(); ++x) {
    if (image.pixel(x, y) != ground) {
      ++run;
    } else if (run) {
      runs.push_back(run);
      run = 0;
    }
  }
  return runs;
}

// Run by the test below in a process whose screens have pixel ratio 2.
TEST(HighDpiChild, DISABLED_PaintsEveryScreenPixel) {
  ASSERT_EQ(qApp->devicePixelRatio(), 2.0);
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("plavesk_hidpi_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  TMainWindowOptions options;
  options.language = kEnglish;
  options.programFolder = folder.string() + "/";
  options.settingsPath = (folder / "PLAVESKA.INI").string();
  {
    TMainWindow window(options);
    window.resize(900, 600);
    window.show();
    window.view().setZoom(0.2);
    window.layoutView()->syncFromView();
    QApplication::processEvents();
    QWidget* port = window.layoutView()->viewport();
    QImage image(port->size() * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    QPainter painter(&image);
    port->render(&painter, QPoint(), QRegion(port->rect()), QWidget::DrawWindowBackground);
    painter.end();
    // A row across the board crosses the grid's lines.
    const std::vector<int> runs = runsAcross(image, 101);
    ASSERT_GT(runs.size(), 5u);
    EXPECT_NE(std::find(runs.begin(), runs.end(), 1), runs.end())
        << "every line is two screen pixels wide: the picture was enlarged";
  }
  std::filesystem::remove_all(folder);
}

TEST(HighDpi, TheDrawingAreaPaintsEveryScreenPixel) {
  char self[4096] = {};
  ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
  std::vector<std::string> env{"QT_SCALE_FACTOR=2", "QT_QPA_PLATFORM=offscreen"};
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind("QT_SCALE_FACTOR=", 0) != 0) env.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string a0 = self, a1 = "--gtest_also_run_disabled_tests",
              a2 = "--gtest_filter=HighDpiChild.DISABLED_PaintsEveryScreenPixel";
  char* argv[] = {a0.data(), a1.data(), a2.data(), nullptr};
  pid_t child = 0;
  ASSERT_EQ(::posix_spawn(&child, self, nullptr, nullptr, argv, envp.data()), 0);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the test at pixel ratio 2 failed (its output is above)";
}

}  // namespace
}  // namespace plavesk
