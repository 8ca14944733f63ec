// SPDX-License-Identifier: GPL-2.0-or-later
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QtTest>

#include "model/file_store.h"
#include "model/listing_writer.h"
#include "model/project.h"
#include "startup/inicial.h"
#include "support/gui_test.h"
#include "viewer/ejecucion_form.h"

using namespace vitrandel;
using startup::Face;

Q_DECLARE_METATYPE(vitrandel::startup::Face)

namespace {

void writeListing(const QString& path, const std::string& title, const std::string& workingDir = ".") {
    Project p;
    p.title = title;
    if (workingDir != ".")
        p.useCurrentDir = kFalse;
    p.elementCount = 1;
    p.elements[0].name = "uno";
    p.elements[0].description = "hola";
    FileError e;
    if (!writeFileAtomically(path.toStdString(), serializeListing(p, workingDir).bytes, &e))
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

class TestInicial : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString startDir_;
    QPointer<QWidget> window_;

    QString at(const QString& name) const { return dir_.filePath(name); }

private Q_SLOTS:
    void initTestCase() {
        vitrandel_test_support::startGuiTest();
        startDir_ = QDir::currentPath();
        writeListing(at(QStringLiteral("disco.lst")), "Mi disco");
        writeListing(at(QStringLiteral("mi listado.lst")), "Con blancos");
        writeListing(at(QStringLiteral("lejos.lst")), "Lejos", "/no/existe/esta/carpeta");
        QFile text(at(QStringLiteral("notas.txt")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("nada que ver\r\n");
        text.close();
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("carpeta")));
    }
    void init() {
        project() = Project{};
        project().useCurrentDir = kFalse;
    }
    void cleanup() {
        delete window_;
        QDir::setCurrent(startDir_);
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }

    void chooseFace_data() {
        QTest::addColumn<QStringList>("words"); // %1 is the fixtures' folder
        QTest::addColumn<Face>("face");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("messages");

        const auto w = [](std::initializer_list<const char*> list) {
            QStringList out;
            for (const char* s : list)
                out.append(QString::fromUtf8(s));
            return out;
        };
        QTest::newRow("no argument") << QStringList{} << Face::Editor << "Vitrandel" << 0;
        QTest::newRow("listing") << w({"%1/disco.lst"}) << Face::Viewer << "Mi disco" << 0;
        QTest::newRow("path split into words by the shell")
            << w({"%1/mi", "listado.lst"}) << Face::Viewer << "Con blancos" << 0;
        QTest::newRow("quoted path") << w({"\"%1/disco.lst\""}) << Face::Editor << "Vitrandel" << 0;
        QTest::newRow("trailing blank") << w({"%1/disco.lst", ""}) << Face::Editor << "Vitrandel" << 0;
        QTest::newRow("folder") << w({"%1/carpeta"}) << Face::Editor << "Vitrandel" << 0;
        QTest::newRow("missing file") << w({"%1/no-esta.lst"}) << Face::Editor << "Vitrandel" << 0;
        QTest::newRow("file that is no listing")
            << w({"%1/notas.txt"}) << Face::Viewer << "Indice de este CD" << 0;
        QTest::newRow("listing naming a folder not here")
            << w({"%1/lejos.lst"}) << Face::Viewer << "Lejos" << 1;
    }
    void chooseFace() {
        QFETCH(QStringList, words);
        QFETCH(Face, face);
        QFETCH(QString, caption);
        QFETCH(int, messages);
        for (QString& word : words)
            word.replace(QStringLiteral("%1"), dir_.path());
        for (int i = 0; i < messages; ++i)
            platform::MessageBoxSeam::setNextAnswer(platform::vbOK);

        const startup::Started started = startup::Main(words);
        window_ = started.window;
        QCOMPARE(started.face, face);
        QVERIFY(window_->isVisible());
        QCOMPARE(window_->windowTitle(), caption);
        QCOMPARE(qobject_cast<ejecucion_form*>(window_) != nullptr, face == Face::Viewer);
        // The editor starts on an empty Project that keeps the current folder;
        // a listing read says for itself.
        if (face == Face::Editor)
            QCOMPARE(project().useCurrentDir, kTrue);
        else
            QCOMPARE(QString::fromStdString(project().listingPath), startup::commandLineText(words));
        QCOMPARE(platform::MessageBoxSeam::takeShown().size(), messages);
    }

    // A disc made on Windows, opened from somewhere else: the listing is named
    // in another letter case than the disc shows, and so is its picture.
    void aWindowsDiscOpenedFromElsewhere() {
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("Disco/fotos")));
        QImage picture(20, 10, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(at(QStringLiteral("Disco/fotos/gato.jpg"))));
        Project p;
        p.title = "Gatos";
        p.elementCount = 1;
        p.elements[0] = Element{.name = "gato", .description = "miau", .imagePath = "Fotos\\Gato.JPG",
                                .fontName = "Arial", .fontSize = 10};
        FileError e;
        QVERIFY(writeFileAtomically(at(QStringLiteral("Disco/INDICE.LST")).toStdString(),
                                    serializeListing(p, ".").bytes, &e));

        QDir::setCurrent(QDir::rootPath());
        window_ = startup::Main({at(QStringLiteral("disco/indice.lst"))}).window;
        QCOMPARE(window_->windowTitle(), QStringLiteral("Gatos"));
        QCOMPARE(QDir::currentPath(), QDir(at(QStringLiteral("Disco"))).canonicalPath());
        auto* list = window_->findChild<QListWidget*>(QStringLiteral("listado"));
        list->setCurrentRow(0);
        vitrandel_test_support::waitForPictures();
        QVERIFY(!window_->findChild<QLabel*>(QStringLiteral("foto_desc"))->pixmap().isNull());
    }

    // Qt's own options (-style and the like) are Qt's: the rest names the listing.
    void theProgramLeavesQtItsOptions() {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VITRANDEL_QUIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // The listing it opens goes among the recent ones: not the user's.
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), at(QStringLiteral("config")));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(VITRANDEL_PATH),
                      {QStringLiteral("-style"), QStringLiteral("fusion"), at(QStringLiteral("disco.lst"))});
        QVERIFY(program.waitForFinished(60000));
        QVERIFY2(program.readAllStandardError().contains("first paint of ejecucion_form"),
                 "the viewer did not open");
    }

    void closingTheWindowDeletesIt() {
        window_ = startup::Main({at(QStringLiteral("disco.lst"))}).window;
        window_->close();
        QTRY_VERIFY(window_.isNull());
    }

    void firstPaintIsReported() {
        QWidget window;
        bool painted = false;
        startup::whenFirstPainted(&window, [&] { painted = true; });
        QVERIFY(!painted);
        window.show();
        QTRY_VERIFY(painted);
    }
};

QTEST_MAIN(TestInicial)
#include "tst_inicial.moc"
