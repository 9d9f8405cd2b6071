#include "ui/PictureExport.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>

namespace tavrin {

ExportResult WritePicture(const QImage& picture, const std::string& path) {
  if (picture.isNull()) return ExportResult::CannotCreate;
  const QString name = QString::fromStdString(path);
  if (!name.endsWith(".svg", Qt::CaseInsensitive))
    return picture.save(name, "PNG") ? ExportResult::Written : ExportResult::CannotCreate;
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!picture.save(&buffer, "PNG")) return ExportResult::CannotCreate;
  const QByteArray size = QStringLiteral("width=\"%1\" height=\"%2\"")
                              .arg(picture.width())
                              .arg(picture.height())
                              .toLatin1();
  QFile file(name);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return ExportResult::CannotCreate;
  file.write(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
      "version=\"1.1\" " +
      size + " viewBox=\"0 0 " + QByteArray::number(picture.width()) + " " +
      QByteArray::number(picture.height()) + "\">\n<image x=\"0\" y=\"0\" " + size +
      " xlink:href=\"data:image/png;base64,");
  file.write(png.toBase64());
  file.write("\"/>\n</svg>\n");
  return file.error() == QFileDevice::NoError && file.flush() ? ExportResult::Written
                                                              : ExportResult::CannotCreate;
}

}  // namespace tavrin
