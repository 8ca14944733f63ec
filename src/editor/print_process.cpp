// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/print_process.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPrinter>
#include <QProcess>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <optional>
#include <unistd.h>

#include "editor/index_printer.h"
#include "editor/print_job.h"
#include "model/listing_reader.h"
#include "model/listing_writer.h"
#include "model/project.h"
#include "platform/fonts.h"
#include "platform/text.h"

namespace vitrandel {
namespace {

// A listing of photographs printed at full resolution takes a minute or two;
// a process still at it long after that is stuck.
constexpr std::chrono::minutes kTimeLimit{10};

// Far more than the largest listing with its printer; the process reads no
// further.
constexpr qsizetype kMostJobBytes = 64 * 1024 * 1024;

// The process is told its working folder itself: its listing need only say
// whether it records one, in words every listing can hold.
constexpr char kRecordedFolder[] = "/";

QString& printProgram() {
    static QString program;
    return program;
}

std::optional<QByteArray> readStandardInput() {
    QByteArray bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (got == 0)
            return bytes;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (bytes.size() + got > kMostJobBytes)
            return std::nullopt;
        bytes.append(chunk, got);
    }
}

// True when the process printed it all.
bool runPrintProcess(const QByteArray& job) {
    QProcess child;
    child.setProgram(printProgram().isEmpty() ? QCoreApplication::applicationFilePath() : printProgram());
    child.setArguments({QString::fromLatin1(kPrintJobSwitch)});
    child.setWorkingDirectory(QDir::currentPath());
    // What it says is for whoever reads the program's own errors.
    child.setStandardOutputFile(QProcess::nullDevice());
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);

    QEventLoop loop;
    bool started = false;
    QObject::connect(&child, &QProcess::started, &loop, [&started] { started = true; });
    QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&child, &QProcess::errorOccurred, &loop, [&loop](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &child, &QProcess::kill);

    child.start();
    child.write(job);
    child.closeWriteChannel();
    limit.start(kTimeLimit);
    // The windows keep painting meanwhile; what the user types waits, as a
    // second Print must not start while the first runs.
    if (child.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return started && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
}

} // namespace

void setPrintProgram(const QString& path) { printProgram() = path; }

bool printIndex(QPrinter& printer) {
    const Project& p = project();
    const SerializeOutcome listing = serializeListing(p, isTrue(p.useCurrentDir) ? "." : kRecordedFolder);
    if (!listing.ok())
        return false;
    const PrintJob job{QByteArray::fromStdString(listing.bytes), platform::qs(p.listingPath), QDir::currentPath(),
                       QGuiApplication::font(), QGuiApplication::palette()};
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool printed = runPrintProcess(writePrintJob(job, printer));
    QGuiApplication::restoreOverrideCursor();
    return printed;
}

int runPrintJob(char* program) {
    // No window, and no display needed: pages are drawn for the printer.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::readFontConfiguration();
    int argc = 1;
    char* argv[] = {program, nullptr};
    QGuiApplication app(argc, argv);

    const std::optional<QByteArray> input = readStandardInput();
    PrintJob job;
    QPrinter printer(QPrinter::HighResolution);
    if (!input || !readPrintJob(*input, job, printer)) {
        qWarning("vitrandel: the print job could not be read");
        return 2;
    }
    ParseOutcome parsed = parseListing(job.listing.toStdString(), Project{});
    if (parsed.error || !QDir::setCurrent(job.workingFolder)) {
        qWarning("vitrandel: the listing to print could not be read");
        return 2;
    }
    Project& p = project();
    p = std::move(parsed.listing.project);
    p.listingPath = platform::ss(job.listingPath);
    QGuiApplication::setFont(job.font);
    QGuiApplication::setPalette(job.palette);
    return PrintedIndex(p, printer).print() ? 0 : 1;
}

} // namespace vitrandel
