// SPDX-License-Identifier: GPL-2.0-or-later
// A stranger's disc exported as a web page or a table: whatever the listing
// names and whatever links wait in the output folder, nothing is written
// outside that folder, no file from elsewhere on the machine is published,
// and no text of the listing becomes code in what is written.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <functional>

#include "dialogs/folder_list.h"
#include "export/listing_csv.h"
#include "export/web_export.h"
#include "model/project.h"
#include "support/dialog_test.h"
#include "support/editor_session.h"
#include "support/fixture_files.h"
#include "support/gui_test.h"
#include "support/picture_bytes.h"

using namespace vitrandel;
using namespace vitrandel_test_support;
using platform::MessageBoxSeam;

namespace {

QByteArray png(Qt::GlobalColor colour) {
    QImage image(16, 12, QImage::Format_RGB32);
    image.fill(colour);
    return encoded(image, "PNG");
}

// A disc (the working folder, holding the listing), a private folder beside
// it, and the folder the page goes to.
struct Disc {
    QTemporaryDir root;
    QString disc = root.filePath(QStringLiteral("disco"));
    QString secret = root.filePath(QStringLiteral("privado"));
    QString out = root.filePath(QStringLiteral("salida"));
    QByteArray privateBytes = png(Qt::magenta);
    Project p;

    Disc() {
        for (const QString& f : {disc, secret, out})
            QDir().mkpath(f);
        writeFile(secret + QStringLiteral("/secreto.png"), privateBytes);
        writeFile(secret + QStringLiteral("/victima.txt"), "intacto");
        writeFile(disc + QStringLiteral("/foto.png"), png(Qt::green));
        p.listingPath = (disc + QStringLiteral("/indice.lst")).toStdString();
        QDir::setCurrent(disc);
    }
    void addPicture(const std::string& path, const std::string& font = "Arial") {
        p.elements[static_cast<std::size_t>(p.elementCount)] =
            Element{.name = "e" + std::to_string(p.elementCount), .description = "texto",
                    .imagePath = path, .fontName = font, .fontSize = 10};
        ++p.elementCount;
    }
    QStringList outsideFiles() const {
        return QDir(secret).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    }
    // Every file under the output folder, read through no link.
    bool published(const QByteArray& bytes) const {
        QDirIterator it(out, QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info = it.nextFileInfo();
            if (!info.isSymLink() && readFile(info.filePath()) == bytes)
                return true;
        }
        return false;
    }
};

struct ExportCase {
    const char* name;
    std::function<void(Disc&)> plant;
    std::function<void(const Disc&, const WebExportOutcome&)> check;
};

} // namespace

class TestHostileExport : public QObject {
    Q_OBJECT
    EditorSession ed_;

private Q_SLOTS:
    void initTestCase() { startGuiTest(); }
    void cleanup() {
        ed_.close();
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }

    void webPageStaysInItsFolder() {
        const QStringList untouched{QStringLiteral("secreto.png"), QStringLiteral("victima.txt")};
        const ExportCase cases[] = {
            {"a link at a picture's name is replaced, not written through",
             [](Disc& d) {
                 d.addPicture("foto.png");
                 QDir().mkpath(d.out + QStringLiteral("/imagenes"));
                 QFile::link(d.secret + QStringLiteral("/victima.txt"), d.out + QStringLiteral("/imagenes/foto.png"));
             },
             [](const Disc& d, const WebExportOutcome& o) {
                 QVERIFY(o.ok);
                 QVERIFY(!QFileInfo(d.out + QStringLiteral("/imagenes/foto.png")).isSymLink());
                 QCOMPARE(readFile(d.out + QStringLiteral("/imagenes/foto.png")), png(Qt::green));
             }},
            {"a link at the page's name is replaced",
             [](Disc& d) { QFile::link(d.secret + QStringLiteral("/victima.txt"), d.out + QStringLiteral("/index.html")); },
             [](const Disc& d, const WebExportOutcome& o) {
                 QVERIFY(o.ok);
                 QVERIFY(!QFileInfo(d.out + QStringLiteral("/index.html")).isSymLink());
             }},
            {"a dangling link creates nothing where it points",
             [](Disc& d) {
                 d.addPicture("foto.png");
                 QDir().mkpath(d.out + QStringLiteral("/imagenes"));
                 QFile::link(QStringLiteral("../../privado/plantado"), d.out + QStringLiteral("/imagenes/foto.png"));
             },
             [](const Disc&, const WebExportOutcome& o) { QVERIFY(o.ok); }},
            {"a link in place of the pictures' folder is refused",
             [](Disc& d) {
                 d.addPicture("foto.png");
                 QFile::link(d.secret, d.out + QStringLiteral("/imagenes"));
             },
             [](const Disc&, const WebExportOutcome& o) {
                 QVERIFY(!o.ok);
                 QCOMPARE(o.errnum, ELOOP);
             }},
            {"a picture named above the disc is left out and named",
             [](Disc& d) { d.addPicture("..\\privado\\secreto.png"); },
             [](const Disc&, const WebExportOutcome& o) {
                 QVERIFY(o.ok);
                 QCOMPARE(o.picturesOutside, QStringList{QStringLiteral("..\\privado\\secreto.png")});
                 QCOMPARE(o.picturesMissing, 0);
             }},
            {"a link on the disc that points outside is left out",
             [](Disc& d) {
                 QFile::link(d.secret + QStringLiteral("/secreto.png"), d.disc + QStringLiteral("/enlace.png"));
                 d.addPicture("enlace.png");
                 d.addPicture("enlace.png");
             },
             [](const Disc&, const WebExportOutcome& o) {
                 QCOMPARE(o.picturesOutside, QStringList{QStringLiteral("enlace.png")});
             }},
            {"a working folder the listing records as / names nothing outside",
             [](Disc& d) {
                 d.p.useCurrentDir = kFalse;
                 QDir::setCurrent(QStringLiteral("/"));
                 d.addPicture((d.secret + QStringLiteral("/secreto.png")).mid(1).toStdString());
             },
             [](const Disc&, const WebExportOutcome& o) { QCOMPARE(o.picturesOutside.size(), 1); }},
            {"an SVG named as a PNG, pulling a private picture, is not decoded",
             [](Disc& d) {
                 writeFile(d.disc + QStringLiteral("/dibujo.png"),
                           "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                           "width=\"16\" height=\"12\"><image width=\"16\" height=\"12\" xlink:href=\"file://" +
                               (d.secret + QStringLiteral("/secreto.png")).toUtf8() + "\"/></svg>");
                 d.addPicture("dibujo.png");
             },
             [](const Disc& d, const WebExportOutcome& o) {
                 QCOMPARE(o.picturesMissing, 1);
                 QVERIFY(QDir(d.out + QStringLiteral("/imagenes")).isEmpty());
             }},
            {"a 3 GB sparse file with a PNG header is refused, not copied",
             [](Disc& d) {
                 QFile big(d.disc + QStringLiteral("/grande.png"));
                 QVERIFY(big.open(QIODevice::WriteOnly));
                 big.write(png(Qt::red));
                 QVERIFY(big.resize(qint64(3) << 30));
                 d.addPicture("grande.png");
             },
             [](const Disc& d, const WebExportOutcome& o) {
                 QVERIFY(o.ok);
                 QCOMPARE(o.picturesMissing, 1);
                 QVERIFY(QDir(d.out + QStringLiteral("/imagenes")).isEmpty());
             }},
            {"a picture named with 254 characters and no extension gets a name that fits",
             [](Disc& d) {
                 const QString name(254, u'x');
                 writeFile(d.disc + u'/' + name, png(Qt::blue));
                 d.addPicture(name.toStdString());
                 writeFile(d.disc + QStringLiteral("/otra/") + name, png(Qt::yellow));
                 d.addPicture("otra\\" + name.toStdString());
             },
             [](const Disc& d, const WebExportOutcome& o) {
                 QVERIFY(o.ok);
                 QCOMPARE(QDir(d.out + QStringLiteral("/imagenes")).entryList(QDir::Files).size(), 2);
                 QVERIFY(d.published(png(Qt::yellow)));
             }},
            {"a face name cannot leave its CSS string",
             [](Disc& d) {
                 d.addPicture("", "Arial\r\n';position:fixed;background:url(https://attacker.example/x.png);x:'\\");
             },
             [](const Disc& d, const WebExportOutcome& o) {
                 QVERIFY(o.ok);
                 const QString page = QString::fromUtf8(readFile(d.out + QStringLiteral("/index.html")));
                 const QRegularExpressionMatch style =
                     QRegularExpression(QStringLiteral("<p class=\"texto\" style=\"([^\"]*)\"")).match(page);
                 QVERIFY(style.hasMatch());
                 // One declaration per rule, the face in one quoted string.
                 const QString family = style.captured(1).section(u';', 0, 0);
                 QVERIFY2(family.startsWith(QStringLiteral("font-family: 'Arial")), qPrintable(family));
                 for (const char* word : {"url(", "position:", "\n", "\r"})
                     QVERIFY2(!style.captured(1).contains(QLatin1String(word)), qPrintable(style.captured(1)));
             }},
        };
        for (const ExportCase& c : cases) {
            Disc d;
            CurrentDirRestorer restore;
            c.plant(d);
            const WebExportOutcome outcome = exportWebPage(d.p, d.out, QPalette());
            c.check(d, outcome);
            if (QTest::currentTestFailed())
                QFAIL(c.name);
            QVERIFY2(d.outsideFiles() == untouched, c.name);
            QVERIFY2(readFile(d.secret + QStringLiteral("/victima.txt")) == "intacto", c.name);
            QVERIFY2(!d.published(d.privateBytes), c.name);
        }
    }

    // The editor asks before replacing whatever stands at index.html, a link
    // to nowhere too, and says why a link stops the export.
    void editorAsksAboutAnyPageAndNamesALink() {
        Disc d;
        ed_.open(d.p);
        QFile::link(QStringLiteral("/nowhere/at/all"), d.out + QStringLiteral("/index.html"));
        auto exportTo = [this](const QString& folder) {
            onNextDialog([folder](QDialog& dialog) {
                QVERIFY(control<FolderList>(dialog, "Dir1")->setPath(folder));
                QTest::mouseClick(control<QPushButton>(dialog, "aceptar"), Qt::LeftButton);
            });
            ed_.w->findChild<QAction*>(QStringLiteral("archivo_exportar_web"))->trigger();
        };
        MessageBoxSeam::setNextAnswer(platform::vbNo);
        exportTo(d.out);
        QCOMPARE(MessageBoxSeam::takeShown().size(), 1);
        QVERIFY(QFileInfo(d.out + QStringLiteral("/index.html")).isSymLink());

        QFile::remove(d.out + QStringLiteral("/index.html"));
        project().elements[0] = Element{.name = "x", .imagePath = "foto.png"};
        project().elementCount = 1;
        QFile::link(d.secret, d.out + QStringLiteral("/imagenes"));
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        exportTo(d.out);
        const auto shown = MessageBoxSeam::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(QStringLiteral("enlace simbólico")), qPrintable(shown[0].text));

        QFile::remove(d.out + QStringLiteral("/imagenes"));
        project().elements[0].imagePath = "..\\privado\\secreto.png";
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        exportTo(d.out);
        const auto named = MessageBoxSeam::takeShown();
        QCOMPARE(named.size(), 1);
        QVERIFY2(named[0].text.contains(QStringLiteral("fuera de la carpeta del listado: ..\\privado\\secreto.png.")),
                 qPrintable(named[0].text));
    }

    // Cells a spreadsheet would run as formulas start with an apostrophe;
    // plain numbers stay numbers.
    void csvCellsAreNeverFormulas() {
        const struct {
            const char* name;
            const char* cell;
        } rows[] = {
            {"=HYPERLINK(\"https://attacker.example\",\"x\")", "\"'=HYPERLINK(\"\"https://attacker.example\"\",\"\"x\"\")\""},
            {"+1+cmd", "'+1+cmd"},
            {"-2+3", "'-2+3"},
            {"@SUM(A1)", "'@SUM(A1)"},
            {"\tTAB", "'\tTAB"},
            {"-12", "-12"},
            {"-1,5", "\"-1,5\""},
            {"normal", "normal"},
        };
        Project p;
        for (const auto& r : rows)
            p.elements[static_cast<std::size_t>(p.elementCount++)] = Element{.name = r.name, .fontName = "Arial"};
        const QStringList lines = QString::fromUtf8(listingCsv(p, QPalette())).split(QStringLiteral("\r\n"));
        for (int i = 0; i < p.elementCount; ++i) {
            const QString& line = lines[i + 1];
            const QString expected = QString::fromUtf8(rows[i].cell);
            QVERIFY2(line.startsWith(expected + u','), qPrintable(line));
        }
    }
};

QTEST_MAIN(TestHostileExport)
#include "tst_hostile_export.moc"
