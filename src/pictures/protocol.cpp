// SPDX-License-Identifier: GPL-2.0-or-later
#include "pictures/protocol.h"

#include <QIODevice>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace vitrandel::pictures::protocol {
namespace {

constexpr char kRequestMagic[] = "VPQ1";
constexpr char kReplyMagic[] = "VPR1";
// magic, id, kind, mode, two spare bytes, width, height, path length
constexpr qsizetype kRequestHeaderBytes = 24;
// magic, id, ok, format, turned, a spare byte, natural width and height,
// image width and height, the bytes that follow the pixels, the note's bytes
constexpr qsizetype kReplyHeaderBytes = 36;

enum Mode : std::uint8_t { Natural = 0, Clip = 1, Stretch = 2 };

const char* const kFormatNames[] = {"", "jpeg", "gif", "png", "bmp", "ico", "cur", "wmf", "emf"};

void put32(QByteArray& out, qsizetype at, std::uint32_t v) { qToLittleEndian<quint32>(v, out.data() + at); }
std::uint32_t get32(const char* at) { return qFromLittleEndian<quint32>(at); }

// Whole transfers over a pipe, resumed after a signal or a short count.
template <typename Data, typename Call>
bool transferAll(int fd, Data* data, qsizetype size, Call call) {
    while (size > 0) {
        const ssize_t n = call(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

bool readAll(int fd, char* data, qsizetype size) { return transferAll(fd, data, size, ::read); }
bool writeAll(int fd, const char* data, qsizetype size) { return transferAll(fd, data, size, ::write); }

bool sideAllowed(std::uint32_t side) { return side >= 1 && side <= std::uint32_t(kMaxSide); }

} // namespace

QByteArray formatName(Format format) {
    const auto i = std::size_t(format);
    return i < std::size(kFormatNames) ? QByteArray(kFormatNames[i]) : QByteArray();
}

Format formatFromName(const QByteArray& name) {
    for (std::size_t i = 1; i < std::size(kFormatNames); ++i)
        if (name == kFormatNames[i])
            return Format(i);
    return Format::None;
}

bool fitsRequest(QSize size, const PictureRequest& request) {
    if (size.isEmpty() || size.width() > kMaxSide || size.height() > kMaxSide ||
        std::int64_t(size.width()) * size.height() > kMaxImagePixels)
        return false;
    if (!request.stretchTo.isEmpty())
        return size == request.stretchTo;
    if (!request.naturalClip.isEmpty())
        return size.width() <= request.naturalClip.width() && size.height() <= request.naturalClip.height();
    return true;
}

QByteArray encodeRequest(const Request& request) {
    const QByteArray path = request.path.toUtf8();
    const PictureRequest& r = request.size;
    const Mode mode = !r.stretchTo.isEmpty() ? Stretch : !r.naturalClip.isEmpty() ? Clip : Natural;
    const QSize size = mode == Stretch ? r.stretchTo : mode == Clip ? r.naturalClip : QSize(0, 0);
    QByteArray out(kRequestHeaderBytes, '\0');
    std::memcpy(out.data(), kRequestMagic, 4);
    put32(out, 4, request.id);
    out[8] = char(request.kind);
    out[9] = char(mode);
    put32(out, 12, std::uint32_t(size.width()));
    put32(out, 16, std::uint32_t(size.height()));
    put32(out, 20, std::uint32_t(path.size()));
    return out + path;
}

QByteArray encodeCancel(std::uint32_t id) { return encodeRequest({id, Kind::Cancel, {}, {}}); }

bool inputWaiting(int fd) {
    pollfd input{fd, POLLIN, 0};
    return ::poll(&input, 1, 0) > 0;
}

std::optional<Request> readRequest(int fd) {
    char head[kRequestHeaderBytes];
    if (!readAll(fd, head, kRequestHeaderBytes) || std::memcmp(head, kRequestMagic, 4) != 0)
        return std::nullopt;
    const std::uint32_t pathBytes = get32(head + 20);
    const auto kind = std::uint8_t(head[8]);
    const auto mode = std::uint8_t(head[9]);
    const std::uint32_t width = get32(head + 12), height = get32(head + 16);
    if (pathBytes > kMaxPathBytes || kind > std::uint8_t(Kind::Cancel) || mode > Stretch)
        return std::nullopt;
    QByteArray path(qsizetype(pathBytes), '\0');
    if (!readAll(fd, path.data(), path.size()))
        return std::nullopt;
    Request request;
    request.id = get32(head + 4);
    request.kind = Kind(kind);
    request.path = QString::fromUtf8(path);
    if (mode != Natural) {
        if (!sideAllowed(width) || !sideAllowed(height))
            return std::nullopt;
        (mode == Stretch ? request.size.stretchTo : request.size.naturalClip) = QSize(int(width), int(height));
    }
    return request;
}

bool writeReply(int fd, const Reply& reply) {
    const QImage pixels = reply.image.isNull() ? QImage()
                                               : reply.image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QByteArray head(kReplyHeaderBytes, '\0');
    std::memcpy(head.data(), kReplyMagic, 4);
    put32(head, 4, reply.id);
    head[8] = char(reply.ok);
    head[9] = char(reply.format);
    head[10] = char(reply.turned);
    put32(head, 12, std::uint32_t(std::max(0, reply.naturalSize.width())));
    put32(head, 16, std::uint32_t(std::max(0, reply.naturalSize.height())));
    put32(head, 20, std::uint32_t(pixels.width()));
    put32(head, 24, std::uint32_t(pixels.height()));
    put32(head, 28, std::uint32_t(reply.bytes.size()));
    const QByteArray note = reply.note.toUtf8().left(kMaxNoteBytes);
    put32(head, 32, std::uint32_t(note.size()));
    if (!writeAll(fd, head.constData(), head.size()))
        return false;
    const qsizetype rowBytes = qsizetype(pixels.width()) * 4;
    // Rows of a 32-bit image have no padding: one write.
    if (pixels.bytesPerLine() != rowBytes ||
        !writeAll(fd, reinterpret_cast<const char*>(pixels.constBits()), rowBytes * pixels.height()))
        return false;
    return writeAll(fd, reply.bytes.constData(), reply.bytes.size()) && writeAll(fd, note.constData(), note.size());
}

std::optional<Reply> ReplyReader::read(QIODevice& device, bool& bad) {
    if (!reply_) {
        header_ += device.read(kReplyHeaderBytes - header_.size());
        if (header_.size() < kReplyHeaderBytes)
            return std::nullopt;
        const char* h = header_.constData();
        const std::uint32_t width = get32(h + 20), height = get32(h + 24);
        const std::uint32_t naturalWidth = get32(h + 12), naturalHeight = get32(h + 16);
        const bool hasImage = width != 0 || height != 0;
        const std::uint32_t blob = get32(h + 28);
        const std::uint32_t note = get32(h + 32);
        if (std::memcmp(h, kReplyMagic, 4) != 0 || blob > kMaxBytes || note > kMaxNoteBytes || std::uint8_t(h[9]) >= std::size(kFormatNames) ||
            naturalWidth > std::uint32_t(kMaxSide) * 64 || naturalHeight > std::uint32_t(kMaxSide) * 64 ||
            (hasImage && (!sideAllowed(width) || !sideAllowed(height) ||
                          std::int64_t(width) * height > kMaxImagePixels))) {
            bad = true;
            return std::nullopt;
        }
        Reply reply;
        reply.id = get32(h + 4);
        reply.ok = h[8] != 0;
        reply.format = Format(std::uint8_t(h[9]));
        reply.turned = h[10] != 0;
        reply.naturalSize = QSize(int(naturalWidth), int(naturalHeight));
        if (hasImage) {
            reply.image = QImage(int(width), int(height), QImage::Format_ARGB32_Premultiplied);
            if (reply.image.isNull()) {
                bad = true;
                return std::nullopt;
            }
        }
        reply.bytes.resize(qsizetype(blob));
        reply_ = std::move(reply);
        pixelBytesRead_ = 0;
        blobBytes_ = 0;
        note_.clear();
        note_.reserve(qsizetype(note));
        noteBytes_ = qsizetype(note);
    }
    QImage& image = reply_->image;
    const qsizetype total = image.isNull() ? 0 : image.sizeInBytes();
    while (pixelBytesRead_ < total) {
        const qint64 n = device.read(reinterpret_cast<char*>(image.bits()) + pixelBytesRead_, total - pixelBytesRead_);
        if (n < 0) {
            bad = true;
            return std::nullopt;
        }
        if (n == 0)
            return std::nullopt;
        pixelBytesRead_ += n;
    }
    QByteArray& blob = reply_->bytes;
    while (blobBytes_ < blob.size()) {
        const qint64 n = device.read(blob.data() + blobBytes_, blob.size() - blobBytes_);
        if (n < 0) {
            bad = true;
            return std::nullopt;
        }
        if (n == 0)
            return std::nullopt;
        blobBytes_ += n;
    }
    if (note_.size() < noteBytes_) {
        note_ += device.read(noteBytes_ - note_.size());
        if (note_.size() < noteBytes_)
            return std::nullopt;
    }
    reply_->note = QString::fromUtf8(note_);
    std::optional<Reply> done = std::move(reply_);
    reset();
    return done;
}

} // namespace vitrandel::pictures::protocol
