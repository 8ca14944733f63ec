// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/output_folder.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace vitrandel::platform {
namespace {

constexpr int kCopyChunk = 64 * 1024;

bool failWith(int* errnum, int value) {
    if (errnum)
        *errnum = value;
    return false;
}

bool writeAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

std::optional<OutputFolder> OutputFolder::open(const QString& path, int* errnum) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        failWith(errnum, errno);
        return std::nullopt;
    }
    return OutputFolder(fd, path);
}

OutputFolder::OutputFolder(OutputFolder&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

OutputFolder& OutputFolder::operator=(OutputFolder&& other) noexcept {
    std::swap(fd_, other.fd_);
    std::swap(path_, other.path_);
    return *this;
}

OutputFolder::~OutputFolder() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::optional<OutputFolder> OutputFolder::subfolder(const QString& name, int* errnum) const {
    const QByteArray encoded = QFile::encodeName(name);
    if (::mkdirat(fd_, encoded.constData(), 0777) != 0 && errno != EEXIST) {
        failWith(errnum, errno);
        return std::nullopt;
    }
    const int fd = ::openat(fd_, encoded.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        // A link to a folder gives ENOTDIR on some systems; it is a link all the same.
        struct stat st {};
        const bool link = ::fstatat(fd_, encoded.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
        failWith(errnum, link ? ELOOP : errno);
        return std::nullopt;
    }
    return OutputFolder(fd, filePath(name));
}

template <typename Fill>
bool OutputFolder::replace(const QString& name, Fill fill, int* errnum) const {
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
        temp = ".vitrandel-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        fd = ::openat(fd_, temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return failWith(errnum, errno);
    }
    if (fd < 0)
        return failWith(errnum, EEXIST);
    int error = fill(fd);
    if (error == 0 && ::close(fd) != 0)
        error = errno;
    else if (error != 0)
        ::close(fd);
    // rename() puts the file where a link stood; it never follows one.
    if (error == 0 && ::renameat(fd_, temp.constData(), fd_, QFile::encodeName(name).constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlinkat(fd_, temp.constData(), 0);
        return failWith(errnum, error);
    }
    return true;
}

bool OutputFolder::write(const QString& name, QByteArrayView bytes, int* errnum) const {
    return replace(name, [&](int fd) { return writeAll(fd, bytes.data(), bytes.size()) ? 0 : errno; }, errnum);
}

bool OutputFolder::copy(const QString& name, const QString& source, qint64 maxBytes, int* errnum) const {
    // Non-blocking, so that a pipe put in the picture's place cannot hang us.
    const int in = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (in < 0)
        return failWith(errnum, errno);
    struct stat st {};
    int error = ::fstat(in, &st) != 0 ? errno : !S_ISREG(st.st_mode) ? EINVAL : st.st_size > maxBytes ? EFBIG : 0;
    if (error == 0) {
        error = replace(name, [&](int out) {
            char buffer[kCopyChunk];
            qint64 total = 0;
            for (;;) {
                const ssize_t n = ::read(in, buffer, sizeof buffer);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0)
                    return errno;
                if (n == 0)
                    return 0;
                total += n;
                // The file may grow while it is copied.
                if (total > maxBytes)
                    return EFBIG;
                if (!writeAll(out, buffer, n))
                    return errno;
            }
        }, errnum) ? 0 : (errnum ? *errnum : EIO);
    }
    ::close(in);
    return error == 0 || failWith(errnum, error);
}

QString OutputFolder::filePath(const QString& name) const {
    return path_.endsWith(u'/') ? path_ + name : path_ + u'/' + name;
}

bool somethingAt(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

} // namespace vitrandel::platform
