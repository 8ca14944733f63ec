// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

#include "../model/listing_fixtures.h"
#include "editor/principal.h"
#include "model/file_store.h"
#include "model/listing_reader.h"
#include "model/listing_writer.h"
#include "model/project.h"
#include "platform/text.h"
#include "platform/twips.h"
#include "support/dialog_test.h"
#include "support/gui_test.h"

using namespace vitrandel;
using namespace vitrandel_test_support;
using platform::MessageBoxSeam;
using platform::ModalSeam;
using namespace Qt::StringLiterals;
using platform::qs;

namespace {

Project sampleProject() {
    Project p;
    p.title = "Mis discos";
    p.categoryCount = 2;
    p.categories[0] = "Fotos";
    p.categories[1] = "Música";
    p.elementCount = 4;
    p.elements[0] = Element{.name = "playa", .description = "Verano", .category = 1,
                            .fontName = "Arial", .fontSize = 12};
    p.elements[1] = Element{.name = "sin grupo", .description = "x", .fontName = "Arial",
                            .fontSize = 10};
    p.elements[2] = Element{.name = "tango", .category = 2, .fontName = "Arial", .fontSize = 10};
    p.elements[3] = Element{.name = "perdido", .description = "y", .category = 9,
                            .fontName = "Arial", .fontSize = 10};
    return p;
}

void writeListing(const QString& path, const Project& p) {
    FileError e;
    QVERIFY(writeFileAtomically(platform::ss(path), serializeListing(p, ".").bytes, &e));
}

Project readBack(const QString& path) {
    FileError e;
    const auto bytes = readFileBytes(platform::ss(path), &e);
    return bytes ? parseListing(*bytes, Project{}).listing.project : Project{};
}

std::vector<std::string> fileLines(const QString& path) {
    FileError e;
    return unscrambledLines(readFileBytes(platform::ss(path), &e).value_or(""));
}

// Answers the next file dialog by typing a name and pressing Aceptar.
void chooseFileNamed(const QString& name) {
    onNextDialog([name](QDialog& d) {
        QLineEdit* text = control<QLineEdit>(d, "Text1");
        QVERIFY(text);
        text->setText(name);
        QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton);
    });
}

void cancelNextDialog() {
    onNextDialog([](QDialog& d) { QTest::mouseClick(control<QPushButton>(d, "cancelar"), Qt::LeftButton); });
}

void typePassword(const QString& text, bool accept = true) {
    onNextDialog([text, accept](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Archivo protegido por password"));
        QTest::keyClicks(control<QLineEdit>(d, "Text1"), text);
        QTest::mouseClick(control<QPushButton>(d, accept ? "aceptar" : "cancelar"), Qt::LeftButton);
    });
}

} // namespace

class TestPrincipal : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    std::unique_ptr<CurrentDirRestorer> restore_;
    QPointer<principal> w_;

    principal& open() {
        w_ = new principal;
        w_->show();
        return *w_;
    }

    template <typename T> T* find(const char* name) { return w_->findChild<T*>(QLatin1String(name)); }

    QString path(const char* name) const { return dir_.filePath(QLatin1String(name)); }

private Q_SLOTS:
    void initTestCase() {
        startGuiTest();
        restore_ = std::make_unique<CurrentDirRestorer>();
    }
    void init() {
        project() = Project{};
        exchange() = ExchangeFields{};
        QDir::setCurrent(dir_.path());
    }
    void cleanup() {
        if (w_) {
            w_->setAttribute(Qt::WA_DeleteOnClose, false);
            project().modified = kFalse;
            delete w_;
        }
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible())
                delete top;
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }
    void cleanupTestCase() { restore_.reset(); }

    void everyControlAtItsPlace() {
        open();
        struct Row {
            const char* name;
            QString caption;
            QRect twips;
        };
        const Row rows[] = {
            {"Label2", QStringLiteral("Título del indice :"), {240, 120, 1335, 255}},
            {"titulo_txt", {}, {1560, 120, 3375, 285}},
            {"categorias", {}, {240, 600, 2175, 315}},
            {"cat_editar", QStringLiteral("Editar"), {720, 960, 1215, 375}},
            {"listado", {}, {240, 1440, 2175, 2595}},
            {"agregar", QStringLiteral("&Agregar"), {120, 4200, 1095, 375}},
            {"eliminar", QStringLiteral("&Eliminar"), {1320, 4200, 1095, 375}},
            {"cambiar_cat", QStringLiteral("Cambiar de categoría"), {120, 4680, 2295, 375}},
            {"Frame1", QStringLiteral("Descripción"), {2640, 600, 2295, 4095}},
            {"Frame2", QStringLiteral("Descripción"), {2640, 600, 2295, 4095}},
            {"editar", QStringLiteral("E&ditar"), {480, 3600, 1335, 375}},
        };
        for (const Row& r : rows) {
            QWidget* c = find<QWidget>(r.name);
            QVERIFY2(c, r.name);
            QCOMPARE(c->geometry(), platform::twipsRect(r.twips.x(), r.twips.y(), r.twips.width(),
                                                        r.twips.height()));
            if (auto* b = qobject_cast<QAbstractButton*>(c))
                QCOMPARE(b->text(), r.caption);
            else if (auto* l = qobject_cast<QLabel*>(c))
                QCOMPARE(l->text(), r.caption);
            else if (auto* g = qobject_cast<QGroupBox*>(c))
                QCOMPARE(g->title(), r.caption);
        }
        QCOMPARE(w_->centralWidget()->size(), QSize(platform::twips(5145), platform::twips(5115)));

        QStringList menus;
        for (QMenu* m : {w_->menu_archivo, w_->menu_proyecto, w_->menu_ayuda}) {
            QStringList items;
            for (QAction* a : m->actions())
                items << (a->isSeparator() ? QStringLiteral("-") : a->text()) + u'=' + a->objectName();
            menus << m->title() + u':' + items.join(u',');
        }
        QCOMPARE(menus, QStringList({
            QStringLiteral("A&rchivo:&Nuevo=archivo_nuevo,&Abrir...=archivo_abrir,"
                           "Abiertos &recientemente=archivo_recientes,&Guardar=archivo_guardar,"
                           "Guardar &como...=archivo_guardar_como,"
                           "Exportar como página &web...=archivo_exportar_web,&Imprimir...=archivo_imprimir,"
                           "-=archivo_raya1,&Salir=archivo_salir"),
            QStringLiteral("&Proyecto:&Ejecutar=proyecto_ejecutar,&Opciones...=proyecto_opciones,"
                           "-=proyecto_raya1,E&stablecer directorio de trabajo...=proyecto_curdir,"
                           "Agregar desde &carpeta...=proyecto_agregar_carpeta,"
                           "-=proyecto_raya2,&Buscar...\tCtrl+F=proyecto_buscar,"
                           "Bi&blioteca de discos...=proyecto_biblioteca"),
            QStringLiteral("A&yuda:Acerca de Vitrandel...=ayuda_acerca")}));
    }

    // Made larger, the list takes a third of the room and the description the
    // rest; the buttons keep to the list and to the bottom of the description.
    void theWindowGrows() {
        open();
        const auto place = [this](const char* name) { return find<QWidget>(name)->geometry(); };
        const QRect title = place("titulo_txt"), list = place("listado"), frame = place("Frame1"),
                    add = place("agregar"), edit = place("editar");
        w_->resize(w_->size() + QSize(300, 240));
        QCOMPARE(place("titulo_txt"), title.adjusted(0, 0, 300, 0));
        QCOMPARE(place("listado"), list.adjusted(0, 0, 100, 240));
        QCOMPARE(place("Frame1"), frame.adjusted(100, 0, 300, 240));
        QCOMPARE(place("agregar"), add.translated(0, 240));
        QCOMPARE(place("editar"), edit.translated(100, 240));
    }

    // The editor's description opens its picture large as the viewer's does.
    void aPictureSeenLargeFromTheEditor() {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QVERIFY(picture.save(path("foto.png")));
        project().elementCount = 1;
        project().elements[0] = Element{.name = "uno", .imagePath = "foto.png", .fitImage = kTrue};
        open().fillElementList();
        w_->listado->setCurrentRow(0);
        auto* view = find<QLabel>("Image1");
        QVERIFY(view->isVisible());
        QTest::mouseDClick(view, Qt::LeftButton, {}, view->rect().center());
        QWidget* large = nullptr;
        QTRY_VERIFY((large = QApplication::activeWindow()) && large->objectName() == u"LargePicture");
        QCOMPARE(large->windowTitle(), QStringLiteral("uno"));
        QTest::keyClick(large, Qt::Key_Escape);
    }

    void aNewWindowOnAnEmptyProject() {
        open();
        QCOMPARE(w_->windowTitle(), QStringLiteral("Vitrandel"));
        QCOMPARE(w_->categorias->count(), 1);
        QCOMPARE(w_->categorias->currentText(), QStringLiteral("Mostrar todos"));
        QCOMPARE(w_->listado->count(), 0);
        QVERIFY(w_->Frame2->isVisible() && !w_->Frame1->isVisible());
        QCOMPARE(w_->Label1->text(), QStringLiteral("Elemento sin descripción"));
        QVERIFY(!w_->eliminar->isEnabled() && !w_->cambiar_cat->isEnabled() && !w_->editar_2->isEnabled());
        w_->menu_archivo_Click();
        w_->menu_proyecto_Click();
        QVERIFY(!w_->archivo_guardar->isEnabled());
        QVERIFY(!w_->proyecto_ejecutar->isEnabled());
    }

    void typingATitle() {
        open();
        QTest::keyClicks(w_->titulo_txt, QStringLiteral("Ab"));
        QCOMPARE(project().title, std::string("Ab"));
        QCOMPARE(project().modified, kTrue);
    }

    void openingFilteringAndSelecting() {
        writeListing(path("discos.lst"), sampleProject());
        open();
        chooseFileNamed(QStringLiteral("discos"));
        w_->archivo_abrir_Click();
        QCOMPARE(project().listingPath, platform::ss(path("discos.lst")));
        QCOMPARE(w_->titulo_txt->text(), QStringLiteral("Mis discos"));
        QCOMPARE(project().modified, kFalse); // a fresh read has nothing unsaved
        QCOMPARE(entries(w_->listado), QStringList({u"playa"_s, u"sin grupo"_s, u"tango"_s, u"perdido"_s}));
        QCOMPARE(w_->categorias->count(), 3);

        w_->categorias->setCurrentIndex(1);
        QCOMPARE(entries(w_->listado), QStringList({u"playa"_s}));
        QVERIFY(w_->Frame2->isVisible());
        w_->listado->setCurrentRow(0);
        QVERIFY(w_->Frame1->isVisible());
        QCOMPARE(w_->findChild<QPlainTextEdit*>(QStringLiteral("texto"))->toPlainText(), QStringLiteral("Verano"));
        QVERIFY(w_->eliminar->isEnabled() && w_->cambiar_cat->isEnabled());

        // Rebuilding the list keeps the buttons as the last click left them.
        w_->categorias->setCurrentIndex(2);
        QCOMPARE(entries(w_->listado), QStringList({u"tango"_s}));
        QVERIFY(w_->eliminar->isEnabled());
        w_->listado->setCurrentRow(0); // no text, no picture
        QVERIFY(w_->Frame2->isVisible());
        QVERIFY(w_->editar_2->isEnabled());

        w_->menu_archivo_Click();
        w_->menu_proyecto_Click();
        QVERIFY(w_->archivo_guardar->isEnabled());
        QVERIFY(w_->proyecto_ejecutar->isEnabled());
    }

    void aRememberedCategoryThatIsGoneFallsBackToAll() {
        writeListing(path("discos.lst"), sampleProject());
        Project one = sampleProject();
        one.categoryCount = 1;
        writeListing(path("uno.lst"), one);
        open();
        chooseFileNamed(QStringLiteral("discos.lst"));
        w_->archivo_abrir_Click();
        w_->categorias->setCurrentIndex(2);
        chooseFileNamed(QStringLiteral("uno.lst"));
        w_->archivo_abrir_Click();
        QCOMPARE(w_->categorias->currentIndex(), 0);
        QCOMPARE(w_->listado->count(), 4);
    }

    void noUserCategoriesMeansNothingToMoveTo() {
        Project p = sampleProject();
        p.categoryCount = 0;
        project() = p;
        open();
        w_->fillElementList();
        w_->listado->setCurrentRow(1);
        QVERIFY(w_->eliminar->isEnabled());
        QVERIFY(!w_->cambiar_cat->isEnabled());
    }

    void saveAsCompletesTheNameAndSaveReusesIt() {
        open();
        w_->titulo_txt->insert(QStringLiteral("Título nuevo"));
        chooseFileNamed(QStringLiteral("catalogo.txt"));
        w_->archivo_guardar_como_Click();
        QCOMPARE(exchange().fileDlgResult, platform::ss(path("catalogo.lst")));
        QCOMPARE(readBack(path("catalogo.lst")).title, std::string("Título nuevo"));
        QCOMPARE(project().modified, kFalse);

        QTest::keyClicks(w_->titulo_txt, QStringLiteral("!"));
        w_->archivo_guardar_Click(); // no dialog: the name chosen before
        QCOMPARE(readBack(path("catalogo.lst")).title, std::string("Título nuevo!"));
    }

    void saveAsEntersAFolderTypedInTheNameBox() {
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("sub")));
        writeListing(path("sub/ya.lst"), Project{});
        open();
        onNextDialog([this](QDialog& d) {
            auto* text = control<QLineEdit>(d, "Text1");
            text->setText(QStringLiteral("sub"));
            QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton);
            QVERIFY(d.isVisible()); // entering a folder keeps the dialog open
            QCOMPARE(QDir::currentPath(), QDir(path("sub")).canonicalPath());
            text->setText(QStringLiteral("final"));
            QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton);
        });
        w_->archivo_guardar_como_Click();
        QVERIFY(QFile::exists(platform::qs(exchange().fileDlgResult)));
        QVERIFY(exchange().fileDlgResult.ends_with("final.lst"));
    }

    void newWithEachAnswer_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("haveFile");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("cancel") << int(platform::vbCancel) << true << false;
        QTest::newRow("no") << int(platform::vbNo) << true << true;
        QTest::newRow("yes saves, then clears") << int(platform::vbYes) << true << true;
        QTest::newRow("yes, save as cancelled: nothing lost") << int(platform::vbYes) << false << false;
    }
    void newWithEachAnswer() {
        QFETCH(int, answer);
        QFETCH(bool, haveFile);
        QFETCH(bool, cleared);
        writeListing(path("n.lst"), sampleProject());
        project() = sampleProject();
        project().password = "clave";
        open();
        if (haveFile)
            exchange().fileDlgResult = platform::ss(path("n.lst"));
        w_->titulo_txt->setText(QStringLiteral("Mis discos cambiado"));
        MessageBoxSeam::setNextAnswer(answer);
        if (answer == platform::vbYes && !haveFile)
            cancelNextDialog();
        w_->archivo_nuevo_Click();
        const auto shown = MessageBoxSeam::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("Proyecto actual se encuentra modificado. ¿Desea guardar los cambios?"));
        QCOMPARE(shown[0].style, int(platform::vbYesNoCancel));
        QCOMPARE(project().elementCount, std::int16_t(cleared ? 0 : 4));
        QCOMPARE(w_->titulo_txt->text(), cleared ? QString() : QStringLiteral("Mis discos cambiado"));
        QCOMPARE(w_->listado->count(), cleared ? 0 : 4);
        QCOMPARE(project().password, std::string("clave")); // New keeps the protection
        if (answer == platform::vbYes && haveFile)
            QCOMPARE(readBack(path("n.lst")).title, std::string("Mis discos cambiado"));
        if (cleared)
            QCOMPARE(project().modified, kFalse);
    }

    void newWithoutChangesAsksNothing() {
        project() = sampleProject();
        open();
        w_->archivo_nuevo_Click();
        QCOMPARE(project().elementCount, std::int16_t(0));
        QCOMPARE(w_->categorias->count(), 1);
        QVERIFY(w_->Frame2->isVisible());
    }

    void aFailedOpenIsNeverSavedOver() {
        writeListing(path("bueno.lst"), sampleProject());
        QFile bad(path("malo.lst"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(QByteArray::fromStdString(scrambledFile({"titulo=x", "[listado]", "num grupo=99999"})));
        bad.close();
        const QByteArray badBytes = [&] { bad.open(QIODevice::ReadOnly); return bad.readAll(); }();
        bad.close();
        open();
        chooseFileNamed(QStringLiteral("bueno.lst"));
        w_->archivo_abrir_Click();
        chooseFileNamed(QStringLiteral("malo.lst"));
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        w_->archivo_abrir_Click();
        QVERIFY(MessageBoxSeam::takeShown().first().text.contains(QStringLiteral("Desbordamiento")));
        QCOMPARE(w_->titulo_txt->text(), QStringLiteral("Mis discos"));

        cancelNextDialog(); // Save goes through Save As
        w_->archivo_guardar_Click();
        QVERIFY(!ModalSeam::hasQueuedHandler());
        QVERIFY(bad.open(QIODevice::ReadOnly));
        QCOMPARE(bad.readAll(), badBytes);
    }

    void closingAsksAboutUnsavedWork() {
        open();
        QTest::keyClicks(w_->titulo_txt, QStringLiteral("x"));
        MessageBoxSeam::setNextAnswer(platform::vbCancel);
        w_->archivo_salir_Click();
        QVERIFY(w_ && w_->isVisible());
        MessageBoxSeam::setNextAnswer(platform::vbNo);
        w_->close();
        QTRY_VERIFY(!w_);
        QCOMPARE(MessageBoxSeam::takeShown().size(), 2);
    }

    // Open and Run would drop unsaved work too: Cancel, or a Yes whose Save As
    // is cancelled, stops them before anything else happens.
    void openAndRunStopWhenUnsavedWorkIsKept_data() {
        QTest::addColumn<bool>("run");
        QTest::addColumn<int>("answer");
        QTest::newRow("open, cancel") << false << int(platform::vbCancel);
        QTest::newRow("open, yes, save as cancelled") << false << int(platform::vbYes);
        QTest::newRow("run, cancel") << true << int(platform::vbCancel);
        QTest::newRow("run, yes, save as cancelled") << true << int(platform::vbYes);
    }
    void openAndRunStopWhenUnsavedWorkIsKept() {
        QFETCH(bool, run);
        QFETCH(int, answer);
        project() = sampleProject();
        open();
        w_->titulo_txt->setText(QStringLiteral("Sin guardar"));
        MessageBoxSeam::setNextAnswer(answer);
        // Yes saves first; there is no file yet, so Save As asks and is cancelled.
        QString shownDialog;
        if (answer == platform::vbYes)
            onNextDialog([&](QDialog& d) {
                shownDialog = d.windowTitle();
                QTest::mouseClick(control<QPushButton>(d, "cancelar"), Qt::LeftButton);
            });
        if (run)
            w_->proyecto_ejecutar_Click();
        else
            w_->archivo_abrir_Click();
        QCOMPARE(shownDialog, answer == platform::vbYes ? QStringLiteral("Guardar como...") : QString());
        QCOMPARE(MessageBoxSeam::takeShown().size(), 1);
        QVERIFY(w_ && w_->isVisible());
        QCOMPARE(project().title, std::string("Sin guardar"));
        QCOMPARE(project().modified, kTrue);
        for (QWidget* top : QApplication::topLevelWidgets())
            QVERIFY(top->objectName() != QStringLiteral("ejecucion_form") || !top->isVisible());
    }

    void runHandsOverToTheViewerWithUnsavedChanges() {
        project() = sampleProject();
        open();
        w_->titulo_txt->setText(QStringLiteral("Sin guardar"));
        MessageBoxSeam::setNextAnswer(platform::vbNo);
        w_->proyecto_ejecutar_Click();
        QTRY_VERIFY(!w_);
        QWidget* viewer = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QStringLiteral("ejecucion_form") && top->isVisible())
                viewer = top;
        QVERIFY(viewer);
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Sin guardar"));
        QCOMPARE(viewer->findChild<QListWidget*>(QStringLiteral("listado"))->count(), 4);
    }

    void thePasswordGateGuardsOptions_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<bool>("opens");
        QTest::newRow("right") << QStringLiteral("Clave") << true << true;
        QTest::newRow("wrong case") << QStringLiteral("clave") << true << false;
        QTest::newRow("cancelled") << QStringLiteral("Clave") << false << false;
    }
    void thePasswordGateGuardsOptions() {
        QFETCH(QString, typed);
        QFETCH(bool, accept);
        QFETCH(bool, opens);
        project().password = "Clave";
        project().passwordEnabled = kTrue;
        // A right password accepted earlier must not let a cancelled prompt through.
        exchange().enteredPassword = "Clave";
        open();
        typePassword(typed, accept);
        bool optionsShown = false;
        if (opens)
            onNextDialog([&](QDialog& d) {
                optionsShown = d.windowTitle() == QStringLiteral("Opciones");
                QVERIFY(control<QCheckBox>(d, "Check2")->isChecked());
                QTest::mouseClick(control<QPushButton>(d, "cancelar"), Qt::LeftButton);
            });
        w_->proyecto_opciones_Click();
        QCOMPARE(optionsShown, opens);
        QVERIFY(!ModalSeam::hasQueuedHandler());
    }

    void optionsOnALockedListingKeepTheLock() {
        project().locked = kTrue;
        open();
        onNextDialog([](QDialog& d) {
            QVERIFY(control<QCheckBox>(d, "Check1")->isChecked());
            QVERIFY(!control<QCheckBox>(d, "Check1")->isEnabled());
            control<QCheckBox>(d, "Check2")->setChecked(true);
            control<QLineEdit>(d, "Text1")->setText(QStringLiteral("nueva"));
            QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton);
        });
        w_->proyecto_opciones_Click();
        QCOMPARE(project().locked, kTrue);
        QCOMPARE(project().passwordEnabled, kTrue);
        QCOMPARE(project().password, std::string("nueva"));
        QCOMPARE(project().modified, kTrue);
    }

    // After New the old file holds another listing: Save must ask where.
    void saveAfterNewNeverOverwritesTheOldListing() {
        writeListing(path("a.lst"), sampleProject());
        open();
        chooseFileNamed(QStringLiteral("a.lst"));
        w_->archivo_abrir_Click();
        w_->archivo_nuevo_Click();
        QTest::keyClicks(w_->titulo_txt, QStringLiteral("Otro"));
        w_->menu_archivo_Click();
        QVERIFY(!w_->archivo_guardar->isEnabled());
        cancelNextDialog(); // Save goes through Save As
        w_->archivo_guardar_Click();
        QVERIFY(!ModalSeam::hasQueuedHandler());
        QCOMPARE(readBack(path("a.lst")).title, std::string("Mis discos"));
    }

    // Options and the working folder are saved with the listing: changing
    // them is unsaved work that Exit asks about; accepting them unchanged is not.
    void settingsChangesAreUnsavedWork() {
        open();
        onNextDialog([](QDialog& d) { QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton); });
        w_->proyecto_opciones_Click();
        onNextDialog([](QDialog& d) { QTest::mouseClick(control<QPushButton>(d, "dejar"), Qt::LeftButton); });
        w_->proyecto_curdir_Click();
        QCOMPARE(project().modified, kFalse);

        onNextDialog([](QDialog& d) { QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton); });
        w_->proyecto_curdir_Click();
        QCOMPARE(project().useCurrentDir, kFalse);
        QCOMPARE(project().modified, kTrue);

        project().modified = kFalse;
        onNextDialog([](QDialog& d) {
            control<QCheckBox>(d, "Check2")->setChecked(true);
            QTest::keyClicks(control<QLineEdit>(d, "Text1"), QStringLiteral("x"));
            QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton);
        });
        w_->proyecto_opciones_Click();
        QCOMPARE(project().modified, kTrue);
        MessageBoxSeam::setNextAnswer(platform::vbCancel);
        w_->archivo_salir_Click();
        QCOMPARE(MessageBoxSeam::takeShown().size(), 1);
        QVERIFY(w_ && w_->isVisible());
    }

    // Protection with an empty password cannot be answered at the prompt,
    // which accepts no empty text: the gate lets the commands through.
    void anEmptyPasswordLocksNothing() {
        project().passwordEnabled = kTrue;
        open();
        onNextDialog([](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Opciones"));
            control<QCheckBox>(d, "Check2")->setChecked(false);
            QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton);
        });
        w_->proyecto_opciones_Click();
        QCOMPARE(project().passwordEnabled, kFalse);
    }

    void theWorkingDirectoryDecidesWhatTheNextSaveRecords() {
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("trabajo")));
        const QString work = QDir(path("trabajo")).canonicalPath();
        open();
        onNextDialog([&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Seleccione un directorio..."));
            QDir::setCurrent(work); // as if the folder had been opened in the list
            d.reject();
        });
        w_->proyecto_curdir_Click();
        QCOMPARE(exchange().dirDlgStart, std::string("."));

        // Aceptar records the folder open in the list: start the chooser there.
        project().useCurrentDir = kFalse;
        onNextDialog([](QDialog& d) { QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton); });
        w_->proyecto_curdir_Click();
        QCOMPARE(exchange().dirDlgStart, platform::ss(work));
        QCOMPARE(project().useCurrentDir, kFalse);
        chooseFileNamed(QStringLiteral("con_ruta"));
        w_->archivo_guardar_como_Click();
        QCOMPARE(fileLines(path("trabajo/con_ruta.lst"))[3], "ruta actual=" + platform::ss(work));

        onNextDialog([](QDialog& d) { QTest::mouseClick(control<QPushButton>(d, "dejar"), Qt::LeftButton); });
        w_->proyecto_curdir_Click();
        QCOMPARE(project().useCurrentDir, kTrue);
        QCOMPARE(QDir::currentPath(), work);
        w_->archivo_guardar_Click();
        QCOMPARE(fileLines(path("trabajo/con_ruta.lst"))[3], std::string("ruta actual=."));
    }

    void aboutBox() {
        open();
        onNextDialog([](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral(" Acerca de Vitrandel"));
            QCOMPARE(control<QLabel>(d, "Label1")->text(), QStringLiteral("Vitrandel"));
            QCOMPARE(control<QLabel>(d, "Label1")->geometry(), platform::twipsRect(1200, 360, 2415, 255));
            QCOMPARE(control<QLabel>(d, "Label2")->geometry(), platform::twipsRect(840, 840, 3135, 255));
            QCOMPARE(control<QLabel>(d, "Label3")->geometry(), platform::twipsRect(1320, 1440, 2175, 255));
            QCOMPARE(control<QLabel>(d, "Label4")->text(), QStringLiteral("Licencia: GNU GPL versión 2 o posterior"));
            QCOMPARE(control<QPushButton>(d, "aceptar")->geometry(), platform::twipsRect(1320, 2280, 2175, 375));
            QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton);
        });
        w_->ayuda_acerca_Click();
        QVERIFY(!ModalSeam::hasQueuedHandler());
    }
};

QTEST_MAIN(TestPrincipal)
#include "tst_principal.moc"
