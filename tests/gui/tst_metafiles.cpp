// SPDX-License-Identifier: GPL-2.0-or-later
// Windows metafiles through the one picture loader, and in the viewer.
// The samples in tests/data/metafiles were drawn as SVG and exported by
// Inkscape (make-samples.sh there); their parts sit where dibujo.svg puts
// them on its 240 by 180 page.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <functional>
#include <initializer_list>
#include <memory>

#include "model/project.h"
#include "pictures/picture_client.h"
#include "support/fixture_files.h"
#include "support/gui_test.h"
#include "viewer/ejecucion_form.h"

using vitrandel::pictures::loadPicture;
using vitrandel::pictures::PictureRequest;
using vitrandel::pictures::pictureSize;

// Declared before the data columns that use it.
Q_DECLARE_METATYPE(vitrandel::pictures::PictureRequest)

namespace {

QByteArray sample(const char* name) {
    QFile f(QStringLiteral(VITRANDEL_TEST_DATA_DIR "/metafiles/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing sample %s", name);
    return f.readAll();
}

bool near(QColor a, QColor b) {
    return a.alpha() > 200 && qAbs(a.red() - b.red()) < 48 && qAbs(a.green() - b.green()) < 48 &&
           qAbs(a.blue() - b.blue()) < 48;
}

// Where dibujo.svg puts its parts, on its 240 by 180 page.
struct Landmark {
    const char* what;
    QPointF at;
    QColor colour; // invalid: nothing drawn there
};
const Landmark kLandmarks[] = {
    {"red rectangle", {40, 30}, QColor(0xe0, 0x10, 0x20)},
    {"blue ellipse", {190, 45}, QColor(0x20, 0x50, 0xc0)},
    {"green triangle", {50, 155}, QColor(0x10, 0xa0, 0x40)},
    {"bitmap, magenta quarter", {110, 80}, QColor(224, 32, 224)},
    {"bitmap, cyan quarter", {130, 80}, QColor(32, 208, 224)},
    {"bitmap, yellow quarter", {110, 100}, QColor(240, 224, 32)},
    {"bitmap, black quarter", {130, 100}, QColor(32, 32, 32)},
    {"left of the bitmap", {85, 90}, QColor()},
    {"between rectangle and ellipse", {110, 30}, QColor()},
    {"right of the triangle", {95, 160}, QColor()},
    {"bottom-right corner", {236, 176}, QColor()},
};
// "Hola", 36 pixels high, from x 120 on the baseline at y 160. Stretched
// wide, WMF text keeps its proportions on spread-out positions, as Windows
// draws a font given no width; the box then holds less ink.
const QRectF kText(120, 134, 90, 32);

// Dark, opaque pixels in a part of the image, as a share of its area.
double inkIn(const QImage& image, const QRect& area) {
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            ink += c.alpha() > 128 && c.lightness() < 100;
        }
    return double(ink) / (area.width() * area.height());
}

// Empty: every part checked is where the drawing puts it. On a widget's
// background, where nothing is drawn cannot be told from the drawing.
QString checkDrawing(const QImage& image, QSizeF scale, bool onBackground = false) {
    const auto at = [&](QPointF p) { return QPoint(int(p.x() * scale.width()), int(p.y() * scale.height())); };
    for (const Landmark& l : kLandmarks) {
        const QPoint p = at(l.at);
        if (!image.rect().contains(p) || (onBackground && !l.colour.isValid()))
            continue;
        const QColor c = image.pixelColor(p);
        const bool ok = l.colour.isValid() ? near(c, l.colour) : c.alpha() == 0;
        if (!ok)
            return QStringLiteral("%1 at %2,%3 is %4 alpha %5")
                .arg(QLatin1String(l.what))
                .arg(p.x())
                .arg(p.y())
                .arg(c.name())
                .arg(c.alpha());
    }
    const QRect text(at(kText.topLeft()), at(kText.bottomRight()));
    if (image.rect().contains(text)) {
        const double ink = inkIn(image, text);
        if (ink < 0.05 || ink > 0.7)
            return QStringLiteral("text box holds %1 of ink").arg(ink);
    }
    return {};
}

// A placeable WMF made of the given records, at 1440 units an inch.
class WmfBuilder {
public:
    WmfBuilder& record(quint16 function, std::initializer_list<qint16> words) {
        QByteArray r;
        put(r, quint32(3 + words.size()), 4);
        put(r, function, 2);
        for (qint16 w : words)
            put(r, quint16(w), 2);
        records_ += r;
        maxWords_ = std::max(maxWords_, quint32(r.size() / 2));
        return *this;
    }
    // Colours and pen widths are 32-bit parts of their records.
    WmfBuilder& brush(quint32 rgb) {
        return record(0x02FC, {0, qint16(rgb & 0xFFFF), qint16(rgb >> 16), 0});
    }
    WmfBuilder& nullPen() { return record(0x02FA, {5, 0, 0, 0, 0}); }
    WmfBuilder& select(qint16 object) { return record(0x012D, {object}); }

    QByteArray bytes(qint16 width, qint16 height) const {
        QByteArray body = records_;
        put(body, 3, 4);
        put(body, 0, 2);
        QByteArray out;
        put(out, 0x9AC6CDD7, 4);
        for (qint16 v : {qint16(0), qint16(0), qint16(0), width, height, qint16(1440)})
            put(out, quint16(v), 2);
        put(out, 0, 4);
        quint16 checksum = 0;
        for (int i = 0; i < 20; i += 2)
            checksum ^= qFromLittleEndian<quint16>(out.constData() + i);
        put(out, checksum, 2);
        for (quint32 v : {1u, 9u, 0x300u})
            put(out, v, 2);
        put(out, quint32((18 + body.size()) / 2), 4);
        put(out, 8, 2); // objects
        put(out, std::max(maxWords_, 3u), 4);
        put(out, 0, 2);
        return out + body;
    }

private:
    static void put(QByteArray& out, quint32 value, int size) {
        for (int i = 0; i < size; ++i)
            out.append(char((value >> (8 * i)) & 0xFF));
    }
    QByteArray records_;
    quint32 maxWords_ = 0;
};

// EMF records: the type, the size, then 32-bit values.
QByteArray emr(quint32 type, std::initializer_list<quint32> values) {
    QByteArray r;
    for (quint32 v : {type, quint32(8 + 4 * values.size())})
        r.append(reinterpret_cast<const char*>(&v), 4);
    for (quint32 v : values)
        r.append(reinterpret_cast<const char*>(&v), 4);
    return r;
}

// One EMF+ record in the comment that carries it.
QByteArray emfPlus(quint16 type, quint16 flags, std::initializer_list<quint32> values) {
    QByteArray plus = emr(type | quint32(flags) << 16, values);
    QByteArray comment = emr(70, {quint32(4 + plus.size()), 0x2B464D45});
    qToLittleEndian<quint32>(quint32(comment.size() + plus.size()), comment.data() + 4);
    return comment + plus;
}

// An EMF on 100 by 100 pixels of a 400-pixel screen 100 mm wide.
QByteArray emf(std::initializer_list<QByteArray> records) {
    QByteArray body;
    for (const QByteArray& r : records)
        body += r;
    body += emr(14, {0, 16, 20}); // end of file
    QByteArray header = emr(1, {0, 0, 99, 99, 0, 0, 2500, 2500, 0x464D4520, 0x10000, 0, 0, 4, 0, 0, 0,
                                400, 400, 100, 100});
    qToLittleEndian<quint32>(quint32(header.size() + body.size()), header.data() + 48);
    return header + body;
}

const quint32 kRed = 0x0000FF;  // 0x00BBGGRR
const quint32 kBlue = 0xFF0000;

QByteArray patched(QByteArray bytes, int at, quint32 value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
    return bytes;
}

} // namespace

class TestMetafiles : public QObject {
    Q_OBJECT
    vitrandel_test_support::FixtureDir dir_;
    QString startDir_;
    QPointer<vitrandel::ejecucion_form> form_;

private Q_SLOTS:
    void initTestCase() {
        vitrandel_test_support::startGuiTest();
        startDir_ = QDir::currentPath();
    }
    void cleanup() {
        delete form_;
        QDir::setCurrent(startDir_);
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }

    // Every part where the drawing puts it, for each kind of file and each
    // way a description shows a picture.
    void sampleDrawing_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("naturalSize");
        QTest::addColumn<PictureRequest>("request");
        QTest::addColumn<QSize>("size");

        const QSize frame(137, 105);
        const struct {
            const char* file;
            QSize natural;
        } samples[] = {
            // 2999 by 2249 units at 1200 an inch.
            {"dibujo.wmf", QSize(240, 180)},
            // No header to give a size: its window, 2999 by 2249, in twips.
            {"sin_cabecera.wmf", QSize(200, 150)},
            // A frame of 6399 by 4799 hundredths of a millimetre.
            {"dibujo.emf", QSize(242, 181)},
        };
        for (const auto& s : samples) {
            const QString file = QLatin1String(s.file);
            QTest::addRow("%s, natural size", s.file) << file << s.natural << PictureRequest{} << s.natural;
            QTest::addRow("%s, clipped to the frame", s.file)
                << file << s.natural << PictureRequest{{}, frame} << s.natural.boundedTo(frame);
            QTest::addRow("%s, stretched to the frame", s.file) << file << s.natural << PictureRequest{frame, {}} << frame;
            QTest::addRow("%s, stretched wide and low", s.file)
                << file << s.natural << PictureRequest{QSize(480, 90), {}} << QSize(480, 90);
        }
    }
    void sampleDrawing() {
        QFETCH(QString, file);
        QFETCH(QSize, naturalSize);
        QFETCH(PictureRequest, request);
        QFETCH(QSize, size);
        const QString path = dir_.write(file, sample(qPrintable(file)));
        const QImage image = loadPicture(path, request);
        QCOMPARE(image.size(), size);
        QCOMPARE(pictureSize(path), naturalSize);
        // Stretched, the whole drawing fills the image; otherwise it keeps its
        // natural scale and the image shows its top-left corner.
        const QSize drawn = request.stretchTo.isEmpty() ? naturalSize : request.stretchTo;
        const QString wrong = checkDrawing(image, QSizeF(drawn.width() / 240.0, drawn.height() / 180.0));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }

    // Records Inkscape never writes, drawn as Windows draws them: ellipses
    // and round rectangles filled, pies counter-clockwise from start to end.
    void shapesAreFilled() {
        const quint32 colour = 0x563412; // 0x00BBGGRR
        const QByteArray wmf = WmfBuilder()
                                   .brush(colour)
                                   .select(0)
                                   .nullPen()
                                   .select(1)
                                   .record(0x0418, {750, 750, 0, 0})                  // ellipse
                                   .record(0x061C, {300, 300, 750, 1500, 0, 750})     // round rectangle
                                   .record(0x081A, {0, 1875, 375, 2250, 750, 2250, 0, 1500}) // pie, 3 to 12 o'clock
                                   .bytes(2250, 750);
        const QImage image = loadPicture(dir_.write(QStringLiteral("formas.wmf"), wmf));
        QCOMPARE(image.size(), QSize(150, 50));
        const QColor fill(0x12, 0x34, 0x56);
        QVERIFY(near(image.pixelColor(25, 25), fill));      // inside the ellipse
        QCOMPARE(image.pixelColor(3, 3).alpha(), 0);        // outside it
        QVERIFY(near(image.pixelColor(75, 25), fill));      // inside the round rectangle
        QCOMPARE(image.pixelColor(51, 1).alpha(), 0);       // its rounded corner
        QVERIFY(near(image.pixelColor(135, 15), fill));     // the pie's upper-right quarter
        QCOMPARE(image.pixelColor(115, 35).alpha(), 0);     // the quarter it leaves out
    }

    // Pictures other programs write: clipped drawings, EMF+ beside GDI
    // records or alone, WMF records the player does not know or refuses.
    // Each is drawn where it should be and blank elsewhere, and the log
    // says once what was left out.
    void craftedPictures_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<QPoint>>("red");
        QTest::addColumn<QList<QPoint>>("blue");
        QTest::addColumn<QList<QPoint>>("blank");
        QTest::addColumn<QString>("logged"); // a pattern; empty: nothing

        const QByteArray redBrush = emr(39, {1, 0, kRed, 0}) + emr(37, {1}) + emr(37, {0x80000008});
        const QByteArray wholeRectangle = emr(43, {0, 0, 99, 99});
        const QList<QPoint> outsideClip{{10, 10}, {80, 80}, {40, 80}};
        QTest::newRow("EMF clipped by a rectangle")
            << emf({emr(30, {20, 20, 60, 60}), redBrush, wholeRectangle}) << QList<QPoint>{{40, 40}}
            << QList<QPoint>{} << outsideClip << QString();
        QTest::newRow("EMF clipped by a path")
            << emf({emr(59, {}), emr(27, {20, 20}), emr(54, {60, 20}), emr(54, {60, 60}), emr(54, {20, 60}),
                    emr(61, {}), emr(60, {}), emr(67, {5}), redBrush, wholeRectangle})
            << QList<QPoint>{{40, 40}} << QList<QPoint>{} << outsideClip << QString();
        // EMF+ fills the rectangle blue after the GDI records fill it red.
        const QByteArray plusHeader = emfPlus(0x4001, 1, {16, 0xDBC01002, 1, 96, 96});
        const QByteArray plusBlue = emfPlus(0x400A, 0x8000, {24, 0xFF0000FF, 1, 0, 0, 0x42C60000, 0x42C60000});
        QTest::newRow("EMF+ with GDI records beside them")
            << emf({plusHeader, redBrush, wholeRectangle, plusBlue}) << QList<QPoint>{{50, 50}}
            << QList<QPoint>{} << QList<QPoint>{} << QString();
        QTest::newRow("EMF+ records alone")
            << emf({emfPlus(0x4001, 0, {16, 0xDBC01002, 1, 96, 96}), redBrush, wholeRectangle, plusBlue})
            << QList<QPoint>{} << QList<QPoint>{} << QList<QPoint>{{50, 50}, {10, 90}}
            << QStringLiteral("EMF\\+ records only");

        // Two rectangles, red and blue; the blue brush is chosen by its
        // place among the objects (libwmf also chooses each as it is made).
        const auto twoRectangles = [](const std::function<void(WmfBuilder&)>& between) {
            WmfBuilder wmf;
            wmf.nullPen().select(0).brush(kRed).select(1).record(0x041B, {750, 750, 0, 0});
            between(wmf);
            return wmf.brush(kBlue).brush(0).select(3).record(0x041B, {750, 1500, 0, 750}).bytes(1500, 750);
        };
        const QList<QPoint> both{{25, 25}}, right{{75, 25}};
        QTest::newRow("WMF record of no known type")
            << twoRectangles([](WmfBuilder& w) { w.record(0x0777, {1, 2, 3}).brush(0); })
            << both << right << QList<QPoint>{} << QStringLiteral("1 of 12 records skipped");
        // A region whose one scan ends with a count that is not its own:
        // refused, it still takes its place among the objects.
        QTest::newRow("WMF region the player refuses")
            << twoRectangles([](WmfBuilder& w) {
                   w.record(0x06FF, {0, 6, 0, 0, 34, 1, 1, 0, 0, 750, 750, 2, 0, 750, 0, 750, 3})
                       .record(0x012C, {2});
               })
            << both << right << QList<QPoint>{} << QStringLiteral("1 of 12 records skipped");
        // A path holding a rectangle comes out of the converter as an SVG
        // element inside an attribute.
        QTest::newRow("EMF the converter cannot write as SVG")
            << emf({emr(59, {}), emr(43, {20, 20, 60, 60}), emr(60, {}), emr(67, {5}), redBrush, wholeRectangle})
            << QList<QPoint>{} << QList<QPoint>{} << QList<QPoint>{} << QStringLiteral("not well-formed");
    }
    void craftedPictures() {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QPoint>, red);
        QFETCH(QList<QPoint>, blue);
        QFETCH(QList<QPoint>, blank);
        QFETCH(QString, logged);
        const QString path = dir_.write(QLatin1String(QTest::currentDataTag()) + QLatin1String(".emf"), bytes);
        static QStringList said;
        said.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& message) { said.append(message); });
        const bool wmf = bytes.startsWith("\xD7\xCD\xC6\x9A");
        const QImage image = loadPicture(path, {QSize(100, wmf ? 50 : 100), {}});
        loadPicture(path); // shown again, not logged again
        qInstallMessageHandler(previous);

        QCOMPARE(said.size(), logged.isEmpty() ? 0 : 1);
        if (!logged.isEmpty())
            QVERIFY2(said.constFirst().contains(QRegularExpression(logged)), qPrintable(said.constFirst()));
        if (red.isEmpty() && blue.isEmpty() && blank.isEmpty()) {
            QVERIFY(image.isNull());
            return;
        }
        QVERIFY(!image.isNull());
        for (const QPoint& p : red)
            QVERIFY2(near(image.pixelColor(p), Qt::red), qPrintable(image.pixelColor(p).name()));
        for (const QPoint& p : blue)
            QVERIFY2(near(image.pixelColor(p), Qt::blue), qPrintable(image.pixelColor(p).name()));
        for (const QPoint& p : blank)
            QCOMPARE(image.pixelColor(p).alpha(), 0);
    }

    // A file the libraries cannot draw gives an empty picture, whatever the
    // way it is shown.
    void brokenMetafilesGiveEmptyPictures_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray wmf = sample("dibujo.wmf");
        const QByteArray emf = sample("dibujo.emf");
        QTest::newRow("WMF cut in half") << wmf.left(wmf.size() / 2);
        QTest::newRow("WMF headers only") << wmf.left(40);
        QTest::newRow("WMF headers and noise") << wmf.left(40) + QByteArray(400, '\x7f');
        QTest::newRow("placeable box of 65535 by 65535 units") << patched(patched(wmf, 10, 0xFFFF, 2), 12, 0xFFFF, 2);
        QTest::newRow("placeable box with no units per inch") << patched(wmf, 14, 0, 2);
        QTest::newRow("WMF records claimed larger than the file") << patched(wmf, 22 + 12, 0x7FFFFFFF, 4);
        QTest::newRow("plain WMF cut after its header") << sample("sin_cabecera.wmf").left(18);
        QTest::newRow("EMF cut in half") << emf.left(emf.size() / 2);
        QTest::newRow("EMF claiming more bytes than it has") << patched(emf, 48, quint32(emf.size() + 1), 4);
        QTest::newRow("EMF frame kilometres wide") << patched(emf, 32, 0x7FFFFFFF, 4);
        QTest::newRow("EMF frame of no width") << patched(emf, 32, 0, 4);
        QTest::newRow("EMF description running past its header") << patched(emf, 60, 0xFFFF, 4);
        QTest::newRow("EMF records replaced by noise") << emf.left(108) + QByteArray(emf.size() - 108, '\x55');
    }
    void brokenMetafilesGiveEmptyPictures() {
        QFETCH(QByteArray, bytes);
        const QString path = dir_.write(QStringLiteral("roto.wmf"), bytes);
        QVERIFY(loadPicture(path).isNull());
        QVERIFY(loadPicture(path, {{}, QSize(137, 105)}).isNull());
        QVERIFY(loadPicture(path, {QSize(137, 105), {}}).isNull());
    }

    // Whatever becomes of the process that draws pictures, the program gets
    // an empty picture, and soon: it is killed at its deadline.
    void helperGoneWrongGivesEmptyPicture_data() {
        QTest::addColumn<QByteArray>("script"); // empty: no helper at all
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("crashes") << QByteArray("kill -SEGV $$");
        QTest::newRow("hangs") << QByteArray("exec sleep 60");
        QTest::newRow("floods its output") << QByteArray("exec cat /dev/zero");
        QTest::newRow("says nothing") << QByteArray("exit 0");
        QTest::newRow("fails half-way through a reply") << QByteArray("printf 'VPR1\\001\\0\\0\\0\\001\\007'; exit 3");
        // A 1 by 1 picture for whatever request comes first.
        QTest::newRow("hands back another size")
            << QByteArray("printf 'VPR1\\001\\0\\0\\0\\001\\007\\0\\0\\001\\0\\0\\0\\001\\0\\0\\0"
                          "\\001\\0\\0\\0\\001\\0\\0\\0\\377\\0\\0\\377'; exec sleep 60");
    }
    void helperGoneWrongGivesEmptyPicture() {
        QFETCH(QByteArray, script);
        const QString picture = dir_.write(QStringLiteral("bien.wmf"), sample("dibujo.wmf"));
        QString helperPath = dir_.filePath(QStringLiteral("no-existe"));
        if (!script.isEmpty()) {
            helperPath = dir_.write(QStringLiteral("ayudante.sh"), "#!/bin/sh\n" + script + "\n");
            QFile::setPermissions(helperPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        vitrandel::pictures::PictureClient::instance().setProgram(helperPath);
        const QImage image = loadPicture(picture, {QSize(137, 105), {}});
        vitrandel::pictures::PictureClient::instance().setProgram(QStringLiteral(VITRANDEL_PICTURE_HELPER));
        QVERIFY(image.isNull());
        // The real helper draws the same file.
        QCOMPARE(loadPicture(picture, {QSize(137, 105), {}}).size(), QSize(137, 105));
    }

    // The viewer shows a WMF at natural size and an EMF stretched to its frame.
    void viewerShowsMetafiles() {
        using namespace vitrandel;
        QDir::setCurrent(dir_.path());
        dir_.write(QStringLiteral("dibujo.wmf"), sample("dibujo.wmf"));
        dir_.write(QStringLiteral("dibujo.emf"), sample("dibujo.emf"));
        project() = Project{};
        project().elementCount = 2;
        project().elements[0] = Element{.name = "natural", .description = "", .imagePath = "dibujo.wmf",
                                        .fitImage = kFalse, .category = 0, .fontName = "Arial", .fontSize = 10};
        project().elements[1] = Element{.name = "estirado", .description = "", .imagePath = "dibujo.emf",
                                        .fitImage = kTrue, .category = 0, .fontName = "Arial", .fontSize = 10};
        form_ = new ejecucion_form;
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_));
        auto* listado = form_->findChild<QListWidget*>(QStringLiteral("listado"));
        QVERIFY(listado);

        const auto click = [&](int row) {
            const QRect r = listado->visualItemRect(listado->item(row));
            QTest::mouseClick(listado->viewport(), Qt::LeftButton, {}, r.center());
        };

        click(0);
        auto* natural = form_->findChild<QLabel*>(QStringLiteral("foto_desc"));
        QVERIFY(natural->isVisible());
        vitrandel_test_support::waitForPictures();
        QString wrong = checkDrawing(natural->grab().toImage(), QSizeF(1, 1), true);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));

        click(1);
        auto* stretched = form_->findChild<QLabel*>(QStringLiteral("Image1"));
        QVERIFY(stretched->isVisible());
        QCOMPARE(stretched->size(), QSize(137, 105));
        vitrandel_test_support::waitForPictures();
        wrong = checkDrawing(stretched->grab().toImage(), QSizeF(137 / 240.0, 105 / 180.0), true);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }
};

QTEST_MAIN(TestMetafiles)
#include "tst_metafiles.moc"
