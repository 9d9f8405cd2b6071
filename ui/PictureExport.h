// Save picture: a picture of the view as a PNG file, or as an SVG file (by the extension ".svg",
// any case) that embeds the same picture as PNG data at its pixel size: a raster inside SVG,
// since a fringe picture of 10^5 triangles drawn as vector paths would be tens of megabytes.
#pragma once

#include <string>

class QImage;

namespace tavrin {

// Returns 0 when written, 1 when the file cannot be written (errno says why where the system
// gave a reason) or the picture is empty.
int WritePicture(const QImage& picture, const std::string& path);

}  // namespace tavrin
