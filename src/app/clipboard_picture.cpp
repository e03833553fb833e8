#include "app/clipboard_picture.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/svg_picture.h"
#include "view/geometry.h"
#include "view/metafile_export.h"

namespace plavesk {

namespace {

QByteArray bytesOf(const std::vector<uint8_t>& v) {
  return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size()));
}

}  // namespace

TPictureFrame pictureFrame(const TRect& world, double pixelsPerUnit, int32_t maxSide) {
  const double left = std::min(world.left, world.right);
  const double right = std::max(world.left, world.right);
  const double top = std::max(world.top, world.bottom);  // y grows upwards
  const double bottom = std::min(world.top, world.bottom);
  const double extent = std::max(right - left, top - bottom);
  double scale = pixelsPerUnit > 0 && std::isfinite(pixelsPerUnit) ? pixelsPerUnit : 0;
  if (extent * scale > maxSide) scale = maxSide / extent;
  TPictureFrame frame;
  if (!(scale > 0)) return frame;
  frame.mapping.windowExtX = 10000;
  frame.mapping.windowExtY = -10000;
  frame.mapping.viewportExtX = frame.mapping.viewportExtY = scale * 10000;
  frame.mapping.viewportOrgX = -left * scale;
  frame.mapping.viewportOrgY = top * scale;
  frame.width = std::clamp(int32_t(std::ceil((right - left) * scale)) + 1, 0, maxSide + 1);
  frame.height = std::clamp(int32_t(std::ceil((top - bottom) * scale)) + 1, 0, maxSide + 1);
  return frame;
}

TClipboardPicture makeClipboardPicture(TObjektList& list, const TBoardRecord& state,
                                       const TViewState& view, const TRenderSettings& settings,
                                       bool selectionOnly, const TTemplateImages& templates) {
  TClipboardPicture picture;
  picture.emf = exportMetafile(list, state, view, settings, selectionOnly, templates);

  TRect world = selectionOnly ? selectionBounds(list) : TRect{0, 0, state.width, -state.height};
  if (selectionOnly) {
    // Two pixels around the outlines, so round ends are not cut.
    const int32_t margin = view.zoom() > 0 ? int32_t(std::ceil(2 / view.zoom())) : 0;
    world = {std::min(world.left, world.right) - margin, std::max(world.top, world.bottom) + margin,
             std::max(world.left, world.right) + margin,
             std::min(world.top, world.bottom) - margin};
  }
  const TPictureFrame frame = pictureFrame(world, view.zoom(), kClipboardImageMaxSide);
  if (frame.width <= 1 || frame.height <= 1) return picture;
  auto draw = [&](Canvas& canvas) {
    canvas.setMapping(frame.mapping);
    drawMetafilePicture(list, canvas, state, settings, selectionOnly, templates);
  };
  picture.svg = renderSvg(frame.width, frame.height, 96, draw);
  picture.image = QImage(frame.width, frame.height, QImage::Format_ARGB32_Premultiplied);
  if (picture.image.isNull()) return picture;
  picture.image.fill(Qt::transparent);
  {
    QPainter painter(&picture.image);
    QtCanvas canvas(painter, {0, 0, frame.width, frame.height});
    draw(canvas);
  }
  return picture;
}

QMimeData* clipboardMimeData(const TClipboardPicture& picture) {
  auto* data = new QMimeData;
  data->setData("image/emf", bytesOf(picture.emf));
  if (!picture.svg.empty()) data->setData("image/svg+xml", bytesOf(picture.svg));
  if (!picture.image.isNull()) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.image.save(&buffer, "PNG");
    data->setData("image/png", png);
    data->setImageData(picture.image);
  }
  return data;
}

void putOnClipboard(const TClipboardPicture& picture) {
  if (QClipboard* clipboard = QGuiApplication::clipboard())
    clipboard->setMimeData(clipboardMimeData(picture));
}

}  // namespace plavesk
