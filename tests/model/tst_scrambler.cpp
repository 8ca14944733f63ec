// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include "model/scrambler.h"

using namespace vitrandel;

class TestScrambler : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyCodeSurvivesTheRoundTrip() {
        std::string all;
        for (int c = 32; c <= 255; ++c)
            all += static_cast<char>(c);
        const std::string scrambled = encriptar(all, kListingKey, kListingShift);
        QCOMPARE(scrambled.size(), all.size());
        for (char c : scrambled)
            QVERIFY(static_cast<unsigned char>(c) >= 32);
        QCOMPARE(desencriptar(scrambled, kListingKey, kListingShift), all);
        QVERIFY(scrambled != all);
    }

    void closedFormMatchesTheTableWalk_data() {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<int>("shift");
        QTest::newRow("listing key") << QByteArray(kListingKey.data(), kListingKey.size()) << 3;
        QTest::newRow("one letter, no shift") << QByteArray("z") << 0;
        QTest::newRow("high codes, large shift") << QByteArray("\xff\xe9 A~") << 300;
        QTest::newRow("control code in key") << QByteArray("a\tb") << 3;
    }
    void closedFormMatchesTheTableWalk() {
        QFETCH(QByteArray, key);
        QFETCH(int, shift);
        std::string every; // all 256 codes, the ones below 32 included
        for (int c = 0; c <= 255; ++c)
            every += static_cast<char>(c);
        const std::string k = key.toStdString();
        QCOMPARE(encriptar(every, k, shift), encriptarLiteral(every, k, shift));
        QCOMPARE(desencriptar(every, k, shift), desencriptarLiteral(every, k, shift));

        // The table made once reads line after line alike, each from the key's start.
        const Descrambler table(k, shift);
        std::string line = "left over from a longer line than the next";
        table.apply(every, line);
        QCOMPARE(line, desencriptar(every, k, shift));
        table.apply("hola", line);
        QCOMPARE(line, desencriptar("hola", k, shift));
    }

    void keyRestartsAndWraps() {
        // Position 19 of a line uses the key's first letter again.
        const std::string line(40, 'x');
        const std::string s = encriptar(line, kListingKey, kListingShift);
        QCOMPARE(s[18], s[0]);
        QCOMPARE(s[19], s[1]);
        QVERIFY(s[1] != s[0]);
        // Every call starts from the key's first letter.
        QCOMPARE(encriptar("abcabc", kListingKey, 3).substr(0, 3), encriptar("abc", kListingKey, 3));
    }

    void emptyInputsGiveEmptyText() {
        QCOMPARE(encriptar("", kListingKey, 3), std::string());
        QCOMPARE(desencriptar("", kListingKey, 3), std::string());
        QCOMPARE(encriptar("hola", "", 3), std::string());
        QCOMPARE(desencriptar("hola", "", 3), std::string());
        std::string line = "x";
        Descrambler("", 3).apply("hola", line);
        QCOMPARE(line, std::string());
    }

    void controlCodesHaveNoFaithfulImage() {
        // A stray control code in a file unscrambles to code 191, whatever the key.
        QCOMPARE(desencriptar("\x0a", kListingKey, 3), std::string("\xbf"));
        // A control code scrambled comes back as code 254.
        QCOMPARE(desencriptar(encriptar("\r", kListingKey, 3), kListingKey, 3), std::string("\xfe"));
    }

    void rotarAndPosicion() {
        QCOMPARE(rotar("abcd", 1), std::string("bcda"));
        QCOMPARE(rotar("abcd", -1), std::string("dabc"));
        QCOMPARE(rotar("abcd", 9), std::string("bcda"));
        QCOMPARE(rotar("", 5), std::string());
        QCOMPARE(posicion("abcabc", "bc"), 5);
        QCOMPARE(posicion("abc", "B"), -1);
        QCOMPARE(posicion("ab", "abc"), -1);
    }
};

QTEST_APPLESS_MAIN(TestScrambler)
#include "tst_scrambler.moc"
