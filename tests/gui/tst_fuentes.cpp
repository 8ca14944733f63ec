// SPDX-License-Identifier: GPL-2.0-or-later
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "description/fuentes.h"
#include "model/project.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "support/dialog_test.h"
#include "support/gui_test.h"

using namespace vitrandel;
using namespace vitrandel_test_support;
using namespace Qt::StringLiterals;
using platform::MessageBoxSeam;

namespace {

void runChooser(const std::string& name, int size, int style, std::function<void(QDialog&)> steps) {
    exchange().fontDlgName = name;
    exchange().fontDlgSize = static_cast<std::int16_t>(size);
    exchange().fontDlgStyle = static_cast<std::int16_t>(style);
    onNextDialog(std::move(steps));
    fuentes chooser;
    platform::execModal(chooser);
}

QListWidget* list(QDialog& d, const char* name) { return control<QListWidget>(d, name); }

QString picked(QListWidget* l) {
    const auto items = l->selectedItems();
    return items.size() == 1 ? items.first()->text() : QString();
}

// Face, size and style as the lists show them, and as the fields hold them.
QString shownChoice(QDialog& d) {
    return picked(list(d, "List1")) + u'|' + picked(list(d, "List3")) + u'|' + picked(list(d, "List2"));
}
QString fields() {
    const ExchangeFields& x = exchange();
    return u"%1|%2|%3"_s.arg(platform::qs(x.fontDlgName)).arg(x.fontDlgSize).arg(x.fontDlgStyle);
}

// With Ctrl, a click takes the selection away, as in any list.
void clickEntry(QListWidget* l, const QString& text, Qt::KeyboardModifiers modifiers = {}) {
    const auto found = l->findItems(text, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(text));
    l->scrollToItem(found.first());
    QTest::mouseClick(l->viewport(), Qt::LeftButton, modifiers, l->visualItemRect(found.first()).center());
}

} // namespace

class TestFuentes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { startGuiTest(); }
    void cleanup() { VITRANDEL_VERIFY_NO_UNANSWERED_BOXES(); }

    // The chooser opens on the current font as it can show it, the sample
    // drawn in it, and Escape hands back what it made of it.
    void opensOnTheCurrentFontNormalised_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("afterCancel");
        QTest::newRow("face in other letter case") << u"liberation SANS"_s << 12 << 1
                                                   << u"Liberation Sans|12|Negrita"_s << u"liberation SANS|12|1"_s;
        QTest::newRow("face missing here") << u"Verdana"_s << 9 << 3 << u"Verdana|9|Negrita cursiva"_s
                                           << u"Verdana|9|3"_s;
        QTest::newRow("size not offered") << u"Arial"_s << 13 << 2 << u"Arial|10|Cursiva"_s << u"Arial|10|2"_s;
        QTest::newRow("style out of range") << u"Arial"_s << 72 << 7 << u"Arial|72|Normal"_s << u"Arial|72|0"_s;
    }
    void opensOnTheCurrentFontNormalised() {
        QFETCH(QString, name);
        QFETCH(int, size);
        QFETCH(int, style);
        QFETCH(QString, shown);
        runChooser(name.toStdString(), size, style, [&](QDialog& d) {
            QCOMPARE(shownChoice(d), shown);
            const QFont sample = control<QLineEdit>(d, "Text1")->font();
            QCOMPARE(sample.family(), platform::faceToDraw(shown.section(u'|', 0, 0).toStdString()));
            QCOMPARE(sample.pointSize(), shown.section(u'|', 1, 1).toInt());
            QCOMPARE(sample.bold() + 2 * sample.italic(), list(d, "List2")->currentRow());
            QTest::keyClick(list(d, "List1"), Qt::Key_Escape);
        });
        QTEST(fields(), "afterCancel");
    }

    void acceptHandsBackTheListChoice() {
        // Accepted unchanged with Enter, the face comes back spelt as the list spells it.
        runChooser("liberation sans", 12, 0, [](QDialog& d) {
            const QStringList faces = entries(list(d, "List1"));
            QStringList sorted = faces;
            std::sort(sorted.begin(), sorted.end(),
                      [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
            QCOMPARE(faces, sorted);
            // Windows faces are offered by their own names where a stand-in draws them.
            QVERIFY(faces.contains(u"Arial"_s) && faces.contains(u"Calibri"_s));
            QCOMPARE(entries(list(d, "List3")).join(u' '), u"8 9 10 11 12 14 16 18 20 22 24 26 28 36 48 72"_s);
            QTest::keyClick(list(d, "List1"), Qt::Key_Return);
        });
        QCOMPARE(fields(), u"Liberation Sans|12|0"_s);

        runChooser("liberation sans", 12, 0, [](QDialog& d) {
            clickEntry(list(d, "List1"), u"Courier New"_s);
            clickEntry(list(d, "List2"), u"Negrita cursiva"_s);
            clickEntry(list(d, "List3"), u"36"_s);
            control<QPushButton>(d, "aceptar")->click();
        });
        QCOMPARE(fields(), u"Courier New|36|3"_s);

        // A face this machine lacks is offered in its place in the list and
        // kept when only the size and style change.
        runChooser("Verdana", 12, 0, [](QDialog& d) {
            const QStringList faces = entries(list(d, "List1"));
            QVERIFY(faces.indexOf(u"Verdana"_s) > faces.indexOf(u"Courier New"_s));
            clickEntry(list(d, "List2"), u"Cursiva"_s);
            clickEntry(list(d, "List3"), u"14"_s);
            QTest::keyClick(list(d, "List3"), Qt::Key_Return);
        });
        QCOMPARE(fields(), u"Verdana|14|2"_s);
    }

    // Each list must hold a choice; only the first one missing is reported,
    // and the window waits for it.
    void acceptRefusesAnIncompleteChoice_data() {
        QTest::addColumn<QStringList>("emptied");
        QTest::addColumn<QString>("message");
        QTest::newRow("face") << QStringList{u"List1"_s} << u"Debe seleccionar un nombre de fuente válido"_s;
        QTest::newRow("style") << QStringList{u"List2"_s} << u"Debe seleccionar un estilo de fuente válido"_s;
        QTest::newRow("size") << QStringList{u"List3"_s} << u"Debe seleccionar un tamaño de fuente válido"_s;
        QTest::newRow("size and face") << QStringList{u"List3"_s, u"List1"_s}
                                       << u"Debe seleccionar un nombre de fuente válido"_s;
    }
    void acceptRefusesAnIncompleteChoice() {
        QFETCH(QStringList, emptied);
        QFETCH(QString, message);
        runChooser("Arial", 12, 1, [&](QDialog& d) {
            for (const QString& name : emptied) {
                QListWidget* l = list(d, name.toLatin1().constData());
                clickEntry(l, picked(l), Qt::ControlModifier);
            }
            MessageBoxSeam::setNextAnswer(platform::vbOK);
            control<QPushButton>(d, "aceptar")->click();
            const auto shown = MessageBoxSeam::takeShown();
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown.first().text, message);
            QCOMPARE(shown.first().style, platform::vbOKOnly + platform::vbExclamation);
            QVERIFY(d.isVisible());
        });
        QCOMPARE(fields(), u"Arial|12|1"_s);
    }
};

QTEST_MAIN(TestFuentes)
#include "tst_fuentes.moc"
