// SPDX-License-Identifier: GPL-2.0-or-later
// The library of discs as a user meets it: listings opened in the viewer and
// the editor are found in the library window, shown as the viewer shows them,
// with a thumbnail once the disc is away, opened again, and removed.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QCheckBox>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "dialogs/biblioteca_form.h"
#include "dialogs/opciones_form.h"
#include "discs/disc_library.h"
#include "editor/principal.h"
#include "library/disc_library.h"
#include "model/file_store.h"
#include "model/listing_writer.h"
#include "model/project.h"
#include "startup/inicial.h"
#include "support/dialog_test.h"
#include "support/gui_test.h"
#include "viewer/ejecucion_form.h"

using namespace vitrandel;
using vitrandel_test_support::CurrentDirRestorer;

namespace {

template <typename T> T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

Element element(const std::string& name, const std::string& description, std::int16_t category = 0,
                const std::string& picture = {}) {
    return Element{.name = name, .description = description, .imagePath = picture, .fitImage = kTrue,
                   .category = category, .fontName = "Times New Roman", .fontSize = 12, .fontItalic = kTrue,
                   .textColor = 128};
}

void writeListing(const QString& path, const std::string& title, const std::vector<std::string>& categories,
                  const std::vector<Element>& elements) {
    Project p;
    p.title = title;
    for (std::size_t i = 0; i < categories.size(); ++i)
        p.categories[i] = categories[i];
    p.categoryCount = static_cast<std::int16_t>(categories.size());
    for (std::size_t i = 0; i < elements.size(); ++i)
        p.elements[i] = elements[i];
    p.elementCount = static_cast<std::int16_t>(elements.size());
    FileError e;
    QDir().mkpath(QFileInfo(path).path());
    if (!writeFileAtomically(path.toStdString(), serializeListing(p, ".").bytes, &e))
        qFatal("cannot write %s", qPrintable(path));
}

biblioteca_form* libraryWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* form = qobject_cast<biblioteca_form*>(w); form && form->isVisible())
            return form;
    return nullptr;
}

QStringList rows(QWidget* form) {
    auto* tree = child<QTreeWidget>(form, "resultados");
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = tree->topLevelItem(i);
        out.append(item->text(0) + QLatin1Char('|') + item->text(1) + QLatin1Char('|') + item->text(2));
    }
    return out;
}

void search(QWidget* form, const QString& text) {
    auto* box = child<QLineEdit>(form, "buscar_txt");
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

void clickRow(QWidget* form, int row) {
    auto* tree = child<QTreeWidget>(form, "resultados");
    const QRect r = tree->visualItemRect(tree->topLevelItem(row));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
}

std::vector<library::Disc> discsInLibrary() {
    discs::waitForLibrary();
    return library::Library::open(discs::libraryPath().toStdString())->discs();
}

} // namespace

class TestBiblioteca : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home_;
    QString at(const QString& name) const { return home_.filePath(name); }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("XDG_DATA_HOME", at(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", at(QStringLiteral("config")).toUtf8());
        vitrandel_test_support::startGuiTest();
    }

    void init() {
        QFile::remove(discs::libraryPath());
        discs::setRememberOpenedListings(true);
    }

    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->close();
        discs::waitForLibrary();
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }

    void findsShowsOpensAndRemovesDiscs() {
        const CurrentDirRestorer restorer;
        QImage sunset(400, 200, QImage::Format_RGB32);
        sunset.fill(Qt::red);
        QDir().mkpath(at(QStringLiteral("vacaciones/fotos")));
        QVERIFY(sunset.save(at(QStringLiteral("vacaciones/fotos/sol.png"))));
        const QString vacaciones = at(QStringLiteral("vacaciones/indice.lst"));
        writeListing(vacaciones, "Vacaciones", {"Playas"},
                     {element("Puesta de sol", "Agosto en la costa", 1, "fotos\\sol.png"),
                      element("Camión", "Un vehículo rojo")});
        const QString sierra = at(QStringLiteral("sierra/indice.lst"));
        writeListing(sierra, "Sierra", {}, {element("Niño en la nieve", "Puesta de sol en invierno")});

        // One listing opened in the viewer, one in the editor.
        auto* viewer = qobject_cast<ejecucion_form*>(startup::Main({vacaciones}).window);
        QVERIFY(viewer);
        // What the viewer shows of an element, to compare with the library's.
        auto* listado = child<QListWidget>(viewer, "listado");
        listado->setCurrentRow(0);
        auto* viewerText = child<QPlainTextEdit>(viewer, "texto");
        const QFont viewerFont = viewerText->font();
        const QColor viewerColour = viewerText->palette().color(QPalette::Text);
        exchange().fileDlgResult = sierra.toStdString();
        auto* editor = new principal;
        editor->show();
        exchange().fileDlgResult.clear();
        editor->close();
        QCOMPARE(discsInLibrary().size(), std::size_t(2));
        // Opening a listing again updates its entry.
        exchange().fileDlgResult = sierra.toStdString();
        (new principal)->close();
        exchange().fileDlgResult.clear();
        QCOMPARE(discsInLibrary().size(), std::size_t(2));
        QTRY_VERIFY(library::Library::open(discs::libraryPath().toStdString())
                        ->thumbnail(discsInLibrary().back().id, "fotos\\sol.png"));


        viewer->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(viewer));
        QTest::keyClick(viewer, Qt::Key_B, Qt::ControlModifier);
        QTRY_VERIFY(libraryWindow());
        QWidget* form = libraryWindow();

        search(form, QStringLiteral("CAMION"));
        QCOMPARE(rows(form), QStringList{QStringLiteral("Camión|Sin clasificar|Vacaciones")});
        search(form, QStringLiteral("nin"));
        QCOMPARE(rows(form), QStringList{QStringLiteral("Niño en la nieve|Sin clasificar|Sierra")});
        // A name match ranks over a description match.
        search(form, QStringLiteral("\"puesta de sol\""));
        QCOMPARE(rows(form), (QStringList{QStringLiteral("Puesta de sol|Playas|Vacaciones"),
                                          QStringLiteral("Niño en la nieve|Sin clasificar|Sierra")}));
        search(form, QStringLiteral("puesta -invierno"));
        QCOMPARE(rows(form), QStringList{QStringLiteral("Puesta de sol|Playas|Vacaciones")});

        clickRow(form, 0);
        auto* text = child<QPlainTextEdit>(form, "texto");
        QCOMPARE(text->toPlainText(), QStringLiteral("Agosto en la costa"));
        QCOMPARE(text->font(), viewerFont);
        QCOMPARE(text->palette().color(QPalette::Text), viewerColour);
        auto* stretched = child<QLabel>(form, "Image1");
        QVERIFY(stretched->isVisible());
        vitrandel_test_support::waitForPictures();
        QCOMPARE(stretched->pixmap().toImage().pixelColor(5, 5), QColor(Qt::red));

        // The disc leaves the drive: the thumbnail stands in for the picture.
        viewer->close();
        QVERIFY(QDir().rename(at(QStringLiteral("vacaciones")), at(QStringLiteral("estante"))));
        search(form, QStringLiteral("puesta -invierno"));
        clickRow(form, 0);
        QVERIFY(child<QLabel>(form, "disco_info")->text().startsWith(QStringLiteral("No está en la unidad")));
        QVERIFY(!stretched->pixmap().isNull());
        QVERIFY(qMax(stretched->pixmap().width(), stretched->pixmap().height()) <= 256);
        QCOMPARE(text->font(), viewerFont);

        // Opened from the stored copy, as the caption says.
        QTest::mouseClick(child<QPushButton>(form, "abrir"), Qt::LeftButton);
        QTRY_VERIFY(!libraryWindow());
        ejecucion_form* copy = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* v = qobject_cast<ejecucion_form*>(w); v && v->isVisible())
                copy = v;
        QVERIFY(copy);
        QVERIFY(copy->windowTitle().startsWith(QStringLiteral("Vacaciones (copia de la biblioteca")));
        QCOMPARE(project().title, std::string("Vacaciones"));

        // Removing a disc, after saying yes.
        copy->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(copy));
        QTest::keyClick(copy, Qt::Key_B, Qt::ControlModifier);
        QTRY_VERIFY(libraryWindow());
        form = libraryWindow();
        search(form, QStringLiteral("nieve"));
        clickRow(form, 0);
        platform::MessageBoxSeam::setNextAnswer(platform::vbYes);
        QTest::mouseClick(child<QPushButton>(form, "quitar"), Qt::LeftButton);
        QCOMPARE(rows(form), QStringList{});
        const auto left = discsInLibrary();
        QCOMPARE(left.size(), std::size_t(1));
        QCOMPARE(left.front().title, std::string("Vacaciones"));
        QCOMPARE(discs::recentListings(5), QStringList{at(QStringLiteral("vacaciones/indice.lst"))});
    }

    void theOptionKeepsListingsOut() {
        const CurrentDirRestorer restorer;
        opciones_form options;
        auto* remember = child<QCheckBox>(&options, "recordar_biblioteca");
        QVERIFY(remember->isChecked());
        remember->setChecked(false);
        QTest::mouseClick(child<QPushButton>(&options, "aceptar"), Qt::LeftButton);
        QVERIFY(!discs::rememberOpenedListings());

        const QString path = at(QStringLiteral("privado/indice.lst"));
        writeListing(path, "Privado", {}, {element("Carta", "Nadie la ve")});
        startup::Main({path}).window->close();
        QCOMPARE(discsInLibrary().size(), std::size_t(0));
    }

    void aDamagedLibraryIsMovedAsideAndStartsAgain() {
        const CurrentDirRestorer restorer;
        QDir().mkpath(QFileInfo(discs::libraryPath()).path());
        QFile damaged(discs::libraryPath());
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray("esto no es una biblioteca").repeated(200));
        damaged.close();

        const QString path = at(QStringLiteral("otro/indice.lst"));
        writeListing(path, "Otro disco", {}, {element("Uno", "Hola")});
        platform::MessageBoxSeam::setNextAnswer(platform::vbOK);
        startup::Main({path}).window->close();
        discs::waitForLibrary();
        QTRY_VERIFY(!platform::MessageBoxSeam::hasQueuedAnswer());
        const auto shown = platform::MessageBoxSeam::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.front().text.contains(discs::libraryPath()));

        const QStringList aside = QDir(QFileInfo(discs::libraryPath()).path())
                                      .entryList({QStringLiteral("biblioteca-danada-*.sqlite")});
        QCOMPARE(aside.size(), 1);
        QFile kept(QFileInfo(discs::libraryPath()).path() + QLatin1Char('/') + aside.front());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QVERIFY(kept.readAll().startsWith("esto no es una biblioteca"));
        QCOMPARE(discsInLibrary().size(), std::size_t(1));
    }
};

QTEST_MAIN(TestBiblioteca)
#include "tst_biblioteca.moc"
