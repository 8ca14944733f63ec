// SPDX-License-Identifier: GPL-2.0-or-later
#include <QApplication>
#include <QPointer>
#include <QtTest>

#include "platform/application.h"
#include "startup/inicial.h"
#include "support/gui_test.h"

using namespace vitrandel;

// The program's windows show its own icon, from the copy built into it, sharp
// at the small size of a title bar and the large one of a task switcher.
class TestProgramIcon : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { vitrandel_test_support::startGuiTest(); }
    void cleanup() { VITRANDEL_VERIFY_NO_UNANSWERED_BOXES(); }

    void theEditorShowsTheProgramIcon() {
        platform::useDesktopEntry(*qApp);
        platform::useProgramIcon(*qApp);
        QPointer<QWidget> editor = startup::showEditor();
        const QIcon icon = editor->windowIcon();
        delete editor;

        const QList<QSize> sizes = icon.availableSizes();
        QVERIFY2(sizes.contains(QSize(16, 16)), "no icon drawn for title bars");
        QVERIFY2(sizes.contains(QSize(256, 256)), "no icon drawn for task switchers");

        // Drawn for its size, not a scaled square: see-through corners, a
        // solid disc and card.
        const QImage small = icon.pixmap(QSize(16, 16)).toImage();
        QCOMPARE(small.size(), QSize(16, 16));
        QCOMPARE(qAlpha(small.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(small.pixel(15, 0)), 0);
        QCOMPARE(qAlpha(small.pixel(3, 7)), 255);
        QCOMPARE(qAlpha(small.pixel(11, 11)), 255);
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("vitrandel"));
    }
};

QTEST_MAIN(TestProgramIcon)
#include "tst_program_icon.moc"
