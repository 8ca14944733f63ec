// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

#include "model/disc_listing.h"
#include "model/listing_writer.h"

using namespace vitrandel;

Q_DECLARE_METATYPE(std::optional<std::string>)

namespace {

// The bytes a shared-mime-info "string" value stands for.
std::string unescaped(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 3 < value.size() && value[i + 1] == 'x') {
            out += static_cast<char>(std::stoi(value.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += value[i];
        }
    }
    return out;
}

} // namespace

class TestDiscListing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // File managers tell a listing by the magic in the MIME type we install;
    // it must be what our writer puts first, whatever the title.
    void theInstalledMagicIsWhatEveryListingStartsWith() {
        std::ifstream in(VITRANDEL_MIME_XML);
        std::stringstream text;
        text << in.rdbuf();
        std::smatch match;
        const std::string xml = text.str();
        QVERIFY(std::regex_search(xml, match, std::regex("<match type=\"string\" offset=\"0\" value=\"([^\"]*)\"")));
        QCOMPARE(unescaped(match[1]), listingSignature());

        for (const char* title : {"", "Mi disco", "Año ñandú"}) {
            Project p;
            p.title = title;
            const std::string bytes = serializeListing(p, ".").bytes;
            QVERIFY(startsLikeListing(bytes));
            QVERIFY(!startsLikeListing(bytes.substr(0, 6)));
        }
        QVERIFY(!startsLikeListing("titulo=Mi disco\r\n"));
    }

    void autorunNamesTheListing_data() {
        QTest::addColumn<QByteArray>("inf");
        QTest::addColumn<std::optional<std::string>>("argument");
        using S = std::optional<std::string>;
        QTest::newRow("program and listing") << QByteArray("[autorun]\r\nopen=vitrandel.exe indice.lst\r\n")
                                             << S("indice.lst");
        QTest::newRow("in a folder, LF only, blanks around")
            << QByteArray("[AutoRun]\n  OPEN = bin\\visor.exe  datos\\Indice.LST \nicon=a.ico\n")
            << S("datos\\Indice.LST");
        QTest::newRow("quoted program, quoted listing with blanks")
            << QByteArray("[autorun]\r\nopen=\"mi programa.exe\" \"mi indice.lst\"\r\n") << S("mi indice.lst");
        QTest::newRow("unquoted listing with blanks taken whole")
            << QByteArray("[autorun]\r\nopen=visor.exe mi indice.lst\r\n") << S("mi indice.lst");
        QTest::newRow("Windows-1252 name") << QByteArray("[autorun]\r\nopen=v.exe \xEDndice.lst\r\n")
                                           << S("\xC3\xADndice.lst");
        QTest::newRow("program alone") << QByteArray("[autorun]\r\nopen=visor.exe\r\n") << S();
        QTest::newRow("open= of another section")
            << QByteArray("[otra]\r\nopen=v.exe a.lst\r\n[autorun]\r\nicon=a.ico\r\n") << S();
        QTest::newRow("no autorun section") << QByteArray("open=v.exe a.lst\r\n") << S();
        QTest::newRow("unclosed quote") << QByteArray("[autorun]\r\nopen=\"v.exe a.lst\r\n") << S();
    }
    void autorunNamesTheListing() {
        QFETCH(QByteArray, inf);
        QFETCH(std::optional<std::string>, argument);
        QCOMPARE(autorunArgument(inf.toStdString()), argument);
    }
};

QTEST_APPLESS_MAIN(TestDiscListing)
#include "tst_disc_listing.moc"
