// SPDX-License-Identifier: GPL-2.0-or-later
// vitrandel-picture: the program's picture process (see picture_client.h).
// Reads requests on standard input and answers each on standard output
// until its input ends.

#include <QGuiApplication>
#include <csignal>
#include <unistd.h>

#include "pictures/picture_sandbox.h"
#include "pictures/picture_work.h"
#include "pictures/process_limits.h"
#include "pictures/protocol.h"

using namespace vitrandel::pictures;

#ifdef __SANITIZE_ADDRESS__
// The EMF converter loses a few bytes on every file, and the font libraries
// keep their caches to the end: neither is a fault of ours for the leak
// checker of a sanitizer build to stop on.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:emf2svg\nleak:libfontconfig.so\nleak:libfreetype.so\n";
}
#endif

namespace {

// Qt's own warnings (QtSvg has one for every element it does not know)
// would drown the one note that matters, which goes to the program.
void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

int main(int argc, char** argv) {
    // A program that went away is noticed as a failed write, not as a signal.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    // Metafiles need fonts, but no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    QGuiApplication app(argc, argv);
    // From here on strangers' bytes are read: nothing but drawing is allowed.
    limitTasks();
    if (!enterPictureSandbox())
        return 1;

    while (const auto request = protocol::readRequest(STDIN_FILENO)) {
        // Came after its picture was done: nothing is left to stop.
        if (request->kind == protocol::Kind::Cancel)
            continue;
        // A request that outruns its time ends the process; the program
        // starts another for the next picture.
        alarm(kSecondsPerRequest);
        const protocol::Reply reply = answer(*request, [] { return protocol::inputWaiting(STDIN_FILENO); });
        alarm(0);
        if (!protocol::writeReply(STDOUT_FILENO, reply))
            return 1;
    }
    return 0;
}
