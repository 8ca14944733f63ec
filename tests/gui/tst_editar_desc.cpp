// SPDX-License-Identifier: GPL-2.0-or-later
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include "description/editar_desc.h"
#include "model/file_store.h"
#include "model/listing_reader.h"
#include "model/project.h"
#include "platform/fonts.h"
#include "platform/listing_io.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "support/dialog_test.h"
#include "support/gui_test.h"

using namespace vitrandel;
using namespace vitrandel_test_support;
using namespace Qt::StringLiterals;
using platform::MessageBoxSeam;

namespace {

// What the element commands put into the exchange fields.
void fillFrom(const Element& e) {
    exchange() = ExchangeFields{};
    putDescription(e, exchange());
}

Element described(const std::string& imagePath = {}, bool fit = false) {
    return Element{.name = "castillo", .description = "Torre\ndel homenaje", .imagePath = imagePath,
                   .fitImage = toBool16(fit), .fontName = "Verdana", .fontSize = 13,
                   .fontItalic = kTrue, .textColor = kWindowBackgroundColor};
}

void runEditor(std::function<void(QDialog&)> steps) {
    onNextDialog(std::move(steps));
    editar_desc editor;
    platform::execModal(editor);
}

void click(QDialog& d, const char* button) { control<QPushButton>(d, button)->click(); }

void clickFile(QDialog& d, const QString& name) {
    auto* files = control<QListWidget>(d, "File1");
    const auto found = files->findItems(name, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(name));
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(found.first()).center());
}

// Key by key, letters outside ASCII included.
void type(QWidget* box, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), {});
}

QSize shownPicture(const QLabel* view) {
    vitrandel_test_support::waitForPictures();
    return view->isVisible() ? view->pixmap().deviceIndependentSize().toSize() : QSize();
}

QColor textColour(QDialog& d) { return control<QPlainTextEdit>(d, "Text1")->palette().color(QPalette::Text); }

void writePicture(const QString& path, int w, int h, const char* format) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(path, format));
}

} // namespace

class TestEditarDesc : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<CurrentDirRestorer> restore_;

    QString work() const { return dir_.filePath(u"trabajo"_s); }
    QString file(const QString& relative) const { return work() + QLatin1Char('/') + relative; }

private Q_SLOTS:
    void initTestCase() { startGuiTest(); }

    // The working directory: a large picture, a small one named in capitals
    // (its content tells its kind), a name that only the pattern's "*wmf"
    // takes, files the pattern leaves out, a subfolder with a picture and a
    // folder below it, a second subfolder and a hidden one.
    void init() {
        project() = Project{};
        restore_ = std::make_unique<CurrentDirRestorer>();
        QVERIFY(QDir(work()).removeRecursively());
        for (const char* folder : {"fotos/viejas", "Mapas", ".oculta"})
            QVERIFY(QDir(work()).mkpath(QLatin1String(folder)));
        writePicture(file(u"gato.jpg"_s), 400, 300, "JPG");
        writePicture(file(u"LEON.GIF"_s), 40, 30, "PNG");
        writePicture(file(u"fotos/perro.gif"_s), 60, 50, "PNG");
        for (const char* other : {"sinpuntowmf", "notas.txt", "gato.jpg.bak"})
            QFile(file(QLatin1String(other))).open(QIODevice::WriteOnly);
        QVERIFY(QDir::setCurrent(work()));
        editar_desc::setFolderWatching(true);
    }
    void cleanup() {
        restore_.reset();
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }

    // Accepted unchanged, the description comes back with only a size the
    // chooser does not offer made 10, and counts as a change to save. A face
    // this machine lacks shows in Fixedsys but comes back by name; a system
    // colour from a listing is not turned into the RGB it is drawn in.
    void opensOnTheDescription_data() {
        QTest::addColumn<QString>("imagePath");
        QTest::addColumn<bool>("fit");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("picture in a subfolder, stretched") << u"fotos\\perro.gif"_s << true << QSize(137, 105);
        QTest::newRow("picture at natural size") << u"LEON.GIF"_s << false << QSize(40, 30);
        QTest::newRow("no picture, fit flag kept") << QString() << true << QSize(0, 0);
        QTest::newRow("absolute path is not found") << file(u"gato.jpg"_s) << false << QSize(0, 0);
    }
    void opensOnTheDescription() {
        QFETCH(QString, imagePath);
        QFETCH(bool, fit);
        QFETCH(QSize, shown);
        const Element e = described(platform::ss(imagePath), fit);
        fillFrom(e);
        runEditor([&](QDialog& d) {
            auto* text = control<QPlainTextEdit>(d, "Text1");
            QCOMPARE(text->toPlainText(), u"Torre\ndel homenaje"_s);
            QCOMPARE(text->font().family(), u"Fixedsys"_s);
            QCOMPARE(text->font().pointSize(), 10);
            QVERIFY(text->font().italic() && !text->font().bold());
            QCOMPARE(textColour(d), d.palette().color(QPalette::Text));
            QCOMPARE(shownPicture(control<QLabel>(d, fit ? "picture1" : "Picture2")), shown);
            QVERIFY(!control<QLabel>(d, fit ? "Picture2" : "picture1")->isVisible());
            QCOMPARE(control<QPushButton>(d, "limpiar")->isEnabled(), !shown.isEmpty());
            QCOMPARE(control<QCheckBox>(d, "Check1")->isEnabled(), !shown.isEmpty());
            QCOMPARE(control<QCheckBox>(d, "Check1")->isChecked(), fit);
            QCOMPARE(d.focusWidget(), control<QListWidget>(d, "File1"));
            click(d, "aceptar");
        });
        const ExchangeFields& x = exchange();
        QCOMPARE(std::tie(x.descText, x.descImagePath, x.descFitImage, x.descFontName, x.descFontSize,
                          x.descFontBold, x.descFontItalic, x.descTextColor),
                 std::make_tuple(e.description, e.imagePath, e.fitImage, e.fontName, std::int16_t(10),
                                 e.fontBold, e.fontItalic, e.textColor));
        QCOMPARE(project().modified, kTrue);
    }

    void picksPicturesFromTheWorkingDirectoryAndItsSubfolders() {
        fillFrom(described());
        runEditor([](QDialog& d) {
            QCOMPARE(entries(control<QListWidget>(d, "File1")),
                     (QStringList{u"gato.jpg"_s, u"LEON.GIF"_s, u"sinpuntowmf"_s}));
            clickFile(d, u"gato.jpg"_s);
            auto* natural = control<QLabel>(d, "Picture2");
            auto* stretched = control<QLabel>(d, "picture1");
            QCOMPARE(shownPicture(natural), natural->contentsRect().size());
            // The fit check box swaps the natural-size preview for the stretched one and back.
            QTest::mouseClick(control<QCheckBox>(d, "Check1"), Qt::LeftButton);
            QCOMPARE(shownPicture(stretched), QSize(137, 105));
            QVERIFY(!natural->isVisible());
            QTest::mouseClick(control<QCheckBox>(d, "Check1"), Qt::LeftButton);
            QCOMPARE(shownPicture(natural), natural->contentsRect().size());
            click(d, "aceptar");
        });
        QCOMPARE(exchange().descImagePath, std::string("gato.jpg"));

        // Only immediate subfolders are offered. One removed meanwhile is
        // reported, and the selector stays on the folder the list shows, so
        // that a picture is recorded under its own folder.
        runEditor([&](QDialog& d) {
            auto* folders = control<QComboBox>(d, "Combo1");
            QCOMPARE(folders->count(), 3);
            QCOMPARE(folders->itemText(0), u"Directorio actual"_s);
            QCOMPARE(folders->itemText(1), u"fotos"_s);
            QCOMPARE(folders->itemText(2), u"Mapas"_s);
            QVERIFY(QDir(file(u"Mapas"_s)).removeRecursively());
            chooseWithKeys(folders, 1);
            MessageBoxSeam::setNextAnswer(platform::vbOK);
            chooseWithKeys(folders, 2);
            QCOMPARE(MessageBoxSeam::takeShown().value(0).text, u"No se ha encontrado la ruta de acceso"_s);
            QCOMPARE(folders->currentText(), u"fotos"_s);
            QCOMPARE(entries(control<QListWidget>(d, "File1")), QStringList{u"perro.gif"_s});
            clickFile(d, u"perro.gif"_s);
            QTest::mouseClick(control<QCheckBox>(d, "Check1"), Qt::LeftButton);
            click(d, "aceptar");
        });
        QCOMPARE(exchange().descImagePath, std::string("fotos\\perro.gif"));
        QCOMPARE(exchange().descFitImage, kTrue);

        // Clearing hands back no picture and the fit flag as the box shows it.
        runEditor([](QDialog& d) {
            click(d, "limpiar");
            QVERIFY(control<QLabel>(d, "picture1")->pixmap().isNull());
            QVERIFY(!control<QCheckBox>(d, "Check1")->isEnabled());
            click(d, "aceptar");
        });
        QCOMPARE(exchange().descImagePath, std::string());
        QCOMPARE(exchange().descFitImage, kTrue);
    }

    // A file copied into the folder shows up; a change that leaves the list
    // as it was (a rename of letter case alone) does not rebuild it, so the
    // user's selection stays. Watched, the folder is not read on a timer.
    void fileListFollowsTheDisk_data() {
        QTest::addColumn<bool>("watching");
        QTest::newRow("folder watched") << true;
        QTest::newRow("folder read every half second") << false;
    }
    void fileListFollowsTheDisk() {
        QFETCH(bool, watching);
        editar_desc::setFolderWatching(watching);
        fillFrom(described());
        runEditor([&](QDialog& d) {
            auto* files = control<QListWidget>(d, "File1");
            QCOMPARE(d.findChild<QTimer*>(u"actualizador"_s)->isActive(), !watching);
            QVERIFY(QFile::copy(file(u"gato.jpg"_s), file(u"nuevo.jpg"_s)));
            QTRY_VERIFY(entries(files).contains(u"nuevo.jpg"_s));

            clickFile(d, u"LEON.GIF"_s);
            QSignalSpy rebuilt(files->model(), &QAbstractItemModel::modelReset);
            QVERIFY(QFile::rename(file(u"LEON.GIF"_s), file(u"leon.gif"_s)));
            QTRY_VERIFY(entries(control<QListWidget>(d, "File2")).contains(u"leon.gif"_s));
            QCOMPARE(rebuilt.count(), 0);
            QCOMPARE(files->currentItem()->text(), u"LEON.GIF"_s);
            QVERIFY(files->currentItem()->isSelected());

            // A folder removed and made again is followed too.
            chooseWithKeys(control<QComboBox>(d, "Combo1"), 1);
            QCOMPARE(entries(files), QStringList{u"perro.gif"_s});
            QVERIFY(QDir(file(u"fotos"_s)).removeRecursively());
            QVERIFY(QDir(work()).mkdir(u"fotos"_s));
            writePicture(file(u"fotos/gallo.gif"_s), 20, 20, "PNG");
            QTRY_COMPARE_WITH_TIMEOUT(entries(files), QStringList{u"gallo.gif"_s}, 1000);
        });
    }

    // The font button writes the font at once: Cancel discards the text, the
    // picture and a colour chosen, but keeps the font.
    void aFontChosenSurvivesCancel() {
        const Element e = described(u"gato.jpg"_s.toStdString());
        fillFrom(e);
        runEditor([](QDialog& d) {
            auto* text = control<QPlainTextEdit>(d, "Text1");
            type(text, u"más texto"_s);
            click(d, "limpiar");
            onNextDialog([](QDialog& chooser) {
                auto* faces = control<QListWidget>(chooser, "List1");
                QCOMPARE(faces->currentItem()->text(), u"Verdana"_s);
                faces->setCurrentItem(faces->findItems(u"Courier New"_s, Qt::MatchExactly).value(0));
                control<QListWidget>(chooser, "List2")->setCurrentRow(1);
                control<QListWidget>(chooser, "List3")->setCurrentRow(5);
                click(chooser, "aceptar");
            });
            click(d, "cambiar_fuente");
            QCOMPARE(text->font().family(), platform::faceToDraw("Courier New"));
            QCOMPARE(text->font().pointSize(), 14);
            QVERIFY(text->font().bold() && !text->font().italic());
            onNextDialog([](QDialog& colours) {
                qobject_cast<QColorDialog*>(&colours)->setCurrentColor(Qt::blue);
                colours.accept();
            });
            click(d, "cambiar_color");
            QCOMPARE(textColour(d), QColor(Qt::blue));
            click(d, "cancelar");
        });
        const ExchangeFields& x = exchange();
        QCOMPARE(std::tie(x.descFontName, x.descFontSize, x.descFontBold, x.descFontItalic),
                 std::make_tuple(std::string("Courier New"), std::int16_t(14), kTrue, kFalse));
        QCOMPARE(std::tie(x.descText, x.descImagePath, x.descTextColor),
                 std::tie(e.description, e.imagePath, e.textColor));
        QCOMPARE(project().modified, kFalse);
    }

    // Enter presses no button of this window, and in the file list takes the
    // highlighted file; Tab leaves the text; every character the listing
    // holds comes back as it was, a no-break space included.
    void theKeyboardKeepsTheDescription() {
        Element e = described(u"gato.jpg"_s.toStdString());
        e.description = "12\u00a0km\ncasi";
        fillFrom(e);
        runEditor([](QDialog& d) {
            auto* files = control<QListWidget>(d, "File1");
            auto* text = control<QPlainTextEdit>(d, "Text1");
            for (QWidget* box : std::initializer_list<QWidget*>{files, control<QComboBox>(d, "Combo1"),
                                                                control<QCheckBox>(d, "Check1")}) {
                QTest::keyClick(box, Qt::Key_Return);
                QVERIFY2(d.isVisible() && control<QPushButton>(d, "limpiar")->isEnabled(),
                         box->objectName().toLatin1());
            }
            clickFile(d, u"LEON.GIF"_s);
            click(d, "limpiar");
            QTest::keyClick(files, Qt::Key_Enter);
            QCOMPARE(shownPicture(control<QLabel>(d, "Picture2")), QSize(40, 30));

            d.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&d));
            text->setFocus();
            QTest::keyClick(text, Qt::Key_Tab);
            QCOMPARE(d.focusWidget(), control<QPushButton>(d, "limpiar"));
            text->setFocus();
            QTest::keyClick(text, Qt::Key_Backtab);
            QCOMPARE(d.focusWidget(), control<QComboBox>(d, "Combo1"));
            QVERIFY(!text->toPlainText().contains(u'\t'));
            click(d, "aceptar");
        });
        QCOMPARE(exchange().descText, e.description);
        QCOMPARE(exchange().descImagePath, std::string("LEON.GIF"));
    }

    // What the listing cannot hold is refused where it is typed or picked,
    // naming the character; an accent typed apart is composed first.
    void textTheListingCannotHoldIsRefused() {
        writePicture(file(u"flecha\u2192.gif"_s), 10, 10, "PNG");
        fillFrom(described());
        runEditor([](QDialog& d) {
            auto* text = control<QPlainTextEdit>(d, "Text1");
            text->clear();
            type(text, u"Camio\u0301n \u2192 norte"_s);
            MessageBoxSeam::setNextAnswer(platform::vbOK);
            click(d, "aceptar");
            QCOMPARE(MessageBoxSeam::takeShown().value(0).text,
                     u"La descripción contiene \"\u2192\", que el listado no puede guardar."_s);
            QVERIFY(d.isVisible());
            QCOMPARE(text->toPlainText(), u"Camio\u0301n \u2192 norte"_s);

            MessageBoxSeam::setNextAnswer(platform::vbOK);
            clickFile(d, u"flecha\u2192.gif"_s);
            QCOMPARE(MessageBoxSeam::takeShown().value(0).text,
                     u"El nombre del archivo contiene \"\u2192\", que el listado no puede guardar."_s);
            QVERIFY(!control<QPushButton>(d, "limpiar")->isEnabled());

            QTextCursor at = text->textCursor();
            at.movePosition(QTextCursor::End);
            at.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, 7);
            text->setTextCursor(at);
            type(text, u"al norte"_s);
            click(d, "aceptar");
        });
        QCOMPARE(exchange().descText, std::string("Camión al norte"));
        QCOMPARE(exchange().descImagePath, std::string());
    }

    // A two-line text and a colour chosen reach the listing file.
    void anEditedDescriptionReachesTheSavedFile() {
        Project& p = project();
        p.elementCount = 1;
        p.elements[0] = described();
        p.elements[0].textColor = 255;
        fillFrom(p.elements[0]);
        runEditor([](QDialog& d) {
            auto* text = control<QPlainTextEdit>(d, "Text1");
            text->clear();
            type(text, u"Primera línea"_s);
            QTest::keyClick(text, Qt::Key_Return);
            type(text, u"segunda"_s);
            onNextDialog([](QDialog& colours) {
                QCOMPARE(qobject_cast<QColorDialog*>(&colours)->currentColor(), QColor(Qt::red));
                qobject_cast<QColorDialog*>(&colours)->setCurrentColor(QColor(0, 128, 255));
                colours.accept();
            });
            click(d, "cambiar_color");
            click(d, "aceptar");
        });
        p.elements[0].description = exchange().descText;
        p.elements[0].textColor = exchange().descTextColor;
        const QString path = file(u"con_color.lst"_s);
        QVERIFY(platform::guardar_listado(path));
        FileError error;
        const Project saved = parseListing(*readFileBytes(platform::ss(path), &error), Project{}).listing.project;
        QCOMPARE(saved.elements[0].description, std::string("Primera línea\nsegunda"));
        QCOMPARE(saved.elements[0].textColor, 0xFF8000);
    }
};

QTEST_MAIN(TestEditarDesc)
#include "tst_editar_desc.moc"
