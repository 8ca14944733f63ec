// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

// A folder that an export writes into. Whatever a stranger left in it, links
// above all, is never written through: each file is made on a fresh
// temporary name in the real folder, with no link followed, and renamed
// over its name, which replaces a link found there instead of writing where
// it points; a link where a folder is expected is refused.
namespace vitrandel::platform {

class OutputFolder {
public:
    // The folder the user chose, which may itself be reached through a link.
    static std::optional<OutputFolder> open(const QString& path, int* errnum);

    OutputFolder(OutputFolder&& other) noexcept;
    OutputFolder& operator=(OutputFolder&& other) noexcept;
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;
    ~OutputFolder();

    // The folder `name` inside this one, made when missing; ELOOP when a
    // link stands there.
    std::optional<OutputFolder> subfolder(const QString& name, int* errnum) const;

    bool write(const QString& name, QByteArrayView bytes, int* errnum) const;
    // Copies an ordinary file a piece at a time; refuses one larger than
    // maxBytes (EFBIG) rather than filling the disc with it.
    bool copy(const QString& name, const QString& source, qint64 maxBytes, int* errnum) const;

    QString filePath(const QString& name) const;

private:
    OutputFolder(int fd, QString path) : fd_(fd), path_(std::move(path)) {}
    template <typename Fill>
    bool replace(const QString& name, Fill fill, int* errnum) const;

    int fd_ = -1;
    QString path_;
};

// Whether anything, a dangling link included, stands at `path`.
bool somethingAt(const QString& path);

} // namespace vitrandel::platform
