// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUndoStack>

#include "dialogs/folder_list.h"
#include "editor/edit_history.h"
#include "editor/principal.h"
#include "model/listing_writer.h"
#include "model/project.h"
#include "platform/listing_io.h"
#include "platform/text.h"
#include "support/dialog_test.h"
#include "support/editor_session.h"
#include "support/fixture_files.h"
#include "support/gui_test.h"

using namespace vitrandel;
using namespace vitrandel_test_support;
using namespace Qt::StringLiterals;
using platform::MessageBoxSeam;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

QByteArray bytesSaveWouldWrite() {
    return QByteArray::fromStdString(
        serializeListing(project(), platform::workingDirToRecord()).bytes);
}

void select(principal* w, const QString& name) {
    const auto found = w->listado->findItems(name, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    w->listado->setCurrentItem(found.first());
}

void press(QDialog& d, const char* button) {
    QTest::mouseClick(control<QPushButton>(d, button), Qt::LeftButton);
}

} // namespace

class TestUndoRedo : public QObject {
    Q_OBJECT
    std::unique_ptr<EditorSession> ed_ = std::make_unique<EditorSession>();

    QUndoStack* stack() { return ed_->w->history().stack(); }
    void key(Qt::Key k, Qt::KeyboardModifiers m) { QTest::keyClick(ed_->w, k, m); }

private Q_SLOTS:
    void initTestCase() { startGuiTest(); }
    void cleanup() {
        ed_->close();
        exchange().fileDlgResult.clear();
        ed_.reset(); // first: it puts back the folder it found
        ed_ = std::make_unique<EditorSession>();
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }

    // Every kind of change, undone with the keyboard back to the saved file
    // and redone forward to the work as it was.
    void everyChangeUndoneAndRedone() {
        Project p;
        p.title = "Discos";
        p.useCurrentDir = kFalse;
        p.categories[0] = "Rock";
        p.categories[1] = "Jazz";
        p.categoryCount = 2;
        p.elements[0] = Element{
            .name = "a", .description = "uno", .category = 1, .fontName = "Arial", .fontSize = 10};
        p.elements[1] = Element{
            .name = "b", .description = "dos", .category = 2, .fontName = "Arial", .fontSize = 12};
        p.elements[2] =
            Element{.name = "c", .description = "tres", .fontName = "Arial", .fontSize = 10};
        p.elementCount = 3;
        QVERIFY(QDir(ed_->path()).mkpath(u"sub"_s));
        writeFile(ed_->at(u"discos/x.txt"_s), "equis");
        writeFile(ed_->at(u"discos/vinilos/y.txt"_s), "i griega");
        const QString listing = ed_->at(u"discos.lst"_s);
        writeFile(listing,
                  QByteArray::fromStdString(serializeListing(p, platform::ss(ed_->path())).bytes));
        exchange().fileDlgResult = platform::ss(listing);
        principal* w = ed_->open();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->archivo_guardar_Click();
        const QByteArray saved = fileBytes(listing);
        QCOMPARE(project().modified, kFalse);

        // Typing without a pause is one step.
        w->titulo_txt->setFocus();
        QTest::keyClick(w->titulo_txt, Qt::Key_End);
        QTest::keyClicks(w->titulo_txt, u" de casa"_s);
        QCOMPARE(stack()->count(), 1);
        QCOMPARE(w->edicion_deshacer->text(), u"&Deshacer cambio de título"_s);

        onNextDialog([](QDialog& d) {
            chooseWithKeys(control<QComboBox>(d, "Combo1"), 2);
            control<QLineEdit>(d, "Text1")->insert(u"d"_s);
            press(d, "aceptar");
        });
        w->agregar->click();
        QCOMPARE(project().elementCount, 4);
        // Ctrl+Z in the title box is the editor's, not the box's own.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->titulo_txt->setFocus();
        QTest::keyClick(w->titulo_txt, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(project().elementCount, 3);
        QCOMPARE(w->titulo_txt->text(), u"Discos de casa"_s);
        QTest::keyClick(w->titulo_txt, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(project().elementCount, 4);

        select(w, u"a"_s);
        w->eliminar->click();
        select(w, u"b"_s);
        onNextDialog([](QDialog& d) {
            chooseWithKeys(control<QComboBox>(d, "Combo1"), 1);
            press(d, "aceptar");
        });
        w->cambiar_cat->click();
        select(w, u"c"_s);
        onNextDialog([](QDialog& d) {
            control<QPlainTextEdit>(d, "Text1")->setPlainText(u"tres, corregido"_s);
            press(d, "aceptar");
        });
        w->editar->click();
        onNextDialog([](QDialog& d) {
            auto* list = control<QListWidget>(d, "List1");
            list->setCurrentRow(0);
            control<QLineEdit>(d, "Text1")->setText(u"Rock y pop"_s);
            list->setCurrentRow(list->count() - 1);
            control<QLineEdit>(d, "Text1")->setText(u"Blues"_s);
            press(d, "salir");
        });
        w->cat_editar->click();
        const int beforeFill = stack()->count();
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        w->fillFromFolder(ed_->at(u"discos"_s));
        QCOMPARE(MessageBoxSeam::takeShown().size(), 1);
        QCOMPARE(project().elementCount, 5);
        QCOMPARE(stack()->count(), beforeFill + 1);
        onNextDialog([](QDialog& d) {
            control<QCheckBox>(d, "Check2")->setChecked(true);
            control<QLineEdit>(d, "Text1")->setText(u"clave"_s);
            press(d, "aceptar");
        });
        w->proyecto_opciones_Click();
        onNextDialog([](QDialog& d) {
            auto* dir = control<FolderList>(d, "Dir1");
            const auto found = dir->findItems(u"sub"_s, Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            doubleClick(dir, dir->indexFromItem(found.first()));
            press(d, "aceptar");
        });
        w->proyecto_curdir_Click();
        QCOMPARE(QDir::currentPath(), QDir(ed_->at(u"sub"_s)).canonicalPath());
        QCOMPARE(stack()->count(), 9);
        QCOMPARE(w->edicion_deshacer->text(), u"&Deshacer cambio de directorio de trabajo"_s);
        QCOMPARE(project().modified, kTrue);
        const QByteArray changed = bytesSaveWouldWrite();

        // As the window system does when the last dialog closes.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->listado->setFocus();
        for (int i = 0; i < 9; ++i)
            key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!stack()->canUndo());
        QCOMPARE(project().modified, kFalse);
        QVERIFY(!w->edicion_deshacer->isEnabled());
        QCOMPARE(QDir::currentPath(), QDir(ed_->path()).canonicalPath());
        QCOMPARE(w->titulo_txt->text(), u"Discos"_s);
        QCOMPARE(w->listado->count(), 3);
        w->archivo_guardar_Click();
        QCOMPARE(fileBytes(listing), saved);

        // Both redo keys, in turn.
        for (int i = 0; i < 9; ++i) {
            if (i % 2)
                key(Qt::Key_Y, Qt::ControlModifier);
            else
                key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        }
        QVERIFY(!stack()->canRedo());
        QCOMPARE(project().modified, kTrue);
        QCOMPARE(w->edicion_rehacer->text(), u"&Rehacer"_s);
        w->archivo_guardar_Click();
        QCOMPARE(fileBytes(listing), changed);
        QCOMPARE(project().modified, kFalse);

        // Back to the saved state by undoing, nothing is left to ask about.
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(project().modified, kTrue);
        key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(project().modified, kFalse);
        w->archivo_nuevo_Click();
        QVERIFY(!stack()->canUndo());
    }

    // A fill from a folder is one step however many elements it adds; the
    // category its subfolder made goes with it.
    void fillFromFolderIsOneStep() {
        writeFile(ed_->at(u"fotos/uno.txt"_s), "1");
        writeFile(ed_->at(u"fotos/dos.txt"_s), "2");
        writeFile(ed_->at(u"fotos/viejas/tres.txt"_s), "3");
        Project p;
        p.elements[0] = newElement("cero", 0);
        p.elementCount = 1;
        principal* w = ed_->open(p);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        w->fillFromFolder(ed_->at(u"fotos"_s));
        MessageBoxSeam::takeShown();
        QCOMPARE(project().elementCount, 4);
        QCOMPARE(project().categoryCount, 1);
        QCOMPARE(w->edicion_deshacer->text(), u"&Deshacer agregar desde carpeta"_s);
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(project().elementCount, 1);
        QCOMPARE(project().categoryCount, 0);
        QCOMPARE(w->listado->count(), 1);
        QCOMPARE(project().modified, kFalse);
        key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(project().elementCount, 4);
        QCOMPARE(w->categorias->count(), 2);
    }
};

QTEST_MAIN(TestUndoRedo)
#include "tst_undo_redo.moc"
