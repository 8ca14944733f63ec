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
    ExchangeFields& x = exchange();
    x.fontDlgName = name;
    x.fontDlgSize = static_cast<std::int16_t>(size);
    x.fontDlgStyle = static_cast<std::int16_t>(style);
    onNextDialog(std::move(steps));
    fuentes chooser;
    platform::execModal(chooser);
}

QListWidget* list(QDialog& d, const char* name) { return control<QListWidget>(d, name); }

QString picked(QListWidget* l) {
    const auto items = l->selectedItems();
    return items.size() == 1 ? items.first()->text() : QString();
}

// Modifiers: Ctrl takes the selection away, as a user can in any list.
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

    void offersSortedFacesTheFourStylesAndTheStandardSizes() {
        runChooser("Arial", 10, 0, [](QDialog& d) {
            QCOMPARE(d.windowTitle(), u"Cambiar fuente..."_s);
            const QStringList faces = entries(list(d, "List1"));
            QStringList sorted = faces;
            std::sort(sorted.begin(), sorted.end(),
                      [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
            QCOMPARE(faces, sorted);
            // Windows faces are offered under their own names where a stand-in draws them.
            for (const char* face : {"Arial", "Calibri", "Fixedsys", "Liberation Sans"})
                QVERIFY2(faces.contains(QLatin1String(face)), face);
            QCOMPARE(entries(list(d, "List2")), (QStringList{u"Normal"_s, u"Negrita"_s, u"Cursiva"_s, u"Negrita cursiva"_s}));
            QCOMPARE(entries(list(d, "List3")).join(u' '), u"8 9 10 11 12 14 16 18 20 22 24 26 28 36 48 72"_s);
            QCOMPARE(control<QLineEdit>(d, "Text1")->text(), u"Texto de Prueba"_s);
            QVERIFY(control<QPushButton>(d, "aceptar")->isDefault());
        });
    }

    // The chooser opens on the current font as it can show it, and Cancel
    // hands back what it made of it.
    void opensOnTheCurrentFontNormalised_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("shownSize");
        QTest::addColumn<QString>("shownStyle");
        QTest::addColumn<QString>("nameAfterCancel");
        QTest::addColumn<int>("sizeAfterCancel");
        QTest::addColumn<int>("styleAfterCancel");
        QTest::newRow("face in other letter case") << u"liberation SANS"_s << 12 << 1 << u"Liberation Sans"_s
                                                   << u"12"_s << u"Negrita"_s << u"liberation SANS"_s << 12 << 1;
        QTest::newRow("face missing here") << u"Verdana"_s << 9 << 3 << u"Fixedsys"_s << u"9"_s
                                           << u"Negrita cursiva"_s << u"Fixedsys"_s << 9 << 3;
        QTest::newRow("size not offered") << u"Arial"_s << 13 << 2 << u"Arial"_s << u"10"_s << u"Cursiva"_s
                                          << u"Arial"_s << 10 << 2;
        QTest::newRow("style out of range") << u"Arial"_s << 72 << 7 << u"Arial"_s << u"72"_s << u"Normal"_s
                                            << u"Arial"_s << 72 << 0;
    }
    void opensOnTheCurrentFontNormalised() {
        QFETCH(QString, name);
        QFETCH(int, size);
        QFETCH(int, style);
        QFETCH(QString, face);
        QFETCH(QString, shownSize);
        QFETCH(QString, shownStyle);
        runChooser(name.toStdString(), size, style, [&](QDialog& d) {
            QCOMPARE(picked(list(d, "List1")), face);
            QCOMPARE(picked(list(d, "List3")), shownSize);
            QCOMPARE(picked(list(d, "List2")), shownStyle);
            const QFont sample = control<QLineEdit>(d, "Text1")->font();
            QCOMPARE(sample.family(), platform::faceToDraw(face.toStdString()));
            QCOMPARE(sample.pointSize(), shownSize.toInt());
            QCOMPARE(sample.bold(), shownStyle.startsWith(u"Negrita"_s));
            QCOMPARE(sample.italic(), shownStyle.contains(u"ursiva"_s));
            QTest::keyClick(list(d, "List1"), Qt::Key_Escape);
            QVERIFY(!d.isVisible());
        });
        QTEST(platform::qs(exchange().fontDlgName), "nameAfterCancel");
        QTEST(int(exchange().fontDlgSize), "sizeAfterCancel");
        QTEST(int(exchange().fontDlgStyle), "styleAfterCancel");
    }

    void acceptHandsBackTheListChoice() {
        // Accepted unchanged, the face comes back spelt as the list spells it.
        runChooser("liberation sans", 12, 0, [](QDialog& d) { QTest::keyClick(list(d, "List1"), Qt::Key_Return); });
        QCOMPARE(exchange().fontDlgName, std::string("Liberation Sans"));
        QCOMPARE(exchange().fontDlgSize, std::int16_t(12));
        QCOMPARE(exchange().fontDlgStyle, std::int16_t(0));

        runChooser("liberation sans", 12, 0, [](QDialog& d) {
            clickEntry(list(d, "List1"), u"Courier New"_s);
            clickEntry(list(d, "List2"), u"Negrita cursiva"_s);
            clickEntry(list(d, "List3"), u"36"_s);
            const QFont sample = control<QLineEdit>(d, "Text1")->font();
            QCOMPARE(sample.family(), platform::faceToDraw("Courier New"));
            QVERIFY(sample.bold() && sample.italic());
            QCOMPARE(sample.pointSize(), 36);
            QTest::keyClick(list(d, "List3"), Qt::Key_Enter);
            QVERIFY(!d.isVisible());
        });
        QCOMPARE(exchange().fontDlgName, std::string("Courier New"));
        QCOMPARE(exchange().fontDlgSize, std::int16_t(36));
        QCOMPARE(exchange().fontDlgStyle, std::int16_t(3));
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
                QCOMPARE(picked(l), QString());
            }
            MessageBoxSeam::setNextAnswer(platform::vbOK);
            control<QPushButton>(d, "aceptar")->click();
            const auto shown = MessageBoxSeam::takeShown();
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown.first().text, message);
            QCOMPARE(shown.first().style, platform::vbOKOnly + platform::vbExclamation);
            QVERIFY(d.isVisible());
            control<QPushButton>(d, "cancelar")->click();
        });
        QCOMPARE(exchange().fontDlgName, std::string("Arial"));
        QCOMPARE(exchange().fontDlgSize, std::int16_t(12));
        QCOMPARE(exchange().fontDlgStyle, std::int16_t(1));
    }
};

QTEST_MAIN(TestFuentes)
#include "tst_fuentes.moc"
