#include <QApplication>
#include <QFile>

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
    vitrandel::platform::useProgramIcon(app);
    const auto started = vitrandel::startup::Main(arguments);
    vitrandel::startup::quitAfterFirstPaintIfAsked(started.window);
    return QApplication::exec();
}
