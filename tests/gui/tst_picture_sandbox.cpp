// SPDX-License-Identifier: GPL-2.0-or-later
// The picture process runs a stranger's file through C libraries: whatever
// that code tries, it writes no file, starts no process, opens no socket,
// and leaves nothing running behind it.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <functional>
#include <netinet/in.h>
#include <pthread.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "pictures/picture_client.h"
#include "pictures/picture_sandbox.h"
#include "pictures/process_limits.h"

using namespace vitrandel;

namespace {

// Runs `attempt` in a child fenced as the picture process is, by its limits
// and then its filter; its answer is whether the attempt worked. Root's tasks
// are not counted, so a test run as root counts them as nobody's.
bool worksInSandbox(const std::function<bool()>& attempt, bool asNobody) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (asNobody && ::getuid() == 0 && ::setresuid(65534, 65534, 65534) != 0)
            ::_exit(4);
        pictures::limitPictureProcess();
        pictures::limitTasks();
        if (!pictures::enterPictureSandbox())
            ::_exit(3);
        ::_exit(attempt() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1)
        qWarning("sandboxed child ended with status %d", status);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Processes still running (not zombies) whose command line is exactly this.
int running(const QByteArray& commandLine) {
    int found = 0;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile cmd(QStringLiteral("/proc/%1/cmdline").arg(pid));
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!cmd.open(QIODevice::ReadOnly) || cmd.readAll() != commandLine || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray state = stat.readAll();
        if (state.mid(state.lastIndexOf(')') + 2, 1) != "Z")
            ++found;
    }
    return found;
}

// Threads that stay, on the smallest stacks, until one is refused or far
// more than a resident process needs have started.
bool startThreadsWithoutEnd() {
    int never[2];
    if (::pipe(never) != 0)
        return false;
    pthread_attr_t small;
    pthread_attr_init(&small);
    pthread_attr_setstacksize(&small, 32 * 1024);
    pthread_attr_setguardsize(&small, 0);
    const auto wait = [](void* fd) -> void* {
        char c;
        return ::read(int(reinterpret_cast<intptr_t>(fd)), &c, 1) > 0 ? fd : nullptr;
    };
    for (int started = 0; started < 12000; ++started) {
        pthread_t thread;
        if (pthread_create(&thread, &small, wait, reinterpret_cast<void*>(intptr_t(never[0]))) != 0)
            return false;
    }
    return true;
}

} // namespace

class TestPictureSandbox : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

private Q_SLOTS:
    void sandboxAllowsDrawingAndNothingElse() {
        const QByteArray existing = QFile::encodeName(dir_.filePath(QStringLiteral("existente")));
        const QByteArray fresh = QFile::encodeName(dir_.filePath(QStringLiteral("nuevo")));
        QFile(QString::fromUtf8(existing)).open(QIODevice::WriteOnly);
        // A listening socket the sandboxed code would report to.
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QVERIFY(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
        QVERIFY(::listen(listener, 1) == 0 && ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0);
        const int reporter = ::socket(AF_INET, SOCK_STREAM, 0);

        const struct {
            const char* name;
            std::function<bool()> attempt;
            bool allowed;
            bool asNobody;
        } cases[] = {
            {"read a file", [&] { char c; const int fd = ::open(existing.constData(), O_RDONLY); return fd >= 0 && ::read(fd, &c, 1) == 0; }, true},
            {"start a thread", [] { bool ran = false; std::thread([&] { ran = true; }).join(); return ran; }, true},
            {"start threads without end", startThreadsWithoutEnd, false, true},
            {"write to the pipe it was given", [] { int p[2]; return ::pipe(p) == 0 && ::write(p[1], "x", 1) == 1; }, true},
            {"create a file", [&] { return ::open(fresh.constData(), O_WRONLY | O_CREAT, 0600) >= 0; }, false},
            {"open a file for writing", [&] { return ::open(existing.constData(), O_RDWR) >= 0; }, false},
            {"start a process", [] { const pid_t p = ::fork(); if (p == 0) ::_exit(0); return p > 0; }, false},
            {"run a program", [] { const char* argv[] = {"/bin/true", nullptr}; ::execv(argv[0], const_cast<char**>(argv)); return false; }, false},
            {"open a socket", [] { return ::socket(AF_INET, SOCK_STREAM, 0) >= 0; }, false},
            {"connect a socket it holds", [&] { return ::connect(reporter, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0; }, false},
        };
        for (const auto& c : cases)
            QVERIFY2(worksInSandbox(c.attempt, c.asNobody) == c.allowed, c.name);
        QVERIFY(!QFile::exists(QString::fromUtf8(fresh)));
        ::close(reporter);
        ::close(listener);
    }

    // A helper that is not ours, standing in for one a file took over before
    // its filter: what it starts ends with it, and it writes no file.
    void helperIsFenced() {
        const QString written = dir_.filePath(QStringLiteral("escrito"));
        const struct {
            const char* name;
            QByteArray script;
        } cases[] = {
            {"leaves a child running", "sleep 97.25 &\nexit 0\n"},
            {"writes a file and leaves a child", "echo secreto > '" + QFile::encodeName(written) + "'\nsleep 97.25 &\nexit 0\n"},
        };
        for (const auto& c : cases) {
            const QString helper = dir_.filePath(QStringLiteral("ayudante.sh"));
            QFile script(helper);
            QVERIFY(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
            script.write("#!/bin/sh\n" + c.script);
            script.close();
            script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            pictures::PictureClient::instance().setProgram(helper);
            QVERIFY(pictures::loadPicture(helper).isNull());
            QTRY_VERIFY2(running(QByteArray("sleep\0" "97.25\0", 12)) == 0, c.name);
            QVERIFY2(QFileInfo(written).size() == 0, c.name);
        }
    }
};

QTEST_GUILESS_MAIN(TestPictureSandbox)
#include "tst_picture_sandbox.moc"
