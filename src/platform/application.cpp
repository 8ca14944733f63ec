#include "platform/application.h"

#include <QApplication>
#include <QDirIterator>
#include <QFont>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/fonts.h"

namespace vitrandel::platform {

bool installQtTranslation(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_es"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void useDesignFont(QApplication&) {
    const QString face = loadDesignFace();
    if (!face.isEmpty())
        QApplication::setFont(QFont(face, 8));
}

void useDesktopEntry(QGuiApplication&) {
    QGuiApplication::setDesktopFileName(QStringLiteral("vitrandel"));
}

void useProgramIcon(QGuiApplication&) {
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons"), {QStringLiteral("vitrandel.png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (sizes.hasNext()) {
        // Read as the PNG it is: a format left for Qt to guess loads every
        // image plugin into the program, which decodes no picture itself.
        QImageReader reader(sizes.next(), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    QGuiApplication::setWindowIcon(icon);
}

} // namespace vitrandel::platform
