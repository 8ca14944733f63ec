// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDeadlineTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>

#include "pictures/picture_cache.h"
#include "pictures/protocol.h"

class QProcess;

// The program's side of its picture process. Pictures on a disc come from
// strangers, and the libraries that decode them are large C code: they run
// in one resident process of their own, started on the first picture asked
// for and started again after a crash, an overrun limit or a hang, which cost
// only the picture being drawn. Windows ask without waiting and get the
// pixels when they are ready; print and the web export wait.
namespace vitrandel::pictures {

class PictureClient : public QObject {
    Q_OBJECT
public:
    static PictureClient& instance();
    ~PictureClient() override;

    using Done = std::function<void(const Picture&)>;

    struct Job {
        QString path;
        PictureRequest request;
        protocol::Kind kind = protocol::Kind::Draw;
    };

    // Asks for a picture for `owner` (a view). `done` runs on this thread
    // once the picture is drawn, at once when it is in the cache. A newer ask
    // from the same owner supersedes this one, whose `done` then never runs:
    // holding a key down builds no queue of pictures nobody looks at.
    void ask(const QObject* owner, const QString& path, const PictureRequest& request, Done done);
    // The same for any kind of job: a window that must know a picture's size
    // before it asks for its pixels asks for both so.
    void ask(const QObject* owner, const Job& job, Done done);
    // The owner wants nothing any more.
    void cancel(const QObject* owner);
    // Drawn into the cache when nothing asked for is waiting; the newest first.
    void prefetch(const QString& path, const PictureRequest& request);

    // Waits for the pictures, in the order asked; for print, the web export
    // and the command line. All are sent before the first is waited for.
    QList<Picture> fetch(const QList<Job>& jobs);
    Picture fetch(const Job& job) { return fetch(QList<Job>{job}).constFirst(); }

    // Starts the process now if it is not running, so that the first picture
    // a window asks for does not wait for it to start.
    void warmUp();

    // Waits until every picture asked for, prefetched or waited for has been
    // drawn and handed over; for tests and benchmarks, which look at the views.
    void settle();

    // By default the process's program beside the running one.
    void setProgram(const QString& path);
    // How long one picture may take, start of the process included.
    void setTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }
    // The running process, or 0; and how many have been started so far.
    qint64 processId() const;
    int started() const { return started_; }
    // Bytes that came from the process, pixels and all.
    qint64 bytesReceived() const { return received_; }
    PictureCache& cache() { return cache_; }
    // Ends the process; the next picture starts another.
    void stop();

private:
    enum class Priority { Waited, Asked, Prefetch };
    struct Waiter {
        const QObject* owner = nullptr;
        QPointer<const QObject> alive;
        Done done;
    };
    struct Pending {
        QString key;
        protocol::Request request;
        Priority priority = Priority::Prefetch;
        std::vector<Waiter> waiters;
        bool finished = false;
        // Being drawn for nobody any more: the process was told to stop.
        bool cancelled = false;
        Picture result;
    };
    using PendingPtr = std::shared_ptr<Pending>;

    explicit PictureClient(QObject* parent = nullptr);

    PendingPtr enqueue(const QString& key, const Job& job, Priority priority);
    std::deque<PendingPtr>& queueOf(Priority priority);
    void unqueue(const PendingPtr& pending);
    void dropWaiter(const QObject* owner);
    void cancelStaleDrawing();
    void pump();
    void startProcess();
    void readReplies();
    void processFailed();
    void discardProcess();
    enum class Outcome { Answered, Lost };
    void finish(const PendingPtr& pending, Picture picture, Outcome outcome);
    void waitFor(const PendingPtr& pending);

    QString program_;
    std::chrono::milliseconds timeout_;
    QProcess* process_ = nullptr;
    protocol::ReplyReader reader_;
    QTimer timer_;
    QDeadlineTimer deadline_;
    PictureCache cache_;
    std::deque<PendingPtr> waited_, asked_, prefetched_;
    PendingPtr inFlight_;
    QHash<QString, PendingPtr> byKey_;
    QHash<const QObject*, PendingPtr> byOwner_;
    QSet<QString> lost_;
    std::uint32_t nextId_ = 1;
    int started_ = 0;
    qint64 received_ = 0;
    qint64 group_ = 0;
};

// Waiting for the process, for those that cannot go on without the picture:
// the pixels as much as `request` asks for, null when the file cannot be shown.
QImage loadPicture(const QString& path, const PictureRequest& request = {});
// The pictures' natural sizes, read from their headers where that tells;
// empty for a file that cannot be shown. All are asked for at once.
QList<QSize> pictureSizes(const QStringList& paths);
QSize pictureSize(const QString& path);

} // namespace vitrandel::pictures
