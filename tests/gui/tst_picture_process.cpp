// SPDX-License-Identifier: GPL-2.0-or-later
#include <QFile>
#include <QPainter>
#include <QtTest>
#include <csignal>
#include <optional>

#include "pictures/picture_client.h"
#include "support/fixture_files.h"
#include "support/gui_test.h"
#include "support/picture_bytes.h"

using vitrandel::pictures::Picture;
using vitrandel::pictures::PictureClient;
using vitrandel::pictures::PictureRequest;

namespace {

const PictureRequest kStretched{QSize(137, 105), {}};

// What a view would show, as the client hands it over.
struct Shown {
    QObject owner;
    std::optional<Picture> picture;
    int calls = 0;

    void ask(const QString& path, const PictureRequest& request = kStretched) {
        PictureClient::instance().ask(&owner, path, request, [this](const Picture& p) {
            picture = p;
            ++calls;
        });
    }
};

QColor centreOf(const Picture& p) { return p.image.pixelColor(p.image.width() / 2, p.image.height() / 2); }

} // namespace

class TestPictureProcess : public QObject {
    Q_OBJECT
    vitrandel_test_support::FixtureDir dir_;

    QString plain(const QString& name, QColor colour, const char* format) {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(colour);
        return dir_.write(name, vitrandel_test_support::encoded(image, format));
    }

private Q_SLOTS:
    void init() {
        vitrandel_test_support::startGuiTest();
        PictureClient::instance().stop();
        PictureClient::instance().cache().clear();
    }
    void cleanup() { VITRANDEL_VERIFY_NO_UNANSWERED_BOXES(); }

    // Killed while it draws: that picture is empty, never another's, and the
    // next one arrives from a process started afresh.
    void nextPictureArrivesAfterTheProcessDies() {
        const QString red = plain(QStringLiteral("rojo.png"), Qt::red, "PNG");
        const QString blue = plain(QStringLiteral("azul.jpg"), Qt::blue, "JPEG");
        PictureClient& client = PictureClient::instance();
        const int startedBefore = client.started();

        Shown first;
        first.ask(red);
        QVERIFY(client.processId() > 0);
        QCOMPARE(first.calls, 0);
        ::kill(pid_t(client.processId()), SIGKILL);
        QTRY_COMPARE(first.calls, 1);
        QVERIFY(!first.picture->ok || centreOf(*first.picture) == QColor(Qt::red));

        Shown next;
        next.ask(blue);
        QTRY_COMPARE(next.calls, 1);
        QVERIFY(next.picture->ok);
        QCOMPARE(next.picture->image.size(), QSize(137, 105));
        QVERIFY(qAbs(centreOf(*next.picture).blue() - 255) < 8);
        QCOMPARE(client.started(), startedBefore + 2);
    }

    // A newer ask from the same view supersedes the older one; the picture a
    // view asked for again comes from the cache at once, until its file changes.
    void newestAskWinsAndRepeatsComeFromTheCache() {
        const QString red = plain(QStringLiteral("uno.png"), Qt::red, "PNG");
        const QString green = plain(QStringLiteral("dos.bmp"), Qt::green, "BMP");
        Shown view;
        view.ask(red);
        view.ask(green);
        QTRY_COMPARE(view.calls, 1);
        QTest::qWait(50);
        QCOMPARE(view.calls, 1);
        QCOMPARE(centreOf(*view.picture), QColor(Qt::green));

        view.ask(green);
        QCOMPARE(view.calls, 2); // no event loop ran: the cache answered

        QImage bigger(80, 60, QImage::Format_RGB32);
        bigger.fill(Qt::blue);
        dir_.write(QStringLiteral("dos.bmp"), vitrandel_test_support::encoded(bigger, "BMP"));
        view.ask(green, {});
        QTRY_COMPARE(view.calls, 3);
        QCOMPARE(view.picture->image.size(), QSize(80, 60));
    }

    // A view that moved on stops the photo being drawn for it: the picture it
    // moved to is drawn next, the cut photo is not kept as if it were whole,
    // and asked for again it is drawn in full.
    void aPhotoNobodyWaitsForIsCutShort() {
        QImage noise(4000, 3000, QImage::Format_RGB32);
        quint32 seed = 1;
        for (int y = 0; y < noise.height(); ++y) {
            auto* row = reinterpret_cast<quint32*>(noise.scanLine(y));
            for (int x = 0; x < noise.width(); ++x)
                row[x] = (seed = seed * 1664525u + 1013904223u) >> 8;
        }
        // Its middle keeps one colour, to tell a whole picture from a cut one.
        QPainter(&noise).fillRect(1500, 1100, 1000, 800, Qt::magenta);
        const QString photo = dir_.write(QStringLiteral("foto.jpg"), vitrandel_test_support::encoded(noise, "JPEG"));
        const QString small = plain(QStringLiteral("chica.png"), Qt::green, "PNG");

        Shown view;
        view.ask(photo);
        view.ask(small);
        QTRY_COMPARE(view.calls, 1);
        QCOMPARE(centreOf(*view.picture), QColor(Qt::green));
        PictureClient::instance().settle();

        Shown again;
        again.ask(photo);
        QCOMPARE(again.calls, 0); // not in the cache: it was never drawn whole
        QTRY_COMPARE(again.calls, 1);
        QVERIFY(again.picture->ok);
        const QColor middle = centreOf(*again.picture);
        QVERIFY2(qAbs(middle.red() - 255) + middle.green() + qAbs(middle.blue() - 255) < 40,
                 qPrintable(middle.name()));
    }

    // Print and the web export wait for several pictures at once; what is not
    // a picture of the formats a description may show, whatever its name, is
    // refused without being decoded.
    void fetchWaitsAndRefusesOtherFormats() {
        const QString jpeg = plain(QStringLiteral("foto.jpg"), Qt::yellow, "JPEG");
        const QString svg = dir_.write(QStringLiteral("dibujo.png"),
                                  "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'/>");
        using Kind = vitrandel::pictures::protocol::Kind;
        const QList<Picture> got = PictureClient::instance().fetch(
            {{jpeg, {}, Kind::Describe}, {svg, {}, Kind::Draw}, {dir_.filePath(QStringLiteral("no.png")), {}, Kind::Draw},
             {jpeg, {{}, QSize(20, 10)}, Kind::Draw}});
        QCOMPARE(got.size(), 4);
        QVERIFY(got[0].ok);
        QCOMPARE(got[0].naturalSize, QSize(64, 48));
        QVERIFY(got[0].image.isNull());
        QVERIFY(!got[1].ok);
        QVERIFY(!got[2].ok);
        QCOMPARE(got[3].image.size(), QSize(20, 10));
    }

    // A picture that outruns its time costs that picture only.
    void hungRequestIsCut() {
        const QString slow = plain(QStringLiteral("lenta.png"), Qt::red, "PNG");
        const QString next = plain(QStringLiteral("siguiente.png"), Qt::blue, "PNG");
        PictureClient& client = PictureClient::instance();
        client.stop();
        client.setTimeout(std::chrono::milliseconds(1));
        const Picture cut = client.fetch({slow, kStretched, {}});
        client.setTimeout(std::chrono::milliseconds(6000));
        QVERIFY(!cut.ok);
        const Picture shown = client.fetch({next, kStretched, {}});
        QVERIFY(shown.ok);
        QCOMPARE(centreOf(shown), QColor(Qt::blue));
    }
};

QTEST_MAIN(TestPictureProcess)
#include "tst_picture_process.moc"
