// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "dialogs/buscar_form.h"
#include "editor/principal.h"
#include "model/project.h"
#include "support/gui_test.h"
#include "viewer/ejecucion_form.h"

using namespace vitrandel;
using namespace Qt::StringLiterals;

namespace {

Project listing() {
    Project p;
    p.title = "Juguetes";
    p.categoryCount = 2;
    p.categories[0] = "Vehículos";
    p.categories[1] = "Música";
    const auto element = [](const char* name, const char* description, std::int16_t category) {
        return Element{.name = name, .description = description, .category = category,
                       .fontName = "Arial", .fontSize = 10};
    };
    p.elements[0] = element("Camión de bomberos", "Rojo", 1);
    p.elements[1] = element("Canciones", "Incluye «El camionero»", 2);
    p.elements[2] = element("Fotos", "Un CAMIÓN en la playa", 0);
    p.elements[3] = element("Árbol", "Nada que ver", 1);
    p.elements[4] = element("Perdido", "Un camión sin categoría", 9);
    p.elementCount = 5;
    return p;
}

const QStringList kAllNames = {u"Camión de bomberos"_s, u"Canciones"_s, u"Fotos"_s, u"Árbol"_s,
                               u"Perdido"_s};

template <typename T> T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

void activate(QWidget* w) {
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

QStringList matches(buscar_form* find) {
    auto* resultados = child<QTreeWidget>(find, "resultados");
    QStringList rows;
    for (int i = 0; i < resultados->topLevelItemCount(); ++i)
        rows << resultados->topLevelItem(i)->text(0) + u" | "_s + resultados->topLevelItem(i)->text(1);
    return rows;
}

// What the user sees in a main window once a match has been chosen.
void checkShown(QWidget* window, const QString& category, const QStringList& names,
                const QString& selected, const QString& description) {
    QCOMPARE(child<QComboBox>(window, "categorias")->currentText(), category);
    auto* listado = child<QListWidget>(window, "listado");
    QStringList listed;
    for (int i = 0; i < listado->count(); ++i)
        listed << listado->item(i)->text();
    QCOMPARE(listed, names);
    const QList<QListWidgetItem*> chosen = listado->selectedItems();
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.first()->text(), selected);
    QVERIFY(child<QGroupBox>(window, "Frame1")->isVisible());
    QCOMPARE(child<QPlainTextEdit>(window, "texto")->toPlainText(), description);
}

#define CHECK_SHOWN(...)                                                                           \
    do {                                                                                           \
        checkShown(__VA_ARGS__);                                                                   \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

} // namespace

class TestBuscar : public QObject {
    Q_OBJECT
    QPointer<QWidget> window_;

    // The editor shown, its find window opened from the menu, "camion" sought.
    principal* editorFindingCamion() {
        auto* editor = new principal;
        window_ = editor;
        editor->show();
        activate(editor);
        editor->proyecto_buscar->trigger();
        if (auto* find = editor->findChild<buscar_form*>(u"buscar_form"_s)) {
            auto* texto = child<QLineEdit>(find, "texto");
            QTest::keyClicks(texto, u"camion"_s);
            QTest::keyClick(texto, Qt::Key_Return);
        }
        return editor;
    }

private Q_SLOTS:
    void initTestCase() { vitrandel_test_support::startGuiTest(); }
    void init() { project() = listing(); }
    void cleanup() {
        project().modified = kFalse;
        delete window_;
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }

    void findInTheViewer() {
        auto* viewer = new ejecucion_form;
        window_ = viewer;
        viewer->show();
        activate(viewer);
        auto* listado = child<QListWidget>(viewer, "listado");
        QCOMPARE(listado->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(listado->actions().first()->text(), u"&Buscar..."_s);

        QTest::keyClick(viewer, Qt::Key_F, Qt::ControlModifier);
        auto* find = viewer->findChild<buscar_form*>(u"buscar_form"_s);
        QVERIFY(find && find->isVisible());
        auto* texto = child<QLineEdit>(find, "texto");
        auto* encontrados = child<QLabel>(find, "encontrados");
        QTest::keyClicks(texto, u"camion"_s);
        const QStringList camion = {u"Camión de bomberos | Vehículos"_s, u"Canciones | Música"_s,
                                    u"Fotos | Sin clasificar"_s, u"Perdido | Sin clasificar"_s};
        QCOMPARE(matches(find), camion);
        QCOMPARE(encontrados->text(), u"4 elementos encontrados."_s);
        texto->setText(u"ÁRBOL"_s);
        QCOMPARE(matches(find), QStringList({u"Árbol | Vehículos"_s}));
        texto->setText(u"zzz"_s);
        QCOMPARE(matches(find), QStringList());
        QCOMPARE(encontrados->text(), u"Ningún elemento contiene ese texto."_s);
        texto->setText(u"CAMIO\u0301N"_s); // the accent typed as a combining mark
        QCOMPARE(matches(find), camion);

        auto* resultados = child<QTreeWidget>(find, "resultados");
        // A double click as the window system delivers it: a click, then the second press.
        const QPoint canciones = resultados->visualItemRect(resultados->topLevelItem(1)).center();
        QTest::mouseClick(resultados->viewport(), Qt::LeftButton, {}, canciones);
        QCOMPARE(child<QListWidget>(viewer, "listado")->selectedItems().size(), 0); // one click only selects
        QTest::mouseDClick(resultados->viewport(), Qt::LeftButton, {}, canciones);
        CHECK_SHOWN(viewer, u"Música"_s, {u"Canciones"_s}, u"Canciones"_s, u"Incluye «El camionero»"_s);

        // "Sin clasificar" lists the whole listing, also an element whose category is gone.
        activate(find);
        QTest::keyClick(find, Qt::Key_F3);
        CHECK_SHOWN(viewer, u"Sin clasificar"_s, kAllNames, u"Fotos"_s, u"Un CAMIÓN en la playa"_s);
        QTest::keyClick(find, Qt::Key_F3);
        CHECK_SHOWN(viewer, u"Sin clasificar"_s, kAllNames, u"Perdido"_s, u"Un camión sin categoría"_s);

        // The window closed, F3 goes on in the index, round to the first match.
        QTest::keyClick(find, Qt::Key_Escape);
        QVERIFY(!find->isVisible());
        activate(viewer);
        QTest::keyClick(viewer, Qt::Key_F3);
        CHECK_SHOWN(viewer, u"Vehículos"_s, QStringList({u"Camión de bomberos"_s, u"Árbol"_s}),
                    u"Camión de bomberos"_s, u"Rojo"_s);
        QCOMPARE(project(), listing());
    }

    void findInTheEditor() {
        principal* editor = editorFindingCamion();
        auto* find = editor->findChild<buscar_form*>(u"buscar_form"_s);
        QVERIFY(find && find->isVisible());
        auto* texto = child<QLineEdit>(find, "texto");
        CHECK_SHOWN(editor, u"Vehículos"_s, QStringList({u"Camión de bomberos"_s, u"Árbol"_s}),
                    u"Camión de bomberos"_s, u"Rojo"_s);
        QVERIFY(editor->eliminar->isEnabled()); // the window's own selection handler ran

        QTest::keyClick(find, Qt::Key_Escape);
        activate(editor);
        QTest::keyClick(editor, Qt::Key_F3);
        CHECK_SHOWN(editor, u"Música"_s, {u"Canciones"_s}, u"Canciones"_s, u"Incluye «El camionero»"_s);
        QTest::keyClick(editor, Qt::Key_F3);
        CHECK_SHOWN(editor, u"Mostrar todos"_s, kAllNames, u"Fotos"_s, u"Un CAMIÓN en la playa"_s);
        QCOMPARE(project(), listing()); // finding is no change: no password, nothing to save

        // The list's context menu brings back the same window with its search.
        QAction* buscar = editor->listado->actions().first();
        QCOMPARE(buscar->text(), u"&Buscar..."_s);
        buscar->trigger();
        QVERIFY(find->isVisible());
        QCOMPARE(editor->findChildren<buscar_form*>().size(), 1);
        QCOMPARE(texto->selectedText(), u"camion"_s);

        // The shown element removed, the next F3 searches the listing as it now is.
        QTest::mouseClick(editor->eliminar, Qt::LeftButton);
        QCOMPARE(project().elementCount, 4);
        activate(editor);
        QTest::keyClick(editor, Qt::Key_F3);
        QCOMPARE(matches(find), QStringList({u"Camión de bomberos | Vehículos"_s, u"Canciones | Música"_s,
                                             u"Perdido | Sin clasificar"_s}));
        CHECK_SHOWN(editor, u"Mostrar todos"_s,
                    QStringList({u"Camión de bomberos"_s, u"Canciones"_s, u"Árbol"_s, u"Perdido"_s}),
                    u"Perdido"_s, u"Un camión sin categoría"_s);
    }

    // Find keeps its place by element: deleting one before the shown match
    // moves the rest up, and F3 still goes on to the next match.
    void findNextAfterADeletionBeforeTheMatch() {
        principal* editor = editorFindingCamion();
        auto* find = editor->findChild<buscar_form*>(u"buscar_form"_s);
        QVERIFY(find);
        QTest::keyClick(find, Qt::Key_F3);
        QCOMPARE(editor->listado->currentItem()->text(), u"Canciones"_s);

        editor->categorias->setCurrentIndex(0);
        editor->listado->setCurrentRow(0);
        QTest::mouseClick(editor->eliminar, Qt::LeftButton);
        activate(editor);
        QTest::keyClick(editor, Qt::Key_F3);
        CHECK_SHOWN(editor, u"Mostrar todos"_s,
                    QStringList({u"Canciones"_s, u"Fotos"_s, u"Árbol"_s, u"Perdido"_s}),
                    u"Fotos"_s, u"Un CAMIÓN en la playa"_s);
    }
};

QTEST_MAIN(TestBuscar)
#include "tst_buscar.moc"
