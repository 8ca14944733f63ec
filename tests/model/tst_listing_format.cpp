// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>
#include <functional>

#include "listing_fixtures.h"
#include "model/cp1252.h"
#include "model/listing_reader.h"
#include "model/listing_writer.h"

using namespace vitrandel;

namespace {

// Every code 32..255 of the file's code page, as the UTF-8 the program holds.
std::string everyPrintableCode() {
    std::string bytes;
    for (int c = 32; c <= 255; ++c)
        bytes += static_cast<char>(c);
    return cp1252::toUtf8(bytes);
}

Project fullProject() {
    Project p;
    p.title = "Índice " + everyPrintableCode();
    p.password = " clave con blancos ";
    p.passwordEnabled = kTrue;
    p.locked = kTrue;
    p.categoryCount = kMaxCategories;
    for (int i = 0; i < kMaxCategories; ++i)
        p.categories[i] = "Categoría " + std::to_string(i);
    p.elementCount = kMaxElements;
    for (int i = 0; i < kMaxElements; ++i) {
        Element& e = p.elements[i];
        e.name = "Elemento " + std::to_string(i) + " ñ€";
        e.description = i % 3 == 0 ? "línea 1\nlínea 2\n\nfin" : everyPrintableCode();
        e.imagePath = i % 2 ? "fotos\\foto" + std::to_string(i) + ".jpg" : "";
        e.fitImage = toBool16(i % 4 == 1);
        e.category = static_cast<std::int16_t>(i % 52);
        e.fontName = i % 2 ? "Arial" : "Times New Roman";
        e.fontSize = static_cast<std::int16_t>(8 + i % 5);
        e.fontBold = toBool16(i & 1);
        e.fontItalic = toBool16(i & 2);
        e.textColor = i == 7 ? kWindowBackgroundColor : i * 65793;
    }
    return p;
}

ParseOutcome parse(const std::vector<std::string>& lines, const Project& base = Project{}) {
    return parseListing(scrambledFile(lines), base);
}

} // namespace

class TestListingFormat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeProjectsRoundTrip() {
        for (const Project& original : {Project{}, fullProject()}) {
            const SerializeOutcome out = serializeListing(original, "/unused");
            QVERIFY(out.ok());
            const ParseOutcome back = parseListing(out.bytes, Project{});
            QVERIFY(!back.error);
            QCOMPARE(back.listing.project.elementCount, original.elementCount);
            QCOMPARE(back.listing.project.categoryCount, original.categoryCount);
            QVERIFY(back.listing.project == original);
        }
    }

    void recordedWorkingDirectoryRoundTrips() {
        Project p;
        p.useCurrentDir = kFalse;
        const ParseOutcome back =
            parseListing(serializeListing(p, "/media/cd/índice").bytes, Project{});
        QCOMPARE(back.listing.project.useCurrentDir, kFalse);
        QCOMPARE(back.listing.workingDir, std::string("/media/cd/índice"));
        QCOMPARE(back.listing.directoryChanges.size(), std::size_t(1));
    }

    void writerLayout() {
        const auto empty = unscrambledLines(serializeListing(Project{}, "/x").bytes);
        QCOMPARE(empty, (std::vector<std::string>{"titulo=", "password=", "password activado=False",
                                                  "ruta actual=.", "[categorias]", "[fin]"}));

        Project p;
        p.locked = kTrue;
        p.useCurrentDir = kFalse;
        p.categoryCount = 1;
        p.categories[0] = "Música";
        p.elementCount = 1;
        Element& e = p.elements[0];
        e.name = "a";
        e.description = "uno\r\ndos\tfin";
        e.category = 3;
        e.fontBold = e.fontItalic = kTrue;
        e.textColor = kWindowBackgroundColor;
        e.fitImage = kTrue;
        const auto lines = unscrambledLines(serializeListing(p, "/discos/uno").bytes);
        QCOMPARE(lines, (std::vector<std::string>{
                            "titulo=", "password=", "password activado=False",
                            "[no mas modificaciones, plis]", "ruta actual=/discos/uno",
                            "[categorias]", "agregar=M\xfasica", "[fin]", "[listado]", "nombre=a",
                            "descripcion=uno\xfe\xfe" "dos fin", "ruta imagen=", "num grupo= 3",
                            "nombre fuente=", "tama\xf1o fuente= 0", "estilo fuente= 3",
                            "color de fondo=-2147483643", "ajuste de imagen=True", "[fin]"}));
    }

    void writerRefusesTextTheCodePageCannotHold() {
        Project p;
        p.elementCount = 2;
        p.elements[1].description = "\u4e2d";
        const SerializeOutcome out = serializeListing(p, ".");
        QVERIFY(!out.ok());
        QCOMPARE(out.badField, std::string("elements[1].description"));
        QVERIFY(out.bytes.empty());
    }

    void handMadeFiles() {
        struct Case {
            const char* name;
            std::string bytes;
            std::function<void(const ParseOutcome&)> check;
        };
        auto noError = [](const ParseOutcome& r) { QVERIFY(!r.error); };
        auto errorAt = [](ReadErrorKind kind, int line) {
            return [=](const ParseOutcome& r) {
                QVERIFY(r.error.has_value());
                QCOMPARE(int(r.error->kind), int(kind));
                QCOMPARE(r.error->line, line);
            };
        };
        auto element = [](std::vector<std::string> keys) {
            std::vector<std::string> block{"[listado]"};
            block.insert(block.end(), keys.begin(), keys.end());
            block.push_back("[fin]");
            return block;
        };
        auto concat = [](std::vector<std::vector<std::string>> parts) {
            std::vector<std::string> all;
            for (auto& part : parts)
                all.insert(all.end(), part.begin(), part.end());
            return scrambledFile(all);
        };
        std::vector<std::string> elements257;
        for (int i = 0; i < 257; ++i)
            for (auto& l : element({"nombre=e" + std::to_string(i)}))
                elements257.push_back(l);
        std::vector<std::string> categories52{"[categorias]"};
        for (int i = 0; i < 52; ++i)
            categories52.push_back("agregar=c" + std::to_string(i));
        categories52.push_back("[fin]");

        const std::vector<Case> cases = {
            {"empty file", "",
             [&](const ParseOutcome& r) {
                 noError(r);
                 QCOMPARE(r.listing.project.elementCount, std::int16_t(0));
                 QCOMPARE(r.listing.project.locked, kFalse);
             }},
            {"keys in any case, first column only", scrambledFile({"TITULO=Hola", "  password=x"}),
             [&](const ParseOutcome& r) {
                 QCOMPARE(r.listing.project.title, std::string("Hola"));
                 QCOMPARE(r.listing.project.password, std::string());
             }},
            {"boolean words", scrambledFile({"password activado= VERDADERO ", "[LISTADO]",
                                             "ajuste de imagen=1", "TAMA\xD1O FUENTE=12", " [fin] "}),
             [&](const ParseOutcome& r) {
                 QCOMPARE(r.listing.project.passwordEnabled, kTrue);
                 QCOMPARE(r.listing.project.elementCount, std::int16_t(1));
                 QCOMPARE(r.listing.project.elements[0].fitImage, kFalse);
                 QCOMPARE(r.listing.project.elements[0].fontSize, std::int16_t(12));
             }},
            {"lock marker with trailing text", scrambledFile({"[No Mas Modificaciones, plis] ok"}),
             [&](const ParseOutcome& r) { QCOMPARE(r.listing.project.locked, kTrue); }},
            {"working dot with blanks", scrambledFile({"ruta actual= . "}),
             [&](const ParseOutcome& r) {
                 QCOMPARE(r.listing.project.useCurrentDir, kTrue);
                 QVERIFY(r.listing.directoryChanges.empty());
             }},
            {"repeated sections append",
             concat({{"[categorias]", "agregar=a", "[fin]"}, element({"nombre=x"}),
                     {"[categorias]", "agregar=b", "[fin]"}, element({"nombre=y"})}),
             [&](const ParseOutcome& r) {
                 QCOMPARE(r.listing.project.categoryCount, std::int16_t(2));
                 QCOMPARE(r.listing.project.categories[1], std::string("b"));
                 QCOMPARE(r.listing.project.elements[1].name, std::string("y"));
             }},
            {"unterminated block swallows the next",
             scrambledFile({"[listado]", "nombre=a", "[listado]", "nombre=b", "[fin]"}),
             [&](const ParseOutcome& r) {
                 QCOMPARE(r.listing.project.elementCount, std::int16_t(1));
                 QCOMPARE(r.listing.project.elements[0].name, std::string("b"));
             }},
            {"unterminated categories consume the rest",
             scrambledFile({"[categorias]", "agregar=a", "[listado]", "nombre=x", "[fin]"}),
             [&](const ParseOutcome& r) {
                 QCOMPARE(r.listing.project.categoryCount, std::int16_t(1));
                 QCOMPARE(r.listing.project.elementCount, std::int16_t(0));
             }},
            {"category numbers",
             concat({element({"num grupo=2.5"}), element({"num grupo= 3.5"}),
                     element({"num grupo=abc"}), element({"num grupo=1 2"}),
                     element({"estilo fuente= 3"}), element({"estilo fuente=4"})}),
             [&](const ParseOutcome& r) {
                 noError(r);
                 const auto& e = r.listing.project.elements;
                 QCOMPARE(e[0].category, std::int16_t(2));
                 QCOMPARE(e[1].category, std::int16_t(4));
                 QCOMPARE(e[2].category, std::int16_t(0));
                 QCOMPARE(e[3].category, std::int16_t(12));
                 QVERIFY(isTrue(e[4].fontBold) && isTrue(e[4].fontItalic));
                 QVERIFY(!isTrue(e[5].fontBold) && !isTrue(e[5].fontItalic));
             }},
            {"overflow in a 16-bit field",
             scrambledFile({"titulo=t", "[listado]", "nombre=a", "num grupo=99999", "[fin]"}),
             errorAt(ReadErrorKind::Overflow, 4)},
            {"overflow in the colour", scrambledFile({"[listado]", "color de fondo=2147483648"}),
             errorAt(ReadErrorKind::Overflow, 2)},
            {"257th element", scrambledFile(elements257),
             errorAt(ReadErrorKind::SubscriptOutOfRange, 256 * 3 + 2)},
            {"52nd category", scrambledFile(categories52),
             errorAt(ReadErrorKind::SubscriptOutOfRange, 53)},
            {"not a listing", "Esto no es un listado.\r\nSolo texto.\r\n",
             [&](const ParseOutcome& r) {
                 noError(r);
                 QCOMPARE(r.listing.project.elementCount, std::int16_t(0));
                 QCOMPARE(r.listing.project.title, std::string());
             }},
            {"carriage returns alone end lines",
             scrambledFile({"titulo=CR", "[listado]", "nombre=x", "[fin]"}, "\r"),
             [&](const ParseOutcome& r) {
                 QCOMPARE(r.listing.project.title, std::string("CR"));
                 QCOMPARE(r.listing.project.elements[0].name, std::string("x"));
             }},
            {"old-style line breaks", scrambledFile({"[listado]", "descripcion=a\xfe\xfe" "b", "[fin]"}),
             [&](const ParseOutcome& r) {
                 QCOMPARE(r.listing.project.elements[0].description, std::string("a\nb"));
             }},
        };
        for (const Case& c : cases) {
            qInfo("case: %s", c.name);
            c.check(parseListing(c.bytes, Project{}));
            if (QTest::currentTestFailed())
                QFAIL(c.name);
        }
    }

    void fieldsTheFileDoesNotMentionKeepTheirValues() {
        Project base;
        base.title = "antes";
        base.password = "secreto";
        base.locked = kTrue;
        base.elements[1].name = "viejo";
        const ParseOutcome r = parse({"[listado]", "nombre=nuevo", "[fin]"}, base);
        QCOMPARE(r.listing.project.title, std::string("antes"));
        QCOMPARE(r.listing.project.password, std::string("secreto"));
        QCOMPARE(r.listing.project.locked, kFalse);
        QCOMPARE(r.listing.project.elements[1].name, std::string("viejo"));
        QCOMPARE(r.listing.project.elementCount, std::int16_t(1));
    }

    void normalisationAfterReading() {
        Project p;
        p.elementCount = 2;
        p.elements[0] = Element{.fontName = "Inexistente", .fontSize = 13, .textColor = -5};
        p.elements[1] = Element{.fontName = "arial", .fontSize = 12, .textColor = 255};
        normaliseElements(p);
        QCOMPARE(p.elements[0].fontName, std::string("Inexistente"));
        QCOMPARE(p.elements[0].fontSize, std::int16_t(10));
        QCOMPARE(p.elements[0].textColor, kWindowBackgroundColor);
        QCOMPARE(p.elements[1], (Element{.fontName = "arial", .fontSize = 12, .textColor = 255}));
    }
};

QTEST_APPLESS_MAIN(TestListingFormat)
#include "tst_listing_format.moc"
