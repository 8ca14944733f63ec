// SPDX-License-Identifier: GPL-2.0-or-later
// "Exportar como página web..." in the editor, checked as a browser would
// read the page: parsed as XML, every element, category and picture found.

#include <QAction>
#include <QFile>
#include <QImageReader>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <QXmlStreamReader>

#include "dialogs/folder_list.h"
#include "editor/principal.h"
#include "model/project.h"
#include "support/dialog_test.h"
#include "support/editor_session.h"
#include "support/fixture_files.h"
#include "support/gui_test.h"
#include "support/picture_bytes.h"

using namespace vitrandel;
using namespace vitrandel_test_support;
using platform::MessageBoxSeam;
using namespace Qt::StringLiterals;

namespace {

QImage filled(int width, int height, Qt::GlobalColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

Element element(const char* name, int category, const char* picture, const char* text) {
    return Element{.name = name, .description = text, .imagePath = picture,
                   .category = static_cast<std::int16_t>(category), .fontName = "Arial",
                   .fontSize = 10};
}

// What the page shows, read back with an XML reader.
struct Page {
    QStringList elements;              // "name:category" in page order
    QStringList texts;                 // the descriptions' text
    QStringList textStyles;
    QList<QPair<QString, QSize>> pictures;  // decoded src and the size asked for
    QStringList anchors;               // the menu's targets
    QStringList sectionIds;
    QStringList tags;                  // every tag in the document
    QString title;
};

Page readPage(const QByteArray& html) {
    Page page;
    QXmlStreamReader xml(html);
    QString category;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        const auto attr = [&](const char* a) { return xml.attributes().value(QLatin1String(a)).toString(); };
        page.tags << name;
        if (name == u"title")
            page.title = xml.readElementText();
        else if (name == u"section")
            page.sectionIds << attr("id");
        else if (name == u"h2")
            category = xml.readElementText();
        else if (name == u"h3")
            page.elements << xml.readElementText() + u':' + category;
        else if (name == u"a" && attr("href").startsWith(u'#'))
            page.anchors << attr("href").mid(1);
        else if (name == u"img")
            page.pictures.append({QUrl::fromPercentEncoding(attr("src").toUtf8()),
                                  QSize(attr("width").toInt(), attr("height").toInt())});
        else if (name == u"p" && attr("class") == u"texto") {
            page.textStyles << attr("style");
            page.texts << xml.readElementText();
        }
    }
    if (xml.hasError())
        qWarning("page is not well-formed: %s at line %lld", qPrintable(xml.errorString()),
                 xml.lineNumber());
    return xml.hasError() ? Page{} : page;
}

} // namespace

class TestExportarWeb : public QObject {
    Q_OBJECT
    EditorSession ed_;

    void exportTo(const QString& folder) {
        onNextDialog([folder](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Exportar como página web"));
            QVERIFY(control<FolderList>(d, "Dir1")->setPath(folder));
            QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton);
        });
        ed_.w->findChild<QAction*>(QStringLiteral("archivo_exportar_web"))->trigger();
    }

private Q_SLOTS:
    void initTestCase() { startGuiTest(); }
    void cleanup() {
        ed_.close();
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }

    // An author exports a listing with a metafile, a bitmap and a photo whose
    // name has blanks, accents and "#", and a description holding markup.
    void pageShowsEveryElementAndPicture() {
        const QString disc = ed_.at(QStringLiteral("disco"));
        QVERIFY(QDir().mkpath(disc + QStringLiteral("/dibujos")));
        QVERIFY(QFile::copy(QStringLiteral(VITRANDEL_TEST_DATA_DIR "/metafiles/dibujo.wmf"),
                            disc + QStringLiteral("/dibujos/plano.wmf")));
        writeFile(disc + QStringLiteral("/mapa.bmp"), encoded(filled(40, 30, Qt::red), "BMP"));
        const QByteArray photo = encoded(filled(200, 150, Qt::blue), "JPEG");
        writeFile(disc + QStringLiteral("/fotos/día de playa #1.jpg"), photo);
        QDir::setCurrent(disc);

        Project p;
        p.title = "Colección <Verano> & \"más\"";
        p.categories[0] = "Mapas";
        p.categories[1] = "Fotos";
        p.categories[2] = "Vacía";
        p.categoryCount = 3;
        const Element elements[] = {
            // The listing spells the folder in another letter case than the disc.
            element("Plano", 1, "DIBUJOS\\plano.wmf", "Plano del faro"),
            element("Mapa", 1, "mapa.bmp", "Línea 1\r\nLínea 2"),
            element("Playa", 2, "fotos\\día de playa #1.jpg", ""),
            element("Aviso", 0, "", "<script>alert('x')</script> & <b>nada</b>"),
            element("Sin foto", 9, "falta.jpg", "La imagen no está"),
        };
        for (const Element& e : elements)
            p.elements[static_cast<std::size_t>(p.elementCount++)] = e;
        p.elements[0].fitImage = kTrue;
        p.elements[3].fontName = "Courier New";
        p.elements[3].fontBold = kTrue;
        p.elements[3].textColor = 255;
        ed_.open(p);

        const QString out = ed_.at(QStringLiteral("web"));
        QVERIFY(QDir().mkpath(out));
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        exportTo(out);
        const auto shown = MessageBoxSeam::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(QStringLiteral("index.html")) &&
                     shown[0].text.contains(QStringLiteral("Una imagen no se encontró")),
                 qPrintable(shown[0].text));
        QCOMPARE(project(), p); // exporting changes nothing, not even `modified`

        const QByteArray html = readFile(out + QStringLiteral("/index.html"));
        QVERIFY(html.startsWith("<!DOCTYPE html>"));
        const Page page = readPage(html);
        QCOMPARE(page.title, QStringLiteral("Colección <Verano> & \"más\""));
        QCOMPARE(page.elements, (QStringList{u"Plano:Mapas"_s, u"Mapa:Mapas"_s, u"Playa:Fotos"_s,
                                             u"Aviso:Sin clasificar"_s, u"Sin foto:Sin clasificar"_s}));
        QCOMPARE(page.sectionIds.size(), 4); // the empty category has its section too
        for (const QString& anchor : page.anchors)
            QVERIFY2(page.sectionIds.contains(anchor), qPrintable(anchor));
        QVERIFY(!page.tags.contains(QStringLiteral("script")));
        QVERIFY(!page.tags.contains(QStringLiteral("b")));
        QVERIFY(page.texts.contains(QStringLiteral("<script>alert('x')</script> & <b>nada</b>")));
        QVERIFY(page.texts.contains(QStringLiteral("Línea 1\nLínea 2")));
        const QString scriptStyle = page.textStyles[page.texts.indexOf(
            QStringLiteral("<script>alert('x')</script> & <b>nada</b>"))];
        for (const char* rule : {"'Courier New'", "monospace", "font-size: 10pt", "bold", "#ff0000"})
            QVERIFY2(scriptStyle.contains(QLatin1String(rule)), qPrintable(scriptStyle));

        // Metafile and bitmap become PNG, the photo is copied as it is; the
        // fitted picture fills the viewer's frame, the others keep their size.
        QCOMPARE(page.pictures.size(), 3);
        const QList<QPair<QByteArray, QSize>> expected = {
            {"png", QSize(137, 105)}, {"png", QSize(40, 30)}, {"jpeg", QSize(200, 150)}};
        for (qsizetype i = 0; i < page.pictures.size(); ++i) {
            const QString file = out + u'/' + page.pictures[i].first;
            QImageReader reader(file);
            reader.setDecideFormatFromContent(true);
            QCOMPARE(reader.format(), expected[i].first);
            QVERIFY2(!reader.read().isNull(), qPrintable(file));
            QCOMPARE(page.pictures[i].second, expected[i].second);
        }
        QCOMPARE(readFile(out + u'/' + page.pictures[2].first), photo);
        QVERIFY(html.contains("imagenes/d%C3%ADa%20de%20playa%20%231.jpg"));

        // A second export into the same folder asks first; "No" keeps the page.
        writeFile(out + QStringLiteral("/index.html"), "mine");
        MessageBoxSeam::setNextAnswer(platform::vbNo);
        exportTo(out);
        QCOMPARE(MessageBoxSeam::takeShown().size(), 1);
        QCOMPARE(readFile(out + QStringLiteral("/index.html")), QByteArray("mine"));
    }
};

QTEST_MAIN(TestExportarWeb)
#include "tst_exportar_web.moc"
