// SPDX-License-Identifier: GPL-2.0-or-later
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "model/listing_writer.h"
#include "model/project.h"
#include "model/scrambler.h"

using namespace Qt::StringLiterals;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

Run runTool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(VITRANDEL_LST_PATH), args);
    Run r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray canonical(const QJsonObject& o) {
    return QJsonDocument(o).toJson();
}

// A listing file from plain lines, scrambled the way the program stores them.
QByteArray scrambledListing(const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines) {
        const std::string s = vitrandel::encriptar(line.toStdString(), vitrandel::kListingKey,
                                                   vitrandel::kListingShift);
        bytes += QByteArray::fromStdString(s) + "\r\n";
    }
    return bytes;
}

QJsonObject element(const QString& name, const QString& description, int i) {
    static const QStringList faces = {QStringLiteral("Arial"), QStringLiteral("Times New Roman"),
                                      QStringLiteral("Courier New")};
    return QJsonObject{
        {QStringLiteral("name"), name},
        {QStringLiteral("description"), description},
        {QStringLiteral("imagePath"), i % 2 ? QStringLiteral("fotos\\f%1.jpg").arg(i) : QString()},
        {QStringLiteral("fitImage"), i % 3 == 0},
        {QStringLiteral("category"), i % 52},
        {QStringLiteral("fontName"), faces[i % faces.size()]},
        {QStringLiteral("fontSize"), 8 + i % 64},
        {QStringLiteral("fontBold"), i % 2 == 1},
        {QStringLiteral("fontItalic"), i % 4 >= 2},
        {QStringLiteral("textColor"), i * 65793}};
}

QJsonObject listing(const QString& title, const QJsonArray& categories, const QJsonArray& elements,
                    const QString& workingDir = QStringLiteral("."), bool locked = false) {
    return QJsonObject{{QStringLiteral("title"), title},
                       {QStringLiteral("password"), QStringLiteral("contraseña")},
                       {QStringLiteral("passwordEnabled"), true},
                       {QStringLiteral("locked"), locked},
                       {QStringLiteral("workingDir"), workingDir},
                       {QStringLiteral("categories"), categories},
                       {QStringLiteral("elements"), elements}};
}

} // namespace

class TestVitrandelLst : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void buildThenDumpGivesTheSameListing_data();
    void buildThenDumpGivesTheSameListing();
    void buildWritesWhatSaveWrites();
    void dumpStopsAtTheBrokenLine_data();
    void dumpStopsAtTheBrokenLine();
    void buildRefusesAndWritesNothing_data();
    void buildRefusesAndWritesNothing();
    void commandLine_data();
    void commandLine();
    void bundledDemoIsBuiltFromItsSource();
    void exportsForBrowsersAndSpreadsheets();
    void hostileDiscsFromTheCommandLine();
};

void TestVitrandelLst::buildThenDumpGivesTheSameListing_data() {
    QTest::addColumn<QJsonObject>("input");
    QTest::addColumn<QJsonObject>("expected");

    QTest::newRow("no keys: empty listing")
        << QJsonObject{}
        << QJsonObject{{QStringLiteral("title"), QString()},
                       {QStringLiteral("password"), QString()},
                       {QStringLiteral("passwordEnabled"), false},
                       {QStringLiteral("locked"), false},
                       {QStringLiteral("workingDir"), QStringLiteral(".")},
                       {QStringLiteral("categories"), QJsonArray{}},
                       {QStringLiteral("elements"), QJsonArray{}}};

    const QJsonObject spanish = listing(
        QStringLiteral("Colección «Ñandú» 2026 – €"),
        QJsonArray{QStringLiteral("Categoría ñ €"), QStringLiteral(" con blancos ")},
        QJsonArray{element(QStringLiteral("Canción"),
                           QStringLiteral("Primera línea\nSegunda línea\n\nþ sola, œ, ÿ"), 1),
                   element(QStringLiteral("vacío"), QString(), 2)});
    QTest::newRow("non-ASCII texts and line breaks") << spanish << spanish;

    // Stored as the file holds it: no font, size or colour normalisation.
    QJsonArray odd{element(QStringLiteral("x"), QStringLiteral("y"), 7)};
    QJsonObject oddElement = odd[0].toObject();
    oddElement[QStringLiteral("fontName")] = QStringLiteral("Ninguna Fuente");
    oddElement[QStringLiteral("fontSize")] = -32768;
    oddElement[QStringLiteral("textColor")] = -2147483647 - 1;
    odd[0] = oddElement;
    const QJsonObject absolute =
        listing(QStringLiteral("t"), {}, odd, QStringLiteral("/media/cdrom/índice"), true);
    QTest::newRow("absolute folder, locked, extreme numbers") << absolute << absolute;

    QJsonArray categories, elements;
    for (int i = 0; i < vitrandel::kMaxCategories; ++i)
        categories.append(QStringLiteral("Categoría %1").arg(i + 1));
    for (int i = 0; i < vitrandel::kMaxElements; ++i)
        elements.append(element(QStringLiteral("Elemento %1").arg(i),
                                QStringLiteral("Línea %1\nmás").arg(i), i));
    const QJsonObject full = listing(QStringLiteral("Lleno"), categories, elements);
    QTest::newRow("51 categories, 256 elements") << full << full;

    QJsonObject controls = spanish;
    QJsonObject withControls = spanish;
    QJsonArray e1 = controls[QStringLiteral("elements")].toArray();
    QJsonArray e2 = e1;
    QJsonObject in = e1[0].toObject(), out = e1[0].toObject();
    in[QStringLiteral("description")] = QStringLiteral("a\r\nb\tc\rd");
    out[QStringLiteral("description")] = QStringLiteral("a\nb c\nd");
    e1[0] = in;
    e2[0] = out;
    controls[QStringLiteral("elements")] = e1;
    withControls[QStringLiteral("elements")] = e2;
    QTest::newRow("CR LF and CR become line breaks, a tab a blank") << controls << withControls;
}

void TestVitrandelLst::buildThenDumpGivesTheSameListing() {
    QFETCH(QJsonObject, input);
    QFETCH(QJsonObject, expected);
    QTemporaryDir dir;
    const QString json = dir.filePath(QStringLiteral("in.json"));
    const QString lst = dir.filePath(QStringLiteral("out.lst"));
    QVERIFY(writeBytes(json, QJsonDocument(input).toJson()));

    const Run built = runTool({QStringLiteral("build"), json, lst});
    QVERIFY2(built.exitCode == 0, qPrintable(built.err));
    const Run dumped = runTool({QStringLiteral("dump"), lst});
    QVERIFY2(dumped.exitCode == 0, qPrintable(dumped.err));

    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(dumped.out, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QVERIFY(doc.isObject());
    QCOMPARE(canonical(doc.object()), canonical(expected));
}

void TestVitrandelLst::buildWritesWhatSaveWrites() {
    vitrandel::Project p;
    p.title = "Índice del disco";
    p.password = "clave";
    p.passwordEnabled = vitrandel::kTrue;
    p.locked = vitrandel::kTrue;
    p.useCurrentDir = vitrandel::kFalse;
    p.categories[0] = "Fotos";
    p.categoryCount = 1;
    p.elements[0] = {"playa",
                     "Dos\nlíneas",
                     "fotos\\playa.jpg",
                     vitrandel::kTrue,
                     1,
                     "Arial",
                     12,
                     vitrandel::kTrue,
                     vitrandel::kFalse,
                     128};
    p.elements[1] = {
        "nota",           "",     "", vitrandel::kFalse, 0, "Courier New", 9, vitrandel::kFalse,
        vitrandel::kTrue, 8388608};
    p.elementCount = 2;
    const QByteArray expected =
        QByteArray::fromStdString(vitrandel::serializeListing(p, "/media/cd").bytes);
    QVERIFY(!expected.isEmpty());

    const QJsonObject json{
        {QStringLiteral("title"), QStringLiteral("Índice del disco")},
        {QStringLiteral("password"), QStringLiteral("clave")},
        {QStringLiteral("passwordEnabled"), true},
        {QStringLiteral("locked"), true},
        {QStringLiteral("workingDir"), QStringLiteral("/media/cd")},
        {QStringLiteral("categories"), QJsonArray{QStringLiteral("Fotos")}},
        {QStringLiteral("elements"),
         QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("playa")},
                                {QStringLiteral("description"), QStringLiteral("Dos\nlíneas")},
                                {QStringLiteral("imagePath"), QStringLiteral("fotos\\playa.jpg")},
                                {QStringLiteral("fitImage"), true},
                                {QStringLiteral("category"), 1},
                                {QStringLiteral("fontName"), QStringLiteral("Arial")},
                                {QStringLiteral("fontSize"), 12},
                                {QStringLiteral("fontBold"), true},
                                {QStringLiteral("textColor"), 128}},
                    QJsonObject{{QStringLiteral("name"), QStringLiteral("nota")},
                                {QStringLiteral("fontName"), QStringLiteral("Courier New")},
                                {QStringLiteral("fontSize"), 9},
                                {QStringLiteral("fontItalic"), true},
                                {QStringLiteral("textColor"), 8388608}}}}};
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.json"));
    const QString lst = dir.filePath(QStringLiteral("out.lst"));
    QVERIFY(writeBytes(in, QJsonDocument(json).toJson()));
    QVERIFY(writeBytes(lst, QByteArray(100000, 'x'))); // an older, longer listing is replaced whole

    const Run built = runTool({QStringLiteral("build"), in, lst});
    QVERIFY2(built.exitCode == 0, qPrintable(built.err));
    QCOMPARE(readBytes(lst), expected);
}

void TestVitrandelLst::dumpStopsAtTheBrokenLine_data() {
    QTest::addColumn<QByteArray>("bytes"); // null: no file at all
    QTest::addColumn<int>("line");

    QTest::newRow("number out of range")
        << scrambledListing({"titulo=t", "[categorias]", "[fin]", "[listado]", "nombre=a",
                             "num grupo= 99999", "[fin]"})
        << 6;

    QList<QByteArray> categories{"[categorias]"};
    for (int i = 0; i < 52; ++i)
        categories << "agregar=c";
    QTest::newRow("52nd category") << scrambledListing(categories) << 53;

    QList<QByteArray> blocks;
    for (int i = 0; i < 257; ++i)
        blocks << "[listado]"
               << "nombre=e"
               << "[fin]";
    QTest::newRow("257th element") << scrambledListing(blocks) << 256 * 3 + 2;

    QTest::newRow("missing file") << QByteArray() << 0;
}

void TestVitrandelLst::dumpStopsAtTheBrokenLine() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("roto.lst"));
    if (!bytes.isNull())
        QVERIFY(writeBytes(path, bytes));

    const Run r = runTool({QStringLiteral("dump"), path});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(r.err.contains(path), qPrintable(r.err));
    if (line > 0)
        QVERIFY2(r.err.contains(QStringLiteral("line %1)").arg(line)), qPrintable(r.err));
}

void TestVitrandelLst::buildRefusesAndWritesNothing_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("named");

    QTest::newRow("Chinese character")
        << QByteArray(R"({"elements":[{"name":"ok"},{"description":"índice 汉字"}]})")
        << QStringLiteral("elements[1].description");
    QTest::newRow("title outside the code page")
        << QByteArray(R"({"title":"Ω"})") << QStringLiteral("title");
    QTest::newRow("size beyond 16 bits") << QByteArray(R"({"elements":[{"fontSize":32768}]})")
                                         << QStringLiteral("elements[0].fontSize");
    QTest::newRow("colour beyond 32 bits")
        << QByteArray(R"({"elements":[{"textColor":-2147483649}]})")
        << QStringLiteral("elements[0].textColor");
    QTest::newRow("fraction") << QByteArray(R"({"elements":[{"category":2.5}]})")
                              << QStringLiteral("elements[0].category");
    QTest::newRow("number as text") << QByteArray(R"({"elements":[{"category":"3"}]})")
                                    << QStringLiteral("elements[0].category");
    QTest::newRow("flag as number") << QByteArray(R"({"locked":1})") << QStringLiteral("locked");
    QTest::newRow("misspelt key") << QByteArray(R"({"elements":[{"fontsize":10}]})")
                                  << QStringLiteral("elements[0].fontsize");
    QTest::newRow("empty folder") << QByteArray(R"({"workingDir":""})")
                                  << QStringLiteral("workingDir");
    QTest::newRow("malformed") << QByteArray(R"({"title":"a",)")
                               << QStringLiteral("not valid JSON");
    QTest::newRow("not an object") << QByteArray("[]") << QStringLiteral("JSON object");

    QByteArray cats = "{\"categories\":[\"c\"";
    for (int i = 1; i < 52; ++i)
        cats += ",\"c\"";
    QTest::newRow("52 categories") << cats + "]}" << QStringLiteral("categories");
    QByteArray elems = "{\"elements\":[{}";
    for (int i = 1; i < 257; ++i)
        elems += ",{}";
    QTest::newRow("257 elements") << elems + "]}" << QStringLiteral("elements");
}

void TestVitrandelLst::buildRefusesAndWritesNothing() {
    QFETCH(QByteArray, json);
    QFETCH(QString, named);
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.json"));
    const QString lst = dir.filePath(QStringLiteral("out.lst"));
    QVERIFY(writeBytes(in, json));
    QVERIFY(writeBytes(lst, "old"));

    const Run r = runTool({QStringLiteral("build"), in, lst});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(named), qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral("nothing written")), qPrintable(r.err));
    QCOMPARE(readBytes(lst), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

void TestVitrandelLst::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("shown"); // on stdout for success, stderr otherwise

    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0
                          << QStringLiteral("build FILE.json OUT.lst");
    QTest::newRow("no command") << QStringList{} << 2 << QStringLiteral("Usage:");
    QTest::newRow("unknown command") << QStringList{QStringLiteral("show"), QStringLiteral("a")}
                                     << 2 << QStringLiteral("Usage:");
    QTest::newRow("dump without a file")
        << QStringList{QStringLiteral("dump")} << 2 << QStringLiteral("Usage:");
}

void TestVitrandelLst::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, shown);
    const Run r = runTool(args);
    QCOMPARE(r.exitCode, exitCode);
    const QString text = exitCode == 0 ? QString::fromUtf8(r.out) : r.err;
    QVERIFY2(text.contains(shown), qPrintable(text));
}

// The demo is committed both as its JSON source and as the built listing; an
// edit to one without regenerating the other would ship a stale demo.
void TestVitrandelLst::bundledDemoIsBuiltFromItsSource() {
    const QString source = QFINDTESTDATA("../../examples/demo/demo.json");
    const QString committed = QFINDTESTDATA("../../examples/demo/demo.lst");
    QVERIFY(!source.isEmpty() && !committed.isEmpty());
    QTemporaryDir dir;
    const QString built = dir.filePath(QStringLiteral("demo.lst"));
    const Run r = runTool({QStringLiteral("build"), source, built});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(readBytes(built), readBytes(committed));

    const QJsonArray elements =
        QJsonDocument::fromJson(readBytes(source)).object()[QStringLiteral("elements")].toArray();
    const QDir demoDir = QFileInfo(source).dir();
    for (const QJsonValue& e : elements) {
        QString picture = e.toObject()[QStringLiteral("imagePath")].toString();
        picture.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!picture.isEmpty())
            QVERIFY2(demoDir.exists(picture), qPrintable(picture));
    }
}

// A listing on a disc, exported from elsewhere: the table quotes what needs
// quoting and shows colours as the viewer does; the page finds the picture
// beside the listing in another letter case and converts it.
void TestVitrandelLst::exportsForBrowsersAndSpreadsheets() {
    QTemporaryDir dir;
    const QString disc = dir.filePath(QStringLiteral("disco"));
    QVERIFY(QDir().mkpath(disc));
    QVERIFY(QFile::copy(QFINDTESTDATA("../data/metafiles/dibujo.wmf"), disc + "/Plano.WMF"_L1));
    const QJsonObject source{
        {QStringLiteral("title"), QStringLiteral("Índice")},
        {QStringLiteral("categories"), QJsonArray{QStringLiteral("Mapas, viejos")}},
        {QStringLiteral("elements"),
         QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("Uno, dos")},
                                {QStringLiteral("category"), 1},
                                {QStringLiteral("description"), QStringLiteral("Dijo \"hola\"\nadiós")},
                                {QStringLiteral("imagePath"), QStringLiteral("plano.wmf")},
                                {QStringLiteral("fontName"), QStringLiteral("Arial")},
                                {QStringLiteral("fontSize"), 12},
                                {QStringLiteral("fontBold"), true},
                                {QStringLiteral("textColor"), 128}},
                    QJsonObject{{QStringLiteral("name"), QStringLiteral("Tres")},
                                {QStringLiteral("fontName"), QStringLiteral("Courier New")},
                                {QStringLiteral("fontSize"), 10},
                                // A system colour: drawn as the text boxes' text, black.
                                {QStringLiteral("textColor"), -2147483640}}}}};
    const QString json = dir.filePath(QStringLiteral("indice.json"));
    const QString lst = disc + "/indice.lst"_L1;
    QVERIFY(writeBytes(json, canonical(source)));
    QVERIFY(runTool({QStringLiteral("build"), json, lst}).exitCode == 0);

    const QByteArray table = "nombre,categoría,descripción,imagen,fuente,tamaño,negrita,cursiva,color,ajustar\r\n"
                             "\"Uno, dos\",\"Mapas, viejos\",\"Dijo \"\"hola\"\"\nadiós\",plano.wmf,Arial,12,sí,no,#800000,no\r\n"
                             "Tres,Sin clasificar,,,Courier New,10,no,no,#000000,no\r\n";
    const Run toStdout = runTool({QStringLiteral("export-csv"), lst});
    QVERIFY2(toStdout.exitCode == 0, qPrintable(toStdout.err));
    QCOMPARE(toStdout.out, table);
    const QString csv = dir.filePath(QStringLiteral("indice.csv"));
    QCOMPARE(runTool({QStringLiteral("export-csv"), lst, csv}).exitCode, 0);
    QCOMPARE(readBytes(csv), table);

    const QString web = dir.filePath(QStringLiteral("web/indice"));
    const Run page = runTool({QStringLiteral("export-html"), lst, web});
    QVERIFY2(page.exitCode == 0 && !page.err.contains("vitrandel-lst"_L1), qPrintable(page.err));
    const QByteArray html = readBytes(web + "/index.html"_L1);
    QVERIFY(html.contains("<h1>Índice</h1>"));
    QVERIFY(html.contains("<h3>Uno, dos</h3>"));
    QVERIFY(html.contains("src=\"imagenes/Plano.png\""));
    QVERIFY(readBytes(web + "/imagenes/Plano.png"_L1).startsWith("\x89PNG"));

    const Run missing = runTool({QStringLiteral("export-html"), dir.filePath(QStringLiteral("no.lst")), web});
    QCOMPARE(missing.exitCode, 1);
    QVERIFY2(missing.err.contains(QStringLiteral("cannot open")), qPrintable(missing.err));
}

// A stranger's disc exported from the command line: nothing outside the
// listing's folder is published, no link in the output folder is written
// through, no cell becomes a formula, and an installed copy of the tool runs
// only the helper installed with it.
void TestVitrandelLst::hostileDiscsFromTheCommandLine() {
    struct Case {
        const char* name;
        QJsonObject element;
        QString workingDir;
        std::function<QStringList(const QString& root)> prepare; // gives the command line
        int exitCode;
        QString message; // in standard error; empty: none from the tool
        QByteArray inOutput;
    };
    const auto exportTo = [](const QString& root) {
        return QStringList{QStringLiteral("export-html"), root + "/disco/indice.lst"_L1, root + "/salida"_L1};
    };
    const auto installed = [](const QString& root, bool withHelper) {
        QDir().mkpath(root + "/bin"_L1);
        QFile::copy(QStringLiteral(VITRANDEL_LST_PATH), root + "/bin/vitrandel-lst"_L1);
        if (withHelper)
            QFile::copy(QStringLiteral(VITRANDEL_PICTURE_HELPER), root + "/bin/vitrandel-picture"_L1);
        return QStringList{root + "/bin/vitrandel-lst"_L1, QStringLiteral("export-html"),
                           root + "/disco/indice.lst"_L1, root + "/salida"_L1};
    };
    const QJsonObject plano{{QStringLiteral("name"), QStringLiteral("Plano")},
                            {QStringLiteral("imagePath"), QStringLiteral("plano.wmf")}};
    const Case cases[] = {
        {"a link in place of the pictures' folder", plano, QStringLiteral("."),
         [&](const QString& root) {
             QDir().mkpath(root + "/salida"_L1);
             QFile::link(root + "/privado"_L1, root + "/salida/imagenes"_L1);
             return exportTo(root);
         },
         1, QStringLiteral("symbolic link"), {}},
        {"a picture above the listing's folder",
         QJsonObject{{QStringLiteral("name"), QStringLiteral("x")},
                     {QStringLiteral("imagePath"), QStringLiteral("..\\privado\\secreto.wmf")}},
         QStringLiteral("."), exportTo, 0, QStringLiteral("left out"), {}},
        {"a working folder recorded as /",
         QJsonObject{{QStringLiteral("name"), QStringLiteral("x")}, {QStringLiteral("imagePath"), QString()}},
         QStringLiteral("/"), exportTo, 0, QStringLiteral("left out"), {}},
        {"cells that would be formulas",
         QJsonObject{{QStringLiteral("name"), QStringLiteral("=HYPERLINK(\"https://attacker.example\")")}},
         QStringLiteral("."),
         [](const QString& root) { return QStringList{QStringLiteral("export-csv"), root + "/disco/indice.lst"_L1}; },
         0, {}, "\"'=HYPERLINK("},
        {"an installed copy without its helper draws no metafile", plano, QStringLiteral("."),
         [&](const QString& root) { return installed(root, false); }, 0, QStringLiteral("1 picture(s) not found"), {}},
        {"an installed copy runs the helper beside it", plano, QStringLiteral("."),
         [&](const QString& root) { return installed(root, true); }, 0, {}, {}},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString root = dir.path();
        QVERIFY(QDir().mkpath(root + "/disco"_L1) && QDir().mkpath(root + "/privado"_L1));
        QVERIFY(QFile::copy(QFINDTESTDATA("../data/metafiles/dibujo.wmf"), root + "/disco/plano.wmf"_L1));
        QVERIFY(QFile::copy(QFINDTESTDATA("../data/metafiles/dibujo.wmf"), root + "/privado/secreto.wmf"_L1));
        QJsonObject element = c.element;
        if (c.workingDir == "/"_L1)
            element[QStringLiteral("imagePath")] = (root + "/privado/secreto.wmf"_L1).mid(1);
        QVERIFY(writeBytes(root + "/indice.json"_L1,
                           canonical(listing(QStringLiteral("T"), {}, {element}, c.workingDir))));
        QVERIFY(runTool({QStringLiteral("build"), root + "/indice.json"_L1, root + "/disco/indice.lst"_L1}).exitCode == 0);
        QStringList command = c.prepare(root);
        QProcess p;
        if (command.first().startsWith(u'/'))
            p.start(command.takeFirst(), command);
        else
            p.start(QStringLiteral(VITRANDEL_LST_PATH), command);
        QVERIFY2(p.waitForFinished(60000), c.name);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(p.exitCode() == c.exitCode, qPrintable(QLatin1String(c.name) + u' ' + err));
        QVERIFY2(c.message.isEmpty() ? !err.contains("vitrandel-lst"_L1) : err.contains(c.message),
                 qPrintable(QLatin1String(c.name) + u' ' + err));
        QVERIFY2(p.readAllStandardOutput().contains(c.inOutput), c.name);
        QVERIFY2(QDir(root + "/privado"_L1).entryList(QDir::Files) == QStringList{QStringLiteral("secreto.wmf")}, c.name);
        QVERIFY2(!QFileInfo::exists(root + "/salida/imagenes/secreto.png"_L1), c.name);
    }
}

QTEST_MAIN(TestVitrandelLst)
#include "tst_vitrandel_lst.moc"
