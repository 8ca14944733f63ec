#include <QApplication>
#include <QFile>

#include "platform/application.h"
#include "startup/inicial.h"

int main(int argc, char** argv) {
    // Taken before QApplication removes the words it knows as its own options.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));

    QApplication app(argc, argv);
    vitrandel::platform::installQtTranslation(app);
    vitrandel::platform::useDesignFont(app);
    const auto started = vitrandel::startup::Main(arguments);
    vitrandel::startup::quitAfterFirstPaintIfAsked(started.window);
    return QApplication::exec();
}
