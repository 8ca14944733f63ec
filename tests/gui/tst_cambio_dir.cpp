// SPDX-License-Identifier: GPL-2.0-or-later
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include "dialogs/cambio_dir.h"
#include "dialogs/com_dlg.h"
#include "dialogs/drive_list.h"
#include "dialogs/folder_list.h"
#include "model/project.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "platform/volumes.h"
#include "support/dialog_test.h"
#include "support/gui_test.h"

using namespace vitrandel;
using namespace vitrandel_test_support;
using namespace Qt::StringLiterals;
using platform::MessageBoxSeam;

namespace {

void openEntry(FolderList* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    doubleClick(list, list->indexFromItem(found.first()));
}

void chooseDrive(DriveList* drives, const QString& root) {
    const int index = drives->findData(root);
    QVERIFY(index >= 0);
    chooseWithKeys(drives, index);
}

} // namespace

class TestCambioDir : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_root;

    QString at(const QString& relative) const { return m_root + QLatin1Char('/') + relative; }

private Q_SLOTS:
    void initTestCase() {
        startGuiTest();
        QVERIFY(m_dir.isValid());
        m_root = m_dir.path();
        for (const char* folder :
             {"sub/hondo", "otra", ".escondida", "vol/fotos/2003", "vol/mapas"})
            QVERIFY(QDir(m_root).mkpath(QLatin1String(folder)));
    }
    void init() {
        platform::VolumeSeam::reset();
        project() = Project{};
    }
    void cleanup() {
        platform::VolumeSeam::reset();
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }

    void startsWhereAsked_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("shown");
        QTest::newRow("default setting") << "." << m_root;
        QTest::newRow("folder chosen earlier") << at(u"sub"_s) << at(u"sub"_s);
        QTest::newRow("folder gone since") << at(u"no_existe"_s) << m_root;
    }
    void startsWhereAsked() {
        QFETCH(QString, start);
        QFETCH(QString, shown);
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        exchange().dirDlgStart = platform::ss(start);
        if (start.endsWith(u"no_existe"_s))
            MessageBoxSeam::setNextAnswer(platform::vbOK);
        onNextDialog([&](QDialog& d) {
            QCOMPARE(d.windowTitle(), u"Seleccione un directorio..."_s);
            QCOMPARE(control<FolderList>(d, "Dir1")->path(), shown);
            QCOMPARE(control<DriveList>(d, "Drive1")->drive(), platform::volumeOf(shown));
            control<QPushButton>(d, "cancelar")->click();
        });
        cambio_dir::mostrar(nullptr);
        QCOMPARE(QDir::currentPath(), m_root);
        QCOMPARE(project().useCurrentDir, kTrue);
    }

    // The current directory was removed while the program ran: the chooser
    // says so and starts at the root instead of an empty list, from which
    // nothing could be chosen.
    void vanishedCurrentDirectoryStartsAtTheRoot() {
        CurrentDirRestorer restore;
        QVERIFY(QDir(m_root).mkpath(u"borrada"_s));
        QDir::setCurrent(at(u"borrada"_s));
        QVERIFY(QDir(m_root).rmdir(u"borrada"_s));
        exchange().dirDlgStart = ".";
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        onNextDialog([&](QDialog& d) {
            auto* dir = control<FolderList>(d, "Dir1");
            QCOMPARE(dir->path(), u"/"_s);
            QVERIFY(!dir->subfolders().isEmpty());
            openEntry(dir, m_root.section(u'/', 1, 1));
            control<QPushButton>(d, "aceptar")->click();
        });
        cambio_dir::mostrar(nullptr);
        QCOMPARE(MessageBoxSeam::takeShown().size(), 1);
        QCOMPARE(QDir::currentPath(), u"/"_s + m_root.section(u'/', 1, 1));
    }

    // The list shows the open folder's ancestors, the folder, then its visible
    // subfolders.
    void folderListShowsAncestorsAndSubfolders() {
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        exchange().dirDlgStart = ".";
        onNextDialog([&](QDialog& d) {
            auto* dir = control<FolderList>(d, "Dir1");
            QStringList expected = m_root.split(QLatin1Char('/'), Qt::SkipEmptyParts);
            expected.prepend(u"/"_s);
            expected << u"otra"_s << u"sub"_s << u"vol"_s;
            QCOMPARE(entries(dir), expected);
            QCOMPARE(dir->subfolders(), (QStringList{at(u"otra"_s), at(u"sub"_s), at(u"vol"_s)}));
            QCOMPARE(dir->currentItem()->text(), QDir(m_root).dirName());
        });
        cambio_dir::mostrar(nullptr);
    }

    void aceptarMakesTheOpenFolderCurrent() {
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        exchange().dirDlgStart = ".";
        bool closed = false;
        onNextDialog([&](QDialog& d) {
            auto* dir = control<FolderList>(d, "Dir1");
            openEntry(dir, u"sub"_s);
            // Highlighting is not opening: Aceptar takes "sub", not "hondo".
            const auto hondo = dir->findItems(u"hondo"_s, Qt::MatchExactly);
            QCOMPARE(hondo.size(), 1);
            QTest::mouseClick(dir->viewport(), Qt::LeftButton, {},
                              dir->visualItemRect(hondo.first()).center());
            QCOMPARE(dir->path(), at(u"sub"_s));
            control<QPushButton>(d, "aceptar")->click();
            closed = !d.isVisible();
        });
        cambio_dir::mostrar(nullptr);
        QVERIFY(closed);
        QCOMPARE(QDir::currentPath(), at(u"sub"_s));
        QCOMPARE(project().useCurrentDir, kFalse);
    }

    // From the keyboard: Enter opens the highlighted folder; Enter on the open
    // folder is Aceptar.
    void enterOpensThenAccepts() {
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        exchange().dirDlgStart = ".";
        bool stayedAfterFirst = false;
        onNextDialog([&](QDialog& d) {
            auto* dir = control<FolderList>(d, "Dir1");
            dir->setFocus();
            QTest::keyClick(dir, Qt::Key_Down); // otra
            QTest::keyClick(dir, Qt::Key_Down); // sub
            QTest::keyClick(dir, Qt::Key_Return);
            stayedAfterFirst = d.isVisible();
            QCOMPARE(dir->path(), at(u"sub"_s));
            QTest::keyClick(dir, Qt::Key_Return);
        });
        cambio_dir::mostrar(nullptr);
        QVERIFY(stayedAfterFirst);
        QCOMPARE(QDir::currentPath(), at(u"sub"_s));
    }

    void rutaPorDefectoKeepsTheDirectory() {
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        project().useCurrentDir = kFalse;
        exchange().dirDlgStart = platform::ss(m_root);
        onNextDialog([&](QDialog& d) {
            openEntry(control<FolderList>(d, "Dir1"), u"otra"_s);
            control<QPushButton>(d, "dejar")->click();
        });
        cambio_dir::mostrar(nullptr);
        QCOMPARE(QDir::currentPath(), m_root);
        QCOMPARE(project().useCurrentDir, kTrue);
    }

    void failureIsReportedAndTheDialogStays() {
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        QVERIFY(QDir(m_root).mkpath(u"efimera"_s));
        exchange().dirDlgStart = platform::ss(at(u"efimera"_s));
        bool stayed = false;
        onNextDialog([&](QDialog& d) {
            QVERIFY(QDir(m_root).rmdir(u"efimera"_s));
            MessageBoxSeam::setNextAnswer(platform::vbOK);
            control<QPushButton>(d, "aceptar")->click();
            stayed = d.isVisible();
        });
        cambio_dir::mostrar(nullptr);
        QVERIFY(stayed);
        const auto shown = MessageBoxSeam::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, u"No se ha encontrado la ruta de acceso"_s);
        QCOMPARE(shown.first().style, 48);
        QCOMPARE(QDir::currentPath(), m_root);
        QCOMPARE(project().useCurrentDir, kFalse);
    }

    // Each volume keeps the folder last open on it; one that cannot be read
    // is reported and the lists stay where they were.
    void drivesKeepTheirOwnFolder() {
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        QVERIFY(QDir(m_root).mkpath(u"retirada"_s));
        platform::VolumeSeam::setRoots({u"/"_s, at(u"vol"_s), at(u"retirada"_s)});
        exchange().dirDlgStart = ".";
        onNextDialog([&](QDialog& d) {
            auto* drives = control<DriveList>(d, "Drive1");
            auto* dir = control<FolderList>(d, "Dir1");
            QCOMPARE(drives->count(), 3);
            QCOMPARE(drives->drive(), u"/"_s);

            chooseDrive(drives, at(u"vol"_s));
            QCOMPARE(dir->path(), at(u"vol"_s));
            QCOMPARE(entries(dir), (QStringList{at(u"vol"_s), u"fotos"_s, u"mapas"_s}));
            openEntry(dir, u"fotos"_s);
            QCOMPARE(entries(dir), (QStringList{at(u"vol"_s), u"fotos"_s, u"2003"_s}));

            chooseDrive(drives, u"/"_s);
            QCOMPARE(dir->path(), m_root);
            chooseDrive(drives, at(u"vol"_s));
            QCOMPARE(dir->path(), at(u"vol/fotos"_s));

            QVERIFY(QDir(m_root).rmdir(u"retirada"_s));
            MessageBoxSeam::setNextAnswer(platform::vbOK);
            chooseDrive(drives, at(u"retirada"_s));
            QCOMPARE(drives->drive(), at(u"vol"_s));
            QCOMPARE(dir->path(), at(u"vol/fotos"_s));

            control<QPushButton>(d, "aceptar")->click();
        });
        cambio_dir::mostrar(nullptr);
        const auto shown = MessageBoxSeam::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, u"No se ha encontrado la ruta de acceso"_s);
        QCOMPARE(QDir::currentPath(), at(u"vol/fotos"_s));
    }

    // The file dialog shares the drive list: choosing a volume moves both of
    // its lists.
    void fileDialogFollowsTheDrive() {
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        platform::VolumeSeam::setRoots({u"/"_s, at(u"vol"_s)});
        {
            QFile f(at(u"vol/indice.lst"_s));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        ExchangeFields& x = exchange();
        x.fileDlgFilters = {};
        x.fileDlgFilters[0] = "Listados (*.lst)";
        x.fileDlgMode = 1;
        onNextDialog([&](QDialog& d) {
            chooseDrive(control<DriveList>(d, "Drive1"), at(u"vol"_s));
            QCOMPARE(control<FolderList>(d, "Dir1")->path(), at(u"vol"_s));
            QCOMPARE(entries(control<QListWidget>(d, "File1")), QStringList{u"indice.lst"_s});
        });
        com_dlg::mostrar(nullptr);
        QVERIFY(QFile::remove(at(u"vol/indice.lst"_s)));
    }
};

QTEST_MAIN(TestCambioDir)
#include "tst_cambio_dir.moc"
