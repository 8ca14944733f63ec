// SPDX-License-Identifier: GPL-2.0-or-later
#include "discs/disc_library.h"

#include <QBuffer>
#include <QPointer>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QSettings>
#include <QThread>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>

#include "library/disc_library.h"
#include "pictures/picture_client.h"
#include "platform/file_helpers.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace vitrandel::discs {

using platform::existe_archivo;
using platform::existingPathIgnoringCase;
using platform::msgBox;
using platform::nativeRelativePath;
using platform::qs;
using platform::ss;
using platform::vbExclamation;
using platform::vbOKOnly;

namespace {

constexpr int kThumbnailSide = 256;
const char* const kRememberKey = "biblioteca/recordar_listados";

QSettings programSettings() { return QSettings(QStringLiteral("vitrandel"), QStringLiteral("vitrandel")); }

void tellLibraryMovedAside(const QString& path, const QString& aside) {
    msgBox(QStringLiteral("La biblioteca de discos «%1» estaba dañada. Se ha apartado como «%2» y se "
                          "empieza una biblioteca nueva.")
               .arg(path, aside),
           vbOKOnly + vbExclamation);
}

// The message box waits for the user, so it is shown from the window
// system's thread whichever thread found the damage.
void reportMovedAside(const QString& path, const QString& aside) {
    if (QThread::currentThread() == qApp->thread())
        tellLibraryMovedAside(path, aside);
    else
        QMetaObject::invokeMethod(qApp, [path, aside] { tellLibraryMovedAside(path, aside); },
                                  Qt::QueuedConnection);
}

std::unique_ptr<library::Library> openQuietly(QString* problem) {
    const QString path = libraryPath();
    try {
        std::string aside;
        auto lib = library::Library::open(ss(path), &aside);
        if (!aside.empty())
            reportMovedAside(path, qs(aside));
        return lib;
    } catch (const library::LibraryError& e) {
        *problem = qs(e.what());
        return nullptr;
    }
}

// Photographs keep small as JPEG; what has transparency keeps it as PNG.
QByteArray thumbnailBytes(const QImage& thumbnail) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (thumbnail.hasAlphaChannel())
        thumbnail.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG");
    else
        thumbnail.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPG", 85);
    return bytes;
}

// Listings are added on a thread of their own, with its own connection, so
// that neither the window's first paint nor the pictures' decoding waits.
class LibraryThread : public QObject {
public:
    explicit LibraryThread(QObject* parent) : QObject(parent), thread_([this] { run(); }) {
        // Before the program ends, whatever listing was handed over reaches
        // the file; the thumbnails still to make wait for the next opening.
        connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { stop(); });
    }
    ~LibraryThread() override { stop(); }

    void add(QString path, std::string bytes) {
        {
            const std::lock_guard lock(mutex_);
            jobs_.push_back({std::move(path), std::move(bytes)});
            ++handedOver_;
        }
        wake_.notify_all();
    }

    void wait() {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return added_ == handedOver_ || stopped_; });
    }

private:
    struct Job {
        QString path;
        std::string bytes;
    };

    void stop() {
        {
            const std::lock_guard lock(mutex_);
            if (stopped_)
                return;
            stopping_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable())
            thread_.join();
        const std::lock_guard lock(mutex_);
        stopped_ = true;
        done_.notify_all();
    }

    void run() {
        for (;;) {
            Job job;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
                if (jobs_.empty())
                    return;
                job = std::move(jobs_.front());
                jobs_.pop_front();
            }
            std::int64_t discId = 0;
            // Opened for each listing: another process may have moved a
            // damaged file aside and started a new one since the last.
            std::unique_ptr<library::Library> lib;
            // Asked here rather than by the caller, whose window is waiting to
            // be painted; the settings' cache is shared between threads.
            if (!rememberOpenedListings()) {
                finishedOne();
                continue;
            }
            try {
                QString problem;
                lib = openQuietly(&problem);
                if (!lib)
                    std::fprintf(stderr, "vitrandel: %s\n", qPrintable(problem));
                if (lib)
                    discId = lib->add(ss(job.path), job.bytes, library::volumeOf(ss(job.path)),
                                      QDateTime::currentMSecsSinceEpoch());
            } catch (const std::exception& e) {
                std::fprintf(stderr, "vitrandel: library: %s\n", e.what());
            }
            finishedOne();
            if (lib && discId != 0)
                makeThumbnails(*lib, discId);
        }
    }

    void finishedOne() {
        {
            const std::lock_guard lock(mutex_);
            ++added_;
        }
        done_.notify_all();
    }

    void makeThumbnails(library::Library& lib, std::int64_t discId) {
        try {
            const auto stored = lib.stored(discId);
            if (!stored)
                return;
            for (const std::string& picture : lib.picturesWithoutThumbnail(discId)) {
                {
                    const std::lock_guard lock(mutex_);
                    if (stopping_)
                        return;
                }
                const QString path = storedPicturePath(stored->workingDir, picture);
                if (path.isEmpty())
                    continue;
                const QImage thumbnail = makeThumbnail(path);
                if (thumbnail.isNull())
                    continue;
                const QByteArray bytes = thumbnailBytes(thumbnail);
                lib.storeThumbnail(discId, picture,
                                   std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
            }
        } catch (const std::exception& e) {
            std::fprintf(stderr, "vitrandel: library: %s\n", e.what());
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::deque<Job> jobs_;
    long long handedOver_ = 0;
    long long added_ = 0;
    bool stopping_ = false;
    bool stopped_ = false;
    std::thread thread_;
};

LibraryThread* libraryThread() {
    static QPointer<LibraryThread> thread;
    if (!thread)
        thread = new LibraryThread(qApp);
    return thread;
}

} // namespace

QString libraryPath() { return QString::fromStdString(library::defaultLibraryPath()); }

bool rememberOpenedListings() {
    return programSettings().value(QLatin1String(kRememberKey), true).toBool();
}

void setRememberOpenedListings(bool on) { programSettings().setValue(QLatin1String(kRememberKey), on); }

void rememberOpenedListing(const QString& path, const std::string& bytes) {
    libraryThread()->add(QFileInfo(path).absoluteFilePath(), bytes);
}

QStringList recentListings(int count) {
    QString problem;
    const auto lib = openQuietly(&problem);
    QStringList paths;
    if (!lib)
        return paths;
    try {
        for (const std::string& p : lib->recentPaths(count))
            paths.append(qs(p));
    } catch (const library::LibraryError&) {
        paths.clear();
    }
    return paths;
}

void waitForLibrary() { libraryThread()->wait(); }

std::unique_ptr<library::Library> openLibrary() {
    QString problem;
    auto lib = openQuietly(&problem);
    if (!lib)
        msgBox(QStringLiteral("No se puede abrir la biblioteca de discos: %1").arg(problem),
               vbOKOnly + vbExclamation);
    return lib;
}

QImage makeThumbnail(const QString& picturePath) {
    // Drawn by the picture process, as every picture is.
    const QSize natural = pictures::pictureSize(picturePath);
    if (natural.isEmpty())
        return {};
    const QSize side(kThumbnailSide, kThumbnailSide);
    const QSize size = natural.width() > kThumbnailSide || natural.height() > kThumbnailSide
                           ? natural.scaled(side, Qt::KeepAspectRatio).expandedTo(QSize(1, 1))
                           : natural;
    return pictures::loadPicture(picturePath, {.stretchTo = size});
}

QString storedPicturePath(const std::string& workingDir, const std::string& picture) {
    if (picture.empty())
        return {};
    const QString path = existingPathIgnoringCase(qs(workingDir) + QLatin1Char('/') +
                                                  nativeRelativePath(qs(picture)));
    return existe_archivo(path) ? path : QString();
}

} // namespace vitrandel::discs
