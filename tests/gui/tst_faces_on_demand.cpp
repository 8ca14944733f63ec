// SPDX-License-Identifier: GPL-2.0-or-later
#include <QApplication>
#include <QFontDatabase>
#include <QListWidget>
#include <QPlainTextEdit>

#include "model/project.h"
#include "platform/application.h"
#include "platform/fonts.h"
#include "support/gui_test.h"
#include "viewer/ejecucion_form.h"

using namespace vitrandel;

// Only the captions' face is loaded at start; the other Windows faces come
// when first asked for, and every answer is the same as if all were loaded.
class TestFacesOnDemand : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        vitrandel_test_support::startGuiTest();
        platform::useDesignFont(*qApp);
    }
    void cleanup() { VITRANDEL_VERIFY_NO_UNANSWERED_BOXES(); }

    void aDescriptionInAnotherWindowsFaceIsDrawnInIt() {
        QCOMPARE(QApplication::font().family(), QStringLiteral("MS Sans Serif"));
        QVERIFY(!QFontDatabase::families().contains(QStringLiteral("Tahoma")));
        Project& p = project();
        p.elementCount = 1;
        p.elements[0] = Element{.name = "uno", .description = "hola", .fontName = "tahoma", .fontSize = 12};
        ejecucion_form viewer;
        viewer.show();
        viewer.findChild<QListWidget*>(QStringLiteral("listado"))->setCurrentRow(0);
        QCOMPARE(viewer.findChild<QPlainTextEdit*>(QStringLiteral("texto"))->font().family(),
                 QStringLiteral("Tahoma"));
    }

    void theChooserListsEveryWindowsFace() {
        const QStringList& faces = platform::installedFonts();
        for (const char* face : {"Courier", "Fixedsys", "MS Sans Serif", "Small Fonts", "System", "Tahoma",
                                 "Wingdings"})
            QVERIFY2(faces.contains(QLatin1String(face)), face);
        QVERIFY(!platform::fuente_no_instalada("FIXEDSYS"));
    }
};

QTEST_MAIN(TestFacesOnDemand)
#include "tst_faces_on_demand.moc"
