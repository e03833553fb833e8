#include "platform/qt/svg_picture.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>
#include <cmath>
#include <memory>

#include "platform/qt/qt_canvas.h"

namespace plavesk {

void ensureGuiApplication() {
  if (QGuiApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "plavesk-cli";
  static char* argv[] = {name, nullptr};
  // Lives until the process ends; Qt allows only one.
  static auto* app = new QGuiApplication(argc, argv);
  (void)app;
}

std::vector<uint8_t> renderSvg(int32_t width, int32_t height, double dpi,
                               const std::function<void(Canvas&)>& draw) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(width, height));
  svg.setViewBox(QRect(0, 0, width, height));
  svg.setResolution(int(std::lround(dpi)));
  svg.setTitle("Plavesk");
  {
    QPainter painter(&svg);
    QtCanvas canvas(painter, {0, 0, width, height});
    draw(canvas);
  }
  const QByteArray& bytes = buffer.data();
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace plavesk
