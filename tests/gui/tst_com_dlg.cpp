// SPDX-License-Identifier: GPL-2.0-or-later
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "dialogs/com_dlg.h"
#include "dialogs/folder_list.h"
#include "model/project.h"
#include "platform/text.h"
#include "platform/volumes.h"
#include "support/dialog_test.h"
#include "support/gui_test.h"

using namespace vitrandel;
using namespace vitrandel_test_support;
using platform::qs;
using namespace Qt::StringLiterals;

namespace {

const QStringList kEditorFilters{QStringLiteral("Listados (*.lst)"),
                                 QStringLiteral("Todos los archivos (*.*)")};

void requestFile(int mode, const QStringList& filters = kEditorFilters) {
    ExchangeFields& x = exchange();
    x.fileDlgCaption = mode == 1 ? "Abrir..." : "Guardar como...";
    x.fileDlgFilters = {};
    for (int i = 0; i < filters.size(); ++i)
        x.fileDlgFilters[static_cast<std::size_t>(i)] = platform::ss(filters[i]);
    x.fileDlgMode = static_cast<std::int16_t>(mode);
    x.fileDlgFileName.clear();
    x.fileDlgResult = "left over from before";
}

void touch(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
}

} // namespace

class TestComDlg : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_root;

private Q_SLOTS:
    void initTestCase() {
        startGuiTest();
        QVERIFY(m_dir.isValid());
        m_root = m_dir.path();
        for (const char* name : {"catalogo.lst", "VIEJO.LST", "notas.txt", "LEEME", ".oculto.lst"})
            touch(m_root + QLatin1Char('/') + QLatin1String(name));
        QVERIFY(QDir(m_root).mkpath(QStringLiteral("sub")));
        touch(m_root + QStringLiteral("/sub/dentro.lst"));
        QVERIFY(QDir(m_root).mkpath(QStringLiteral("vacia")));
    }
    void init() { platform::VolumeSeam::reset(); }
    void cleanup() { VITRANDEL_VERIFY_NO_UNANSWERED_BOXES(); }

    void opensAtCurrentDirectoryWithCaptionAndFilters() {
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        requestFile(1);
        exchange().fileDlgFileName = "nuevo";
        onNextDialog([&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Abrir..."));
            QCOMPARE(control<FolderList>(d, "Dir1")->path(), m_root);
            auto* combo = control<QComboBox>(d, "Combo1");
            QCOMPARE(combo->count(), 2);
            QCOMPARE(combo->currentText(), kEditorFilters[0]);
            QCOMPARE(control<QLineEdit>(d, "Text1")->text(), QStringLiteral("nuevo"));
        });
        com_dlg::mostrar(nullptr);
    }

    // Patterns ignore letter case, may have several parts, and never show
    // hidden files; "*.*" also takes names without a dot.
    void fileListFollowsFilter_data() {
        QTest::addColumn<QStringList>("filters");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("listings") << kEditorFilters << 0
                                  << QStringList{u"catalogo.lst"_s, u"VIEJO.LST"_s};
        QTest::newRow("everything")
            << kEditorFilters << 1
            << QStringList{u"catalogo.lst"_s, u"LEEME"_s, u"notas.txt"_s, u"VIEJO.LST"_s};
        QTest::newRow("two patterns")
            << QStringList{u"Varios (*.TXT;*.lst)"_s} << 0
            << QStringList{u"catalogo.lst"_s, u"notas.txt"_s, u"VIEJO.LST"_s};
    }
    void fileListFollowsFilter() {
        QFETCH(QStringList, filters);
        QFETCH(int, chosen);
        QFETCH(QStringList, shown);
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        requestFile(1, filters);
        onNextDialog([&](QDialog& d) {
            control<QComboBox>(d, "Combo1")->setCurrentIndex(chosen);
            QCOMPARE(entries(control<QListWidget>(d, "File1")), shown);
        });
        com_dlg::mostrar(nullptr);
    }

    void acceptCompletesTheName_data() {
        QTest::addColumn<QStringList>("filters");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected"); // relative to the shown folder; "" for none
        QTest::newRow("no extension") << kEditorFilters << 0 << "catalogo"
                                      << "catalogo.lst";
        QTest::newRow("other extension") << kEditorFilters << 0 << "catalogo.txt"
                                         << "catalogo.lst";
        QTest::newRow("last dot only") << kEditorFilters << 0 << "mi.catalogo"
                                       << "mi.lst";
        QTest::newRow("own spelling kept") << kEditorFilters << 0 << "VIEJO.LST"
                                           << "VIEJO.LST";
        QTest::newRow("all files keep extension") << kEditorFilters << 1 << "notas.txt"
                                                  << "notas.txt";
        QTest::newRow("all files keep none") << kEditorFilters << 1 << "sin_punto"
                                             << "sin_punto";
        QTest::newRow("folder without files is a name") << kEditorFilters << 0 << "vacia"
                                                        << "vacia.lst";
        QTest::newRow("wildcards are plain characters") << kEditorFilters << 1 << "a*b?.lst"
                                                        << "a*b?.lst";
        QTest::newRow("filter without dot") << QStringList{u"Raro (*)"_s} << 0 << "x"
                                            << "";
    }
    void acceptCompletesTheName() {
        QFETCH(QStringList, filters);
        QFETCH(int, chosen);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        requestFile(2, filters);
        const bool replaces = !expected.isEmpty() && QFileInfo::exists(m_root + u'/' + expected);
        if (replaces)
            platform::MessageBoxSeam::setNextAnswer(platform::vbYes);
        bool closed = false;
        onNextDialog([&](QDialog& d) {
            control<QComboBox>(d, "Combo1")->setCurrentIndex(chosen);
            QTest::keyClicks(control<QLineEdit>(d, "Text1"), typed);
            QTest::keyClick(control<QLineEdit>(d, "Text1"), Qt::Key_Return);
            closed = !d.isVisible();
        });
        com_dlg::mostrar(nullptr);
        QVERIFY(closed);
        QCOMPARE(qs(exchange().fileDlgResult),
                 expected.isEmpty() ? QString() : m_root + QLatin1Char('/') + expected);
        QCOMPARE(platform::MessageBoxSeam::takeShown().size(), replaces ? 1 : 0);
    }

    // Saving over a file that exists asks first; No goes back to the dialog.
    // Under "*.*" that protects any file listed, a photo as much as a listing.
    void savingOverAFileAsks() {
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        requestFile(2);
        platform::MessageBoxSeam::setNextAnswer(platform::vbNo);
        platform::MessageBoxSeam::setNextAnswer(platform::vbYes);
        bool stayedAfterNo = false;
        onNextDialog([&](QDialog& d) {
            control<QComboBox>(d, "Combo1")->setCurrentIndex(1);
            auto* files = control<QListWidget>(d, "File1");
            files->setCurrentItem(files->findItems(QStringLiteral("notas.txt"), Qt::MatchExactly).first());
            control<QPushButton>(d, "aceptar")->click();
            stayedAfterNo = d.isVisible();
            QCOMPARE(exchange().fileDlgResult, std::string("left over from before"));
            control<QPushButton>(d, "aceptar")->click();
        });
        com_dlg::mostrar(nullptr);
        QVERIFY(stayedAfterNo);
        const auto shown = platform::MessageBoxSeam::takeShown();
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[0].text.contains(m_root + QStringLiteral("/notas.txt")));
        QCOMPARE(shown[0].style, platform::vbYesNo + platform::vbExclamation);
        QCOMPARE(qs(exchange().fileDlgResult), m_root + QStringLiteral("/notas.txt"));
    }

    // Listings made on Windows are named in any letter case: typing the name
    // as remembered finds the file as the disc spells it.
    void openFindsANameInAnotherCase() {
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        requestFile(1);
        onNextDialog([](QDialog& d) {
            QTest::keyClicks(control<QLineEdit>(d, "Text1"), QStringLiteral("viejo"));
            control<QPushButton>(d, "aceptar")->click();
        });
        com_dlg::mostrar(nullptr);
        QCOMPARE(qs(exchange().fileDlgResult), m_root + QStringLiteral("/VIEJO.LST"));
    }

    void rootFolderGetsOneSeparator() {
        CurrentDirRestorer restore;
        QDir::setCurrent(QStringLiteral("/"));
        requestFile(2);
        onNextDialog([](QDialog& d) {
            QTest::keyClicks(control<QLineEdit>(d, "Text1"), QStringLiteral("catalogo"));
            control<QPushButton>(d, "aceptar")->click();
        });
        com_dlg::mostrar(nullptr);
        QCOMPARE(qs(exchange().fileDlgResult), QStringLiteral("/catalogo.lst"));
    }

    // A typed folder (relative to the current directory) that holds files is
    // entered: the dialog stays, its lists stay, the current directory moves.
    void enterOnFolderWithFilesEntersIt() {
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        requestFile(1);
        onNextDialog([&](QDialog& d) {
            auto* files = control<QListWidget>(d, "File1");
            const QStringList before = entries(files);
            QTest::keyClicks(control<QLineEdit>(d, "Text1"), QStringLiteral("sub"));
            QTest::keyClick(control<QLineEdit>(d, "Text1"), Qt::Key_Return);
            QVERIFY(d.isVisible());
            QCOMPARE(QDir::currentPath(), m_root + QStringLiteral("/sub"));
            QCOMPARE(control<FolderList>(d, "Dir1")->path(), m_root);
            QCOMPARE(entries(files), before);
            control<QPushButton>(d, "cancelar")->click();
        });
        com_dlg::mostrar(nullptr);
        QCOMPARE(exchange().fileDlgResult, std::string());
    }

    void emptyNameKeepsTheDialogOpen() {
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        requestFile(2);
        bool stayed = false;
        onNextDialog([&](QDialog& d) {
            control<QPushButton>(d, "aceptar")->click();
            stayed = d.isVisible();
        });
        com_dlg::mostrar(nullptr);
        QVERIFY(stayed);
    }

    // Typing a listed name picks it in the list's spelling; typing on goes on
    // from there instead of replacing what was typed.
    void typingPastAListedName() {
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        requestFile(1);
        onNextDialog([](QDialog& d) {
            control<QComboBox>(d, "Combo1")->setCurrentIndex(1);
            auto* text = control<QLineEdit>(d, "Text1");
            QTest::keyClicks(text, QStringLiteral("LEEME"));
            QCOMPARE(control<QListWidget>(d, "File1")->currentItem()->text(), QStringLiteral("LEEME"));
            QTest::keyClicks(text, QStringLiteral("2"));
            QCOMPARE(text->text(), QStringLiteral("LEEME2"));
            text->clear();
            QTest::keyClicks(text, QStringLiteral("CATALOGO.LST"));
            QCOMPARE(text->text(), QStringLiteral("catalogo.lst"));
            QTest::keyClicks(text, QStringLiteral("x"));
            QCOMPARE(text->text(), QStringLiteral("catalogo.lstx"));
        });
        com_dlg::mostrar(nullptr);
    }

    void doubleClickAcceptsAtOnce() {
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        requestFile(1);
        onNextDialog([](QDialog& d) {
            auto* files = control<QListWidget>(d, "File1");
            const auto found = files->findItems(QStringLiteral("VIEJO.LST"), Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            doubleClick(files, files->indexFromItem(found.first()));
        });
        com_dlg::mostrar(nullptr);
        QCOMPARE(qs(exchange().fileDlgResult), m_root + QStringLiteral("/VIEJO.LST"));
    }

    // A click puts the file's name into the box even when the file is already
    // the highlighted one, so a double-click always returns the file clicked.
    void doubleClickAfterTypingReturnsTheFile() {
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        requestFile(1);
        onNextDialog([](QDialog& d) {
            auto* files = control<QListWidget>(d, "File1");
            auto* text = control<QLineEdit>(d, "Text1");
            const auto found = files->findItems(QStringLiteral("catalogo.lst"), Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            const QPoint at = files->visualItemRect(found.first()).center();
            QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
            QCOMPARE(text->text(), QStringLiteral("catalogo.lst"));
            QTest::keyClicks(text, QStringLiteral("otro"));
            QCOMPARE(text->text(), QStringLiteral("otro"));
            QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
            QCOMPARE(text->text(), QStringLiteral("catalogo.lst"));
            QTest::keyClicks(text, QStringLiteral("otro"));
            doubleClick(files, files->indexFromItem(found.first()));
        });
        com_dlg::mostrar(nullptr);
        QCOMPARE(qs(exchange().fileDlgResult), m_root + QStringLiteral("/catalogo.lst"));
    }

    void openingAFolderMovesTheFileList() {
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        requestFile(1);
        onNextDialog([&](QDialog& d) {
            auto* folders = control<FolderList>(d, "Dir1");
            const auto found = folders->findItems(QStringLiteral("sub"), Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            doubleClick(folders, folders->indexFromItem(found.first()));
            QCOMPARE(folders->path(), m_root + QStringLiteral("/sub"));
            QCOMPARE(entries(control<QListWidget>(d, "File1")), QStringList{u"dentro.lst"_s});
            QTest::keyClicks(control<QLineEdit>(d, "Text1"), QStringLiteral("nuevo"));
            control<QPushButton>(d, "aceptar")->click();
        });
        com_dlg::mostrar(nullptr);
        QCOMPARE(qs(exchange().fileDlgResult), m_root + QStringLiteral("/sub/nuevo.lst"));
        QCOMPARE(QDir::currentPath(), m_root); // browsing does not change it
    }

    // Names that differ only in letter case are different files here: the one
    // picked or typed exactly is the one returned.
    void namesDifferingInCaseStayApart() {
        QTemporaryDir twins;
        QVERIFY(twins.isValid());
        for (const char* name : {"doble.lst", "DOBLE.LST"})
            touch(twins.filePath(QLatin1String(name)));
        CurrentDirRestorer restore;
        QDir::setCurrent(twins.path());
        requestFile(1);
        onNextDialog([](QDialog& d) {
            auto* files = control<QListWidget>(d, "File1");
            auto* text = control<QLineEdit>(d, "Text1");
            QCOMPARE(files->count(), 2);
            for (int i = 0; i < files->count(); ++i) {
                const QString name = files->item(i)->text();
                files->setCurrentRow(i);
                QCOMPARE(text->text(), name);
                QCOMPARE(files->currentItem()->text(), name);
            }
            text->clear();
            QTest::keyClicks(text, QStringLiteral("DOBLE.LST"));
            QCOMPARE(text->text(), QStringLiteral("DOBLE.LST"));
            const auto found = files->findItems(QStringLiteral("DOBLE.LST"), Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            doubleClick(files, files->indexFromItem(found.first()));
        });
        com_dlg::mostrar(nullptr);
        QCOMPARE(qs(exchange().fileDlgResult), twins.filePath(QStringLiteral("DOBLE.LST")));
    }

    // The working directory was removed while the program ran: the dialog is
    // told so and shows its volume's root, so a name never lands in a folder
    // the lists do not show.
    void vanishedCurrentDirectoryShowsTheRoot() {
        CurrentDirRestorer restore;
        QVERIFY(QDir(m_root).mkpath(QStringLiteral("borrada")));
        QDir::setCurrent(m_root + QStringLiteral("/borrada"));
        QVERIFY(QDir(m_root).rmdir(QStringLiteral("borrada")));
        requestFile(2);
        platform::MessageBoxSeam::setNextAnswer(platform::vbOK);
        QString shown;
        onNextDialog([&](QDialog& d) {
            shown = control<FolderList>(d, "Dir1")->path();
            QTest::keyClicks(control<QLineEdit>(d, "Text1"), QStringLiteral("catalogo"));
            control<QPushButton>(d, "aceptar")->click();
        });
        com_dlg::mostrar(nullptr);
        QCOMPARE(platform::MessageBoxSeam::takeShown().size(), 1);
        QCOMPARE(shown, QStringLiteral("/"));
        QCOMPARE(qs(exchange().fileDlgResult), QStringLiteral("/catalogo.lst"));
    }

    void cancelLeavesNoResult_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancelar") << "cancelar";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("close box") << "close";
    }
    void cancelLeavesNoResult() {
        QFETCH(QString, how);
        CurrentDirRestorer restore;
        QDir::setCurrent(m_root);
        requestFile(2);
        bool closed = false;
        onNextDialog([&](QDialog& d) {
            QTest::keyClicks(control<QLineEdit>(d, "Text1"), QStringLiteral("catalogo"));
            if (how == QLatin1String("cancelar"))
                control<QPushButton>(d, "cancelar")->click();
            else if (how == QLatin1String("escape"))
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                d.close();
            closed = !d.isVisible();
        });
        com_dlg::mostrar(nullptr);
        QVERIFY(closed);
        QCOMPARE(exchange().fileDlgResult, std::string());
    }
};

QTEST_MAIN(TestComDlg)
#include "tst_com_dlg.moc"
