// Save picture: the plan view's picture as a PNG file, or as an SVG file drawn by the same
// painting code through QSvgGenerator: lines, filled fringe polygons and texts as SVG elements,
// no raster. The format follows the extension of the name (any case); a name without one gets
// the extension of the file chooser's filter before the chooser asks about overwriting.
#pragma once

#include <functional>
#include <string>

#include "analysis/ExportResult.h"

class QImage;
class QPaintDevice;
class QSize;
class QString;

namespace tavrin {

enum class PictureFormat { png, svg };

// By the name's extension: ".svg" in any case is SVG, anything else PNG.
PictureFormat PictureFormatOf(const std::string& path);

// CannotCreate also for an empty picture (errno then says nothing).
ExportResult WritePng(const QImage& picture, const std::string& path);
// A picture of the given size in pixels, drawn by draw on the SVG device it is handed.
ExportResult WriteSvg(const std::string& path, const QSize& size, const QString& title,
                      const std::function<void(QPaintDevice&)>& draw);

}  // namespace tavrin
