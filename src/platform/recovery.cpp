// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/recovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
#include <utility>

#include "model/file_store.h"
#include "model/listing_writer.h"
#include "model/project.h"
#include "platform/listing_io.h"
#include "platform/text.h"

namespace vitrandel::platform {
namespace {

const char* const kMagic = "VITRANDEL-RECUPERACION 1";
const char* const kCopySuffix = ".recuperacion";
const char* const kLockSuffix = ".bloqueo";

QString lockPathFor(const QString& copyPath) {
    return copyPath.left(copyPath.size() - int(std::strlen(kCopySuffix))) +
           QLatin1String(kLockSuffix);
}

// Only this user may read the copies: a listing holds its password.
void makePrivateFolder(const QString& folder) {
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Without this a power cut can lose the rename that put the copy in place.
void syncFolder(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// -1 when another process (or another editor of this one) holds the lock.
int takeLock(const QString& lockPath) {
    const int fd =
        ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

QString newCopyPath() {
    static std::atomic<int> editors{0};
    return QDir(recoveryFolder())
        .filePath(QStringLiteral("%1-%2-%3%4")
                      .arg(QCoreApplication::applicationPid())
                      .arg(QDateTime::currentMSecsSinceEpoch())
                      .arg(editors++)
                      .arg(QLatin1String(kCopySuffix)));
}

std::string line(const char* key, const QString& value) {
    return std::string(key) + '=' + value.toUtf8().toPercentEncoding().toStdString() + '\n';
}

} // namespace

QString recoveryFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // XDG's base directory rules ignore a relative path.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/vitrandel/recuperacion");
}

QString setAsideFolder() {
    return recoveryFolder() + QStringLiteral("/apartadas");
}

RecoverySnapshot unsavedWork() {
    return [p = project(), recorded = workingDirToRecord(), path = exchange().fileDlgResult,
            folder = ss(QDir::currentPath()), when = QDateTime::currentDateTimeUtc()]() {
        SerializeOutcome out = serializeListing(p, recorded);
        if (!out.ok())
            return std::optional<RecoveryContents>();
        return std::optional<RecoveryContents>(
            RecoveryContents{std::move(out.bytes), QString::fromStdString(path),
                             QString::fromStdString(folder), when});
    };
}

std::string encodeRecovery(const RecoveryContents& c) {
    return std::string(kMagic) + '\n' + line("ruta", c.listingPath) +
           line("carpeta", c.workingFolder) +
           line("fecha", c.changedAt.toUTC().toString(Qt::ISODateWithMs)) + '\n' + c.listing;
}

std::optional<RecoveryContents> decodeRecovery(const std::string& bytes) {
    std::size_t at = 0;
    auto next = [&]() -> std::optional<std::string> {
        const std::size_t end = bytes.find('\n', at);
        if (end == std::string::npos)
            return std::nullopt;
        std::string text = bytes.substr(at, end - at);
        at = end + 1;
        return text;
    };
    auto value = [&](const char* key) -> std::optional<QString> {
        const auto text = next();
        const std::string prefix = std::string(key) + '=';
        if (!text || text->rfind(prefix, 0) != 0)
            return std::nullopt;
        return QString::fromUtf8(QByteArray::fromPercentEncoding(
            QByteArray::fromStdString(text->substr(prefix.size()))));
    };
    if (next() != kMagic)
        return std::nullopt;
    RecoveryContents c;
    const auto path = value("ruta");
    const auto folder = value("carpeta");
    const auto when = value("fecha");
    if (!path || !folder || !when || next() != "")
        return std::nullopt;
    c.listingPath = *path;
    c.workingFolder = *folder;
    c.changedAt = QDateTime::fromString(*when, Qt::ISODateWithMs);
    if (!c.changedAt.isValid())
        return std::nullopt;
    c.listing = bytes.substr(at);
    return c;
}

// --- One editor's copy, written off the user-interface thread ---------------

class RecoveryWriter {
public:
    explicit RecoveryWriter(QString copyPath)
        : path_(std::move(copyPath)), lockPath_(lockPathFor(path_)) {
        makePrivateFolder(QFileInfo(path_).path());
        lockFd_ = takeLock(lockPath_);
        thread_ = std::thread([this] { run(); });
    }

    ~RecoveryWriter() {
        {
            const std::lock_guard<std::mutex> hold(mutex_);
            pending_ = Job{};
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
        // The copy is gone before the lock: no other editor may take a copy
        // that is still ours.
        ::unlink(QFile::encodeName(lockPath_).constData());
        if (lockFd_ >= 0)
            ::close(lockFd_);
    }

    // A job not yet started is replaced: only the latest state matters.
    void write(RecoverySnapshot snapshot) { post(Job{std::move(snapshot)}); }
    void remove() { post(Job{}); }

    void waitUntilIdle() {
        std::unique_lock<std::mutex> hold(mutex_);
        wake_.wait(hold, [this] { return !pending_ && !busy_; });
    }

    const QString& path() const { return path_; }

private:
    struct Job {
        RecoverySnapshot snapshot; // none: remove the copy
    };

    void post(Job job) {
        {
            const std::lock_guard<std::mutex> hold(mutex_);
            pending_ = std::move(job);
        }
        wake_.notify_all();
    }

    void run() {
        std::unique_lock<std::mutex> hold(mutex_);
        for (;;) {
            wake_.wait(hold, [this] { return pending_ || stop_; });
            if (!pending_)
                return;
            Job job = std::move(*pending_);
            pending_.reset();
            busy_ = true;
            hold.unlock();
            perform(job);
            hold.lock();
            busy_ = false;
            wake_.notify_all();
            if (stop_ && !pending_)
                return;
        }
    }

    void perform(const Job& job) {
        const std::string path = QFile::encodeName(path_).toStdString();
        if (job.snapshot) {
            const std::optional<RecoveryContents> contents = job.snapshot();
            FileError error;
            // A failed write leaves the previous copy, which is the best there is.
            if (contents && writeFileAtomically(path, encodeRecovery(*contents), &error))
                syncFolder(QFileInfo(path_).path());
        } else {
            ::unlink(path.c_str());
        }
    }

    QString path_;
    QString lockPath_;
    int lockFd_ = -1;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Job> pending_;
    bool busy_ = false;
    bool stop_ = false;
    std::thread thread_;
};

RecoveryKeeper::RecoveryKeeper(Take take, QObject* parent)
    : QObject(parent), take_(std::move(take)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::writeNow);
}

RecoveryKeeper::~RecoveryKeeper() = default;

void RecoveryKeeper::changed() {
    if (timer_.isActive())
        return; // the pending write takes the state as it is by then
    const auto since = std::chrono::steady_clock::now() - lastWrite_;
    const auto wait =
        std::chrono::duration_cast<std::chrono::milliseconds>(kRecoveryInterval - since);
    timer_.start(std::max(wait, std::chrono::milliseconds{0}));
}

void RecoveryKeeper::discard() {
    timer_.stop();
    if (writer_)
        writer_->remove();
}

void RecoveryKeeper::writeNow() {
    if (!writer_)
        writer_ = std::make_unique<RecoveryWriter>(newCopyPath());
    writer_->write(take_());
    lastWrite_ = std::chrono::steady_clock::now();
}

void RecoveryKeeper::flush() {
    if (timer_.isActive()) {
        timer_.stop();
        writeNow();
    }
    if (writer_)
        writer_->waitUntilIdle();
}

QString RecoveryKeeper::copyPath() const {
    return writer_ ? writer_->path() : QString();
}

// --- Copies left behind -------------------------------------------------------

AbandonedCopy::AbandonedCopy(QString path, RecoveryContents contents, int lockFd)
    : path_(std::move(path)), contents_(std::move(contents)), lockFd_(lockFd) {}

AbandonedCopy::AbandonedCopy(AbandonedCopy&& other) noexcept
    : path_(std::move(other.path_)), contents_(std::move(other.contents_)),
      lockFd_(std::exchange(other.lockFd_, -1)) {}

AbandonedCopy::~AbandonedCopy() {
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

void AbandonedCopy::release(bool removeCopy) {
    if (lockFd_ < 0)
        return;
    if (removeCopy)
        QFile::remove(path_);
    QFile::remove(lockPathFor(path_));
    ::close(lockFd_);
    lockFd_ = -1;
}

void AbandonedCopy::remove() {
    release(true);
}

void AbandonedCopy::setAside() {
    if (lockFd_ < 0)
        return;
    makePrivateFolder(setAsideFolder());
    const QString aside = QDir(setAsideFolder()).filePath(QFileInfo(path_).fileName());
    QFile::remove(aside);
    if (QFile::rename(path_, aside)) {
        // The week counts from now, not from the last change.
        QFile file(aside);
        if (file.open(QIODevice::ReadWrite))
            file.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
    }
    release(false);
}

std::vector<AbandonedCopy> claimAbandonedCopies() {
    const QDateTime expired = QDateTime::currentDateTimeUtc().addSecs(
        -std::chrono::duration_cast<std::chrono::seconds>(kSetAsideKept).count());
    for (const QFileInfo& old : QDir(setAsideFolder()).entryInfoList(QDir::Files))
        if (old.lastModified().toUTC() < expired)
            QFile::remove(old.filePath());

    QDir folder(recoveryFolder());
    std::vector<AbandonedCopy> found;
    const auto copies = folder.entryInfoList({QLatin1Char('*') + QLatin1String(kCopySuffix)},
                                             QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& copy : copies) {
        const int fd = takeLock(lockPathFor(copy.filePath()));
        if (fd < 0)
            continue; // its editor is still running
        // What a write cut short left behind.
        for (const QString& temp :
             folder.entryList({copy.fileName() + QStringLiteral(".*")}, QDir::Files))
            folder.remove(temp);
        FileError error;
        const auto bytes = readFileBytes(QFile::encodeName(copy.filePath()).toStdString(), &error);
        std::optional<RecoveryContents> contents = bytes ? decodeRecovery(*bytes) : std::nullopt;
        AbandonedCopy claimed(copy.filePath(), contents.value_or(RecoveryContents{}), fd);
        if (!bytes)
            claimed.remove(); // gone meanwhile
        else if (!contents)
            claimed.setAside(); // unreadable, but never thrown away unseen
        else
            found.push_back(std::move(claimed));
    }
    // Locks of editors that ended without a copy.
    for (const QFileInfo& lock :
         folder.entryInfoList({QLatin1Char('*') + QLatin1String(kLockSuffix)}, QDir::Files)) {
        const QString base =
            lock.filePath().left(lock.filePath().size() - int(std::strlen(kLockSuffix)));
        if (QFileInfo::exists(base + QLatin1String(kCopySuffix)))
            continue;
        const int fd = takeLock(lock.filePath());
        if (fd >= 0) {
            QFile::remove(lock.filePath());
            ::close(fd);
        }
    }
    return found;
}

} // namespace vitrandel::platform
