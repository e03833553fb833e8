// The picture of the print window's preview: grey surroundings, the white
// sheet with its shadow, rulers along its top and left edges, the
// printable area framed by a red dotted line with the layout drawn into it,
// and the two blue lines that follow the mouse.
#pragma once

#include <QImage>
#include <QPainter>
#include <optional>

#include "platform/core/raster_canvas.h"
#include "printing/print_preview.h"
#include "printing/print_sheet.h"
#include "view/render_settings.h"

namespace plavesk {

// The layout part: the printable area in preview pixels.
RasterImage renderPrintableArea(const TPreviewGeometry& geometry, const TPrintSource& source,
                                const TPrintOptions& options, const TRenderSettings& settings);

// Everything on `painter` over an area of width x height pixels; `mouse`
// is the pointer over the preview, if it is there.
void paintSheetPreview(QPainter& painter, int width, int height, const TPreviewGeometry& geometry,
                       const TPrinterPage& page, const RasterImage& printable,
                       std::optional<QPointF> mouse);

// RasterImage to QImage (RGB888).
QImage toQImage(const RasterImage& image);

}  // namespace plavesk
