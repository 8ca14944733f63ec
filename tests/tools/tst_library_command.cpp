// SPDX-License-Identifier: GPL-2.0-or-later
// vitrandel-lst library as a script drives it: listings made by our writer,
// added, found, listed and removed, with the library file damaged or shared
// by several processes at once.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "model/file_store.h"
#include "model/listing_writer.h"
#include "model/project.h"

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

QProcess* startTool(const QStringList& args) {
    auto* p = new QProcess;
    p->start(QStringLiteral(VITRANDEL_LST_PATH), QStringList{QStringLiteral("library")} + args);
    return p;
}

Run finish(QProcess* p) {
    Run r;
    if (p->waitForFinished(60000) && p->exitStatus() == QProcess::NormalExit) {
        r.exitCode = p->exitCode();
        r.out = QString::fromUtf8(p->readAllStandardOutput());
        r.err = QString::fromUtf8(p->readAllStandardError());
    }
    delete p;
    return r;
}

Run runTool(const QStringList& args) { return finish(startTool(args)); }

struct Item {
    std::string name;
    std::string description;
    std::int16_t category = 0;
};

void writeListing(const QString& path, const std::string& title, const std::vector<std::string>& categories,
                  const std::vector<Item>& items) {
    vitrandel::Project p;
    p.title = title;
    for (std::size_t i = 0; i < categories.size(); ++i)
        p.categories[i] = categories[i];
    p.categoryCount = static_cast<std::int16_t>(categories.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        p.elements[i] = {.name = items[i].name, .description = items[i].description, .category = items[i].category};
    p.elementCount = static_cast<std::int16_t>(items.size());
    vitrandel::FileError e;
    if (!vitrandel::writeFileAtomically(path.toStdString(), vitrandel::serializeListing(p, ".").bytes, &e))
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

class TestLibraryCommand : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString at(const QString& name) const { return dir_.filePath(name); }
    QStringList lib() const { return {QStringLiteral("--library"), at(QStringLiteral("biblioteca.sqlite"))}; }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        writeListing(at(QStringLiteral("vacaciones.lst")), "Vacaciones", {"Playas", "Montañas"},
                     {{"Puesta de sol", "Fotos de agosto en la costa", 1},
                      {"Camión rojo", "Un vehículo en la montaña", 2},
                      {"Straße", "Œuvre de Muñoz; puesta de sol", 0},
                      {"Niño", "La playa en julio", 1}});
        writeListing(at(QStringLiteral("sierra.lst")), "Sierra", {},
                     {{"Nieve", "Camino de la sierra", 0}});
        const Run added = runTool(lib() + QStringList{QStringLiteral("add"), at(QStringLiteral("vacaciones.lst")),
                                                     at(QStringLiteral("sierra.lst"))});
        QCOMPARE(added.exitCode, 0);
        QCOMPARE(added.out, QString());
    }

    void search_data() {
        QTest::addColumn<QStringList>("terms");
        QTest::addColumn<QStringList>("lines");
        const auto line = [](const char* s) { return QString::fromUtf8(s); };
        QTest::newRow("case and accents") << QStringList{QStringLiteral("CAMION")}
                                          << QStringList{line("Vacaciones\tMontañas\tCamión rojo")};
        QTest::newRow("ñ as n") << QStringList{QStringLiteral("nino")} << QStringList{line("Vacaciones\tPlayas\tNiño")};
        QTest::newRow("ß as ss") << QStringList{QStringLiteral("strasse")}
                                 << QStringList{line("Vacaciones\tSin clasificar\tStraße")};
        QTest::newRow("œ as oe, in descriptions")
            << QStringList{QStringLiteral("oeuvre")} << QStringList{line("Vacaciones\tSin clasificar\tStraße")};
        QTest::newRow("prefixes") << QStringList{QStringLiteral("cam")}
                                  << QStringList{line("Vacaciones\tMontañas\tCamión rojo"), line("Sierra\tSin clasificar\tNieve")};
        QTest::newRow("every word") << QStringList{QStringLiteral("cam"), QStringLiteral("sier")}
                                    << QStringList{line("Sierra\tSin clasificar\tNieve")};
        QTest::newRow("a phrase, names first")
            << QStringList{QStringLiteral("puesta de sol")}
            << QStringList{line("Vacaciones\tPlayas\tPuesta de sol"), line("Vacaciones\tSin clasificar\tStraße")};
        QTest::newRow("a phrase is whole") << QStringList{QStringLiteral("sol de puesta")} << QStringList{};
        QTest::newRow("exclusions") << QStringList{QStringLiteral("playa"), QStringLiteral("-julio")} << QStringList{};
        QTest::newRow("exclusions keep the rest")
            << QStringList{QStringLiteral("sol"), QStringLiteral("-agosto")}
            << QStringList{line("Vacaciones\tSin clasificar\tStraße")};
        QTest::newRow("signs alone ask for nothing")
            << QStringList{QStringLiteral("¿"), QStringLiteral("camion"), QStringLiteral("-«")}
            << QStringList{line("Vacaciones\tMontañas\tCamión rojo")};
        QTest::newRow("only an exclusion") << QStringList{QStringLiteral("-sol")} << QStringList{};
        QTest::newRow("nothing") << QStringList{QStringLiteral("zzz")} << QStringList{};
    }

    void search() {
        QFETCH(QStringList, terms);
        QFETCH(QStringList, lines);
        const Run r = runTool(lib() + QStringList{QStringLiteral("search")} + terms);
        QCOMPARE(r.exitCode, lines.isEmpty() ? 1 : 0);
        QCOMPARE(r.out, lines.isEmpty() ? QString() : lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    }

    void updateListAndRemove() {
        QTemporaryDir here;
        const QStringList own = {QStringLiteral("--library"), here.filePath(QStringLiteral("b.sqlite"))};
        const QString path = here.filePath(QStringLiteral("disco.lst"));
        writeListing(path, "Disco", {}, {{"Uno", ""}, {"Dos", ""}});
        QCOMPARE(runTool(own + QStringList{QStringLiteral("add"), path}).exitCode, 0);
        // The same path again, changed: one entry, the new texts.
        writeListing(path, "Disco nuevo", {}, {{"Tres", ""}});
        QCOMPARE(runTool(own + QStringList{QStringLiteral("add"), path}).exitCode, 0);
        QCOMPARE(runTool(own + QStringList{QStringLiteral("list")}).out, QStringLiteral("Disco nuevo\t1\n"));
        QCOMPARE(runTool(own + QStringList{QStringLiteral("search"), QStringLiteral("uno")}).exitCode, 1);

        const QString broken = here.filePath(QStringLiteral("no-esta.lst"));
        const Run refused = runTool(own + QStringList{QStringLiteral("add"), broken});
        QCOMPARE(refused.exitCode, 1);
        QVERIFY(refused.err.contains(broken));

        QCOMPARE(runTool(own + QStringList{QStringLiteral("remove"), QStringLiteral("Disco")}).exitCode, 1);
        QCOMPARE(runTool(own + QStringList{QStringLiteral("remove"), QStringLiteral("Disco nuevo")}).exitCode, 0);
        const Run empty = runTool(own + QStringList{QStringLiteral("list")});
        QCOMPARE(empty.exitCode, 0);
        QCOMPARE(empty.out, QString());
        QCOMPARE(runTool(own + QStringList{QStringLiteral("search")}).exitCode, 2);
    }

    void aDamagedLibraryIsMovedAside() {
        QTemporaryDir here;
        const QString db = here.filePath(QStringLiteral("biblioteca.sqlite"));
        QFile f(db);
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QByteArray junk = QByteArray("SQLite format 3").append('\0').append(QByteArray(4080, '\x7f'));
        f.write(junk);
        f.close();
        const Run r = runTool({QStringLiteral("--library"), db, QStringLiteral("add"), at(QStringLiteral("sierra.lst"))});
        QVERIFY(r.exitCode >= 1 && r.exitCode <= 127);
        QVERIFY(r.err.contains(db));
        const QStringList aside = QDir(here.path()).entryList({QStringLiteral("biblioteca-danada-*.sqlite")});
        QCOMPARE(aside.size(), 1);
        QFile kept(here.filePath(aside.front()));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), junk);
        QCOMPARE(runTool({QStringLiteral("--library"), db, QStringLiteral("list")}).out, QStringLiteral("Sierra\t1\n"));
    }

    void processesWritingAtOnce() {
        QTemporaryDir here;
        const QStringList own = {QStringLiteral("--library"), here.filePath(QStringLiteral("b.sqlite"))};
        constexpr int kProcesses = 4;
        constexpr int kListingsEach = 5;
        std::vector<QProcess*> running;
        for (int p = 0; p < kProcesses; ++p) {
            QStringList files;
            for (int i = 0; i < kListingsEach; ++i) {
                const QString path = here.filePath(QStringLiteral("d%1-%2.lst").arg(p).arg(i));
                std::vector<Item> items;
                for (int k = 0; k < 256; ++k)
                    items.push_back({"Elemento " + std::to_string(k), "Texto de prueba " + std::to_string(p)});
                writeListing(path, "Disco " + std::to_string(p) + "-" + std::to_string(i), {}, items);
                files.append(path);
            }
            running.push_back(startTool(own + QStringList{QStringLiteral("add")} + files));
        }
        for (QProcess* p : running) {
            const Run r = finish(p);
            QCOMPARE(r.err, QString());
            QCOMPARE(r.exitCode, 0);
        }
        const QStringList discs = runTool(own + QStringList{QStringLiteral("list")}).out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(discs.size(), kProcesses * kListingsEach);
        for (const QString& d : discs)
            QVERIFY2(d.endsWith(QStringLiteral("\t256")), qPrintable(d));
    }
};

QTEST_MAIN(TestLibraryCommand)
#include "tst_library_command.moc"
