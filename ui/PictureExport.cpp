#include "ui/PictureExport.h"

#include <QFile>
#include <QImage>
#include <QSize>
#include <QString>
#include <QSvgGenerator>

namespace tavrin {

PictureFormat PictureFormatOf(const std::string& path) {
  return QString::fromStdString(path).endsWith(".svg", Qt::CaseInsensitive) ? PictureFormat::svg
                                                                            : PictureFormat::png;
}

ExportResult WritePng(const QImage& picture, const std::string& path) {
  if (picture.isNull()) return ExportResult::CannotCreate;
  return picture.save(QString::fromStdString(path), "PNG") ? ExportResult::Written
                                                           : ExportResult::CannotCreate;
}

ExportResult WriteSvg(const std::string& path, const QSize& size, const QString& title,
                      const std::function<void(QPaintDevice&)>& draw) {
  if (size.isEmpty()) return ExportResult::CannotCreate;
  // The generator says nothing when it cannot write: open the file first to know.
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return ExportResult::CannotCreate;
  {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(96);
    svg.setTitle(title);
    draw(svg);
  }
  return file.error() == QFileDevice::NoError && file.flush() ? ExportResult::Written
                                                              : ExportResult::CannotCreate;
}

}  // namespace tavrin
