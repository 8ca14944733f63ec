// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include "model/cp1252.h"
#include "model/helpers.h"
#include "model/listing_text.h"
#include "model/number_text.h"
#include "model/project.h"
#include "model/search.h"

using namespace vitrandel;

class TestTextAndNumbers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void codePageRoundTripsEveryByte() {
        std::string all;
        for (int c = 0; c <= 255; ++c)
            all += static_cast<char>(c);
        const std::string utf8 = cp1252::toUtf8(all);
        QCOMPARE(cp1252::fromUtf8(utf8).value_or("<refused>"), all);
        QCOMPARE(cp1252::toUtf8("\x80\xf1\x81\x9d"), std::string("\u20ac\u00f1\u0081\u009d"));
    }

    void codePageRefusesWhatItCannotHold() {
        QVERIFY(!cp1252::fromUtf8("\u4e2d").has_value());      // a CJK character
        QVERIFY(!cp1252::fromUtf8("\xc3").has_value());        // truncated UTF-8
        QVERIFY(!cp1252::fromUtf8("\xff\xfe").has_value());    // not UTF-8 at all
        QVERIFY(!cp1252::fromUtf8("\xc0\x81").has_value());    // overlong: a hidden control
        QVERIFY(!cp1252::fromUtf8("\xe0\x80\xaf").has_value()); // overlong "/"
        QCOMPARE(cp1252::fromUtf8("Año €").value(), std::string("A\xf1o \x80"));
    }

    void lineBreaksAndControlCodes() {
        QCOMPARE(encodeListingText("a\r\nb\rc\nd\te").value(),
                 std::string("a\xfe\xfe" "b\xfe\xfe" "c\xfe\xfe" "d e"));
        QCOMPARE(decodeListingText("a\xfe\xfe" "b"), std::string("a\nb"));
        // Pairs are taken left to right; a lone 254 is the letter it always was.
        QCOMPARE(decodeListingText("\xfe\xfe\xfe"), std::string("\n\u00fe"));
        QCOMPARE(decodeListingText("x\xfey"), std::string("x\u00fey"));

        // So a "þ" just before a break or another "þ" cannot come back: such
        // text is not stored, and text from elsewhere is made storable first.
        QVERIFY(!encodeListingText("\u00fe\nx").has_value());
        QVERIFY(!encodeListingText("\u00fe\u00fe").has_value());
        QCOMPARE(decodeListingText(encodeListingText("\n\u00fe x\u00fe").value()),
                 std::string("\n\u00fe x\u00fe"));
        std::string text = "\u00fe\r\n\u00fe\u00fe y \u4e2d";
        QCOMPARE(makeStorable(text, '?'), 3);
        QCOMPARE(text, std::string("?\r\n?\u00fe y ?"));
        QVERIFY(encodeListingText(text).has_value());
        // The working folder is read without pairing, so there "þþ" is two letters.
        QCOMPARE(encodeListingPath("C:\\\u00fe\u00fe").value(), std::string("C:\\\xfe\xfe"));
    }

    void numericValue_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("overflows");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << QByteArray(" 3") << false << 3.0;
        QTest::newRow("blanks inside") << QByteArray("1 2") << false << 12.0;
        QTest::newRow("tab and line feed skipped") << QByteArray("\t-\n4") << false << -4.0;
        QTest::newRow("plus sign") << QByteArray("+7") << false << 7.0;
        QTest::newRow("decimal") << QByteArray("2.5") << false << 2.5;
        QTest::newRow("second point stops") << QByteArray("1.2.3") << false << 1.2;
        QTest::newRow("leading point") << QByteArray(".5") << false << 0.5;
        QTest::newRow("E exponent") << QByteArray("1E3") << false << 1000.0;
        QTest::newRow("D exponent, signed") << QByteArray("25d-1") << false << 2.5;
        QTest::newRow("exponent without digits") << QByteArray("4e") << false << 4.0;
        QTest::newRow("hexadecimal") << QByteArray("&H1f") << false << 31.0;
        QTest::newRow("hexadecimal 16-bit sign") << QByteArray("&HFFFF") << false << -1.0;
        QTest::newRow("hexadecimal 32-bit") << QByteArray("&H10000") << false << 65536.0;
        QTest::newRow("octal") << QByteArray("&o17") << false << 15.0;
        QTest::newRow("bare ampersand") << QByteArray("&x") << false << 0.0;
        QTest::newRow("letters") << QByteArray("abc") << false << 0.0;
        QTest::newRow("empty") << QByteArray("") << false << 0.0;
        QTest::newRow("stops at garbage") << QByteArray("12abc3") << false << 12.0;
        QTest::newRow("sign alone") << QByteArray("-") << false << 0.0;
        QTest::newRow("tiny") << QByteArray("1e-999") << false << 0.0;
        QTest::newRow("too large") << QByteArray("1e999") << true << 0.0;
        QTest::newRow("hexadecimal past 32 bits") << QByteArray("&H123456789") << true << 0.0;
    }
    void numericValue() {
        QFETCH(QByteArray, text);
        QFETCH(bool, overflows);
        QFETCH(double, value);
        const auto v = vitrandel::numericValue(text.toStdString());
        QCOMPARE(!v.has_value(), overflows);
        if (v)
            QCOMPARE(*v, value);
    }

    void roundingHalvesToEven() {
        QCOMPARE(toInt16(2.5).value(), std::int16_t(2));
        QCOMPARE(toInt16(3.5).value(), std::int16_t(4));
        QCOMPARE(toInt16(-2.5).value(), std::int16_t(-2));
        QCOMPARE(toInt16(32767.4).value(), std::int16_t(32767));
        QVERIFY(!toInt16(32767.5).has_value());
        QCOMPARE(toInt16(-32768.5).value(), std::int16_t(-32768));
        QVERIFY(!toInt16(99999).has_value());
        QCOMPARE(toInt32(-2147483643.0).value(), std::int32_t(-2147483643));
        QVERIFY(!toInt32(2147483648.0).has_value());
    }

    void numberTextAndBooleans() {
        QCOMPARE(numberText(3), std::string(" 3"));
        QCOMPARE(numberText(0), std::string(" 0"));
        QCOMPARE(numberText(-2147483643), std::string("-2147483643"));
        QVERIFY(readBooleanWord(" VERDADERO "));
        QVERIFY(readBooleanWord("true"));
        QVERIFY(readBooleanWord(booleanWord(kTrue)));
        QVERIFY(!readBooleanWord(booleanWord(kFalse)));
        QVERIFY(!readBooleanWord("1"));
        QVERIFY(!readBooleanWord("Yes"));
        QVERIFY(!readBooleanWord(""));
    }

    void cambiarExtension_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("result");
        QTest::newRow("replace") << "C:\\a\\b.txt" << "C:\\a\\b.lst";
        QTest::newRow("dot in folder") << "C:\\a.b\\c" << "C:\\a.b\\c.lst";
        QTest::newRow("dot in unix folder") << "/datos.2003/informe" << "/datos.2003/informe.lst";
        QTest::newRow("trailing dot") << "nombre." << "nombre.lst";
        QTest::newRow("empty") << "" << ".lst";
        QTest::newRow("last dot only") << "x.tar.gz" << "x.tar.lst";
    }
    void cambiarExtension() {
        QFETCH(QString, path);
        QFETCH(QString, result);
        QCOMPARE(QString::fromStdString(cambiar_extension(path.toStdString(), "lst")), result);
    }

    void searchFolding_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("description");
        QTest::addColumn<bool>("found");
        QTest::newRow("accent and case") << "camion" << QByteArray("Un CAMIÓN rojo") << true;
        QTest::newRow("accented text") << "CAMIÓN" << QByteArray("camion") << true;
        QTest::newRow("eñe") << "nandu" << QByteArray("Ñandú") << true;
        QTest::newRow("diaeresis") << "PINGUINO" << QByteArray("pingüino") << true;
        QTest::newRow("sharp s") << "strasse" << QByteArray("Straße") << true;
        QTest::newRow("ligature of the code page") << "oeuvre" << QByteArray("Œuvre") << true;
        QTest::newRow("other letters") << "leon" << QByteArray("lion") << false;
        QTest::newRow("sign kept") << "2x3" << QByteArray("2×3") << false;
        QTest::newRow("euro sign") << "5 €" << QByteArray("cuesta 5 €") << true;
        QTest::newRow("across a line break") << "a\nb" << QByteArray("a\nb") << true;
        QTest::newRow("stray code-page byte") << "camion" << QByteArray("cami\xf3n") << false;
        QTest::newRow("truncated sequence") << "x" << QByteArray("\xc3") << false;
        QTest::newRow("empty text finds nothing") << "" << QByteArray("algo") << false;
    }
    void searchFolding() {
        QFETCH(QString, text);
        QFETCH(QByteArray, description);
        QFETCH(bool, found);
        Project p;
        p.elements[0] = Element{.name = "Elemento", .description = description.toStdString()};
        p.elementCount = 1;
        QCOMPARE(!ElementSearch().find(p, text.toStdString()).empty(), found);
    }

    // The same search object, kept between keystrokes, while the Project changes under it.
    void searchFollowsTheProject() {
        Project p;
        p.categoryCount = 2;
        p.elements[0] = Element{.name = "Río Ebro", .category = 2};
        p.elements[1] = Element{.name = "Mapa", .description = "Sierra", .category = 9};
        p.elements[2] = Element{.name = "Fotos", .description = "Paseo por el rio"};
        p.elements[3] = Element{.name = "Rio fuera de la lista"};
        p.elementCount = 3;
        ElementSearch search;
        QCOMPARE(search.find(p, "RIO"), (std::vector<int>{0, 2}));
        p.elements[1].description = "Desde el río";
        p.elements[2].description = "Paseo";
        QCOMPARE(search.find(p, "RIO"), (std::vector<int>{0, 1}));
        p.elementCount = 1;
        QCOMPARE(search.find(p, "rio"), (std::vector<int>{0}));

        QCOMPARE(filterEntryFor(p, 0), 2);
        p.elementCount = 3;
        QCOMPARE(filterEntryFor(p, 1), 0); // a number that names no category
        QCOMPARE(filterEntryFor(p, 2), 0);
        QCOMPARE(filterEntryFor(p, 3), 0);
    }

    void standardSizesAndMinimum() {
        for (int s : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
            QVERIFY(!tamano_no_estandar(static_cast<std::int16_t>(s)));
        for (int s : {0, -12, 13, 30, 7, 73})
            QVERIFY(tamano_no_estandar(static_cast<std::int16_t>(s)));
        QCOMPARE(minimo(3, 2), 2);
        QCOMPARE(minimo(-1, 4), -1);
    }
};

QTEST_APPLESS_MAIN(TestTextAndNumbers)
#include "tst_text_and_numbers.moc"
