// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QtTest>

#include "editor/principal.h"
#include "export/web_export.h"
#include "model/project.h"
#include "platform/application.h"
#include "platform/png_icons.h"
#include "platform/style.h"
#include "support/dialog_test.h"
#include "support/gui_test.h"
#include "viewer/ejecucion_form.h"

using namespace vitrandel;
using vitrandel_test_support::onNextDialog;

namespace {

// Every picture is made by hand: writing one through Qt would load every
// image plugin into this process, which stands for the program. A 16 by 12
// blue JPEG, a 4 by 3 GIF and an 8 by 6 red PNG, as bytes.
const QByteArray kJpeg = QByteArray::fromHex(
    "ffd8ffe000104a46494600010100000100010000ffdb0043000302020302020303030304030304050805050404050a07070608"
    "0c0a0c0c0b0a0b0b0d0e12100d0e110e0b0b1016101113141515150c0f171816141812141514ffdb0043010304040504050905"
    "0509140d0b0d1414141414141414141414141414141414141414141414141414141414141414141414141414141414141414"
    "141414141414ffc0001108000c001003011100021101031101ffc4001500010100000000000000000000000000000008ffc4"
    "0014100100000000000000000000000000000000ffc400160101010100000000000000000000000000000708ffc400141101"
    "00000000000000000000000000000000ffda000c03010002110311003f00989ae13a00001fffd9");
const QByteArray kGif = QByteArray::fromHex(
    "47494638396104000300f00000ff000000ff0021f90400000000002c0000000004000300000204448e1905003b");
const QByteArray kPng = QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200000008000000060103000000c4cb4db800000003504c5445ff000019e209370000000b4944415408d76360400000000c0001e434ea660000000049454e44ae426082");

void appendLe(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xFF);
}

// A 32-bit bitmap's info header and pixels; an icon's entry stacks a mask under them.
QByteArray bitmapInfoAndPixels(int w, int h, QRgb colour, bool withMask) {
    QByteArray out;
    for (const quint32 v : {40u, quint32(w), quint32(withMask ? 2 * h : h)})
        appendLe(out, v, 4);
    appendLe(out, 1, 2);
    appendLe(out, 32, 2);
    for (int i = 0; i < 6; ++i)
        appendLe(out, 0, 4);
    for (int i = 0; i < w * h; ++i)
        appendLe(out, colour | 0xFF000000u, 4);
    if (withMask)
        out += QByteArray(((w + 31) / 32) * 4 * h, '\0');
    return out;
}

QByteArray bitmapFile(int w, int h, QRgb colour) {
    const QByteArray body = bitmapInfoAndPixels(w, h, colour, false);
    QByteArray out("BM");
    appendLe(out, quint32(14 + body.size()), 4);
    appendLe(out, 0, 4);
    appendLe(out, 14 + 40, 4);
    return out + body;
}

// An icon (type 1) or cursor (type 2) with one 16 by 16 image.
QByteArray iconFile(quint16 type) {
    const QByteArray image = bitmapInfoAndPixels(16, 16, qRgb(255, 0, 255), true);
    QByteArray out;
    appendLe(out, 0, 2);
    appendLe(out, type, 2);
    appendLe(out, 1, 2);
    out += QByteArray::fromHex("10100000");
    appendLe(out, 1, 2);
    appendLe(out, 32, 2);
    appendLe(out, quint32(image.size()), 4);
    appendLe(out, 22, 4);
    return out + image;
}

// The lines of the process's memory map that name an image plugin or a
// decoding library.
QByteArray mappedDecoders() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return "no /proc/self/maps";
    QByteArray found;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        bool decoder = false;
        for (const char* name : {"imageformats", "libjpeg", "libgif", "libwmf", "libemf2svg", "libuemf"})
            decoder = decoder || line.contains(name);
        if (decoder)
            found += line + '\n';
    }
    return found;
}

// The pictures a PDF holds: its images, less those that are another's
// transparency.
int pdfImages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(file.readAll());
    return int(text.count(QRegularExpression(QStringLiteral("/Subtype\\s*/Image\\b"))) -
               text.count(QRegularExpression(QStringLiteral("/SMask\\s+\\d"))));
}

qint64 bytesRead() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

} // namespace

// The program shows, prints and exports pictures from strangers' discs
// without decoding any of them itself: its picture process reads them.
class TestPictureIsolation : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    void write(const QString& name, const QByteArray& bytes) {
        QFile f(dir_.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }

private Q_SLOTS:
    void initTestCase() { vitrandel_test_support::startGuiTest(); }
    void cleanup() { VITRANDEL_VERIFY_NO_UNANSWERED_BOXES(); }

    void theProgramReadsHeadersOnlyAndMapsNoDecoder() {
        write(QStringLiteral("foto.jpg"), kJpeg);
        write(QStringLiteral("gif.gif"), kGif);
        write(QStringLiteral("png.png"), kPng);
        write(QStringLiteral("grande.bmp"), bitmapFile(1200, 1000, qRgb(0, 128, 128)));
        write(QStringLiteral("icono.ico"), iconFile(1));
        write(QStringLiteral("cursor.cur"), iconFile(2));
        for (const char* name : {"dibujo.wmf", "dibujo.emf"}) {
            QFile sample(QStringLiteral(VITRANDEL_TEST_DATA_DIR "/metafiles/") + QLatin1String(name));
            QVERIFY(sample.open(QIODevice::ReadOnly));
            write(QLatin1String(name), sample.readAll());
        }
        const char* const pictures[] = {"foto.jpg", "gif.gif",    "png.png",    "grande.bmp",
                                        "icono.ico", "cursor.cur", "dibujo.wmf", "dibujo.emf"};
        Project& p = project();
        p = Project{};
        for (const char* name : pictures) {
            const bool fit = p.elementCount % 2 == 0;
            p.elements[std::size_t(p.elementCount++)] =
                Element{.name = name, .description = "x", .imagePath = name, .fitImage = toBool16(fit),
                        .category = 0, .fontName = "Arial", .fontSize = 10};
        }
        QDir::setCurrent(dir_.path());
        // What the program reads from the picture process's pipe is not read from a file.
        auto& client = pictures::PictureClient::instance();
        const qint64 before = bytesRead() - client.bytesReceived();

        // The program's own icon is a PNG in its resources, read as one, and
        // so are its style's pictures and the icons of Qt's dialogs.
        platform::useProgramIcon(*qApp);
        platform::useProgramStyle(*qApp);
        platform::readIconsAsPng();
        ejecucion_form viewer;
        viewer.show();
        auto* listado = viewer.findChild<QListWidget*>(QStringLiteral("listado"));
        for (int row = 0; row < listado->count(); ++row) {
            listado->setCurrentRow(row);
            vitrandel_test_support::waitForPictures();
            const bool fit = row % 2 == 0;
            const auto* shown = viewer.findChild<QLabel*>(fit ? QStringLiteral("Image1") : QStringLiteral("foto_desc"));
            QVERIFY2(!shown->pixmap().isNull(), pictures[row]);
        }

        QByteArray plugins = mappedDecoders();
        QVERIFY2(plugins.isEmpty(), plugins.constData());

        // The web page copies what browsers show and has the rest drawn as
        // PNG: the process reads every file and hands over the bytes.
        const QString web = dir_.filePath(QStringLiteral("web"));
        QVERIFY(QDir().mkpath(web));
        const WebExportOutcome exported = exportWebPage(p, web, viewer.palette());
        QVERIFY2(exported.ok, qPrintable(exported.failedPath));
        QCOMPARE(exported.picturesMissing, 0);
        QCOMPARE(QDir(web + QStringLiteral("/imagenes")).entryList(QDir::Files).size(), listado->count());
        plugins = mappedDecoders();
        QVERIFY2(plugins.isEmpty(), plugins.constData());

        // The editor prints them to a PDF file through its preview and the
        // print dialog. The preview draws in the program; Qt's PDF writer,
        // which loads every image plugin, runs in a process of its own.
        // A desktop's icon theme with a picture for one of the preview's buttons.
        QDir(dir_.path()).mkpath(QStringLiteral("iconos/tema/24"));
        write(QStringLiteral("iconos/tema/index.theme"), "[Icon Theme]\nName=tema\nDirectories=24\n\n[24]\nSize=24\n");
        write(QStringLiteral("iconos/tema/24/go-next.png"), kPng);
        // And for a message box's icon, which Qt reads as soon as one shows.
        write(QStringLiteral("iconos/tema/24/dialog-warning.png"), kPng);
        QIcon::setThemeSearchPaths({dir_.filePath(QStringLiteral("iconos"))});
        QIcon::setThemeName(QStringLiteral("tema"));
        QVERIFY(!qApp->style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(24).isNull());
        principal editor;
        editor.show();
        const QString pdf = dir_.filePath(QStringLiteral("indice.pdf"));
        // Counted before printing: once the print job's process has ended,
        // the kernel counts what it and its picture process read as the
        // program's.
        qint64 read = -1;
        onNextDialog([&](QDialog& preview) {
            auto* pages = preview.findChild<QPrintPreviewWidget*>();
            QTRY_VERIFY(pages && pages->pageCount() > 0);
            plugins = mappedDecoders();
            read = bytesRead() - client.bytesReceived() - before;
            preview.findChild<QAction*>(QStringLiteral("vista_previa_imprimir"))->trigger();
        });
        onNextDialog([&](QDialog& d) {
            auto& dialog = dynamic_cast<QPrintDialog&>(d);
            auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
            printers->setCurrentIndex(printers->findText(QStringLiteral("PDF"), Qt::MatchContains));
            dialog.findChild<QLineEdit*>(QStringLiteral("filename"))->setText(pdf);
            QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
        editor.archivo_imprimir->trigger();
        QVERIFY2(plugins.isEmpty(), plugins.constData());

        // The large bitmap alone is over 3 MB.
        QVERIFY2(read >= 0 && read < 512 * 1024, qPrintable(QString::number(read)));
        plugins = mappedDecoders();
        QVERIFY2(plugins.isEmpty(), plugins.constData());
        QCOMPARE(pdfImages(pdf), listado->count());
    }
};

QTEST_MAIN(TestPictureIsolation)
#include "tst_picture_isolation.moc"
