// SPDX-License-Identifier: GPL-2.0-or-later
#include <QApplication>
#include <QFile>
#include <QStyle>
#include <QStyleFactory>
#include <memory>

#include "editor/principal.h"
#include "model/project.h"
#include "platform/application.h"
#include "platform/style.h"
#include "support/gui_test.h"
#include "viewer/ejecucion_form.h"

using namespace vitrandel;

namespace {

bool imagePluginLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

template <typename Window> QImage drawn() {
    Window window;
    window.show();
    return window.grab().toImage();
}

} // namespace

// The program's own style draws the windows pixel for pixel as Qt's Fusion
// does, but without loading Qt's image plugins to do it, which would cost
// the first paint more than everything the window draws.
class TestProgramStyle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        vitrandel_test_support::startGuiTest();
        platform::useDesignFont(*qApp);
    }
    void cleanup() { VITRANDEL_VERIFY_NO_UNANSWERED_BOXES(); }

    void theWindowsLookAsFusionDrawsThemWithoutImagePlugins() {
        QVERIFY(QApplication::style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0);
        Project& p = project();
        p.categoryCount = 2;
        p.categories[0] = "Juegos";
        p.categories[1] = "Utilidades";
        p.elementCount = 2;
        p.elements[0] = Element{.name = "uno", .description = "hola", .category = 1, .fontName = "Arial"};
        p.elements[1] = Element{.name = "dos", .description = "adiós", .category = 2, .fontName = "Arial"};

        platform::useProgramStyle(*qApp);
        const QImage viewer = drawn<ejecucion_form>();
        const QImage editor = drawn<principal>();
        QVERIFY2(!imagePluginLoaded(), "drawing a window loaded Qt's image plugins");

        // The menu bar's button for menus that do not fit keeps Fusion's icon.
        const auto icon = [](QStyle* style) {
            return style->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).pixmap(16).toImage();
        };
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
        QVERIFY(!icon(QApplication::style()).isNull());
        QCOMPARE(icon(QApplication::style()), icon(fusion.get()));

        QApplication::setStyle(QStringLiteral("fusion"));
        QCOMPARE(drawn<ejecucion_form>(), viewer);
        QCOMPARE(drawn<principal>(), editor);
    }
};

QTEST_MAIN(TestProgramStyle)
#include "tst_program_style.moc"
