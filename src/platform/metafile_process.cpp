#include "platform/metafile_process.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/metafile.h"

namespace vitrandel::platform {
namespace {

const char kHelperName[] = "vitrandel-picture";
const char kMagic[] = "VPIC";
constexpr qsizetype kHeaderBytes = 12;
// More than any line the helper writes.
constexpr qsizetype kMaxNoteBytes = 1024;

// A little longer than the helper's own drawing budget, which covers the
// WMF player; the EMF converter has no budget of its own and is cut here.
constexpr int kHelperMilliseconds = int(metafile::kTimeBudget.count()) + 1500;
// Address space for the helper: Qt and the fonts take a fraction of it.
constexpr rlim_t kHelperAddressSpace = rlim_t(1) << 30;

QString& helperPathOverride() {
    static QString path;
    return path;
}

QString helperPath() {
    if (!helperPathOverride().isEmpty())
        return helperPathOverride();
    return QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(kHelperName));
}

// The helper may start no more tasks than the whole system now runs, twice
// over at most; its filter refuses new processes anyway (see
// picture_sandbox.h), and this bounds its threads. Read before the fork,
// since the child may only make async-signal-safe calls.
rlim_t taskLimit() {
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    if (!loadavg.open(QIODevice::ReadOnly))
        return 4096;
    // "0.00 0.01 0.05 1/345 6789": running and all tasks.
    const QList<QByteArray> fields = loadavg.readAll().split(' ');
    const qint64 tasks = fields.size() > 3 ? fields[3].mid(fields[3].indexOf('/') + 1).toLongLong() : 0;
    return rlim_t(std::max<qint64>(tasks, 0) + 64);
}

// Runs in the child between fork and exec, where only async-signal-safe
// calls are allowed; setpgid, setrlimit and prctl are.
void limitHelper(rlim_t tasks) {
    // A group of its own, so that whatever it starts ends with it.
    setpgid(0, 0);
    // It gains no privilege by running anything, and writes no file.
    prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
    const rlimit noFiles{0, 0};
    setrlimit(RLIMIT_FSIZE, &noFiles);
    const rlimit processes{tasks, tasks};
    setrlimit(RLIMIT_NPROC, &processes);
#ifndef __SANITIZE_ADDRESS__
    // AddressSanitizer reserves far more address space than this up front;
    // its builds bound the helper by time alone.
    const rlimit memory{kHelperAddressSpace, kHelperAddressSpace};
    setrlimit(RLIMIT_AS, &memory);
#endif
    const rlim_t seconds = rlim_t(kHelperMilliseconds / 1000 + 1);
    const rlimit cpu{seconds, seconds};
    setrlimit(RLIMIT_CPU, &cpu);
    // A crash leaves no core file beside the listing.
    const rlimit core{0, 0};
    setrlimit(RLIMIT_CORE, &core);
}

// Whatever the helper started goes when it has gone, or been stopped.
class GroupEnder {
public:
    explicit GroupEnder(qint64 group) : group_(pid_t(group)) {}
    ~GroupEnder() {
        if (group_ > 0)
            ::kill(-group_, SIGKILL);
    }
    GroupEnder(const GroupEnder&) = delete;
    GroupEnder& operator=(const GroupEnder&) = delete;

private:
    pid_t group_;
};

qint64 largestImageBytes(const PictureRequest& request) {
    const QSize bound = !request.stretchTo.isEmpty() ? request.stretchTo : request.naturalClip;
    const qint64 pixels = bound.isEmpty() ? metafile::kMaxImagePixels : qint64(bound.width()) * bound.height();
    return kHeaderBytes + 4 * std::min(pixels, metafile::kMaxImagePixels);
}

// The helper's one line about what it left out of a picture, or why it drew
// none, so that a user's report can name the cause: once for each picture,
// however often it is shown.
void logNote(const QString& path, const QByteArray& said) {
    static QSet<QString> logged;
    const QByteArray line = said.left(kMaxNoteBytes).split('\n').constFirst().trimmed();
    const QString entry = QDir::toNativeSeparators(path) + QLatin1String(": ") + QString::fromUtf8(line);
    if (!line.isEmpty() && !logged.contains(entry)) {
        logged.insert(entry);
        qWarning("%s", qPrintable(entry));
    }
}

} // namespace

void setPictureHelperPath(const QString& path) { helperPathOverride() = path; }

QImage renderMetafileInHelper(const QString& path, const PictureRequest& request) {
    QProcess process;
    process.setProgram(helperPath());
    process.setArguments(helper::arguments({path, request}));
    process.setStandardInputFile(QProcess::nullDevice());
    process.setChildProcessModifier([tasks = taskLimit()] { limitHelper(tasks); });
    QDeadlineTimer deadline(kHelperMilliseconds);
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(int(deadline.remainingTime())))
        return {};
    const GroupEnder endGroup(process.processId());

    // Read as the pixels come, so that a helper gone wrong can neither make
    // us wait past the deadline nor hold more than a picture's worth.
    const qint64 limit = largestImageBytes(request);
    QByteArray out;
    bool overrun = false;
    while (process.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        if (!process.waitForReadyRead(int(deadline.remainingTime())) && process.state() != QProcess::NotRunning)
            process.waitForFinished(int(deadline.remainingTime()));
        out += process.readAllStandardOutput();
        if (out.size() > limit) {
            overrun = true;
            break;
        }
    }
    if (process.state() != QProcess::NotRunning) {
        ::kill(-pid_t(process.processId()), SIGKILL);
        process.waitForFinished(1000);
        return {};
    }
    out += process.readAllStandardOutput();
    logNote(path, process.readAllStandardError());
    if (overrun || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return helper::decodeImage(out, request);
}

namespace helper {

QStringList arguments(const Job& job) {
    const PictureRequest& r = job.request;
    const QString mode = !r.stretchTo.isEmpty() ? QStringLiteral("stretch")
                         : !r.naturalClip.isEmpty() ? QStringLiteral("clip")
                                                     : QStringLiteral("natural");
    const QSize size = !r.stretchTo.isEmpty() ? r.stretchTo : r.naturalClip;
    return {mode, QString::number(size.width()), QString::number(size.height()), job.path};
}

std::optional<Job> parseArguments(const QStringList& arguments) {
    if (arguments.size() != 4)
        return std::nullopt;
    bool wOk = false, hOk = false;
    const QSize size(arguments[1].toInt(&wOk), arguments[2].toInt(&hOk));
    if (!wOk || !hOk)
        return std::nullopt;
    Job job{arguments[3], {}};
    if (arguments[0] == QLatin1String("stretch") && !size.isEmpty())
        job.request.stretchTo = size;
    else if (arguments[0] == QLatin1String("clip") && !size.isEmpty())
        job.request.naturalClip = size;
    else if (arguments[0] != QLatin1String("natural"))
        return std::nullopt;
    return job;
}

QByteArray encodeImage(const QImage& image) {
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QByteArray out(kMagic, 4);
    out.resize(kHeaderBytes);
    qToLittleEndian<quint32>(quint32(pixels.width()), out.data() + 4);
    qToLittleEndian<quint32>(quint32(pixels.height()), out.data() + 8);
    const qsizetype rowBytes = qsizetype(pixels.width()) * 4;
    out.reserve(kHeaderBytes + rowBytes * pixels.height());
    for (int y = 0; y < pixels.height(); ++y)
        out.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), rowBytes);
    return out;
}

QImage decodeImage(const QByteArray& bytes, const PictureRequest& request) {
    if (bytes.size() < kHeaderBytes || !bytes.startsWith(kMagic))
        return {};
    const quint32 width = qFromLittleEndian<quint32>(bytes.constData() + 4);
    const quint32 height = qFromLittleEndian<quint32>(bytes.constData() + 8);
    const QSize size(int(std::min<quint32>(width, metafile::kMaxSide + 1)),
                     int(std::min<quint32>(height, metafile::kMaxSide + 1)));
    if (size.isEmpty() || size.width() > metafile::kMaxSide || size.height() > metafile::kMaxSide)
        return {};
    // Exactly what was asked for: the stretched size, or no more than the clip.
    if (!request.stretchTo.isEmpty() && size != request.stretchTo)
        return {};
    if (!request.naturalClip.isEmpty() &&
        (size.width() > request.naturalClip.width() || size.height() > request.naturalClip.height()))
        return {};
    const qint64 rowBytes = qint64(size.width()) * 4;
    if (bytes.size() != kHeaderBytes + rowBytes * size.height())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    for (int y = 0; y < size.height(); ++y)
        std::memcpy(image.scanLine(y), bytes.constData() + kHeaderBytes + rowBytes * y, size_t(rowBytes));
    return image;
}

} // namespace helper
} // namespace vitrandel::platform
