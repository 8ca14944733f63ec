// SPDX-License-Identifier: GPL-2.0-or-later
// Files from strangers' discs: each one gives a clear message or an empty
// picture, and the memory and time it costs are bounded by what the reader
// and the decoder accept, not by what the file claims.
#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <QtEndian>
#include <QtTest>

#include "../model/listing_fixtures.h"
#include "discs/open_listing.h"
#include "model/project.h"
#include "pictures/picture_client.h"
#include "platform/file_helpers.h"
#include "support/dialog_test.h"
#include "support/gui_test.h"
#include "support/picture_bytes.h"

using namespace vitrandel;
using platform::MessageBoxSeam;
using namespace Qt::StringLiterals;

namespace {

using vitrandel_test_support::encoded;

QByteArray noise(int size) {
    QRandomGenerator rng(7);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& c : bytes)
        c = char(rng.bounded(256));
    return bytes;
}

QByteArray bytesOf(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }

QByteArray listingWith(const std::vector<std::string>& lines) { return bytesOf(scrambledFile(lines)); }

std::vector<std::string> elementWith(const std::string& line) {
    return {"[listado]", "nombre=x", line, "[fin]"};
}

QByteArray le(quint32 v, int size) {
    QByteArray out;
    for (int i = 0; i < size; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
    return out;
}

QByteArray be32(quint32 v) {
    QByteArray out(4, Qt::Uninitialized);
    qToBigEndian(v, out.data());
    return out;
}

// A decoder that checks chunk sums must get as far as the size.
quint32 pngCrc(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray pngChunk(const char* type, const QByteArray& data) {
    const QByteArray typed = QByteArray(type) + data;
    return be32(quint32(data.size())) + typed + be32(pngCrc(typed));
}

// Headers that claim 65535 by 65535 pixels, followed by a little data.
QByteArray hugePng() {
    const QByteArray ihdr = be32(65535) + be32(65535) + QByteArray("\x08\x02\x00\x00\x00", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", ihdr) +
           pngChunk("IDAT", qCompress(QByteArray(1 << 16, '\0')).mid(4)) + pngChunk("IEND", {});
}

QByteArray hugeBmp() {
    QByteArray info = le(40, 4) + le(65535, 4) + le(65535, 4) + le(1, 2) + le(24, 2) + le(0, 4) +
                      le(0, 4) + le(2835, 4) + le(2835, 4) + le(0, 4) + le(0, 4);
    return QByteArray("BM") + le(0x7FFFFFFF, 4) + le(0, 4) + le(54, 4) + info + QByteArray(64, '\x7f');
}

QByteArray hugeGif() {
    return QByteArray("GIF89a") + le(65535, 2) + le(65535, 2) + QByteArray("\x00\x00\x00", 3) +
           QByteArray(",", 1) + le(0, 2) + le(0, 2) + le(65535, 2) + le(65535, 2) + QByteArray("\x00\x08", 2) +
           QByteArray(64, '\x55');
}

// A real JPEG whose frame header says 65535 by 65535: tables, scan and data
// are all there, for far fewer pixels.
QByteArray hugeJpeg(const QByteArray& jpeg, quint16 side) {
    QByteArray bytes = jpeg;
    const qsizetype frame = bytes.indexOf(QByteArray("\xff\xc0", 2));
    if (frame >= 0)
        for (const int at : {5, 7}) {
            bytes[frame + at] = char(side >> 8);
            bytes[frame + at + 1] = char(side & 0xFF);
        }
    return bytes;
}

QByteArray svg(const QByteArray& body) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
           "width=\"16\" height=\"12\">" + body + "</svg>";
}

// An icon whose directory lists `sizes` (0 stands for 256), every entry
// pointing at the PNG given for it.
QByteArray icon(const QList<QPair<int, QByteArray>>& entries) {
    QByteArray out = le(0, 2) + le(1, 2) + le(quint32(entries.size()), 2);
    qsizetype offset = 6 + 16 * entries.size();
    QByteArray images;
    QHash<QByteArray, qsizetype> placed;
    for (const auto& [side, image] : entries) {
        if (!placed.contains(image)) {
            placed.insert(image, offset + images.size());
            images += image;
        }
        out += QByteArray(1, char(side)) + QByteArray(1, char(side)) + le(0, 2) + le(1, 2) + le(32, 2) +
               le(quint32(image.size()), 4) + le(quint32(placed.value(image)), 4);
    }
    return out + images;
}

QByteArray pngOf(int side) { return encoded(QImage(side, side, QImage::Format_ARGB32), "PNG"); }

} // namespace

class TestHostileFiles : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    QString write(const char* name, const QByteArray& bytes) {
        QFile f(dir_.filePath(QLatin1String(name)));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return {};
        return f.fileName();
    }

private Q_SLOTS:
    void initTestCase() { vitrandel_test_support::startGuiTest(); }
    void cleanup() { VITRANDEL_VERIFY_NO_UNANSWERED_BOXES(); }

    void listings_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message"); // what the box starts with; empty: the file reads

        // The reader takes nothing near this size; the file is sparse (see below),
        // so the test costs no disk.
        QTest::newRow("several hundred MB") << QByteArray() << QStringLiteral("El archivo es demasiado grande");
        QTest::newRow("no line breaks, 8 MB")
            << bytesOf(scrambledFile({"titulo=" + std::string(8 << 20, 'a')}, "")) << QString();
        QTest::newRow("binary noise") << noise(1 << 20) << QString();
        std::vector<std::string> elements;
        for (int i = 0; i <= kMaxElements; ++i)
            elements.insert(elements.end(), {"[listado]", "nombre=e" + std::to_string(i), "[fin]"});
        QTest::newRow("257 elements") << listingWith(elements) << QStringLiteral("El subíndice está fuera");
        std::vector<std::string> categories{"[categorias]"};
        for (int i = 0; i <= kMaxCategories; ++i)
            categories.push_back("agregar=c" + std::to_string(i));
        categories.push_back("[fin]");
        QTest::newRow("52 categories") << listingWith(categories) << QStringLiteral("El subíndice está fuera");
        for (const char* line : {"num grupo=32768", "num grupo=-1e300", "tama\xF1o fuente=99999",
                                 "estilo fuente=1e999", "color de fondo=2147483648",
                                 "color de fondo=99999999999999999999999"})
            QTest::newRow(line) << listingWith(elementWith(line)) << QStringLiteral("Desbordamiento");
    }

    void listings() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QString path = write("hostil.lst", bytes);
        QVERIFY(!path.isEmpty());
        if (bytes.isEmpty()) {
            QFile f(path);
            QVERIFY(f.resize(300LL << 20));
        }
        project() = Project{};
        project().title = "antes";
        if (!message.isEmpty())
            MessageBoxSeam::setNextAnswer(platform::vbOK);

        const bool read = discs::cargar_listado(path);

        QCOMPARE(read, message.isEmpty());
        const auto shown = MessageBoxSeam::takeShown();
        if (message.isEmpty()) {
            QVERIFY(shown.isEmpty());
            QVERIFY(project().elementCount <= kMaxElements && project().categoryCount <= kMaxCategories);
        } else {
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown.first().text.startsWith(message), qPrintable(shown.first().text));
            QCOMPARE(project().title, std::string("antes"));
        }
    }

    void pictures_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size"); // of the picture read; empty for none

        const QByteArray png = encoded(QImage(64, 48, QImage::Format_RGB32), "PNG");
        const QByteArray jpeg = encoded(QImage(64, 48, QImage::Format_RGB32), "JPEG");
        QTest::newRow("PNG named .jpg") << png << QSize(64, 48);
        QTest::newRow("PNG cut before its pixels") << png.left(40) << QSize();
        QTest::newRow("JPEG cut after its header") << jpeg.left(200) << QSize();
        QTest::newRow("JPEG header, then garbage") << jpeg.left(20) + noise(8192) << QSize();
        QTest::newRow("noise") << noise(8192) << QSize();
        QTest::newRow("PNG of 65535 x 65535") << hugePng() << QSize();
        QTest::newRow("BMP of 65535 x 65535") << hugeBmp() << QSize();
        QTest::newRow("GIF of 65535 x 65535") << hugeGif() << QSize();
        QTest::newRow("JPEG of 65535 x 65535") << hugeJpeg(jpeg, 65535) << QSize();
        // The largest the JPEG decoder takes at all.
        QTest::newRow("JPEG of 65500 x 65500") << hugeJpeg(jpeg, 65500) << QSize();
    }

    void pictures() {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        const QString path = write("hostil.jpg", bytes);
        QVERIFY(!path.isEmpty());
        // Each row writes the same name, perhaps within the same millisecond.
        pictures::PictureClient::instance().cache().clear();
        // As the description areas ask: whole and stretched, and the natural-size corner.
        for (const pictures::PictureRequest& request :
             {pictures::PictureRequest{}, pictures::PictureRequest{.stretchTo = QSize(137, 105)},
              pictures::PictureRequest{.naturalClip = QSize(137, 105)}}) {
            const QImage image = pictures::loadPicture(path, request);
            // A decoder that reads only what was asked may show a picture whose
            // data ran out (grey where it stops), but never more than was asked.
            const QSize asked = request.stretchTo.isEmpty() ? request.naturalClip : request.stretchTo;
            if (!size.isEmpty()) {
                const QSize expected = !request.stretchTo.isEmpty() ? request.stretchTo
                                       : asked.isEmpty()            ? size
                                                                    : size.boundedTo(asked);
                QCOMPARE(image.size(), expected);
            } else if (asked.isEmpty())
                QVERIFY(image.isNull());
            else
                QVERIFY(image.isNull() || asked.expandedTo(image.size()) == asked);
        }
    }

    // Only the formats the program reads are decoded, by what their content
    // says; an icon decodes only the image its directory names as largest;
    // files larger than any picture are not read.
    void pictureKinds_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("sparseTo"); // 0: as written
        QTest::addColumn<QSize>("size");      // of the picture read; empty for none

        QTest::newRow("SVG named .png") << u"dibujo.png"_s << svg("<rect width=\"16\" height=\"12\"/>")
                                        << qint64(0) << QSize();
        QTest::newRow("self-referencing SVG")
            << u"bucle.bmp"_s << svg("<defs><g id=\"a\"><use xlink:href=\"#a\"/></g></defs><use xlink:href=\"#a\"/>")
            << qint64(0) << QSize();
        // The directory's sizes choose; the images' own sizes are not looked at.
        QTest::newRow("icon chosen by its directory")
            << u"icono.ico"_s << icon({{16, pngOf(48)}, {16, pngOf(48)}, {64, pngOf(32)}}) << qint64(0)
            << QSize(32, 32);
        QList<QPair<int, QByteArray>> many(200, {0, pngOf(24)});
        many.append({8, pngOf(8)});
        QTest::newRow("icon of 201 entries") << u"muchos.ico"_s << icon(many) << qint64(0) << QSize(24, 24);
        QTest::newRow("3 GB sparse PNG") << u"grande.png"_s << pngOf(16) << (qint64(3) << 30) << QSize();
        QFile wmf(QStringLiteral(VITRANDEL_TEST_DATA_DIR "/metafiles/dibujo.wmf"));
        QVERIFY(wmf.open(QIODevice::ReadOnly));
        QTest::newRow("3 GB sparse WMF") << u"grande.wmf"_s << wmf.read(4096) << (qint64(3) << 30) << QSize();
    }

    void pictureKinds() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, sparseTo);
        QFETCH(QSize, size);
        const QString path = write(qPrintable(name), bytes);
        QVERIFY(!path.isEmpty());
        if (sparseTo > 0)
            QVERIFY(QFile(path).resize(sparseTo));
        if (size.isEmpty()) {
            QVERIFY(pictures::loadPicture(path).isNull());
            QVERIFY(pictures::pictureSize(path).isEmpty());
        } else {
            QCOMPARE(pictures::loadPicture(path).size(), size);
            QCOMPARE(pictures::pictureSize(path), size);
        }
        QFile::remove(path);
    }

    // Pictures a listing names in another letter case, or not at all, in a
    // folder of many entries: the folder is listed once, and again only once
    // it changes.
    void letterCaseLookupListsEachFolderOnce() {
        QTemporaryDir disc;
        QDir(disc.path()).mkpath(QStringLiteral("fotos"));
        for (int i = 0; i < 2000; ++i)
            QFile(disc.filePath(QStringLiteral("fotos/f%1.jpg").arg(i))).open(QIODevice::WriteOnly);
        vitrandel_test_support::CurrentDirRestorer restore;
        QDir::setCurrent(disc.path());
        const int before = platform::caseLookupListings();
        for (int i = 0; i < 256; ++i)
            QVERIFY(!platform::existe_archivo(platform::picturePath(QStringLiteral("FOTOS\\falta%1.jpg").arg(i))));
        QCOMPARE(platform::picturePath(QStringLiteral("Fotos\\F7.JPG")), disc.filePath(QStringLiteral("fotos/f7.jpg")));
        QCOMPARE(platform::caseLookupListings() - before, 2); // the disc's folder and "fotos"
        QFile(disc.filePath(QStringLiteral("fotos/Nueva.jpg"))).open(QIODevice::WriteOnly);
        QCOMPARE(platform::picturePath(QStringLiteral("fotos\\NUEVA.jpg")), disc.filePath(QStringLiteral("fotos/Nueva.jpg")));
        QCOMPARE(platform::caseLookupListings() - before, 3);
    }
};

QTEST_MAIN(TestHostileFiles)
#include "tst_hostile_files.moc"
