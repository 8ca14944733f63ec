// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/file_store.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

namespace vitrandel {
namespace {

std::optional<WriteFaults> g_faults;

bool fail(FileError* error, int errnum) {
    if (error) {
        error->errnum = errnum;
        error->message = std::strerror(errnum);
    }
    return false;
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    void reset() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

std::string resolveTarget(const std::string& path) {
    // Saving through a symbolic link replaces the file it points to, not the link.
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        auto resolved = std::filesystem::canonical(path, ec);
        if (!ec)
            return resolved.string();
    }
    return path;
}

// Non-blocking, so that opening a named pipe cannot hang; regular files ignore it.
// Anything but a regular file is refused.
Fd openRegularFile(const std::string& path, FileError* error, struct stat& st) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        fail(error, errno);
        return Fd(-1);
    }
    if (::fstat(fd.get(), &st) != 0) {
        fail(error, errno);
        return Fd(-1);
    }
    if (!S_ISREG(st.st_mode)) {
        fail(error, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        return Fd(-1);
    }
    return Fd(fd.release());
}

} // namespace

std::optional<std::string> readFileBytes(const std::string& path, FileError* error,
                                         long long maxBytes) {
    struct stat st {};
    Fd fd = openRegularFile(path, error, st);
    if (fd.get() < 0)
        return std::nullopt;
    if (st.st_size > maxBytes) {
        fail(error, EFBIG);
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(error, errno);
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (static_cast<long long>(bytes.size()) > maxBytes) { // grew while we read
            fail(error, EFBIG);
            return std::nullopt;
        }
    }
    return bytes;
}

bool writeFileAtomically(const std::string& requested, std::string_view bytes, FileError* error) {
    const std::string path = resolveTarget(requested);
    const WriteFaults faults = g_faults.value_or(WriteFaults{});

    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return fail(error, EISDIR);
    // rename() would replace a read-only file; the user meant it not to change.
    if (exists && ::access(path.c_str(), W_OK) != 0)
        return fail(error, errno);

    std::string temp = path + ".XXXXXX";
    if (faults.failCreate)
        return fail(error, EACCES);
    Fd fd(::mkstemp(temp.data()));
    if (fd.get() < 0)
        return fail(error, errno);

    auto abandon = [&](int errnum) {
        fd.reset();
        ::unlink(temp.c_str());
        return fail(error, errnum);
    };

    const mode_t mask = ::umask(0);
    ::umask(mask);
    const mode_t mode = exists ? (existing.st_mode & 07777) : (0666 & ~mask);
    if (::fchmod(fd.get(), mode) != 0)
        return abandon(errno);

    std::size_t written = 0;
    while (written < bytes.size()) {
        std::size_t chunk = bytes.size() - written;
        if (faults.failAfterBytes >= 0) {
            const auto allowed = static_cast<long long>(faults.failAfterBytes) - static_cast<long long>(written);
            if (allowed <= 0)
                return abandon(ENOSPC);
            chunk = std::min<std::size_t>(chunk, static_cast<std::size_t>(allowed));
        }
        const ssize_t n = ::write(fd.get(), bytes.data() + written, chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return abandon(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (faults.failSync || ::fsync(fd.get()) != 0)
        return abandon(faults.failSync ? EIO : errno);
    if (faults.failClose || ::close(fd.release()) != 0) {
        ::unlink(temp.c_str());
        return fail(error, faults.failClose ? EIO : errno);
    }
    if (faults.failRename || ::rename(temp.c_str(), path.c_str()) != 0) {
        const int errnum = faults.failRename ? EXDEV : errno;
        ::unlink(temp.c_str());
        return fail(error, errnum);
    }
    return true;
}

std::string readFileStart(const std::string& path, std::size_t maxBytes) {
    struct stat st {};
    Fd fd = openRegularFile(path, nullptr, st);
    std::string bytes;
    if (fd.get() < 0)
        return bytes;
    bytes.resize(maxBytes);
    std::size_t got = 0;
    while (got < maxBytes) {
        const ssize_t n = ::read(fd.get(), bytes.data() + got, maxBytes - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

void setWriteFaultsForTesting(std::optional<WriteFaults> faults) { g_faults = faults; }

} // namespace vitrandel
