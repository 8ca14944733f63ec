// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QtTest>
#include <cerrno>
#include <cstring>

#include "platform/application.h"
#include "platform/colors.h"
#include "platform/error_text.h"
#include "platform/message_box.h"
#include "support/gui_test.h"

using namespace vitrandel;
using namespace vitrandel::platform;

// What the user reads around the program's own texts: error descriptions,
// message boxes with Qt's buttons in Spanish, and listing colours.
class TestPlatformTexts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        vitrandel_test_support::startGuiTest();
        QVERIFY(installQtTranslation(*qApp));
    }
    void cleanup() { VITRANDEL_VERIFY_NO_UNANSWERED_BOXES(); }

    void errorTexts_data() {
        QTest::addColumn<int>("errnum");
        QTest::addColumn<QString>("text");
        QTest::newRow("file not found") << ENOENT << "No se ha encontrado el archivo";
        QTest::newRow("access denied") << EACCES << "Permiso denegado";
        QTest::newRow("read-only disk") << EROFS << "Permiso denegado";
        QTest::newRow("folder not found") << ENOTDIR << "No se ha encontrado la ruta de acceso";
        QTest::newRow("disk full") << ENOSPC << "Disco lleno";
        QTest::newRow("system's own text") << EDOM << QString::fromLocal8Bit(std::strerror(EDOM));
    }
    void errorTexts() {
        QFETCH(int, errnum);
        QFETCH(QString, text);
        QCOMPARE(errorDescription(errnum), text);
    }

    void missingFolderIsNotAMissingFile() {
        QTemporaryDir dir;
        QCOMPARE(errorDescription(ENOENT, dir.filePath(QStringLiteral("no.lst"))),
                 QStringLiteral("No se ha encontrado el archivo"));
        QCOMPARE(errorDescription(ENOENT, dir.filePath(QStringLiteral("falta/no.lst"))),
                 QStringLiteral("No se ha encontrado la ruta de acceso"));
    }

    void readErrorTexts_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("overflow") << int(ReadErrorKind::Overflow) << "Desbordamiento";
        QTest::newRow("subscript") << int(ReadErrorKind::SubscriptOutOfRange) << "El subíndice está fuera del intervalo";
        QTest::newRow("system detail") << int(ReadErrorKind::Io) << "detalle";
    }
    void readErrorTexts() {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QCOMPARE(readErrorDescription(ReadError{ReadErrorKind(kind), 3, "detalle"}), text);
    }

    void boxes_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("16 refused") << 16 << int(QMessageBox::Critical) << QStringList{QStringLiteral("Aceptar")};
        QTest::newRow("48 error") << 48 << int(QMessageBox::Warning) << QStringList{QStringLiteral("Aceptar")};
        QTest::newRow("3 question") << 3 << int(QMessageBox::NoIcon)
                                    << QStringList{QStringLiteral("&Sí"), QStringLiteral("&No"), QStringLiteral("Cancelar")};
    }
    void boxes() {
        QFETCH(int, style);
        QFETCH(int, icon);
        QFETCH(QStringList, buttons);
        QMessageBox box;
        prepareMessageBox(box, QStringLiteral("¿Guardar?"), style);
        QCOMPARE(box.windowTitle(), QStringLiteral("Vitrandel"));
        QCOMPARE(box.text(), QStringLiteral("¿Guardar?"));
        QCOMPARE(int(box.icon()), icon);
        QStringList shown;
        for (QAbstractButton* b : box.buttons())
            shown.append(b->text());
        shown.sort();
        buttons.sort();
        QCOMPARE(shown, buttons);
    }

    void colours_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QColor>("colour"); // invalid: the palette role named below
        QTest::addColumn<int>("role");
        QTest::newRow("black") << 0 << QColor(0, 0, 0) << 0;
        QTest::newRow("red in the low byte") << 0x0000FF << QColor(255, 0, 0) << 0;
        QTest::newRow("green") << 0x00FF00 << QColor(0, 255, 0) << 0;
        QTest::newRow("navy") << 8388608 << QColor(0, 0, 128) << 0;
        QTest::newRow("window") << int(0x80000005u) << QColor() << int(QPalette::Base);
        QTest::newRow("window text") << int(0x80000008u) << QColor() << int(QPalette::Text);
        QTest::newRow("highlight") << int(0x8000000Du) << QColor() << int(QPalette::Highlight);
        QTest::newRow("button face") << int(0x8000000Fu) << QColor() << int(QPalette::Button);
        QTest::newRow("no such system colour") << int(0x800000FFu) << QColor() << int(QPalette::Text);
        QTest::newRow("-1") << -1 << QColor() << int(QPalette::Text);
    }
    void colours() {
        QFETCH(int, value);
        QFETCH(QColor, colour);
        QFETCH(int, role);
        QPalette palette;
        palette.setColor(QPalette::Base, QColor(1, 2, 3));
        palette.setColor(QPalette::Text, QColor(4, 5, 6));
        palette.setColor(QPalette::Highlight, QColor(7, 8, 9));
        palette.setColor(QPalette::Button, QColor(10, 11, 12));
        if (!colour.isValid())
            colour = palette.color(QPalette::ColorRole(role));
        QCOMPARE(colorFromListing(value, palette), colour);
    }
};

QTEST_MAIN(TestPlatformTexts)
#include "tst_platform_texts.moc"
