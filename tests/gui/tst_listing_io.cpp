// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>
#include <sys/stat.h>

#include "../model/listing_fixtures.h"
#include "discs/open_listing.h"
#include "discs/recent_listings.h"
#include "model/file_store.h"
#include "model/listing_reader.h"
#include "model/listing_writer.h"
#include "model/project.h"
#include "platform/file_helpers.h"
#include "platform/fonts.h"
#include "platform/listing_io.h"
#include "support/gui_test.h"

using namespace vitrandel;
using namespace vitrandel::platform;
using vitrandel::discs::cargar_listado;

namespace {

void writeListing(const QString& path, const Project& p, const std::string& dir = ".") {
    FileError e;
    QVERIFY(writeFileAtomically(path.toStdString(), serializeListing(p, dir).bytes, &e));
}

Project sampleProject() {
    Project p;
    p.title = "Discos de prueba";
    p.categoryCount = 1;
    p.categories[0] = "Fotos";
    p.elementCount = 2;
    p.elements[0] = Element{.name = "uno", .description = "a\nb", .category = 1,
                            .fontName = "Arial", .fontSize = 12, .textColor = 255};
    p.elements[1] = Element{.name = "dos", .fontName = "Tipo Inventado", .fontSize = 13,
                            .textColor = -2147483640};
    return p;
}

QString expectMessage() {
    const auto shown = MessageBoxSeam::takeShown();
    if (shown.size() != 1)
        return QStringLiteral("<%1 messages>").arg(shown.size());
    if (shown.first().style != vbOKOnly + vbExclamation)
        return QStringLiteral("<style %1>").arg(shown.first().style);
    return shown.first().text;
}

} // namespace

class TestListingIo : public QObject {
    Q_OBJECT
    QString startDir_;

private Q_SLOTS:
    void initTestCase() {
        vitrandel_test_support::startGuiTest();
        startDir_ = QDir::currentPath();
    }
    void init() { project() = Project{}; }
    void cleanup() {
        QDir::setCurrent(startDir_);
        setWriteFaultsForTesting(std::nullopt);
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }

    // A listing made on another machine names faces this one lacks: opening
    // and saving it must hand them on to the machines that have them.
    void facesThisMachineLacksSurviveOpenAndSave() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.lst"));
        Project made = sampleProject();
        made.elements[0].fontName = "Verdana";
        writeListing(path, made);
        QVERIFY(cargar_listado(path));
        const Project& p = project();
        QCOMPARE(p.listingPath, path.toStdString());
        QCOMPARE(p.elements[0].description, std::string("a\nb"));
        QCOMPARE(p.elements[0].fontName, std::string("Verdana"));
        QCOMPARE(p.elements[1].fontName, std::string("Tipo Inventado"));
        QCOMPARE(p.elements[1].fontSize, std::int16_t(10));
        QCOMPARE(p.elements[1].textColor, kWindowBackgroundColor);

        const QString saved = dir.filePath(QStringLiteral("b.lst"));
        QVERIFY(guardar_listado(saved));
        FileError e;
        const Project back = parseListing(*readFileBytes(saved.toStdString(), &e), Project{}).listing.project;
        QCOMPARE(back.elements[0].fontName, std::string("Verdana"));
        QCOMPARE(back.elements[1].fontName, std::string("Tipo Inventado"));
    }

    // Named from where the program was started, a listing that records a
    // working folder of its own is still the file saved to and remembered.
    void aListingOpenedByARelativePathKeepsItsPlace() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("fotos")));
        Project made = sampleProject();
        made.useCurrentDir = kFalse;
        const QString path = dir.filePath(QStringLiteral("indice.lst"));
        writeListing(path, made, "fotos");
        QDir::setCurrent(dir.path());
        QVERIFY(cargar_listado(QStringLiteral("indice.lst")));
        QCOMPARE(QDir::currentPath(), dir.filePath(QStringLiteral("fotos")));
        QCOMPARE(project().listingPath, path.toStdString());
        QCOMPARE(vitrandel::discs::recentListings().first(), path);
        QVERIFY(guardar_listado(QString::fromStdString(project().listingPath)));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("fotos/indice.lst"))));
    }

    // Windows faces count when fontconfig has them or a face with their
    // metrics; anything else is drawn in Fixedsys but not renamed.
    void windowsFacesCountAsInstalled() {
        for (const char* face : {"Arial", "times new roman", "Courier New", "Calibri", "cambria",
                                 "MS Sans Serif", "FIXEDSYS"})
            QVERIFY2(!fuente_no_instalada(face), face);
        for (const char* face : {"", "Tipo Inventado", "Verdana", "Comic Sans MS"})
            QVERIFY2(fuente_no_instalada(face), face);
        QCOMPARE(faceToDraw("calibri"), QStringLiteral("Carlito"));
        QCOMPARE(faceToDraw("Arial"), QStringLiteral("Liberation Sans"));
        QCOMPARE(faceToDraw("fixedsys"), QStringLiteral("Fixedsys"));
        QCOMPARE(faceToDraw("Verdana"), QStringLiteral("Fixedsys"));
        for (const char* face : {"Arial", "Calibri", "Cambria", "Fixedsys", "Liberation Sans"})
            QVERIFY2(installedFonts().contains(QLatin1String(face)), face);
        QVERIFY(!installedFonts().contains(QStringLiteral("Verdana"), Qt::CaseInsensitive));
    }

    void aFailedReadLeavesTheProjectAsItWas() {
        QTemporaryDir dir;
        Project before = sampleProject();
        before.title = "en memoria";
        before.modified = kTrue;
        project() = before;

        // Half a listing, then a number that does not fit: nothing of it may stay.
        const QString broken = dir.filePath(QStringLiteral("desborda.lst"));
        QFile f(broken);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromStdString(scrambledFile(
            {"titulo=otro", "password=x", "[categorias]", "agregar=nueva", "[fin]", "[listado]",
             "nombre=intruso", "num grupo=99999", "[fin]"})));
        f.close();
        MessageBoxSeam::setNextAnswer(vbOK);
        QVERIFY(!cargar_listado(broken));
        const QString text = expectMessage();
        QVERIFY2(text.contains(QStringLiteral("Desbordamiento")) && text.contains(QStringLiteral("8")),
                 qPrintable(text));
        QVERIFY(project() == before);

        MessageBoxSeam::setNextAnswer(vbOK);
        QVERIFY(!cargar_listado(dir.filePath(QStringLiteral("no-existe.lst"))));
        QVERIFY(expectMessage().contains(QStringLiteral("No se ha encontrado el archivo")));
        QVERIFY(project() == before);

        MessageBoxSeam::setNextAnswer(vbOK);
        QVERIFY(!cargar_listado(dir.path()));
        QVERIFY(!expectMessage().isEmpty());
        QVERIFY(project() == before);
    }

    void aMissingWorkingDirectoryIsReportedAndTheListingStillReads() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.lst"));
        Project p = sampleProject();
        p.useCurrentDir = kFalse;
        writeListing(path, p, "C:\\Discos\\Fotos");
        const QString cwd = QDir::currentPath();
        MessageBoxSeam::setNextAnswer(vbOK);
        QVERIFY(cargar_listado(path));
        const QString message = expectMessage();
        QVERIFY2(message.contains(QStringLiteral("No se ha encontrado la ruta de acceso")) &&
                     message.contains(QStringLiteral("C:\\Discos\\Fotos")),
                 qPrintable(message));
        QCOMPARE(QDir::currentPath(), cwd);
        QCOMPARE(project().elementCount, std::int16_t(2));
        QCOMPARE(project().useCurrentDir, kFalse);

        // It still works where the listing was made: saving here keeps it.
        const QString saved = dir.filePath(QStringLiteral("b.lst"));
        QVERIFY(guardar_listado(saved));
        FileError e;
        QCOMPARE(unscrambledLines(readFileBytes(saved.toStdString(), &e).value_or(""))[3],
                 std::string("ruta actual=C:\\Discos\\Fotos"));
    }

    void aRecordedWorkingDirectoryBecomesCurrent() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("trabajo")));
        const QString work = QDir(dir.filePath(QStringLiteral("trabajo"))).canonicalPath();
        Project p;
        p.useCurrentDir = kFalse;
        writeListing(dir.filePath(QStringLiteral("a.lst")), p, work.toStdString());
        QVERIFY(cargar_listado(dir.filePath(QStringLiteral("a.lst"))));
        QCOMPARE(QDir::currentPath(), work);
    }

    void savingFailsSafely() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("g.lst"));
        project() = sampleProject();
        QVERIFY(guardar_listado(path));
        QCOMPARE(project().listingPath, path.toStdString());
        QFile original(path);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray before = original.readAll();
        original.close();

        project().title = "otro título";
        project().listingPath = "antes.lst";
        setWriteFaultsForTesting(WriteFaults{.failAfterBytes = 10});
        MessageBoxSeam::setNextAnswer(vbOK);
        QVERIFY(!guardar_listado(path));
        QVERIFY(expectMessage().startsWith(QStringLiteral("Disco lleno")));
        QCOMPARE(project().listingPath, std::string("antes.lst"));
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(original.readAll(), before);
        original.close();
        setWriteFaultsForTesting(std::nullopt);

        project().elements[0].name = "\u4e2d";
        MessageBoxSeam::setNextAnswer(vbOK);
        QVERIFY(!guardar_listado(path));
        QVERIFY(!expectMessage().isEmpty());
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(original.readAll(), before);
    }

    void fileTests() {
        QTemporaryDir dir;
        const QDir d(dir.path());
        QVERIFY(d.mkdir(QStringLiteral("vacia")));
        QVERIFY(d.mkdir(QStringLiteral("oculta")));
        QVERIFY(d.mkdir(QStringLiteral("con")));
        QVERIFY(d.mkpath(QStringLiteral("solo_sub/sub")));
        QFile(d.filePath(QStringLiteral("oculta/.x"))).open(QIODevice::WriteOnly);
        QFile file(d.filePath(QStringLiteral("con/f.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("hola");
        file.close();

        QVERIFY(existe_archivo(file.fileName()));
        QCOMPARE(QFile(file.fileName()).size(), 4);
        QVERIFY(!existe_archivo(d.filePath(QStringLiteral("con"))));
        QVERIFY(!existe_archivo(QString()));
        QVERIFY(!existe_archivo(QLatin1Char('"') + file.fileName() + QLatin1Char('"')));
        // A named pipe would block an open for reading until someone writes.
        const QString fifo = d.filePath(QStringLiteral("tubo"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!existe_archivo(fifo));
        QVERIFY(!existe_archivo(QStringLiteral("/dev/zero")));

        QVERIFY(directorio_con_archivos(d.filePath(QStringLiteral("con"))));
        QVERIFY(directorio_con_archivos(d.filePath(QStringLiteral("con/"))));
        QVERIFY(!directorio_con_archivos(d.filePath(QStringLiteral("vacia"))));
        QVERIFY(!directorio_con_archivos(d.filePath(QStringLiteral("oculta"))));
        QVERIFY(!directorio_con_archivos(d.filePath(QStringLiteral("solo_sub"))));
        QVERIFY(!directorio_con_archivos(d.filePath(QStringLiteral("no_existe"))));
    }
};

QTEST_MAIN(TestListingIo)
#include "tst_listing_io.moc"
