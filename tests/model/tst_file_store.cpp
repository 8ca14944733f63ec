// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>
#include <filesystem>
#include <sys/stat.h>

#include "model/file_store.h"

using namespace vitrandel;
namespace fs = std::filesystem;

class TestFileStore : public QObject {
    Q_OBJECT

    static std::string slurp(const std::string& path) {
        FileError e;
        return readFileBytes(path, &e).value_or("<unreadable>");
    }

    static int entriesIn(const QString& dir) {
        return int(QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System).size());
    }

private Q_SLOTS:
    void cleanup() { setWriteFaultsForTesting(std::nullopt); }

    void replacesTheWholeFile() {
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("l.lst")).toStdString();
        FileError e;
        QVERIFY(writeFileAtomically(path, std::string(5000, 'a'), &e));
        QVERIFY(writeFileAtomically(path, "corto", &e));
        QCOMPARE(slurp(path), std::string("corto"));
        QCOMPARE(entriesIn(dir.path()), 1);
    }

    void aFailureAtAnyPointKeepsTheOldFile_data() {
        QTest::addColumn<int>("afterBytes");
        QTest::addColumn<bool>("create");
        QTest::addColumn<bool>("sync");
        QTest::addColumn<bool>("close");
        QTest::addColumn<bool>("rename");
        QTest::newRow("cannot create") << -1 << true << false << false << false;
        for (int n : {0, 1, 4095, 70000, 99999})
            QTest::addRow("disk full after %d bytes", n) << n << false << false << false << false;
        QTest::newRow("flush fails") << -1 << false << true << false << false;
        QTest::newRow("close fails") << -1 << false << false << true << false;
        QTest::newRow("replace fails") << -1 << false << false << false << true;
    }
    void aFailureAtAnyPointKeepsTheOldFile() {
        QFETCH(int, afterBytes);
        QFETCH(bool, create);
        QFETCH(bool, sync);
        QFETCH(bool, close);
        QFETCH(bool, rename);
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("l.lst")).toStdString();
        FileError e;
        QVERIFY(writeFileAtomically(path, "viejo", &e));
        setWriteFaultsForTesting(WriteFaults{create, afterBytes, sync, close, rename});
        QVERIFY(!writeFileAtomically(path, std::string(100000, 'n'), &e));
        QVERIFY(e.errnum != 0);
        QVERIFY(!e.message.empty());
        QCOMPARE(slurp(path), std::string("viejo"));
        QCOMPARE(entriesIn(dir.path()), 1); // no temporary left behind
    }

    void refusesWhatCannotBeAFile() {
        QTemporaryDir dir;
        FileError e;
        QVERIFY(!writeFileAtomically(dir.path().toStdString(), "x", &e));
        QCOMPARE(e.errnum, EISDIR);
        QVERIFY(!writeFileAtomically(dir.filePath(QStringLiteral("no/such/f.lst")).toStdString(), "x", &e));
        QCOMPARE(e.errnum, ENOENT);
        QVERIFY(!readFileBytes(dir.path().toStdString(), &e));
        QCOMPARE(e.errnum, EISDIR);
        QVERIFY(!readFileBytes(dir.filePath(QStringLiteral("missing")).toStdString(), &e));
        QCOMPARE(e.errnum, ENOENT);
    }

    void readsOnlyOrdinaryFilesOfAListingsSize() {
        QTemporaryDir dir;
        FileError e;
        const std::string fifo = dir.filePath(QStringLiteral("tubo")).toStdString();
        QCOMPARE(::mkfifo(fifo.c_str(), 0600), 0);
        QVERIFY(!readFileBytes(fifo, &e)); // must not wait for a writer
        QCOMPARE(e.errnum, EINVAL);
        QVERIFY(!readFileBytes("/dev/zero", &e));
        QCOMPARE(e.errnum, EINVAL);
        const std::string big = dir.filePath(QStringLiteral("grande")).toStdString();
        QVERIFY(writeFileAtomically(big, std::string(1001, 'x'), &e));
        QVERIFY(!readFileBytes(big, &e, 1000));
        QCOMPARE(e.errnum, EFBIG);
        QCOMPARE(readFileBytes(big, &e, 1001).value_or("").size(), std::size_t(1001));
    }

    void savingThroughALinkReplacesItsTarget() {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("real.lst"));
        const QString link = dir.filePath(QStringLiteral("link.lst"));
        FileError e;
        QVERIFY(writeFileAtomically(target.toStdString(), "viejo", &e));
        fs::create_symlink(target.toStdString(), link.toStdString());
        QVERIFY(writeFileAtomically(link.toStdString(), "nuevo", &e));
        QVERIFY(fs::is_symlink(link.toStdString()));
        QCOMPARE(slurp(target.toStdString()), std::string("nuevo"));
    }

    void keepsThePermissionsOfTheFileItReplaces() {
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("l.lst")).toStdString();
        FileError e;
        QVERIFY(writeFileAtomically(path, "a", &e));
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        QVERIFY(writeFileAtomically(path, "b", &e));
        QCOMPARE(fs::status(path).permissions(),
                 fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    }
};

QTEST_APPLESS_MAIN(TestFileStore)
#include "tst_file_store.moc"
