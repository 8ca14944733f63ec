// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include "model/cp1252.h"
#include "model/folder_fill.h"

using namespace vitrandel;

using Entries = std::vector<std::pair<std::string, std::string>>;
Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(Entries)

class TestFolderFill : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void descriptIonEntries_data() {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<Entries>("expected");
        QTest::newRow("plain and quoted")
            << std::string("foto.jpg Una foto\r\n\"mi disco.mp3\"   Con blancos  \r\n")
            << Entries{{"foto.jpg", "Una foto"}, {"mi disco.mp3", "Con blancos"}};
        QTest::newRow("tab, no description, blank line, unclosed quote")
            << std::string("a.txt\tTexto\nsolo.txt\n\n\"roto.txt sin cierre\nb.txt b")
            << Entries{{"a.txt", "Texto"}, {"b.txt", "b"}};
        QTest::newRow("shell mark with line breaks")
            << std::string("x.zip Uno\\nDos\x04\xc2 interno\n")
            << Entries{{"x.zip", "Uno\nDos"}};
        QTest::newRow("backslash n without the mark stays")
            << std::string("c.txt C:\\nuevo\n") << Entries{{"c.txt", "C:\\nuevo"}};
    }
    void descriptIonEntries() {
        QFETCH(std::string, text);
        QFETCH(Entries, expected);
        QCOMPARE(parseDescriptIon(text), expected);
    }

    // A bounded read may stop inside a line or a character; neither may
    // turn a UTF-8 text into code-page mojibake.
    void textFilesCutShort() {
        QCOMPARE(decodeTextFile("uno\ndos tr", true), std::string("uno\n"));
        QCOMPARE(decodeTextFile("canci\xc3\xb3n\xc3", true), std::string("canci\xc3\xb3n"));
        QCOMPARE(decodeTextFile("canci\xf3n", false), std::string("canci\xc3\xb3n"));
        QCOMPARE(decodeTextFile("\xef\xbb\xbf" "a", false), std::string("a"));
    }

    void replacingWhatTheCodePageCannotHold() {
        std::string text = "a\xe6\x97\xa5\xff" "b€";
        QCOMPARE(cp1252::replaceUnsupported(text, '?'), 2);
        QCOMPARE(text, std::string("a??b€"));
    }

    void naturalOrder() {
        std::vector<std::string> names = {"pista10", "Pista2", "pista1", "pista02", "b"};
        std::stable_sort(names.begin(), names.end(),
                         [](const std::string& a, const std::string& b) { return naturalLess(a, b); });
        QCOMPARE(names, (std::vector<std::string>{"b", "pista1", "Pista2", "pista02", "pista10"}));
    }

    // An element numbered past the list (as listings made elsewhere are)
    // stays outside every category when a subfolder adds one at its number.
    void aNewCategoryTakesNoStrayElement() {
        Project p;
        p.categories[0] = "Uno";
        p.categoryCount = 1;
        p.elements[0].name = "Perdido";
        p.elements[0].category = 2;
        p.elementCount = 1;
        FolderScan scan;
        ScannedFolder sub;
        sub.name = "Fotos";
        sub.listingPath = "Fotos";
        sub.files = {"gato.jpg"};
        scan.subfolders.push_back(sub);
        scan.readStart = [](const ScannedFolder&, const std::string&, std::size_t) { return std::string(); };
        const FolderFillReport report = addFolderToProject(p, scan, 0);
        QCOMPARE(report.categoriesAdded, 1);
        QCOMPARE(p.categories[1], std::string("Fotos"));
        QCOMPARE(p.elements[0].category, std::int16_t(0));
        QCOMPARE(p.elements[1].name, std::string("gato"));
        QCOMPARE(p.elements[1].category, std::int16_t(2));
    }
};

QTEST_APPLESS_MAIN(TestFolderFill)
#include "tst_folder_fill.moc"
