// SPDX-License-Identifier: GPL-2.0-or-later
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <cstring>

#include "editor/principal.h"
#include "model/file_store.h"
#include "model/listing_writer.h"
#include "model/project.h"
#include "platform/listing_io.h"
#include "platform/recovery.h"
#include "platform/text.h"
#include "startup/inicial.h"
#include "support/dialog_test.h"
#include "support/gui_test.h"

using namespace vitrandel;
using namespace vitrandel_test_support;
using namespace Qt::StringLiterals;
using platform::MessageBoxSeam;

namespace {

QByteArray bytesSaveWouldWrite() {
    return QByteArray::fromStdString(
        serializeListing(project(), platform::workingDirToRecord()).bytes);
}

QStringList copiesIn(const QString& folder) {
    return QDir(folder).entryList({u"*.recuperacion"_s}, QDir::Files);
}

// The editor of a process that a test kills: it opens the listing it is
// given, if any, works on it with the keyboard as an author does, writes
// what Save would write beside it for the test to compare, and waits.
int runEditorToKill(const QString& title, const QString& listing, const QString& expected) {
    platform::MessageBoxSeam::setTestMode(true);
    platform::ModalSeam::setTestMode(true);
    if (!listing.isEmpty())
        exchange().fileDlgResult = platform::ss(listing);
    auto* w = new principal;
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w))
        return 2;
    const int listed = project().elementCount;
    w->titulo_txt->selectAll();
    QTest::keyClicks(w->titulo_txt, title);
    for (const QString& name : {u"uno"_s, u"dos"_s, u"tres"_s}) {
        onNextDialog([name](QDialog& d) {
            control<QLineEdit>(d, "Text1")->insert(name);
            QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton);
        });
        w->agregar->click();
    }
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w))
        return 2;
    QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_Y, Qt::ControlModifier);
    w->recovery().flush();
    QFile out(expected);
    if (project().elementCount != listed + 2 || !out.open(QIODevice::WriteOnly))
        return 3;
    out.write(bytesSaveWouldWrite());
    out.close();
    std::fputs("listo\n", stdout);
    std::fflush(stdout);
    return QApplication::exec();
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
    QTemporaryDir state_;
    QTemporaryDir work_;
    QString startDir_;
    QPointer<QWidget> window_;

    QString folder() const { return state_.path() + u"/vitrandel/recuperacion"_s; }
    QString at(const QString& name) const { return work_.filePath(name); }

    // A real process with its own editor, at work in `dir` on `listing`.
    void startEditor(QProcess& editor, const QString& title, const QString& dir,
                     const QString& listing) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_STATE_HOME"_s, state_.path());
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        editor.setProcessEnvironment(env);
        editor.setWorkingDirectory(dir);
        editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        editor.start(QCoreApplication::applicationFilePath(),
                     {u"--editor"_s, title, listing, dir + u"/esperado.lst"_s});
        QVERIFY(editor.waitForStarted());
        const bool ready = editor.waitForReadyRead(60000);
        QVERIFY2(ready,
                 qPrintable(u"the editor never got its work done: %1 %2"_s.arg(editor.exitCode())
                                .arg(editor.errorString())));
        QCOMPARE(editor.readLine(), QByteArray("listo\n"));
    }

    void kill(QProcess& editor) {
        editor.kill(); // SIGKILL: nothing of the editor runs after it
        QVERIFY(editor.waitForFinished());
        QCOMPARE(editor.exitStatus(), QProcess::CrashExit);
    }

    // The program started without an argument, as a user does; its questions
    // are answered with `answers`, and what they said is handed back.
    QStringList startProgram(const QList<int>& answers) {
        for (int a : answers)
            MessageBoxSeam::setNextAnswer(a);
        window_ = startup::Main({}).window;
        QStringList texts;
        for (const auto& m : MessageBoxSeam::takeShown())
            texts << m.text;
        return texts;
    }

    void closeEditor(const QList<int>& answers) {
        for (int a : answers)
            MessageBoxSeam::setNextAnswer(a);
        QVERIFY(window_->close());
        QTRY_VERIFY(window_.isNull());
        QCOMPARE(MessageBoxSeam::takeShown().size(), answers.size());
    }

private Q_SLOTS:
    void initTestCase() {
        startGuiTest();
        qputenv("XDG_STATE_HOME", QFile::encodeName(state_.path()));
        startDir_ = QDir::currentPath();
    }
    void cleanup() {
        delete window_;
        QDir::setCurrent(startDir_);
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }

    // Two editors at work; one is killed. Only its work is offered, and "No"
    // puts it aside. Then the other is killed; its work comes back whole, on
    // its own listing's path and in its own working folder, as unsaved work.
    void killedEditorsAreOfferedTheirWorkBack() {
        QVERIFY(QDir(work_.path()).mkpath(u"alfa"_s));
        QVERIFY(QDir(work_.path()).mkpath(u"beta"_s));
        Project listed;
        listed.title = "Beta";
        listed.elements[0] = newElement("cero", 0);
        listed.elementCount = 1;
        const QString betaListing = at(u"beta/beta.lst"_s);
        FileError e;
        QVERIFY(writeFileAtomically(betaListing.toStdString(), serializeListing(listed, ".").bytes,
                                    &e));

        QProcess alfa;
        QProcess beta;
        startEditor(alfa, u"Alfa"_s, at(u"alfa"_s), QString());
        startEditor(beta, u"Beta nueva"_s, at(u"beta"_s), betaListing);
        QCOMPARE(copiesIn(folder()).size(), 2);
        kill(alfa);

        const QStringList asked = startProgram({platform::vbNo, platform::vbOK});
        QCOMPARE(asked.size(), 2);
        static const QRegularExpression question(
            uR"(^Se encontraron cambios sin guardar de "Alfa" \(\d\d/\d\d/\d{4} \d\d:\d\d\)\. ¿Desea recuperarlos\?$)"_s);
        QVERIFY2(question.match(asked[0]).hasMatch(), qPrintable(asked[0]));
        QVERIFY(asked[1].contains(QDir::toNativeSeparators(folder() + u"/apartadas"_s)));
        QCOMPARE(QDir(folder() + u"/apartadas"_s).entryList(QDir::Files).size(), 1);
        QCOMPARE(project().elementCount, 0);
        closeEditor({});
        QCOMPARE(copiesIn(folder()).size(), 1); // the one whose editor still runs

        kill(beta);
        const QStringList recovered = startProgram({platform::vbYes});
        QCOMPARE(recovered.size(), 1);
        QVERIFY2(recovered[0].contains(u"\"Beta nueva\""_s), qPrintable(recovered[0]));
        QFile expected(at(u"beta/esperado.lst"_s));
        QVERIFY(expected.open(QIODevice::ReadOnly));
        QCOMPARE(bytesSaveWouldWrite(), expected.readAll());
        QCOMPARE(project().modified, kTrue);
        QCOMPARE(QString::fromStdString(exchange().fileDlgResult), betaListing);
        QCOMPARE(QDir::currentPath(), QDir(at(u"beta"_s)).canonicalPath());
        // The work is now this editor's copy, and only that.
        const QStringList copies = copiesIn(folder());
        QCOMPARE(copies.size(), 1);
        QVERIFY(copies[0].startsWith(QString::number(QCoreApplication::applicationPid()) + u'-'));

        // A normal exit, even one that drops the work, leaves nothing to offer.
        closeEditor({platform::vbNo});
        QCOMPARE(copiesIn(folder()).size(), 0);
        QCOMPARE(startProgram({}).size(), 0);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 5 && std::strcmp(argv[1], "--editor") == 0)
        return runEditorToKill(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                               QString::fromLocal8Bit(argv[4]));
    TestRecovery test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
