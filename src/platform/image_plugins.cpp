#include "platform/image_plugins.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

namespace vitrandel::platform {

ImagePluginWarmUp::ImagePluginWarmUp()
    : thread_([] {
          // A picture given without its format, as the style gives its own.
          QImage pixel(1, 1, QImage::Format_RGB32);
          pixel.fill(Qt::white);
          QByteArray png;
          QBuffer out(&png);
          out.open(QIODevice::WriteOnly);
          pixel.save(&out, "PNG");
          QBuffer in(&png);
          in.open(QIODevice::ReadOnly);
          QImageReader(&in).read();
      }) {}

ImagePluginWarmUp::~ImagePluginWarmUp() { thread_.join(); }

} // namespace vitrandel::platform
