// vitrandel-picture: draws one Windows metafile for the program and writes
// its pixels to standard output (see src/platform/metafile_process.h).
//   vitrandel-picture stretch|clip|natural WIDTH HEIGHT FILE
// Exit status 0 with a picture written, 1 when the file cannot be drawn,
// 2 for wrong arguments. What the drawing left out, or why there is none,
// is one line on standard error, for the program's log.

#include <QFile>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

#include "platform/metafile.h"
#include "platform/metafile_process.h"
#include "platform/picture_sandbox.h"

using namespace vitrandel::platform;

#ifdef __SANITIZE_ADDRESS__
// The EMF converter loses a few bytes on every file, and the font libraries
// keep their caches to the end: this process exits at once, so neither is a
// fault of ours for the leak checker of a sanitizer build to stop on.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:emf2svg\nleak:libfontconfig.so\nleak:libfreetype.so\n";
}
#endif

namespace {

// Qt's own warnings (QtSvg has one for every element it does not know)
// would drown the one line that matters.
void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

int main(int argc, char** argv) {
    // Taken before QGuiApplication removes the words it knows as its own
    // options: a file may be called "-style".
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    const std::optional<helper::Job> job = helper::parseArguments(arguments);
    if (!job)
        return 2;

    // Drawing needs fonts but no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    QGuiApplication app(argc, argv);
    // From here on the file's bytes are read: nothing but drawing is allowed.
    if (!enterPictureSandbox()) {
        std::fputs("the system refused the drawing sandbox; nothing drawn\n", stderr);
        return 1;
    }

    QFile file(job->path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > metafile::kMaxFileBytes)
        return 1;
    QString note;
    const QImage image = renderMetafile(file.read(metafile::kMaxFileBytes), job->request, &note);
    if (!note.isEmpty())
        std::fprintf(stderr, "%s\n", note.toUtf8().constData());
    if (image.isNull())
        return 1;
    const QByteArray out = helper::encodeImage(image);
    if (std::fwrite(out.constData(), 1, size_t(out.size()), stdout) != size_t(out.size()) || std::fflush(stdout) != 0)
        return 1;
    return 0;
}
