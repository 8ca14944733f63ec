#include <QApplication>
#include <QFile>
#include <QTimer>

#include "platform/application.h"
#include "startup/inicial.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Taken after QApplication has removed its own options (-style and the
    // like), so that only the remaining words name the listing.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));

    vitrandel::platform::installQtTranslation(app);
    vitrandel::platform::useDesignFont(app);
    vitrandel::platform::useDesktopEntry(app);
    const auto started = vitrandel::startup::Main(arguments);
    vitrandel::startup::quitAfterFirstPaintIfAsked(started.window);
    // One turn of the event loop after the paint's own work, so that the
    // window is on the screen before its icon is read.
    if (started.window)
        vitrandel::startup::whenFirstPainted(started.window, [&app] {
            QTimer::singleShot(0, &app, [&app] { vitrandel::platform::useProgramIcon(app); });
        });
    return QApplication::exec();
}
