// SPDX-License-Identifier: GPL-2.0-or-later
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "discs/open_listing.h"
#include "editor/principal.h"
#include "model/project.h"
#include "platform/fonts.h"
#include "platform/listing_io.h"
#include "platform/text.h"
#include "support/dialog_test.h"
#include "support/editor_session.h"
#include "support/gui_test.h"
#include "viewer/ejecucion_form.h"

using namespace vitrandel;
using namespace vitrandel_test_support;
using namespace Qt::StringLiterals;
using platform::MessageBoxSeam;
using platform::qs;

namespace {

// Every element in use as "name:category", in table order.
QStringList elementsInUse() {
    QStringList out;
    for (int i = 0; i < project().elementCount; ++i) {
        const Element& e = project().elements[static_cast<std::size_t>(i)];
        out << qs(e.name) + u':' + QString::number(e.category);
    }
    return out;
}

QStringList categoriesInUse() {
    QStringList out;
    for (int i = 0; i < project().categoryCount; ++i)
        out << qs(project().categories[static_cast<std::size_t>(i)]);
    return out;
}

void addTo(Project& p, const std::string& name, int category) {
    p.elements[static_cast<std::size_t>(p.elementCount++)] =
        Element{.name = name, .category = static_cast<std::int16_t>(category)};
}

// A Project with these categories and these "name:category" elements.
Project listing(const QStringList& categories, const QStringList& elements = {}) {
    Project p;
    for (const QString& c : categories)
        p.categories[static_cast<std::size_t>(p.categoryCount++)] = platform::ss(c);
    for (const QString& e : elements)
        addTo(p, platform::ss(e.section(u':', 0, 0)), e.section(u':', 1).toInt());
    return p;
}

void click(QDialog& d, const char* button) {
    QTest::mouseClick(control<QPushButton>(d, button), Qt::LeftButton);
}

void typeInto(QDialog& d, const char* box, const QString& text, const char* button) {
    control<QLineEdit>(d, box)->insert(text);
    click(d, button);
}

void nameElement(const QString& name, int category) {
    onNextDialog([=](QDialog& d) {
        chooseWithKeys(control<QComboBox>(d, "Combo1"), category);
        typeInto(d, "Text1", name, "aceptar");
    });
}

// Runs `steps` in the category editor, then presses `button` (none: the steps end it).
void editCategories(std::function<void(QDialog&, QListWidget*, QLineEdit*)> steps,
                    const char* button = "salir") {
    onNextDialog([=](QDialog& d) {
        steps(d, control<QListWidget>(d, "List1"), control<QLineEdit>(d, "Text1"));
        if (button)
            click(d, button);
    });
}

// Key by key, letters outside ASCII included.
void type(QWidget* box, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), {});
}

int topRow(const QListWidget* list) {
    return list->indexAt(QPoint(0, 0)).row();
}

} // namespace

class TestElementCommands : public QObject {
    Q_OBJECT
    EditorSession ed_;

    void open(const Project& p = Project{}) { ed_.open(p); }

private Q_SLOTS:
    void initTestCase() { startGuiTest(); }
    void init() { exchange() = ExchangeFields{}; }
    void cleanup() {
        ed_.close();
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }

    // An author makes a listing with the editor's commands alone; the file
    // holds what they made.
    void buildingAListingFromNothing() {
        Project start;
        start.elements[2] = Element{.fitImage = kTrue,
                                    .fontName = "Arial",
                                    .fontSize = 30,
                                    .fontBold = kTrue,
                                    .textColor = 255}; // left by an earlier element
        open(start);
        editCategories([](QDialog& d, QListWidget* list, QLineEdit* text) {
            QCOMPARE(entries(list), QStringList{u"[Agregar Nuevo]"_s});
            QVERIFY(text->isEnabled() && !control<QPushButton>(d, "eliminar")->isEnabled());
            QTest::keyClicks(text, u"Fotos"_s);
            QCOMPARE(entries(list), (QStringList{u"Fotos"_s, u"[Agregar Nuevo]"_s}));
            QCOMPARE(list->currentRow(), 0);
            QTest::keyClick(text, Qt::Key_Return);
            QCOMPARE(list->currentRow(), 1);
            QCOMPARE(text->text(), QString());
            text->insert(u"Música"_s);
            QTest::keyClick(text, Qt::Key_Return);
            QVERIFY(d.isVisible()); // Enter presses no button
        });
        ed_.w->cat_editar->click();
        QCOMPARE(categoriesInUse(), (QStringList{u"Fotos"_s, u"Música"_s}));

        onNextDialog([](QDialog& d) {
            auto* combo = control<QComboBox>(d, "Combo1");
            QCOMPARE(combo->itemText(2), u"Música"_s);
            QCOMPARE(combo->currentIndex(), 0);
            auto* name = control<QLineEdit>(d, "Text1");
            QTest::keyClick(name, Qt::Key_Space);
            QVERIFY(control<QPushButton>(d, "aceptar")->isEnabled()); // a blank is a name
            QTest::keyClick(name, Qt::Key_Backspace);
            QTest::keyClick(name, Qt::Key_Return);
            QVERIFY(d.isVisible());
            QTest::keyClicks(name, u"playa"_s);
            chooseWithKeys(combo, 1);
            QTest::keyClick(name, Qt::Key_Return);
        });
        ed_.w->agregar->click();
        nameElement(u"tango"_s, 2);
        ed_.w->agregar->click();
        nameElement(u"Nota"_s, 0);
        ed_.w->agregar->click();
        nameElement(u"PLAYA"_s, 2);
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        ed_.w->agregar->click();
        const auto shown = MessageBoxSeam::takeShown();
        QCOMPARE(shown.value(0).text, u"El elemento ya se encuentra"_s);
        QCOMPARE(shown.value(0).style, int(platform::vbCritical));
        QCOMPARE(elementsInUse(), (QStringList{u"playa:1"_s, u"tango:2"_s, u"Nota:0"_s}));
        QCOMPARE(entries(ed_.w->listado), (QStringList{u"playa"_s, u"tango"_s, u"Nota"_s}));
        QCOMPARE(project().modified, kTrue); // closing now asks before losing them
        QCOMPARE(project().elements[2],
                 (Element{.name = "Nota", .fontName = "Fixedsys", .fontSize = 10}));

        ed_.w->listado->setCurrentRow(1);
        onNextDialog([](QDialog& d) {
            QCOMPARE(d.objectName(), u"editar_desc"_s);
            exchange().descText = "Bandoneón";
            exchange().descFontBold = kTrue;
            exchange().descTextColor = 0x0000FF;
        });
        ed_.w->editar_2->click();
        QVERIFY(ed_.w->Frame1->isVisible());

        const Project made = project();
        onNextDialog([](QDialog& d) { typeInto(d, "Text1", u"hecho"_s, "aceptar"); });
        ed_.w->archivo_guardar_como_Click();
        ed_.w->archivo_nuevo_Click(); // saved: nothing to ask
        QCOMPARE(project().elementCount, std::int16_t(0));
        onNextDialog([](QDialog& d) { typeInto(d, "Text1", u"hecho.lst"_s, "aceptar"); });
        ed_.w->archivo_abrir_Click();
        QCOMPARE(categoriesInUse(), (QStringList{u"Fotos"_s, u"Música"_s}));
        QCOMPARE(project().elementCount, made.elementCount);
        for (std::size_t i = 0; i < 3; ++i)
            QCOMPARE(project().elements[i], made.elements[i]);
    }

    // An author describes an element through the editor: a picture from a
    // subfolder, two lines of text, a face, a size, bold and a colour. Saved
    // and opened in the viewer, the description shows as it was made.
    void aDescriptionMadeInTheEditorShowsInTheViewer() {
        QVERIFY(QDir(ed_.path()).mkpath(u"fotos"_s));
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QVERIFY(picture.save(ed_.at(u"fotos/faro.png"_s), "PNG"));
        QVERIFY(QFile::rename(ed_.at(u"fotos/faro.png"_s), ed_.at(u"fotos/faro.gif"_s)));
        open(listing({}, {u"faro:0"_s}));
        ed_.w->listado->setCurrentRow(0);
        onNextDialog([](QDialog& d) {
            chooseWithKeys(control<QComboBox>(d, "Combo1"), 1);
            auto* files = control<QListWidget>(d, "File1");
            QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
            auto* text = control<QPlainTextEdit>(d, "Text1");
            QTest::keyClicks(text, u"Faro del norte"_s);
            QTest::keyClick(text, Qt::Key_Return);
            QTest::keyClicks(text, u"desde 1890"_s);
            onNextDialog([](QDialog& chooser) {
                auto* faces = control<QListWidget>(chooser, "List1");
                faces->setCurrentItem(faces->findItems(u"Courier New"_s, Qt::MatchExactly).value(0));
                control<QListWidget>(chooser, "List2")->setCurrentRow(1); // bold
                control<QListWidget>(chooser, "List3")->setCurrentRow(5); // 14
                click(chooser, "aceptar");
            });
            click(d, "cambiar_fuente");
            onNextDialog([](QDialog& colours) {
                qobject_cast<QColorDialog*>(&colours)->setCurrentColor(QColor(0, 0, 160));
                colours.accept();
            });
            click(d, "cambiar_color");
            click(d, "aceptar");
        });
        ed_.w->editar_2->click();
        QCOMPARE(project().modified, kTrue);
        onNextDialog([](QDialog& d) { typeInto(d, "Text1", u"faros"_s, "aceptar"); });
        ed_.w->archivo_guardar_como_Click();
        const QString saved = platform::qs(project().listingPath);
        ed_.w->archivo_nuevo_Click();

        QVERIFY(discs::cargar_listado(saved));
        ejecucion_form viewer;
        viewer.show();
        auto* list = viewer.findChild<QListWidget*>(u"listado"_s);
        list->setCurrentRow(0);
        auto* texto = viewer.findChild<QPlainTextEdit*>(u"texto"_s);
        QCOMPARE(texto->toPlainText(), u"Faro del norte\ndesde 1890"_s);
        QCOMPARE(texto->font().family(), platform::faceToDraw("Courier New"));
        QCOMPARE(texto->font().pointSize(), 14);
        QVERIFY(texto->font().bold() && !texto->font().italic());
        QCOMPARE(texto->palette().color(QPalette::Text), QColor(0, 0, 160));
        auto* photo = viewer.findChild<QLabel*>(u"foto_desc"_s);
        QVERIFY(photo->isVisible());
        vitrandel_test_support::waitForPictures();
        QCOMPARE(photo->pixmap().toImage().pixelColor(5, 5), QColor(Qt::darkGreen));
        QCOMPARE(project().elements[0].imagePath, std::string("fotos\\faro.gif"));
    }

    // Any way out but Aceptar adds nothing, even after an earlier use left a name.
    void leavingTheNameDialogAddsNothing_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancelar") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("close box") << 2;
    }
    void leavingTheNameDialogAddsNothing() {
        QFETCH(int, how);
        open();
        nameElement(u"viejo"_s, 0);
        ed_.w->agregar->click();
        onNextDialog([how](QDialog& d) {
            control<QLineEdit>(d, "Text1")->insert(u"nuevo"_s);
            if (how == 0)
                click(d, "cancelar");
            else if (how == 1)
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                d.close();
        });
        ed_.w->agregar->click();
        QCOMPARE(elementsInUse(), QStringList{u"viejo:0"_s});
    }

    // The rest move up whole, and a list scrolled down by three lines stays
    // scrolled down by two.
    void deletingMovesTheRestUp() {
        Project p;
        for (int i = 0; i < 40; ++i)
            p.elements[static_cast<std::size_t>(p.elementCount++)] =
                Element{.name = "e" + std::to_string(i),
                        .description = std::to_string(i),
                        .imagePath = std::to_string(i),
                        .fitImage = toBool16(i % 2),
                        .category = 0,
                        .fontName = i % 2 ? "Arial" : "Courier New",
                        .fontSize = static_cast<std::int16_t>(i),
                        .fontBold = toBool16(i % 3),
                        .fontItalic = toBool16(i % 5),
                        .textColor = i * 65793 - 7};
        open(p);
        ed_.w->listado->setCurrentRow(0);
        ed_.w->eliminar->click();
        QCOMPARE(project().elementCount, std::int16_t(39));
        QVERIFY(std::equal(p.elements.begin() + 1, p.elements.begin() + 40,
                           project().elements.begin()));
        QCOMPARE(project().modified, kTrue);
        QVERIFY(ed_.w->listado->selectedItems().isEmpty());
        QVERIFY(ed_.w->Frame2->isVisible() && !ed_.w->Frame1->isVisible());

        ed_.w->listado->scrollToItem(ed_.w->listado->item(3), QAbstractItemView::PositionAtTop);
        QCOMPARE(topRow(ed_.w->listado), 3);
        ed_.w->listado->setCurrentRow(5);
        ed_.w->eliminar->click();
        QCOMPARE(topRow(ed_.w->listado), 2);
        QCOMPARE(ed_.w->listado->item(5)->text(), u"e7"_s);
    }

    // A listing may hold names that differ only in case; each entry is its own element.
    void commandsActOnTheSelectedEntry() {
        const Project p = listing({u"A"_s}, {u"otro:0"_s, u"Gato:1"_s, u"gato:1"_s});
        open(p);
        ed_.w->categorias->setCurrentIndex(1);
        ed_.w->listado->setCurrentRow(1);
        onNextDialog([](QDialog&) { exchange().descText = "el segundo"; });
        ed_.w->editar_2->click();
        QVERIFY(ed_.w->Frame1->isVisible()); // its own description, not Gato's empty one
        onNextDialog([](QDialog& d) {
            chooseWithKeys(control<QComboBox>(d, "Combo1"), 0);
            click(d, "aceptar");
        });
        ed_.w->cambiar_cat->click();
        QCOMPARE(project().elements[2].description, std::string("el segundo"));
        QCOMPARE(elementsInUse(), (QStringList{u"otro:0"_s, u"Gato:1"_s, u"gato:0"_s}));
        ed_.w->eliminar->click();
        QCOMPARE(elementsInUse(), (QStringList{u"otro:0"_s, u"Gato:1"_s}));
    }

    void changingTheCategoryOfAListedElement() {
        const Project p = listing({u"A"_s, u"B"_s, u"C"_s}, {u"en C:3"_s, u"perdido:9"_s});
        open(p);
        ed_.w->categorias->setCurrentIndex(3);
        ed_.w->listado->setCurrentRow(0);
        onNextDialog([](QDialog& d) {
            auto* combo = control<QComboBox>(d, "Combo1");
            QCOMPARE(combo->currentIndex(), 3); // its own, the last
            chooseWithKeys(combo, 1);
            QTest::keyClick(combo, Qt::Key_Return);
        });
        ed_.w->cambiar_cat->click();
        QCOMPARE(elementsInUse(), (QStringList{u"en C:1"_s, u"perdido:9"_s}));
        QCOMPARE(project().modified, kTrue);
        QCOMPARE(entries(ed_.w->listado), QStringList{u"en C"_s}); // until the list is rebuilt
        ed_.w->categorias->setCurrentIndex(1);
        QCOMPARE(entries(ed_.w->listado), QStringList{u"en C"_s});

        project().modified = kFalse;
        ed_.w->categorias->setCurrentIndex(0);
        ed_.w->listado->setCurrentRow(1);
        onNextDialog([](QDialog& d) {
            QCOMPARE(control<QComboBox>(d, "Combo1")->currentIndex(), 0); // 9 names no category
            click(d, "cancelar");
        });
        ed_.w->cambiar_cat->click();
        QCOMPARE(project().elements[1].category, std::int16_t(9));
        QCOMPARE(project().modified, kFalse);
    }

    void renamingAddingAndRemovingCategories() {
        const Project p = listing({u"A"_s, u"B"_s, u"C"_s}, {u"en 0:0"_s, u"en 1:1"_s, u"en 2:2"_s,
                                                             u"en 3:3"_s, u"en 9:9"_s});
        open(p);
        editCategories([](QDialog& d, QListWidget* list, QLineEdit* text) {
            list->setCurrentRow(0);
            QTest::keyClicks(text, u"a"_s);
            QCOMPARE(list->item(0)->text(), u"Aa"_s);
            list->setCurrentRow(1);
            click(d, "eliminar");
            QVERIFY(list->selectedItems().isEmpty());
            QCOMPARE(text->text(), u"B"_s);
            QTest::keyClick(text, Qt::Key_Return);
            QTest::keyClicks(text, u"D"_s);
            QCOMPARE(entries(list), (QStringList{u"Aa"_s, u"C"_s, u"D"_s, u"[Agregar Nuevo]"_s}));
        });
        ed_.w->cat_editar->click();
        QCOMPARE(categoriesInUse(), (QStringList{u"Aa"_s, u"C"_s, u"D"_s}));
        // B's element goes to "Sin clasificar"; C's follows C.
        QCOMPARE(elementsInUse(),
                 (QStringList{u"en 0:0"_s, u"en 1:1"_s, u"en 2:0"_s, u"en 3:2"_s, u"en 9:9"_s}));
        QCOMPARE(project().modified, kTrue);
        QCOMPARE(ed_.w->categorias->itemText(2), u"C"_s);
    }

    // A new category takes in no element, not even one whose number, from a
    // listing made elsewhere, lay beyond the list; the filter follows its
    // category to its new number, and shows everything once it is removed.
    void categoriesKeepTheirElementsAndTheFilter() {
        open(listing({u"A"_s, u"B"_s}, {u"a:1"_s, u"b:2"_s, u"suelto:5"_s, u"lejos:9"_s}));
        editCategories([](QDialog&, QListWidget*, QLineEdit* text) {
            for (const QString& name : {u"C"_s, u"D"_s, u"E"_s}) {
                QTest::keyClicks(text, name);
                QTest::keyClick(text, Qt::Key_Return);
            }
        });
        ed_.w->cat_editar->click();
        QCOMPARE(elementsInUse(), (QStringList{u"a:1"_s, u"b:2"_s, u"suelto:0"_s, u"lejos:9"_s}));

        ed_.w->categorias->setCurrentIndex(2);
        const auto remove = [this](int row) {
            editCategories([row](QDialog& d, QListWidget* list, QLineEdit*) {
                list->setCurrentRow(row);
                click(d, "eliminar");
            });
            ed_.w->cat_editar->click();
        };
        remove(0);
        QCOMPARE(ed_.w->categorias->currentText(), u"B"_s);
        QCOMPARE(entries(ed_.w->listado), QStringList{u"b"_s});
        remove(0);
        QCOMPARE(ed_.w->categorias->currentIndex(), 0);
        QCOMPARE(entries(ed_.w->listado).size(), 4);
    }

    // A font chosen and kept through Cancel is a change the editor asks about.
    void aFontKeptThroughCancelIsUnsavedWork() {
        open(listing({}, {u"faro:0"_s}));
        ed_.w->listado->setCurrentRow(0);
        onNextDialog([](QDialog& d) {
            onNextDialog([](QDialog& chooser) {
                control<QListWidget>(chooser, "List3")->setCurrentRow(5); // 14
                click(chooser, "aceptar");
            });
            click(d, "cambiar_fuente");
            click(d, "cancelar");
        });
        ed_.w->editar_2->click();
        QCOMPARE(project().elements[0].fontSize, std::int16_t(14));
        MessageBoxSeam::setNextAnswer(platform::vbCancel);
        ed_.w->archivo_nuevo_Click();
        QCOMPARE(MessageBoxSeam::takeShown().size(), 1);
        QCOMPARE(project().elementCount, std::int16_t(1));
    }

    // What a listing cannot hold is refused where it is typed, naming the
    // character, and the dialog keeps the text; an accent typed apart is
    // composed. Should anything reach Save, the message names the element.
    void textTheListingCannotHoldIsRefusedWhereTyped() {
        open(listing({u"A"_s}));
        const QString refused = u"%1 contiene \"\u2192\", que el listado no puede guardar."_s;
        const auto expectRefusal = [&](const QString& subject) {
            const auto shown = MessageBoxSeam::takeShown();
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown.first().text, refused.arg(subject));
        };
        onNextDialog([&](QDialog& d) {
            auto* name = control<QLineEdit>(d, "Text1");
            name->insert(u"Norte \u2192 Sur"_s);
            MessageBoxSeam::setNextAnswer(platform::vbOK);
            click(d, "aceptar");
            expectRefusal(u"El nombre"_s);
            QVERIFY(d.isVisible());
            QCOMPARE(name->text(), u"Norte \u2192 Sur"_s);
            name->setText(u"Camio\u0301n"_s);
            click(d, "aceptar");
        });
        ed_.w->agregar->click();
        QCOMPARE(elementsInUse(), QStringList{u"Camión:0"_s});

        editCategories([&](QDialog& d, QListWidget* list, QLineEdit* text) {
            type(text, u"Ida \u2192 vuelta"_s);
            list->setCurrentRow(0);
            MessageBoxSeam::setNextAnswer(platform::vbOK);
            click(d, "salir");
            expectRefusal(u"La categoría"_s);
            QVERIFY(d.isVisible());
            QCOMPARE(text->text(), u"Ida \u2192 vuelta"_s);
            text->setText(u"Ida y vuelta"_s);
        });
        ed_.w->cat_editar->click();
        QCOMPARE(categoriesInUse(), (QStringList{u"A"_s, u"Ida y vuelta"_s}));

        QTest::keyClicks(ed_.w->titulo_txt, u"Mapas"_s);
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        type(ed_.w->titulo_txt, u"\u2192"_s);
        expectRefusal(u"El título"_s);
        QCOMPARE(ed_.w->titulo_txt->text(), u"Mapas"_s);
        QCOMPARE(project().title, std::string("Mapas"));

        project().elements[0].description = "\u2192";
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        QVERIFY(!platform::guardar_listado(ed_.at(u"mapas.lst"_s)));
        QVERIFY(MessageBoxSeam::takeShown().value(0).text.startsWith(
            refused.arg(u"La descripción del elemento \"Camión\""_s)));
    }

    void leavingTheCategoryEditorChangesNothing_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancelar") << false;
        QTest::newRow("close box") << true;
    }
    void leavingTheCategoryEditorChangesNothing() {
        QFETCH(bool, closeBox);
        const Project p = listing({u"A"_s, u"B"_s}, {u"x:2"_s});
        open(p);
        editCategories(
            [closeBox](QDialog& d, QListWidget* list, QLineEdit* text) {
                QTest::keyClicks(text, u"nueva"_s);
                list->setCurrentRow(0);
                click(d, "eliminar");
                QTest::keyClick(&d, Qt::Key_Escape); // no Cancel here
                QVERIFY(d.isVisible());
                if (closeBox)
                    d.close();
                else
                    click(d, "Cancelar");
            },
            nullptr);
        ed_.w->cat_editar->click();
        QVERIFY(project() == p);
    }

    void theTablesNeverOverflow() {
        Project p;
        p.categoryCount = kMaxCategories - 1;
        for (int i = 0; i < kMaxElements - 1; ++i)
            addTo(p, "e" + std::to_string(i), 0);
        open(p);
        nameElement(u"último"_s, 0);
        ed_.w->agregar->click();
        QCOMPARE(project().elementCount, std::int16_t(kMaxElements));
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        ed_.w->agregar->click(); // no name is asked for
        QCOMPARE(project().elementCount, std::int16_t(kMaxElements));
        QCOMPARE(MessageBoxSeam::takeShown().value(0).style, int(platform::vbExclamation));

        editCategories([](QDialog&, QListWidget*, QLineEdit* text) { text->insert(u"51"_s); });
        ed_.w->cat_editar->click();
        QCOMPARE(project().categoryCount, std::int16_t(kMaxCategories));
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        editCategories([](QDialog& d, QListWidget* list, QLineEdit* text) {
            text->insert(u"52"_s);
            click(d, "salir");
            QVERIFY(d.isVisible()); // the list stays as typed
            QCOMPARE(list->count(), kMaxCategories + 2);
            QCOMPARE(project().categoryCount, std::int16_t(kMaxCategories));
            list->setCurrentRow(0);
            click(d, "eliminar");
        });
        ed_.w->cat_editar->click();
        QCOMPARE(MessageBoxSeam::takeShown().size(), 1);
        QCOMPARE(categoriesInUse().last(), u"52"_s);
        QCOMPARE(project().categoryCount, std::int16_t(kMaxCategories));
    }

    // Every command but Frame2's edit button asks for the password first.
    void thePasswordGate_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("opens");
        QTest::newRow("agregar") << u"agregar"_s << u"preguntar_nombre"_s;
        QTest::newRow("editar") << u"editar"_s << u"editar_desc"_s;
        QTest::newRow("eliminar") << u"eliminar"_s << QString();
        QTest::newRow("cambiar_cat") << u"cambiar_cat"_s << u"cambiar_categoria_form"_s;
        QTest::newRow("cat_editar") << u"cat_editar"_s << u"editar_categorias"_s;
        QTest::newRow("editar_2") << u"editar_2"_s << u"editar_desc"_s;
    }
    void thePasswordGate() {
        QFETCH(QString, button);
        QFETCH(QString, opens);
        Project p = listing({u"A"_s}, {u"uno:0"_s});
        p.password = "Clave";
        p.passwordEnabled = kTrue;
        open(p);
        ed_.w->listado->setCurrentRow(0);
        auto* b = ed_.w->findChild<QPushButton*>(button);
        const bool gated = button != u"editar_2";
        if (gated) {
            onNextDialog([](QDialog& d) { typeInto(d, "Text1", u"clave"_s, "aceptar"); });
            b->click();
            QVERIFY(project() == p);
            onNextDialog([](QDialog& d) { typeInto(d, "Text1", u"Clave"_s, "aceptar"); });
        }
        QString opened;
        if (!opens.isEmpty())
            onNextDialog([&](QDialog& d) { opened = d.objectName(); });
        b->click();
        QCOMPARE(opened, opens);
        QCOMPARE(project().elementCount, std::int16_t(button == u"eliminar" ? 0 : 1));
        if (!gated) {
            ed_.w->listado->clearSelection();
            b->click(); // nothing selected: nothing opens
        }
    }
};

QTEST_MAIN(TestElementCommands)
#include "tst_element_commands.moc"
