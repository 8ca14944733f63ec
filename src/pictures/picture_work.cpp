#include "pictures/picture_work.h"

#include <QFile>
#include <QImageReader>

#include "pictures/picture_format.h"
#include "platform/metafile.h"
#include "platform/pictures.h"

namespace vitrandel::pictures {
namespace {

using protocol::Format;

bool isMetafile(Format format) { return format == Format::Wmf || format == Format::Emf; }

QImage drawMetafile(const QString& path, const platform::PictureRequest& request) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > platform::metafile::kMaxFileBytes)
        return {};
    return platform::renderMetafile(file.read(platform::metafile::kMaxFileBytes), request);
}

// Browsers turn a photo as its camera noted, and the web page's frame must turn with it.
bool turnedByCamera(const QString& path, Format format) {
    if (format != Format::Jpeg)
        return false;
    QImageReader reader(path, "jpeg");
    return reader.transformation() & QImageIOHandler::TransformationRotate90;
}

} // namespace

protocol::Reply answer(const protocol::Request& request) {
    protocol::Reply reply;
    reply.id = request.id;
    reply.format = formatOfFile(request.path);
    if (reply.format == Format::None)
        return reply;
    if (request.kind == protocol::Kind::Describe) {
        reply.naturalSize = platform::pictureSize(request.path);
        reply.turned = turnedByCamera(request.path, reply.format);
        reply.ok = !reply.naturalSize.isEmpty();
        return reply;
    }
    reply.image = isMetafile(reply.format) ? drawMetafile(request.path, request.size)
                                           : platform::loadPicture(request.path, request.size);
    if (!protocol::fitsRequest(reply.image.size(), request.size))
        reply.image = QImage();
    reply.ok = !reply.image.isNull();
    return reply;
}

} // namespace vitrandel::pictures
