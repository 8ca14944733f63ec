#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/pictures.h"

// Metafiles are drawn by vitrandel-picture, a short-lived helper installed
// beside the program: the libraries that read them are C code reading files
// from strangers' discs, and a file that crashes, hangs or leaks in them
// must cost one empty picture, not the program. The helper runs with limits
// on time and memory and hands back pixels.
namespace vitrandel::platform {

// A null image when the helper is missing, fails, overruns its limits or
// hands back anything but a picture of the size asked for.
QImage renderMetafileInHelper(const QString& path, const PictureRequest& request);

// By default the helper beside the running program. Tests and benchmarks,
// which run from elsewhere, name the one built with them.
void setPictureHelperPath(const QString& path);

// What passes between the program and the helper.
namespace helper {

struct Job {
    QString path;
    PictureRequest request;
};

QStringList arguments(const Job& job);
std::optional<Job> parseArguments(const QStringList& arguments);

// The picture's size and its premultiplied ARGB pixels, row after row.
QByteArray encodeImage(const QImage& image);
// Null unless the bytes hold a whole picture no larger than the request allows.
QImage decodeImage(const QByteArray& bytes, const PictureRequest& request);

} // namespace helper
} // namespace vitrandel::platform
