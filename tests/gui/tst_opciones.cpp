// SPDX-License-Identifier: GPL-2.0-or-later
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/opciones_form.h"
#include "dialogs/password_gate.h"
#include "dialogs/preguntar_password.h"
#include "model/project.h"
#include "platform/text.h"
#include "support/dialog_test.h"
#include "support/gui_test.h"

using namespace vitrandel;
using namespace vitrandel_test_support;
using namespace Qt::StringLiterals;
using platform::qs;

class TestOpciones : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { startGuiTest(); }
    void init() {
        project() = Project{};
        exchange() = ExchangeFields{};
    }
    void cleanup() { VITRANDEL_VERIFY_NO_UNANSWERED_BOXES(); }

    void promptAcceptsOnlyWithText() {
        bool accepted = false;
        onNextDialog([](QDialog& d) {
            QCOMPARE(d.windowTitle(), u"Archivo protegido por password"_s);
            auto* text = control<QLineEdit>(d, "Text1");
            auto* aceptar = control<QPushButton>(d, "aceptar");
            QCOMPARE(text->echoMode(), QLineEdit::Password);
            QVERIFY(text->text().isEmpty());
            QVERIFY(!aceptar->isEnabled());
            QTest::keyClick(text, Qt::Key_Return);
            QVERIFY(d.isVisible());
            QTest::keyClicks(text, u"a"_s);
            QVERIFY(aceptar->isEnabled());
            QTest::keyClick(text, Qt::Key_Backspace);
            QVERIFY(!aceptar->isEnabled());
            QTest::keyClicks(text, u" Clave 1 "_s);
            QCOMPARE(text->displayText(), u"*********"_s);
            QTest::keyClick(text, Qt::Key_Return);
        });
        accepted = preguntar_password::mostrar(nullptr);
        QVERIFY(accepted);
        QCOMPARE(qs(exchange().enteredPassword), u" Clave 1 "_s);
    }

    // A cancelled prompt never opens the gate, not even when the right
    // password was accepted before; the comparison is exact.
    void gate_data() {
        QTest::addColumn<bool>("protectedListing");
        QTest::addColumn<QString>("previous");
        QTest::addColumn<QString>("typed"); // empty: the prompt is cancelled
        QTest::addColumn<bool>("passes");
        QTest::newRow("no protection") << false << ""
                                       << "" << true;
        QTest::newRow("right password") << true << ""
                                        << "Secreto" << true;
        QTest::newRow("wrong letter case") << true << ""
                                           << "secreto" << false;
        QTest::newRow("trailing blank") << true << ""
                                        << "Secreto " << false;
        QTest::newRow("cancelled") << true << ""
                                   << "" << false;
        QTest::newRow("cancelled after right one") << true << "Secreto"
                                                   << "" << false;
    }
    void gate() {
        QFETCH(bool, protectedListing);
        QFETCH(QString, previous);
        QFETCH(QString, typed);
        QFETCH(bool, passes);
        project().password = "Secreto";
        project().passwordEnabled = toBool16(protectedListing);
        exchange().enteredPassword = platform::ss(previous);
        bool prompted = false;
        onNextDialog([&](QDialog& d) {
            prompted = true;
            if (typed.isEmpty()) {
                control<QPushButton>(d, "cancelar")->click();
                return;
            }
            QTest::keyClicks(control<QLineEdit>(d, "Text1"), typed);
            control<QPushButton>(d, "aceptar")->click();
        });
        QCOMPARE(password_gate(nullptr), passes);
        QCOMPARE(prompted, protectedListing);
        platform::ModalSeam::reset();
    }

    void optionsShowTheProject_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("locked");
        QTest::newRow("unprotected") << false << false;
        QTest::newRow("protected") << true << false;
        QTest::newRow("locked") << false << true;
    }
    void optionsShowTheProject() {
        QFETCH(bool, enabled);
        QFETCH(bool, locked);
        project().password = "Secreto";
        project().passwordEnabled = toBool16(enabled);
        project().locked = toBool16(locked);
        const Project before = project();
        onNextDialog([&](QDialog& d) {
            QCOMPARE(d.windowTitle(), u"Opciones"_s);
            auto* check1 = control<QCheckBox>(d, "Check1");
            auto* text = control<QLineEdit>(d, "Text1");
            QCOMPARE(control<QCheckBox>(d, "Check2")->isChecked(), enabled);
            QCOMPARE(check1->isChecked(), locked);
            QVERIFY(!check1->isEnabled());
            QCOMPARE(text->text(), u"Secreto"_s);
            QCOMPARE(text->displayText(), u"*******"_s);
            QCOMPARE(text->isEnabled(), enabled);
            QTest::mouseClick(check1, Qt::LeftButton);
            QCOMPARE(check1->isChecked(), locked);
            control<QPushButton>(d, "aceptar")->click();
        });
        opciones_form::mostrar(nullptr);
        QCOMPARE(project(), before);
    }

    void optionsChange_data() {
        QTest::addColumn<bool>("enabledBefore");
        QTest::addColumn<bool>("clickCheck2");
        QTest::addColumn<QString>("newText"); // replaces the box's text when not null
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("textEnabledAfterClick");
        QTest::addColumn<bool>("enabledAfter");
        QTest::addColumn<QString>("passwordAfter");
        QTest::newRow("turn off keeps the text") << true << true << "Otra"
                                                 << "aceptar" << false << false << "Otra";
        QTest::newRow("turn on with empty password") << false << true << ""
                                                     << "aceptar" << true << true << "";
        QTest::newRow("cancel changes nothing") << true << true << "Otra"
                                                << "cancelar" << false << true << "Secreto";
    }
    void optionsChange() {
        QFETCH(bool, enabledBefore);
        QFETCH(bool, clickCheck2);
        QFETCH(QString, newText);
        QFETCH(QString, button);
        QFETCH(bool, textEnabledAfterClick);
        QFETCH(bool, enabledAfter);
        QFETCH(QString, passwordAfter);
        project().password = "Secreto";
        project().passwordEnabled = toBool16(enabledBefore);
        onNextDialog([&](QDialog& d) {
            auto* text = control<QLineEdit>(d, "Text1");
            // Typing first: the box may be greyed once Check2 is clicked.
            text->setText(newText);
            if (clickCheck2)
                QTest::mouseClick(control<QCheckBox>(d, "Check2"), Qt::LeftButton);
            QCOMPARE(text->isEnabled(), textEnabledAfterClick);
            control<QPushButton>(d, button.toLatin1().constData())->click();
        });
        opciones_form::mostrar(nullptr);
        QCOMPARE(project().passwordEnabled, toBool16(enabledAfter));
        QCOMPARE(qs(project().password), passwordAfter);
        QCOMPARE(project().locked, kFalse);
    }
};

QTEST_MAIN(TestOpciones)
#include "tst_opciones.moc"
