// SPDX-License-Identifier: GPL-2.0-or-later
#include <QBuffer>
#include <QtEndian>
#include <QtTest>

#include "pictures/picture_client.h"
#include "support/fixture_files.h"
#include "support/gui_test.h"
#include "support/picture_bytes.h"

using vitrandel::pictures::loadPicture;
using vitrandel::pictures::PictureRequest;
using vitrandel::pictures::pictureSize;

// Declared before any data column uses it: optimised builds instantiate the
// metatype at the first use and refuse a later specialisation.
Q_DECLARE_METATYPE(vitrandel::pictures::PictureRequest)

namespace {

using vitrandel_test_support::encoded;

QImage filled(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Red top-left square on green, so that scaling and clipping show.
QImage marked(int w, int h) {
    QImage image = filled(w, h, Qt::green);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            image.setPixelColor(x, y, Qt::red);
    return image;
}

void appendLe(QByteArray& out, quint32 value, int size) {
    for (int i = 0; i < size; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// An icon (type 1) or cursor (type 2) file with one PNG image per colour and size.
QByteArray iconFile(int type, const QList<QPair<int, QColor>>& images) {
    QByteArray out;
    appendLe(out, 0, 2);
    appendLe(out, quint32(type), 2);
    appendLe(out, quint32(images.size()), 2);
    QList<QByteArray> data;
    for (const auto& [size, colour] : images)
        data.append(encoded(filled(size, size, colour).convertToFormat(QImage::Format_ARGB32), "PNG"));
    quint32 offset = 6 + 16 * quint32(images.size());
    for (int i = 0; i < images.size(); ++i) {
        out.append(char(images[i].first % 256));
        out.append(char(images[i].first % 256));
        out.append(char(0));
        out.append(char(0));
        appendLe(out, 1, 2);
        appendLe(out, 32, 2);
        appendLe(out, quint32(data[i].size()), 4);
        appendLe(out, offset, 4);
        offset += quint32(data[i].size());
    }
    for (const QByteArray& d : data)
        out.append(d);
    return out;
}

// 4 by 3, green with a red first pixel.
const QByteArray kGif = QByteArray::fromHex(
    "47494638396104000300f00000ff000000ff0021f90400000000002c0000000004000300000204448e1905003b");

bool near(QColor a, QColor b) {
    return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40 &&
           qAbs(a.blue() - b.blue()) < 40;
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT
    vitrandel_test_support::FixtureDir dir_;

private Q_SLOTS:
    void initTestCase() { vitrandel_test_support::startGuiTest(); }
    void cleanup() { VITRANDEL_VERIFY_NO_UNANSWERED_BOXES(); }

    void kindsByContent_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size"); // invalid: nothing can be shown
        QTest::addColumn<QColor>("firstPixel");

        const QByteArray bmp = encoded(marked(30, 20), "BMP");
        QTest::newRow("jpeg") << "a.jpg" << encoded(marked(30, 20), "JPG") << QSize(30, 20) << QColor(Qt::red);
        QTest::newRow("gif") << "a.gif" << kGif << QSize(4, 3) << QColor(Qt::red);
        QTest::newRow("bmp") << "a.bmp" << bmp << QSize(30, 20) << QColor(Qt::red);
        QTest::newRow("bitmap named dib") << "a.dib" << bmp << QSize(30, 20) << QColor(Qt::red);
        QTest::newRow("dib without file header") << "b.DIB" << bmp.mid(14) << QSize(30, 20) << QColor(Qt::red);
        QTest::newRow("jpeg named gif") << "c.gif" << encoded(marked(30, 20), "JPG") << QSize(30, 20) << QColor(Qt::red);
        QTest::newRow("icon, largest last")
            << "a.ico" << iconFile(1, {{16, Qt::red}, {48, Qt::blue}, {32, Qt::green}}) << QSize(48, 48) << QColor(Qt::blue);
        QTest::newRow("icon, largest first")
            << "b.ico" << iconFile(1, {{64, Qt::blue}, {16, Qt::red}}) << QSize(64, 64) << QColor(Qt::blue);
        QTest::newRow("cursor") << "a.cur" << iconFile(2, {{32, Qt::red}, {16, Qt::blue}}) << QSize(32, 32) << QColor(Qt::red);
        QTest::newRow("metafile header cut short")
            << "a.wmf" << QByteArray::fromHex("d7cdc69a0000000000000010001000000000000000") << QSize() << QColor();
        QTest::newRow("garbage") << "roto.jpg" << QByteArray("esto no es una foto") << QSize() << QColor();
        QTest::newRow("truncated jpeg") << "corto.jpg" << encoded(marked(30, 20), "JPG").left(20) << QSize() << QColor();
        QTest::newRow("empty file") << "vacio.bmp" << QByteArray() << QSize() << QColor();
    }
    void kindsByContent() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QFETCH(QColor, firstPixel);
        const QString path = dir_.write(name, bytes);
        const QImage image = loadPicture(path);
        if (!size.isValid()) {
            QVERIFY(image.isNull());
            return;
        }
        QCOMPARE(image.size(), size);
        QCOMPARE(pictureSize(path), size);
        QVERIFY2(near(image.pixelColor(0, 0), firstPixel), qPrintable(image.pixelColor(0, 0).name()));
    }

    void missingFileIsNull() { QVERIFY(loadPicture(dir_.filePath(QStringLiteral("no-esta.jpg"))).isNull()); }

    // What the description area asks for: never more than it shows.
    void requests_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QSize>("pictureSize");
        QTest::addColumn<PictureRequest>("request");
        QTest::addColumn<QSize>("size");

        const QSize view(137, 105);
        for (const char* format : {"JPG", "BMP"}) {
            const QString f = QString::fromLatin1(format);
            QTest::addRow("%s stretched down", format) << f << QSize(600, 400) << PictureRequest{view, {}} << view;
            QTest::addRow("%s stretched up", format) << f << QSize(20, 60) << PictureRequest{view, {}} << view;
            QTest::addRow("%s clipped", format) << f << QSize(600, 400) << PictureRequest{{}, view} << view;
            QTest::addRow("%s smaller than the clip", format) << f << QSize(50, 40) << PictureRequest{{}, view} << QSize(50, 40);
            QTest::addRow("%s wider than the clip", format) << f << QSize(300, 40) << PictureRequest{{}, view} << QSize(137, 40);
        }
    }
    void requests() {
        QFETCH(QString, format);
        QFETCH(QSize, pictureSize);
        QFETCH(PictureRequest, request);
        QFETCH(QSize, size);
        const QString name = QStringLiteral("r.") + format.toLower();
        const QImage image =
            loadPicture(dir_.write(name, encoded(marked(pictureSize.width(), pictureSize.height()), qPrintable(format))), request);
        QCOMPARE(image.size(), size);
        if (!request.naturalClip.isEmpty()) {
            // Natural scale: the 10-pixel red square ends where it ends in the file.
            QVERIFY(near(image.pixelColor(5, 5), Qt::red));
            QVERIFY(near(image.pixelColor(14, 14), Qt::green));
        }
        QVERIFY(near(image.pixelColor(size.width() - 1, size.height() - 1), Qt::green));
    }

    void largestIconIsStretched() {
        const QString path = dir_.write(QStringLiteral("s.ico"), iconFile(1, {{16, Qt::red}, {48, Qt::blue}}));
        const QImage image = loadPicture(path, {QSize(137, 105), {}});
        QCOMPARE(image.size(), QSize(137, 105));
        QVERIFY(near(image.pixelColor(70, 50), Qt::blue));
    }
};


QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
