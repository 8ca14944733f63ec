#include "pictures/picture_format.h"

#include <QFile>
#include <QtEndian>

#include "pictures/metafile.h"

namespace vitrandel::pictures {
namespace {

using protocol::Format;

bool startsWith(QByteArrayView head, QByteArrayView mark) { return head.startsWith(mark); }

// The sizes a bitmap's own header may have, from the first version to the last.
bool isBitmapHeader(QByteArrayView head) {
    if (head.size() < 4)
        return false;
    const quint32 size = qFromLittleEndian<quint32>(head.data());
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 || size == 124;
}

} // namespace

protocol::Format formatOfHead(QByteArrayView head, const QString& path) {
    if (startsWith(head, "\xFF\xD8\xFF"))
        return Format::Jpeg;
    if (startsWith(head, "GIF87a") || startsWith(head, "GIF89a"))
        return Format::Gif;
    if (startsWith(head, "\x89PNG\r\n\x1A\n"))
        return Format::Png;
    if (startsWith(head, "BM"))
        return Format::Bmp;
    if (startsWith(head, QByteArrayView("\0\0\1\0", 4)))
        return Format::Ico;
    if (startsWith(head, QByteArrayView("\0\0\2\0", 4)))
        return Format::Cur;
    switch (metafileKind(head)) {
    case MetafileKind::Wmf:
        return Format::Wmf;
    case MetafileKind::Emf:
        return Format::Emf;
    case MetafileKind::None:
        break;
    }
    if (path.endsWith(QStringLiteral(".dib"), Qt::CaseInsensitive) && isBitmapHeader(head))
        return Format::Bmp;
    return Format::None;
}

protocol::Format formatOfFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Format::None;
    return formatOfHead(file.read(kFormatHeadBytes), path);
}

} // namespace vitrandel::pictures
