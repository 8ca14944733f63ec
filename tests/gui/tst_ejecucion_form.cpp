// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>
#include <QtTest>
#include <memory>

#include "model/project.h"
#include "platform/fonts.h"
#include "platform/twips.h"
#include "support/gui_test.h"
#include "viewer/description_view.h"
#include "viewer/ejecucion_form.h"
#include "viewer/large_picture.h"

using namespace vitrandel;
using platform::twipsRect;

namespace {

Element element(const std::string& name, const std::string& description, const std::string& imagePath = {},
                bool fit = false, std::int16_t category = 0) {
    return Element{.name = name, .description = description, .imagePath = imagePath,
                   .fitImage = toBool16(fit), .category = category, .fontName = "Arial", .fontSize = 10};
}

void setElements(const std::vector<Element>& elements) {
    Project& p = project();
    p.elementCount = static_cast<std::int16_t>(elements.size());
    for (std::size_t i = 0; i < elements.size(); ++i)
        p.elements[i] = elements[i];
}

template <typename T> T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

QStringList listed(QWidget* form) {
    QStringList names;
    auto* listado = child<QListWidget>(form, "listado");
    for (int i = 0; i < listado->count(); ++i)
        names.append(listado->item(i)->text());
    return names;
}

// As the user does it: a click on the entry.
void clickEntry(QWidget* form, const QString& text) {
    auto* listado = child<QListWidget>(form, "listado");
    const auto items = listado->findItems(text, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(text));
    const QRect r = listado->visualItemRect(items.first());
    QTest::mouseClick(listado->viewport(), Qt::LeftButton, {}, r.center());
}

// Through the open list, as the user picks an entry.
void chooseCategory(QWidget* form, int entry) {
    auto* categorias = child<QComboBox>(form, "categorias");
    categorias->showPopup();
    QAbstractItemView* view = categorias->view();
    QTRY_VERIFY(view->isVisible());
    const QRect r = view->visualRect(view->model()->index(entry, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(categorias->currentIndex(), entry);
}

bool showsNotice(QWidget* form) {
    return child<QGroupBox>(form, "Frame2")->isVisible() && !child<QGroupBox>(form, "Frame1")->isVisible();
}

// Red top-left square on green, so that scaling and clipping show on screen.
QImage marked(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::green);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            image.setPixelColor(x, y, Qt::red);
    return image;
}

QStringList words(const char* text) {
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QColor shownAt(QWidget* view, int x, int y) {
    vitrandel_test_support::waitForPictures();
    return view->grab().toImage().pixelColor(x, y);
}

} // namespace

class TestEjecucionForm : public QObject {
    Q_OBJECT
    QString startDir_;
    std::unique_ptr<QTemporaryDir> dir_;
    QPointer<ejecucion_form> form_;

    ejecucion_form* open() {
        form_ = new ejecucion_form;
        form_->show();
        if (!QTest::qWaitForWindowExposed(form_))
            qFatal("viewer not shown");
        return form_;
    }
    QString savePicture(const QString& relative, const QImage& image) {
        const QString path = dir_->filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        if (!image.save(path))
            qFatal("cannot save %s", qPrintable(path));
        return path;
    }

private Q_SLOTS:
    void initTestCase() {
        vitrandel_test_support::startGuiTest();
        startDir_ = QDir::currentPath();
    }
    void init() {
        project() = Project{};
        dir_ = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(dir_->path());
    }
    void cleanup() {
        delete form_;
        QDir::setCurrent(startDir_);
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }

    void caption_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("caption");
        QTest::newRow("no title") << "" << "Indice de este CD";
        QTest::newRow("title") << "Fotos del verano" << "Fotos del verano";
        QTest::newRow("kept exactly") << "  Índice ñ  " << "  Índice ñ  ";
        QTest::newRow("Qt's modified mark") << "Fotos [*] 2001" << "Fotos [*] 2001";
        QTest::newRow("marks side by side") << "[*][*]x[*]" << "[*][*]x[*]";
    }
    void caption() {
        QFETCH(QString, title);
        QFETCH(QString, caption);
        project().title = title.toStdString();
        // What the window system is given to show, not what the widget was handed.
        QCOMPARE(open()->windowHandle()->title(), caption);
    }

    void opensOnEmptyListing() {
        auto* form = open();
        auto* categorias = child<QComboBox>(form, "categorias");
        QCOMPARE(categorias->count(), 1);
        QCOMPARE(categorias->currentText(), QStringLiteral("Sin clasificar"));
        QVERIFY(listed(form).isEmpty());
        QVERIFY(showsNotice(form));
        QCOMPARE(child<QLabel>(form, "Label3")->text(), QStringLiteral("No hay descripción"));
        QCOMPARE(child<QLabel>(form, "Label1")->text(), QStringLiteral("Categorías :"));
        QCOMPARE(child<QLabel>(form, "Label2")->text(), QStringLiteral("Listado de elementos :"));
    }

    void layout() {
        auto* form = open();
        QCOMPARE(form->size(), QSize(323, 302));
        QCOMPARE(form->minimumSize(), form->size());
        // Within the window frame's few pixels, which only the window system knows.
        const QPoint offCentre = form->frameGeometry().center() - form->screen()->availableGeometry().center();
        QVERIFY2(qAbs(offCentre.x()) <= 3 && qAbs(offCentre.y()) <= 3, "not centred on the screen");
        const QList<QPair<const char*, QRect>> places = {
            {"Label1", twipsRect(240, 240, 1575, 255)},  {"categorias", twipsRect(120, 600, 2175, 315)},
            {"Label2", twipsRect(240, 1200, 1695, 255)}, {"listado", twipsRect(120, 1560, 2175, 2790)},
            {"Frame1", twipsRect(2400, 240, 2295, 4095)}, {"Frame2", twipsRect(2400, 240, 2295, 4095)},
        };
        for (const auto& [name, rect] : places)
            QCOMPARE(child<QWidget>(form, name)->geometry(), rect);
    }

    // Made larger, the list and the description take the room, the picture
    // keeping its proportions and decoded for its new size; the window opens
    // at that size next time, but never larger than the screen.
    void growsAndRemembersItsSize() {
        savePicture(QStringLiteral("foto.png"), marked(400, 300));
        setElements({element("uno", "texto", "foto.png", true)});
        auto* form = open();
        clickEntry(form, QStringLiteral("uno"));
        auto* listado = child<QListWidget>(form, "listado");
        auto* frame = child<QGroupBox>(form, "Frame1");
        auto* picture = child<QLabel>(form, "Image1");
        auto* texto = child<QPlainTextEdit>(form, "texto");
        const QRect designPicture = picture->geometry();

        form->resize(form->width() + 300, form->height() + 240);
        QCOMPARE(listado->width(), twipsRect(0, 0, 2175, 0).width() + 100);
        QCOMPARE(listado->height(), twipsRect(0, 0, 0, 2790).height() + 240);
        QCOMPARE(frame->geometry(), twipsRect(2400, 240, 2295, 4095).adjusted(100, 0, 300, 240));
        QVERIFY(picture->width() > designPicture.width() * 3 / 2);
        QCOMPARE(qRound(picture->height() * double(designPicture.width()) / picture->width()), designPicture.height());
        QVERIFY(texto->y() > picture->geometry().bottom());
        QVERIFY(texto->geometry().bottom() < frame->height());
        QTRY_COMPARE(picture->pixmap().deviceIndependentSize().toSize(), picture->size());

        const QSize grown = form->size();
        form->close();
        QCOMPARE(open()->size(), grown);

        form_->resize(5000, 4000);
        form_->close();
        const QRect room = open()->screen()->availableGeometry();
        QVERIFY(form_->frameGeometry().width() <= room.width());
        QVERIFY(form_->frameGeometry().height() <= room.height());
        form_->resize(form_->minimumSize());
        form_->close();
    }

    // A screen reader reads the lists by their captions, the entries by their
    // names and the description's text; Tab goes from the lists to the text.
    void readAloudAndByKeyboard() {
        setElements({element("uno", "Primera línea\nsegunda"), element("dos", "")});
        auto* form = open();
        auto* listado = child<QListWidget>(form, "listado");
        auto* texto = child<QPlainTextEdit>(form, "texto");
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(listado);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Listado de elementos"));
        QCOMPARE(list->childCount(), 2);
        QCOMPARE(list->child(0)->text(QAccessible::Name), QStringLiteral("uno"));
        const auto labels = QAccessible::queryAccessibleInterface(child<QComboBox>(form, "categorias"))
                                ->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->text(QAccessible::Name), QStringLiteral("Categorías"));

        listado->setFocus();
        QTest::keyClick(listado, Qt::Key_End);
        QTest::keyClick(listado, Qt::Key_Home);
        QCOMPARE(listado->currentItem()->text(), QStringLiteral("uno"));
        QTest::keyClick(listado, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), texto);
        QAccessibleInterface* text = QAccessible::queryAccessibleInterface(texto);
        QCOMPARE(text->text(QAccessible::Name), QStringLiteral("Descripción"));
        QAccessibleTextInterface* words = text->textInterface();
        QVERIFY(words);
        QCOMPARE(words->text(0, words->characterCount()), QStringLiteral("Primera línea\nsegunda"));
    }

    // On a dark desktop the window follows it, but the description stays on
    // light paper in the author's colours, chosen against it.
    void darkDesktopKeepsTheDescriptionOnPaper() {
        const QPalette light = QApplication::palette();
        QPalette dark = light;
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            dark.setColor(role, QColor(0x30, 0x30, 0x30));
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            dark.setColor(role, QColor(0xe0, 0xe0, 0xe0));
        QApplication::setPalette(dark);
        Element navy = element("uno", "azul oscuro");
        navy.textColor = 0x800000; // dark blue, red in the low byte
        Element system = element("dos", "color del sistema");
        system.textColor = std::int32_t(0x80000008); // the system's window text
        setElements({navy, system});
        auto* form = open();
        auto* texto = child<QPlainTextEdit>(form, "texto");
        QVERIFY(child<QListWidget>(form, "listado")->palette().color(QPalette::Base).lightness() < 128);
        clickEntry(form, QStringLiteral("uno"));
        QCOMPARE(texto->palette().color(QPalette::Text), QColor(0, 0, 0x80));
        QVERIFY(shownAt(texto->viewport(), texto->viewport()->width() - 2, texto->viewport()->height() - 2).lightness() > 200);
        QVERIFY(shownAt(child<QGroupBox>(form, "Frame1"), 2, 2).lightness() > 200);
        clickEntry(form, QStringLiteral("dos"));
        QVERIFY(texto->palette().color(QPalette::Text).lightness() < 128);

        QApplication::setPalette(light);
        QVERIFY(child<QGroupBox>(form, "Frame1")->palette().color(QPalette::Window) == light.color(QPalette::Window));
    }

    // A double click on the picture opens it large, fitted to its window;
    // "100 %", Ctrl++ and Ctrl+wheel zoom, the arrows step through the
    // pictures of the listed elements with their names as the caption (never
    // waiting for a picture, never showing the last one meanwhile), and
    // Escape closes it. Enter opens it too once Tab has reached the picture.
    void pictureSeenLarge() {
        savePicture(QStringLiteral("uno.png"), marked(400, 300));
        savePicture(QStringLiteral("tres.png"), marked(60, 90));
        setElements({element("uno", "", "uno.png", true), element("dos", "solo texto"),
                     element("perdida", "", "no_existe.png"), element("tres", "", "tres.png")});
        auto* form = open();
        clickEntry(form, QStringLiteral("uno"));
        auto* stretched = child<QLabel>(form, "Image1");
        QTest::mouseDClick(stretched, Qt::LeftButton, {}, stretched->rect().center());
        LargePicture* large = nullptr;
        QTRY_VERIFY((large = qobject_cast<LargePicture*>(QApplication::activeWindow())) != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(large));
        QCOMPARE(large->windowTitle(), QStringLiteral("uno"));
        auto* picture = child<QLabel>(large, "imagen");
        // The window never waits for the picture process; the test does.
        const auto waited = [] { vitrandel_test_support::waitForPictures(); };
        waited();
        const QSize room = large->findChild<QScrollArea*>()->viewport()->size();
        QCOMPARE(picture->size(), QSize(400, 300).scaled(room, Qt::KeepAspectRatio));

        QTest::mouseClick(child<QPushButton>(large, "tamano_real"), Qt::LeftButton);
        waited();
        QCOMPARE(picture->size(), QSize(400, 300));
        QCOMPARE(picture->pixmap().toImage().pixelColor(5, 5), QColor(Qt::red));
        QTest::keyClick(large, Qt::Key_Plus, Qt::ControlModifier);
        waited();
        QCOMPARE(picture->size(), QSize(500, 375));
        QWheelEvent wheel(QPointF(10, 10), large->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, -120),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(large->findChild<QScrollArea*>()->viewport(), &wheel);
        waited();
        QCOMPARE(picture->size(), QSize(400, 300));
        QTest::keyClick(large, Qt::Key_Minus, Qt::ControlModifier);
        waited();
        QCOMPARE(picture->size(), QSize(320, 240));

        QTest::keyClick(large, Qt::Key_Right);
        QCOMPARE(large->windowTitle(), QStringLiteral("tres"));
        QVERIFY(picture->pixmap().isNull()); // not "uno" under the caption "tres" meanwhile
        waited();
        QCOMPARE(large->windowTitle(), QStringLiteral("tres"));
        QCOMPARE(picture->size(), QSize(60, 90).scaled(room, Qt::KeepAspectRatio));
        QTest::keyClick(large, Qt::Key_PageDown);
        QCOMPARE(large->windowTitle(), QStringLiteral("tres"));
        QTest::keyClick(large, Qt::Key_PageUp);
        QCOMPARE(large->windowTitle(), QStringLiteral("uno"));
        QPointer<LargePicture> closing = large;
        QTest::keyClick(large, Qt::Key_Escape);
        QTRY_VERIFY(!closing);

        clickEntry(form, QStringLiteral("tres"));
        QApplication::setActiveWindow(form);
        QTRY_VERIFY(form->isActiveWindow());
        auto* listado = child<QListWidget>(form, "listado");
        listado->setFocus();
        QTest::keyClick(listado, Qt::Key_Tab);
        auto* natural = child<QLabel>(form, "foto_desc");
        QCOMPARE(QApplication::focusWidget(), natural);
        QCOMPARE(natural->frameShape(), QFrame::Box);
        QTest::keyClick(natural, Qt::Key_Return);
        QTRY_VERIFY((large = qobject_cast<LargePicture*>(QApplication::activeWindow())) != nullptr);
        QCOMPARE(large->windowTitle(), QStringLiteral("tres"));
        large->close();
    }

    // A stretched picture, and one seen large, are decoded for the device
    // pixels they cover, not drawn from a smaller image made larger (also run
    // with QT_SCALE_FACTOR=2).
    void picturesAtDevicePixels() {
        savePicture(QStringLiteral("foto.png"), marked(800, 600));
        setElements({element("uno", "", "foto.png", true)});
        auto* form = open();
        clickEntry(form, QStringLiteral("uno"));
        auto* view = child<QLabel>(form, "Image1");
        const qreal ratio = form->devicePixelRatioF();
        vitrandel_test_support::waitForPictures();
        QCOMPARE(view->pixmap().size(), (QSizeF(view->size()) * ratio).toSize());
        QTest::mouseDClick(view, Qt::LeftButton, {}, view->rect().center());
        LargePicture* large = nullptr;
        QTRY_VERIFY((large = qobject_cast<LargePicture*>(QApplication::activeWindow())) != nullptr);
        auto* picture = child<QLabel>(large, "imagen");
        QTRY_VERIFY(picture->width() > 137);
        QCOMPARE(picture->pixmap().size(), (QSizeF(picture->size()) * ratio).toSize());
        large->close();
    }

    void fiftyOneCategories() {
        Project& p = project();
        p.categoryCount = kMaxCategories;
        for (int i = 0; i < kMaxCategories; ++i)
            p.categories[std::size_t(i)] = "Categoría " + std::to_string(i + 1);
        auto* categorias = child<QComboBox>(open(), "categorias");
        QCOMPARE(categorias->count(), 52);
        QCOMPARE(categorias->itemText(0), QStringLiteral("Sin clasificar"));
        QCOMPARE(categorias->itemText(51), QStringLiteral("Categoría 51"));
    }

    void categoryLists_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("Sin clasificar lists everything")
            << 0 << words("libre b1 c1 b2 perdido");
        QTest::newRow("first category, listing order") << 1 << words("b1 b2");
        QTest::newRow("second category") << 2 << words("c1");
        QTest::newRow("category without elements") << 3 << QStringList{};
    }
    void categoryLists() {
        QFETCH(int, entry);
        QFETCH(QStringList, names);
        Project& p = project();
        p.categoryCount = 3;
        p.categories[0] = "B";
        p.categories[1] = "C";
        p.categories[2] = "Vacía";
        setElements({element("libre", "x"), element("b1", "x", {}, false, 1), element("c1", "x", {}, false, 2),
                     element("b2", "x", {}, false, 1), element("perdido", "x", {}, false, 9)});
        auto* form = open();
        clickEntry(form, QStringLiteral("b1"));
        QVERIFY(!showsNotice(form));
        chooseCategory(form, entry);
        QCOMPARE(listed(form), names);
        QVERIFY(child<QListWidget>(form, "listado")->selectedItems().isEmpty());
        QVERIFY(showsNotice(form));
    }

    void firstMatchWithoutRegardToCase() {
        setElements({element("Gato", "el primero"), element("GATO", "el segundo"), element("perro", "guau")});
        auto* form = open();
        auto* texto = child<QPlainTextEdit>(form, "texto");
        clickEntry(form, QStringLiteral("GATO"));
        QCOMPARE(texto->toPlainText(), QStringLiteral("el primero"));
        clickEntry(form, QStringLiteral("perro"));
        QCOMPARE(texto->toPlainText(), QStringLiteral("guau"));
        QTest::keyClick(child<QListWidget>(form, "listado"), Qt::Key_Up);
        QCOMPARE(texto->toPlainText(), QStringLiteral("el primero"));
    }

    void layouts_data() {
        QTest::addColumn<bool>("picture");
        QTest::addColumn<bool>("fit");
        QTest::addColumn<QRect>("textRect");
        QTest::addColumn<QString>("text");
        QTest::newRow("text only") << false << false << twipsRect(120, 240, 2055, 3735) << "solo texto";
        QTest::newRow("natural picture") << true << false << twipsRect(120, 1920, 2055, 1575) << "con foto";
        QTest::newRow("stretched picture") << true << true << twipsRect(120, 1920, 2055, 1575) << "con foto";
        QTest::newRow("picture, no text") << true << true << twipsRect(120, 1920, 2055, 1575) << "[Sin Descripción]";
    }
    void layouts() {
        QFETCH(bool, picture);
        QFETCH(bool, fit);
        QFETCH(QRect, textRect);
        QFETCH(QString, text);
        savePicture(QStringLiteral("fotos/a.png"), marked(40, 30));
        const std::string description = text.startsWith(QLatin1Char('[')) ? "" : text.toStdString();
        // Shown after a picture element, so that a text-only layout must hide it.
        setElements({element("antes", "x", "fotos\\a.png", true),
                     element("este", description, picture ? "fotos\\a.png" : "", fit)});
        auto* form = open();
        clickEntry(form, QStringLiteral("antes"));
        clickEntry(form, QStringLiteral("este"));
        auto* texto = child<QPlainTextEdit>(form, "texto");
        QCOMPARE(texto->geometry(), textRect);
        QCOMPARE(texto->toPlainText(), text);
        auto* natural = child<QLabel>(form, "foto_desc");
        auto* stretched = child<QLabel>(form, "Image1");
        QCOMPARE(natural->isVisible(), picture && !fit);
        QCOMPARE(stretched->isVisible(), picture && fit);
        QCOMPARE(stretched->geometry(), twipsRect(120, 240, 2055, 1575));
        if (picture)
            QCOMPARE(natural->geometry(), twipsRect(120, 240, 2055, 1575));
    }

    void stretchedPictureFillsItsArea() {
        // Tall and narrow, so that keeping proportions would leave blank sides.
        savePicture(QStringLiteral("alto.bmp"), marked(20, 200));
        setElements({element("alto", "", "alto.bmp", true)});
        auto* form = open();
        clickEntry(form, QStringLiteral("alto"));
        auto* view = child<QLabel>(form, "Image1");
        QCOMPARE(view->size(), QSize(137, 105));
        // The 10 by 10 corner of a 20 by 200 picture covers half the width and a twentieth of the height.
        QCOMPARE(shownAt(view, 60, 2), QColor(Qt::red));
        QCOMPARE(shownAt(view, 75, 2), QColor(Qt::green));
        QCOMPARE(shownAt(view, 60, 8), QColor(Qt::green));
        QCOMPARE(shownAt(view, 136, 104), QColor(Qt::green));
    }

    void naturalPictureIsClippedOrLeavesSpace_data() {
        QTest::addColumn<QSize>("pictureSize");
        QTest::addColumn<bool>("coversCorner");
        QTest::newRow("larger") << QSize(600, 400) << true;
        QTest::newRow("smaller") << QSize(40, 30) << false;
    }
    void naturalPictureIsClippedOrLeavesSpace() {
        QFETCH(QSize, pictureSize);
        QFETCH(bool, coversCorner);
        savePicture(QStringLiteral("f.jpg"), marked(pictureSize.width(), pictureSize.height()));
        setElements({element("foto", "texto", "f.jpg", false)});
        auto* form = open();
        clickEntry(form, QStringLiteral("foto"));
        auto* view = child<QLabel>(form, "foto_desc");
        vitrandel_test_support::waitForPictures();
        const QImage shown = view->grab().toImage();
        auto near = [](QColor a, QColor b) { return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) < 60; };
        QVERIFY(near(shown.pixelColor(4, 4), Qt::red));
        QVERIFY(near(shown.pixelColor(15, 15), Qt::green));
        QCOMPARE(near(shown.pixelColor(136, 104), Qt::green), coversCorner);
    }

    void unusablePicturesLeaveAnEmptyArea_data() {
        QTest::addColumn<QString>("imagePath");
        QTest::newRow("missing") << "fotos\\no-esta.jpg";
        QTest::newRow("undecodable") << "roto.jpg";
        QTest::newRow("absolute path") << "ABSOLUTE";
    }
    void unusablePicturesLeaveAnEmptyArea() {
        QFETCH(QString, imagePath);
        savePicture(QStringLiteral("buena.bmp"), marked(137, 105));
        QFile broken(dir_->filePath(QStringLiteral("roto.jpg")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("\xff\xd8 no es una foto");
        broken.close();
        // A real picture named by its absolute path: not looked for there.
        QTemporaryDir elsewhere;
        const QString absolute = elsewhere.filePath(QStringLiteral("lejos.bmp"));
        QVERIFY(marked(137, 105).save(absolute));
        if (imagePath == QLatin1String("ABSOLUTE"))
            imagePath = absolute;

        setElements({element("buena", "", "buena.bmp", false), element("mala", "sigue", imagePath.toStdString(), false)});
        auto* form = open();
        clickEntry(form, QStringLiteral("buena"));
        auto* view = child<QLabel>(form, "foto_desc");
        QCOMPARE(shownAt(view, 4, 4), QColor(Qt::red));
        clickEntry(form, QStringLiteral("mala"));
        QCOMPARE(child<QPlainTextEdit>(form, "texto")->geometry(), twipsRect(120, 1920, 2055, 1575));
        QCOMPARE(child<QPlainTextEdit>(form, "texto")->toPlainText(), QStringLiteral("sigue"));
        vitrandel_test_support::waitForPictures();
        QVERIFY(view->pixmap().isNull());
        QVERIFY(child<QLabel>(form, "Image1")->pixmap().isNull());
    }

    void textColour_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QColor>("colour"); // invalid: the box's own text colour
        QTest::newRow("0 is black") << 0 << QColor(Qt::black);
        QTest::newRow("255 is red") << 255 << QColor(255, 0, 0);
        QTest::newRow("blue in the high byte") << 0xFF0000 << QColor(0, 0, 255);
        QTest::newRow("window background as read") << int(kWindowBackgroundColor) << QColor();
    }
    void textColour() {
        QFETCH(int, value);
        QFETCH(QColor, colour);
        Element e = element("color", "texto");
        e.textColor = value;
        setElements({e});
        auto* form = open();
        clickEntry(form, QStringLiteral("color"));
        auto* texto = child<QPlainTextEdit>(form, "texto");
        const QColor drawn = texto->palette().color(QPalette::Text);
        if (!colour.isValid())
            colour = QApplication::palette(texto).color(QPalette::Text);
        QCOMPARE(drawn, colour);
        QVERIFY(drawn != texto->palette().color(QPalette::Base));
        QCOMPARE(project().elements[0].textColor, value);
    }

    void whiteTextOnWhiteIsReadable() {
        Element e = element("blanco", "texto");
        e.textColor = 0xFFFFFF;
        setElements({e});
        auto* form = open();
        auto* texto = child<QPlainTextEdit>(form, "texto");
        QPalette white = texto->palette();
        white.setColor(QPalette::Base, Qt::white);
        texto->setPalette(white);
        clickEntry(form, QStringLiteral("blanco"));
        QVERIFY(texto->palette().color(QPalette::Text) != QColor(Qt::white));
    }

    void font() {
        const QString face = QStringLiteral("Liberation Mono");
        if (platform::fuente_no_instalada(face.toStdString()))
            QSKIP("Liberation Mono is not installed");
        Element styled = element("estilo", "texto");
        styled.fontName = face.toStdString();
        styled.fontSize = 14;
        styled.fontBold = kTrue;
        styled.fontItalic = kTrue;
        Element unknown = element("raro", "texto");
        unknown.fontName = "Letra Que No Existe";
        unknown.fontSize = 8;
        setElements({styled, unknown});
        auto* form = open();
        auto* texto = child<QPlainTextEdit>(form, "texto");
        clickEntry(form, QStringLiteral("estilo"));
        QCOMPARE(texto->font().family(), face);
        QCOMPARE(texto->font().pointSize(), 14);
        QVERIFY(texto->font().bold() && texto->font().italic());
        // A face this machine lacks shows in Fixedsys and keeps its name.
        clickEntry(form, QStringLiteral("raro"));
        QCOMPARE(texto->font().family(), QStringLiteral("Fixedsys"));
        QCOMPARE(project().elements[1].fontName, std::string("Letra Que No Existe"));
        QCOMPARE(texto->font().pointSize(), 8);
        QVERIFY(!texto->font().bold() && !texto->font().italic());
    }

    void longDescriptionCanBeReadAndCopied() {
        QStringList lines;
        for (int i = 1; i <= 80; ++i)
            lines.append(QStringLiteral("línea %1").arg(i));
        setElements({element("largo", lines.join(QLatin1Char('\n')).toStdString())});
        auto* form = open();
        clickEntry(form, QStringLiteral("largo"));
        auto* texto = child<QPlainTextEdit>(form, "texto");
        QVERIFY(texto->isEnabled() && texto->isReadOnly());
        QScrollBar* bar = texto->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), 0);
        const QPoint inside = texto->viewport()->rect().center();
        QWheelEvent wheel(inside, texto->viewport()->mapToGlobal(inside), {}, QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(texto->viewport(), &wheel);
        QVERIFY(bar->value() > 0);
        texto->selectAll();
        texto->copy();
        QCOMPARE(QApplication::clipboard()->text(), lines.join(QLatin1Char('\n')));
    }

    void nothingToDescribe() {
        setElements({element("vacío", ""), element("lleno", "algo")});
        auto* form = open();
        clickEntry(form, QStringLiteral("lleno"));
        QVERIFY(!showsNotice(form));
        clickEntry(form, QStringLiteral("vacío"));
        QVERIFY(showsNotice(form));
    }

    // The editor's face of the same display.
    void editorFace() {
        QWidget window;
        window.resize(400, 400);
        DescriptionArea area(&window, DescriptionFace::Editor, 2640, 600,
                             {"Label1", QStringLiteral("Elemento sin descripción")});
        QListWidget listado(&window);
        listado.addItems({QStringLiteral("foto"), QStringLiteral("texto"), QStringLiteral("nada")});
        savePicture(QStringLiteral("f.bmp"), marked(40, 30));
        setElements({element("foto", "a", "f.bmp", true), element("texto", "b"), element("nada", "")});
        window.show();
        QSignalSpy empty(&area, &DescriptionArea::emptyElementShown);

        QCOMPARE(area.frame1()->geometry(), twipsRect(2640, 600, 2295, 4095));
        listado.setCurrentRow(0);
        area.showDescription(&listado);
        listado.setCurrentRow(1);
        area.showDescription(&listado);
        QCOMPARE(area.textBox()->geometry(), twipsRect(120, 240, 2055, 3255));
        // The old picture stays, covered by the text above it.
        QVERIFY(area.stretchedView()->isVisible());
        const QObjectList order = area.frame1()->children();
        QVERIFY(order.indexOf(area.textBox()) > order.indexOf(area.stretchedView()));
        QCOMPARE(empty.count(), 0);
        listado.setCurrentRow(2);
        area.showDescription(&listado);
        QCOMPARE(empty.count(), 1);
        QVERIFY(area.frame2()->isVisible());
        QCOMPARE(area.notice()->objectName(), QStringLiteral("Label1"));
    }
};

QTEST_MAIN(TestEjecucionForm)
#include "tst_ejecucion_form.moc"
