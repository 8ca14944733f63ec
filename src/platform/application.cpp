// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/application.h"

#include <QApplication>
#include <QDirIterator>
#include <QFont>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>
#include <algorithm>

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

namespace {

qreal largestScreenRatio() {
    qreal ratio = 1;
    for (const QScreen* screen : QGuiApplication::screens())
        ratio = std::max(ratio, screen->devicePixelRatio());
    return ratio;
}

void followScreens(QApplication& app) {
    const auto update = [] { drawTextForRatio(largestScreenRatio()); };
    const auto watch = [&app, update](QScreen* screen) {
        QObject::connect(screen, &QScreen::logicalDotsPerInchChanged, &app, update);
    };
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    QObject::connect(&app, &QGuiApplication::screenAdded, &app, [watch, update](QScreen* screen) {
        watch(screen);
        update();
    });
    QObject::connect(&app, &QGuiApplication::screenRemoved, &app, update);
}

} // namespace

void drawTextForRatio(qreal ratio) {
    setTextRatio(ratio);
    const QString face = loadDesignFace();
    if (!face.isEmpty())
        QApplication::setFont(crispFont(QFont(face, 8)));
}

void useDesignFont(QApplication& app) {
    drawTextForRatio(largestScreenRatio());
    followScreens(app);
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
