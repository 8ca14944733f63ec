#include "platform/application.h"

#include <QApplication>
#include <QDirIterator>
#include <QFont>
#include <QIcon>
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
    while (sizes.hasNext())
        icon.addFile(sizes.next());
    QGuiApplication::setWindowIcon(icon);
}

} // namespace vitrandel::platform
