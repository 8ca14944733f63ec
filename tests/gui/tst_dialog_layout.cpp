// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "dialogs/cambiar_categoria_form.h"
#include "dialogs/cambio_dir.h"
#include "dialogs/com_dlg.h"
#include "dialogs/editar_categorias.h"
#include "dialogs/opciones_form.h"
#include "dialogs/preguntar_nombre.h"
#include "dialogs/preguntar_password.h"
#include "model/project.h"
#include "platform/twips.h"
#include "support/dialog_test.h"
#include "support/gui_test.h"

using namespace vitrandel;
using namespace vitrandel_test_support;
using namespace Qt::StringLiterals;
using platform::twipsRect;

namespace {

std::unique_ptr<QDialog> makeDialog(const QString& kind) {
    if (kind == u"com_dlg")
        return std::make_unique<com_dlg>();
    if (kind == u"cambio_dir")
        return std::make_unique<cambio_dir>();
    if (kind == u"opciones_form")
        return std::make_unique<opciones_form>();
    if (kind == u"preguntar_nombre")
        return std::make_unique<preguntar_nombre>();
    if (kind == u"editar_categorias")
        return std::make_unique<editar_categorias>();
    if (kind == u"cambiar_categoria_form")
        return std::make_unique<cambiar_categoria_form>();
    return std::make_unique<preguntar_password>();
}

// What a screen reader reads a control by: its name, or for a drop-down list,
// whose name is its entry, the caption that labels it.
QString readName(QWidget* control) {
    QAccessibleInterface* self = QAccessible::queryAccessibleInterface(control);
    const auto labels = self->relations(QAccessible::Label);
    if (!qobject_cast<QComboBox*>(control) || labels.isEmpty())
        return self->text(QAccessible::Name);
    return labels.first().first->text(QAccessible::Name);
}

QString caption(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(w))
        return frame->title();
    return {};
}

} // namespace

class TestDialogLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        startGuiTest();
        exchange().fileDlgCaption = "Abrir...";
        exchange().dirDlgStart = ".";
    }
    void cleanup() { VITRANDEL_VERIFY_NO_UNANSWERED_BOXES(); }

    // One row for each window (empty control: its inner size and caption),
    // then one for each control.
    void controlsSitWhereDesigned_data() {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("caption");
        auto row = [](const char* dialog, const char* name, QRect r, const char* text) {
            QTest::addRow("%s %s", dialog, name)
                << QString::fromLatin1(dialog) << QString::fromLatin1(name) << r
                << QString::fromUtf8(text);
        };
        row("com_dlg", "", QRect(0, 0, 5775, 3435), "Abrir...");
        row("com_dlg", "Label1", QRect(480, 240, 720, 255), "Unidad :");
        row("com_dlg", "Drive1", QRect(1200, 240, 2895, 315), "");
        row("com_dlg", "Dir1", QRect(360, 600, 2535, 1665), "");
        row("com_dlg", "File1", QRect(2880, 600, 2655, 1650), "");
        row("com_dlg", "Label2", QRect(360, 2400, 1560, 255), "Nombre de archivo :");
        row("com_dlg", "Text1", QRect(1920, 2400, 2175, 285), "");
        row("com_dlg", "Label3", QRect(360, 2880, 1320, 255), "Tipo de archivo :");
        row("com_dlg", "Combo1", QRect(1680, 2880, 2415, 315), "");
        row("com_dlg", "aceptar", QRect(4200, 2400, 1455, 375), "&Aceptar");
        row("com_dlg", "cancelar", QRect(4200, 2880, 1455, 375), "Cancelar");
        row("cambio_dir", "", QRect(0, 0, 4365, 3165), "Seleccione un directorio...");
        row("cambio_dir", "Drive1", QRect(240, 120, 2295, 315), "");
        row("cambio_dir", "Dir1", QRect(240, 600, 2295, 2340), "");
        row("cambio_dir", "aceptar", QRect(2760, 240, 1455, 375), "&Aceptar");
        row("cambio_dir", "cancelar", QRect(2760, 720, 1455, 375), "Cancelar");
        row("cambio_dir", "dejar", QRect(2760, 1680, 1455, 375), "Ruta por defecto");
        row("opciones_form", "", QRect(0, 0, 5775, 3105), "Opciones");
        row("opciones_form", "Check1", QRect(360, 480, 5055, 255),
            "Impedir futuras modificaciones (no se volverá a preguntar)");
        row("opciones_form", "Check2", QRect(360, 960, 2175, 255), "Protegido por password");
        row("opciones_form", "Text1", QRect(2520, 960, 2535, 285), "");
        row("opciones_form", "aceptar", QRect(4200, 1560, 1455, 375), "&Aceptar");
        row("opciones_form", "cancelar", QRect(4200, 2040, 1455, 375), "Cancelar");
        row("opciones_form", "recordar_biblioteca", QRect(360, 2640, 5055, 255),
            "Recordar en la biblioteca los listados que abro");
        row("preguntar_password", "", QRect(0, 0, 5985, 1170), "Archivo protegido por password");
        row("preguntar_password", "Label1", QRect(240, 360, 1455, 255), "Ingrese password :");
        row("preguntar_password", "Text1", QRect(1680, 360, 2415, 285), "");
        row("preguntar_password", "aceptar", QRect(4320, 120, 1455, 375), "&Aceptar");
        row("preguntar_password", "cancelar", QRect(4320, 600, 1455, 375), "Cancelar");
        row("preguntar_nombre", "", QRect(0, 0, 5505, 1290), "Ingrese el nombre del elemento...");
        row("preguntar_nombre", "Label1", QRect(240, 240, 2775, 255), "Nombre :");
        row("preguntar_nombre", "Text1", QRect(960, 240, 2775, 285), "");
        row("preguntar_nombre", "Combo1", QRect(1200, 720, 2535, 315), "");
        row("preguntar_nombre", "aceptar", QRect(3960, 240, 1335, 375), "&Aceptar");
        row("preguntar_nombre", "cancelar", QRect(3960, 720, 1335, 375), "Cancelar");
        row("preguntar_nombre", "Label2", QRect(240, 720, 975, 255), "Categoría :");
        row("editar_categorias", "", QRect(0, 0, 4680, 2955), "Editar categorías");
        row("editar_categorias", "Label1", QRect(360, 240, 1815, 255), "Categorias existenetes :");
        row("editar_categorias", "Text1", QRect(2400, 720, 1815, 285), "");
        row("editar_categorias", "List1", QRect(360, 600, 1815, 1620), "");
        row("editar_categorias", "eliminar", QRect(2520, 1320, 1575, 375), "&Eliminar");
        row("editar_categorias", "salir", QRect(600, 2400, 1575, 375), "&Aceptar");
        row("editar_categorias", "Frame1", QRect(2280, 240, 2175, 1935), "Categoría seleccionada");
        row("editar_categorias", "Cancelar", QRect(2400, 2400, 1575, 375), "Cancelar");
        row("cambiar_categoria_form", "", QRect(0, 0, 4170, 1140), "Ingrese la nueva categoría");
        row("cambiar_categoria_form", "Combo1", QRect(240, 360, 2175, 315), "");
        row("cambiar_categoria_form", "aceptar", QRect(2520, 120, 1455, 375), "&Aceptar");
        row("cambiar_categoria_form", "cancelar", QRect(2520, 600, 1455, 375), "Cancelar");
    }
    void controlsSitWhereDesigned() {
        QFETCH(QString, dialog);
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(QString, caption);
        const auto window = makeDialog(dialog);
        const QRect expected = twipsRect(twips.x(), twips.y(), twips.width(), twips.height());
        if (name.isEmpty()) {
            QCOMPARE(window->size(), expected.size());
            QCOMPARE(window->windowTitle(), caption);
            return;
        }
        const auto* w = window->findChild<QWidget*>(name);
        QVERIFY2(w, qPrintable(name));
        QCOMPARE(w->parentWidget(), window.get());
        QCOMPARE(w->geometry(), expected);
        QCOMPARE(::caption(w), caption);
        if (name == u"aceptar")
            QVERIFY(static_cast<const QPushButton*>(w)->isDefault());
    }

    // Each text box and list is read by the caption beside it, and Tab
    // reaches every control that takes input.
    void everyControlIsNamedAndReachable_data() {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QStringList>("names");
        auto row = [](const char* dialog, QStringList names) {
            QTest::newRow(dialog) << QString::fromLatin1(dialog) << names;
        };
        row("com_dlg", {u"Drive1=Unidad"_s, u"Dir1=Carpetas"_s, u"File1=Archivos"_s,
                        u"Text1=Nombre de archivo"_s, u"Combo1=Tipo de archivo"_s});
        row("cambio_dir", {u"Dir1=Carpetas"_s});
        row("opciones_form", {u"Text1=Protegido por password"_s});
        row("preguntar_password", {u"Text1=Ingrese password"_s});
        row("preguntar_nombre", {u"Text1=Nombre"_s, u"Combo1=Categoría"_s});
        row("editar_categorias", {u"List1=Categorias existenetes"_s, u"Text1=Categoría seleccionada"_s});
        row("cambiar_categoria_form", {});
    }
    void everyControlIsNamedAndReachable() {
        QFETCH(QString, dialog);
        QFETCH(QStringList, names);
        const auto window = makeDialog(dialog);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QStringList read;
        for (const QString& pair : names) {
            auto* control = window->findChild<QWidget*>(pair.section(u'=', 0, 0));
            QVERIFY2(control, qPrintable(pair));
            read << control->objectName() + u'=' + readName(control);
        }
        QCOMPARE(read, names);

        QSet<QWidget*> reached;
        QWidget* w = window.get();
        do {
            w = w->nextInFocusChain();
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window.get()))
                reached.insert(w);
        } while (w != window.get());
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const bool input = qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                               qobject_cast<QAbstractItemView*>(control) || qobject_cast<QComboBox*>(control);
            if (!input || control->objectName().isEmpty() || !control->isVisibleTo(window.get()))
                continue;
            QVERIFY2(reached.contains(control), qPrintable(control->objectName()));
            QVERIFY2(!readName(control).isEmpty(), qPrintable(control->objectName()));
        }
    }

    void typingStartsInTheNameBox_data() {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("com_dlg") << "com_dlg";
        QTest::newRow("preguntar_password") << "preguntar_password";
        QTest::newRow("preguntar_nombre") << "preguntar_nombre";
        QTest::newRow("editar_categorias") << "editar_categorias";
    }
    void typingStartsInTheNameBox() {
        QFETCH(QString, dialog);
        const auto window = makeDialog(dialog);
        QCOMPARE(window->focusWidget(), window->findChild<QLineEdit*>(u"Text1"_s));
    }
};

QTEST_MAIN(TestDialogLayout)
#include "tst_dialog_layout.moc"
