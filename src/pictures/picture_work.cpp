// SPDX-License-Identifier: GPL-2.0-or-later
#include "pictures/picture_work.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include "pictures/decoding.h"

namespace vitrandel::pictures {
namespace {

using protocol::Format;

// Browsers turn a photo as its camera noted, and the web page's frame must turn with it.
bool turnedByCamera(const QString& path, Format format) {
    if (format != Format::Jpeg)
        return false;
    QImageReader reader(path, "jpeg");
    return reader.transformation() & QImageIOHandler::TransformationRotate90;
}

} // namespace

protocol::Reply answer(const protocol::Request& request, Cancelled cancelled) {
    protocol::Reply reply;
    reply.id = request.id;
    // A bitmap without its file header is still a bitmap to the program.
    const QByteArray format = pictureFormat(request.path);
    reply.format = protocol::formatFromName(format == "dib" ? QByteArrayLiteral("bmp") : format);
    if (reply.format == Format::None)
        return reply;
    if (request.kind == protocol::Kind::Describe) {
        reply.naturalSize = decodedSize(request.path);
        reply.turned = turnedByCamera(request.path, reply.format);
        reply.ok = !reply.naturalSize.isEmpty();
        return reply;
    }
    if (request.kind == protocol::Kind::Bytes) {
        QFile file(request.path);
        if (file.open(QIODevice::ReadOnly) && file.size() <= protocol::kMaxBytes)
            reply.bytes = file.read(protocol::kMaxBytes);
        reply.ok = !reply.bytes.isEmpty();
        return reply;
    }
    QImage image = decodePicture(request.path, request.size, &reply.note, cancelled);
    if (!protocol::fitsRequest(image.size(), request.size))
        return reply;
    if (request.kind == protocol::Kind::Png) {
        QBuffer buffer(&reply.bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(image))
            reply.bytes.clear();
        reply.naturalSize = image.size();
        reply.ok = !reply.bytes.isEmpty();
        return reply;
    }
    reply.image = image;
    reply.ok = true;
    return reply;
}

} // namespace vitrandel::pictures
