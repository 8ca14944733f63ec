// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

class QIODevice;

#include "pictures/picture_request.h"

// What passes between the program and its picture process, over the
// process's standard input and output. Both sides include this header; the
// program trusts nothing the process says beyond what a request allows, since
// a process that decoded a stranger's bytes may say anything.
namespace vitrandel::pictures::protocol {

enum class Kind : std::uint8_t {
    // The picture's pixels, as much as the request asks for.
    Draw = 0,
    // Only its format and natural size, read from its header where that tells.
    Describe = 1,
    // Drawn as for Draw, handed back as a PNG file's bytes: the program
    // writes pictures browsers cannot show as PNG without an encoder of its own.
    Png = 2,
    // The file's own bytes, for a copy: the program does not read the picture files.
    Bytes = 3,
    // The picture being drawn under this id is not wanted any more: the
    // process stops reading its file and answers without a picture. Sent
    // only while that picture is being drawn, and never answered itself.
    Cancel = 4,
};

// The formats a description may name. Anything else is not decoded.
enum class Format : std::uint8_t { None = 0, Jpeg, Gif, Png, Bmp, Ico, Cur, Wmf, Emf };

QByteArray formatName(Format format);
Format formatFromName(const QByteArray& name);

struct Request {
    std::uint32_t id = 0;
    Kind kind = Kind::Draw;
    QString path;
    PictureRequest size;
};

struct Reply {
    std::uint32_t id = 0;
    bool ok = false;
    Format format = Format::None;
    QSize naturalSize;
    // Browsers turn a photo as its camera noted: its shown size is the natural one transposed.
    bool turned = false;
    // Null but for Draw, and for a picture that cannot be drawn.
    QImage image;
    // Empty but for Png and Bytes.
    QByteArray bytes;
    // What the drawing left out, or why there is none, in a line for the
    // program's log; empty when all was drawn.
    QString note;
};

// A path longer than this names no picture on any disc.
constexpr std::uint32_t kMaxPathBytes = 16 * 1024;
// Larger than any picture asked for: a side of 16384 pixels is over four
// metres at 96 dots per inch.
constexpr int kMaxSide = 16384;
constexpr std::int64_t kMaxImagePixels = std::int64_t(8192) * 8192;
// More than any note the process writes.
constexpr std::uint32_t kMaxNoteBytes = 1024;
// No picture file the program reads is larger.
constexpr std::uint32_t kMaxBytes = 256u * 1024 * 1024;

QByteArray encodeRequest(const Request& request);
QByteArray encodeCancel(std::uint32_t id);

// The process's side: blocking reads and writes on its standard streams.
// Nothing when the input has ended or holds no request (the process then ends).
std::optional<Request> readRequest(int fd);
bool writeReply(int fd, const Reply& reply);
// Whether anything waits on the process's input. The program writes no
// request while one is being drawn, so what waits then is that picture's
// cancellation (or the end of the input: nobody is left to show it).
bool inputWaiting(int fd);

// The program's side: takes a reply as its bytes arrive, the pixels read
// straight into the image that will be shown.
class ReplyReader {
public:
    // A whole reply when one has arrived; nothing while it is incomplete.
    // `bad` is set when the bytes can never become a reply: the process is
    // then not to be believed any more.
    std::optional<Reply> read(QIODevice& device, bool& bad);
    void reset() { *this = ReplyReader(); }

private:
    QByteArray header_;
    std::optional<Reply> reply_;
    qsizetype pixelBytesRead_ = 0;
    qsizetype blobBytes_ = 0;
    QByteArray note_;
    qsizetype noteBytes_ = 0;
};

// Whether a reply's picture is one the request could have produced: exactly
// the stretched size, or no more than the clip.
bool fitsRequest(QSize imageSize, const PictureRequest& request);

} // namespace vitrandel::pictures::protocol
