// SPDX-License-Identifier: GPL-2.0-or-later
#include "pictures/picture_client.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <unistd.h>

#include "pictures/process_limits.h"

namespace vitrandel::pictures {
namespace {

const char kProgramName[] = "vitrandel-picture";

// Starting the process and drawing a large metafile both fit well inside.
constexpr std::chrono::milliseconds kDefaultTimeout{6000};

// Pictures a list may want next; older guesses are dropped for newer ones.
constexpr std::size_t kMaxPrefetched = 4;

PictureClient* theClient = nullptr;

// The process's one line about what it left out of a picture, or why it
// drew none, so that a user's report can name the cause: once for each
// picture, however often it is shown.
void logNote(const QString& path, const QString& said) {
    static QSet<QString> logged;
    const QString line = said.split(QLatin1Char('\n')).constFirst().trimmed();
    const QString entry = QDir::toNativeSeparators(path) + QLatin1String(": ") + line;
    if (!line.isEmpty() && !logged.contains(entry)) {
        logged.insert(entry);
        qWarning("%s", qPrintable(entry));
    }
}

void endClient() {
    delete theClient;
    theClient = nullptr;
}

Picture pictureFrom(const protocol::Reply& reply, const protocol::Request& request) {
    Picture picture{reply.ok, reply.format, reply.naturalSize, reply.turned, reply.image, reply.bytes};
    // The process is believed only as far as the request allows.
    const bool drawn = request.kind == protocol::Kind::Draw;
    const bool bytes = request.kind == protocol::Kind::Png || request.kind == protocol::Kind::Bytes;
    if (!picture.ok || drawn != !picture.image.isNull() || bytes == picture.bytes.isEmpty() ||
        (drawn && !protocol::fitsRequest(picture.image.size(), request.size)))
        return {};
    return picture;
}

} // namespace

PictureClient& PictureClient::instance() {
    // Threads of their own (the disc library's thumbnails) wait for their
    // pictures from a process of their own.
    if (QCoreApplication::instance() && QThread::currentThread() != QCoreApplication::instance()->thread()) {
        thread_local std::unique_ptr<PictureClient> own(new PictureClient);
        if (theClient)
            own->setProgram(theClient->program_);
        return *own;
    }
    if (!theClient) {
        theClient = new PictureClient;
        // Before the application's objects go, so that the process is
        // closed while the event machinery that owns its pipes still exists.
        qAddPostRoutine(endClient);
    }
    return *theClient;
}

PictureClient::PictureClient(QObject* parent) : QObject(parent), timeout_(kDefaultTimeout) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &PictureClient::processFailed);
}

PictureClient::~PictureClient() { stop(); }

void PictureClient::setProgram(const QString& path) {
    if (path == program_)
        return;
    program_ = path;
    stop();
    // Another program may draw what this one could not.
    cache_.clear();
    lost_.clear();
}

qint64 PictureClient::processId() const { return process_ ? process_->processId() : 0; }

void PictureClient::ask(const QObject* owner, const QString& path, const PictureRequest& request,
                        Done done) {
    ask(owner, {path, request, protocol::Kind::Draw}, std::move(done));
}

void PictureClient::ask(const QObject* owner, const Job& job, Done done) {
    dropWaiter(owner);
    const auto key = cacheKey(job.path, job.kind, job.request);
    if (!key) {
        done({});
        return;
    }
    if (auto cached = cache_.find(*key)) {
        done(*cached);
        return;
    }
    PendingPtr pending = enqueue(*key, job, Priority::Asked);
    pending->waiters.push_back({owner, owner, std::move(done)});
    byOwner_.insert(owner, pending);
    cancelStaleDrawing();
    pump();
}

void PictureClient::cancelStaleDrawing() {
    // Holding a key down, the picture being drawn is the one the key left:
    // the one it reached waits behind it for a whole decode unless told.
    const PendingPtr busy = inFlight_;
    if (!busy || busy->cancelled || !busy->waiters.empty() || busy->priority == Priority::Waited ||
        asked_.empty() || !process_)
        return;
    busy->cancelled = true;
    // Asked for again, it is drawn anew rather than taken from a cut decode.
    if (byKey_.value(busy->key) == busy)
        byKey_.remove(busy->key);
    process_->write(protocol::encodeCancel(busy->request.id));
}

void PictureClient::cancel(const QObject* owner) { dropWaiter(owner); }

void PictureClient::prefetch(const QString& path, const PictureRequest& request) {
    const Job job{path, request, protocol::Kind::Draw};
    const auto key = cacheKey(path, job.kind, request);
    if (!key || lost_.contains(*key) || cache_.find(*key))
        return;
    enqueue(*key, job, Priority::Prefetch);
    while (prefetched_.size() > kMaxPrefetched)
        unqueue(prefetched_.front());
    pump();
}

QList<Picture> PictureClient::fetch(const QList<Job>& jobs) {
    QList<Picture> pictures(jobs.size());
    std::vector<std::pair<qsizetype, PendingPtr>> waiting;
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        const auto key = cacheKey(jobs[i].path, jobs[i].kind, jobs[i].request);
        if (!key)
            continue;
        if (auto cached = cache_.find(*key))
            pictures[i] = *cached;
        else
            waiting.emplace_back(i, enqueue(*key, jobs[i], Priority::Waited));
    }
    pump();
    for (const auto& [i, pending] : waiting) {
        waitFor(pending);
        pictures[i] = pending->result;
    }
    return pictures;
}

std::deque<PictureClient::PendingPtr>& PictureClient::queueOf(Priority priority) {
    switch (priority) {
    case Priority::Waited:
        return waited_;
    case Priority::Asked:
        return asked_;
    case Priority::Prefetch:
        break;
    }
    return prefetched_;
}

PictureClient::PendingPtr PictureClient::enqueue(const QString& key, const Job& job, Priority priority) {
    if (PendingPtr pending = byKey_.value(key)) {
        // Asked again, perhaps more urgently: it moves up, never down.
        if (pending != inFlight_ && priority < pending->priority) {
            unqueue(pending);
            pending->priority = priority;
            queueOf(priority).push_back(pending);
            byKey_.insert(key, pending);
        } else if (pending != inFlight_ && priority != Priority::Waited) {
            // The newest ask of its kind is drawn first.
            auto& queue = queueOf(pending->priority);
            queue.erase(std::find(queue.begin(), queue.end(), pending));
            queue.push_back(pending);
        }
        return pending;
    }
    auto pending = std::make_shared<Pending>();
    pending->key = key;
    pending->request = {0, job.kind, job.path, job.request};
    pending->priority = priority;
    queueOf(priority).push_back(pending);
    byKey_.insert(key, pending);
    return pending;
}

void PictureClient::unqueue(const PendingPtr& pending) {
    auto& queue = queueOf(pending->priority);
    queue.erase(std::remove(queue.begin(), queue.end(), pending), queue.end());
    if (byKey_.value(pending->key) == pending)
        byKey_.remove(pending->key);
}

void PictureClient::dropWaiter(const QObject* owner) {
    const PendingPtr pending = byOwner_.take(owner);
    if (!pending)
        return;
    auto& waiters = pending->waiters;
    waiters.erase(std::remove_if(waiters.begin(), waiters.end(), [&](const Waiter& w) { return w.owner == owner; }),
                  waiters.end());
    // Nobody looks at it any more; one already being drawn is kept for the cache.
    if (waiters.empty() && pending != inFlight_ && pending->priority == Priority::Asked)
        unqueue(pending);
}

void PictureClient::pump() {
    if (inFlight_)
        return;
    // Waited for first, in order; then what a view shows now, the newest
    // first; then what it may show next.
    PendingPtr next;
    if (!waited_.empty()) {
        next = waited_.front();
        waited_.pop_front();
    } else if (!asked_.empty()) {
        next = asked_.back();
        asked_.pop_back();
    } else if (!prefetched_.empty()) {
        next = prefetched_.back();
        prefetched_.pop_back();
    } else {
        return;
    }
    inFlight_ = next;
    if (!process_)
        startProcess();
    next->request.id = nextId_++;
    process_->write(protocol::encodeRequest(next->request));
    deadline_ = QDeadlineTimer(timeout_);
    if (thread()->eventDispatcher())
        timer_.start(timeout_);
}

void PictureClient::startProcess() {
    const QString program = !program_.isEmpty()
                                ? program_
                                : QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(kProgramName));
    process_ = new QProcess(this);
    process_->setProgram(program);
    process_->setStandardErrorFile(QProcess::nullDevice());
    process_->setChildProcessModifier(limitPictureProcess);
    connect(process_, &QProcess::readyReadStandardOutput, this, &PictureClient::readReplies);
    connect(process_, &QProcess::finished, this, &PictureClient::processFailed);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart || error == QProcess::Crashed)
            processFailed();
    });
    reader_.reset();
    ++started_;
    process_->start(QIODevice::ReadWrite);
    group_ = process_->processId();
}

void PictureClient::readReplies() {
    while (process_) {
        bool bad = false;
        QProcess* process = process_;
        const qint64 available = process->bytesAvailable();
        const auto reply = reader_.read(*process, bad);
        received_ += available - process->bytesAvailable();
        if (bad || (reply && (!inFlight_ || reply->id != inFlight_->request.id))) {
            // A process that says what nobody asked has lost its way.
            processFailed();
            return;
        }
        if (!reply)
            return;
        timer_.stop();
        const PendingPtr done = inFlight_;
        logNote(done->request.path, reply->note);
        finish(done, pictureFrom(*reply, done->request), Outcome::Answered);
    }
}

void PictureClient::processFailed() {
    if (!process_)
        return;
    discardProcess();
    if (const PendingPtr pending = inFlight_)
        finish(pending, {}, Outcome::Lost);
}

void PictureClient::discardProcess() {
    timer_.stop();
    QProcess* process = std::exchange(process_, nullptr);
    process->disconnect(this);
    // Its group: anything it started goes with it, even once it has ended.
    if (const qint64 group = std::exchange(group_, 0); group > 0)
        ::kill(-pid_t(group), SIGKILL);
    // The windows' process is reaped when it has gone rather than waited for
    // here: a key held down over files that crash it must not hold the
    // window. A thread of its own may run no event loop to hear of it.
    if (this != theClient) {
        process->kill();
        process->waitForFinished(1000);
        process->deleteLater();
    } else if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
    } else {
        connect(process, &QProcess::finished, process, &QObject::deleteLater);
        process->kill();
    }
    reader_.reset();
}

void PictureClient::stop() {
    if (!process_)
        return;
    timer_.stop();
    QProcess* process = std::exchange(process_, nullptr);
    process->disconnect(this);
    process->closeWriteChannel();
    if (!process->waitForFinished(500)) {
        process->kill();
        process->waitForFinished(1000);
    }
    if (const qint64 group = std::exchange(group_, 0); group > 0)
        ::kill(-pid_t(group), SIGKILL);
    delete process;
    reader_.reset();
    if (const PendingPtr pending = inFlight_)
        finish(pending, {}, Outcome::Lost);
}

void PictureClient::finish(const PendingPtr& pending, Picture picture, Outcome outcome) {
    if (inFlight_ == pending)
        inFlight_.reset();
    if (byKey_.value(pending->key) == pending)
        byKey_.remove(pending->key);
    // A picture the process lost (by a crash, a limit or a hang) is tried
    // again when a view asks for it, but never drawn in advance again: a
    // file that crashes the process would otherwise do so on every visit
    // to its neighbours.
    if (outcome == Outcome::Lost)
        lost_.insert(pending->key);
    else if (!pending->cancelled || picture.ok) // a cut decode is no answer about the file
        cache_.insert(pending->key, picture);
    pending->finished = true;
    pending->result = picture;
    const std::vector<Waiter> waiters = std::exchange(pending->waiters, {});
    for (const Waiter& w : waiters)
        if (byOwner_.value(w.owner) == pending)
            byOwner_.remove(w.owner);
    // Sent before the views hear of it, so the process is busy while they paint.
    pump();
    for (const Waiter& w : waiters)
        if (w.alive)
            w.done(picture);
}

void PictureClient::warmUp() {
    if (!process_)
        startProcess();
}

void PictureClient::settle() {
    while (inFlight_ || !waited_.empty() || !asked_.empty() || !prefetched_.empty()) {
        PendingPtr pending = inFlight_;
        if (!pending) {
            pump();
            continue;
        }
        waitFor(pending);
    }
}

void PictureClient::waitFor(const PendingPtr& pending) {
    while (!pending->finished) {
        if (!inFlight_) {
            pump();
            if (!inFlight_)
                break; // nothing left to send: it was answered or dropped meanwhile
            continue;
        }
        QProcess* process = process_;
        const QDeadlineTimer deadline = deadline_;
        if (!process || deadline.hasExpired()) {
            processFailed();
            continue;
        }
        if (!process->waitForReadyRead(int(deadline.remainingTime())) && process_ == process) {
            // Ended, or out of time; either way, the picture in flight is lost.
            if (process->state() == QProcess::NotRunning || deadline.hasExpired())
                processFailed();
        }
    }
}

QImage loadPicture(const QString& path, const PictureRequest& request) {
    return PictureClient::instance().fetch({path, request, protocol::Kind::Draw}).image;
}

QList<QSize> pictureSizes(const QStringList& paths) {
    QList<PictureClient::Job> jobs;
    for (const QString& path : paths)
        jobs.append({path, {}, protocol::Kind::Describe});
    QList<QSize> sizes;
    for (const Picture& p : PictureClient::instance().fetch(jobs))
        sizes.append(p.ok ? p.naturalSize : QSize());
    return sizes;
}

QSize pictureSize(const QString& path) { return pictureSizes({path}).constFirst(); }

} // namespace vitrandel::pictures
