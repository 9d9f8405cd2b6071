// Save picture: a picture of the view as a PNG file, or as an SVG file (by the extension ".svg",
// any case) that embeds the same picture as PNG data at its pixel size: a raster inside SVG,
// since a fringe picture of 10^5 triangles drawn as vector paths would be tens of megabytes.
#pragma once

#include <string>

#include "analysis/ExportResult.h"

class QImage;

namespace tavrin {

// CannotCreate also for an empty picture (errno then says nothing).
ExportResult WritePicture(const QImage& picture, const std::string& path);

}  // namespace tavrin
