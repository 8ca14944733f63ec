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
#include "platform/text.h"
#include "support/dialog_test.h"
#include "support/gui_test.h"

using namespace vitrandel;
using namespace vitrandel_test_support;
using namespace Qt::StringLiterals;

namespace {

// What the element commands put into the exchange fields and take back.
void fillFrom(const Element& e) {
    ExchangeFields& x = exchange();
    x.descText = e.description;
    x.descImagePath = e.imagePath;
    x.descFitImage = e.fitImage;
    x.descFontName = e.fontName;
    x.descFontSize = e.fontSize;
    x.descFontBold = e.fontBold;
    x.descFontItalic = e.fontItalic;
    x.descTextColor = e.textColor;
}

void copyBack(Element& e) {
    const ExchangeFields& x = exchange();
    e.description = x.descText;
    e.imagePath = x.descImagePath;
    e.fitImage = x.descFitImage;
    e.fontName = x.descFontName;
    e.fontSize = x.descFontSize;
    e.fontBold = x.descFontBold;
    e.fontItalic = x.descFontItalic;
    e.textColor = x.descTextColor;
}

Element described(const std::string& imagePath = {}, bool fit = false) {
    return Element{.name = "castillo", .description = "Torre\ndel homenaje", .imagePath = imagePath,
                   .fitImage = toBool16(fit), .fontName = "Times New Roman", .fontSize = 12,
                   .fontItalic = kTrue, .textColor = 255};
}

void runEditor(std::function<void(QDialog&)> steps) {
    onNextDialog(std::move(steps));
    editar_desc editor;
    platform::execModal(editor);
}

template <typename T> T* at(QDialog& d, const char* name) {
    T* c = control<T>(d, name);
    if (!c)
        qFatal("no control %s", name);
    return c;
}

void clickFile(QDialog& d, const QString& name) {
    auto* files = at<QListWidget>(d, "File1");
    const auto found = files->findItems(name, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(name));
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(found.first()).center());
}

// Typed key by key, letters outside ASCII included.
void type(QWidget* box, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), {});
}

bool showsPicture(const QLabel* view) { return view->isVisible() && !view->pixmap().isNull(); }

QSize pictureSize(const QLabel* view) { return view->pixmap().deviceIndependentSize().toSize(); }

QColor textColour(QDialog& d) { return at<QPlainTextEdit>(d, "Text1")->palette().color(QPalette::Text); }

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray picture(int w, int h, const char* format) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace

class TestEditarDesc : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<CurrentDirRestorer> restore_;

    QString work() const { return dir_.filePath(u"trabajo"_s); }
    QString file(const QString& relative) const { return work() + QLatin1Char('/') + relative; }

private Q_SLOTS:
    void initTestCase() {
        startGuiTest();
        QVERIFY(dir_.isValid());
    }

    // A working directory of pictures: a large one and a small one (its
    // name in capitals), a file named for the pattern's "*wmf", files the
    // pattern leaves out, a subfolder with a picture of its own and a folder
    // below it, and a hidden folder.
    void init() {
        project() = Project{};
        exchange() = ExchangeFields{};
        restore_ = std::make_unique<CurrentDirRestorer>();
        QVERIFY(QDir(work()).removeRecursively());
        QDir root(work());
        for (const char* folder : {"fotos/viejas", "Mapas", ".oculta"})
            QVERIFY(root.mkpath(QLatin1String(folder)));
        writeFile(file(u"gato.jpg"_s), picture(400, 300, "JPG"));
        writeFile(file(u"LEON.GIF"_s), picture(40, 30, "PNG"));
        writeFile(file(u"sinpuntowmf"_s), {});
        writeFile(file(u"notas.txt"_s), "x");
        writeFile(file(u"gato.jpg.bak"_s), "x");
        writeFile(file(u"fotos/perro.gif"_s), picture(60, 50, "PNG"));
        QVERIFY(QDir::setCurrent(work()));
        editar_desc::setFolderWatching(true);
    }
    void cleanup() {
        editar_desc::setFolderWatching(true);
        restore_.reset();
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }

    // The window shows the description as it is; accepting it unchanged
    // hands it back with only a size the chooser does not offer made 10, and
    // still counts as a change to save. A face this machine lacks is shown
    // in Fixedsys but handed back by name.
    void opensOnTheDescription_data() {
        QTest::addColumn<QString>("imagePath");
        QTest::addColumn<bool>("fit");
        QTest::addColumn<QSize>("shown"); // empty: no picture
        QTest::newRow("picture in a subfolder, stretched") << u"fotos\\perro.gif"_s << true << QSize(137, 105);
        QTest::newRow("picture at natural size") << u"LEON.GIF"_s << false << QSize(40, 30);
        QTest::newRow("no picture, fit flag kept") << QString() << true << QSize();
        QTest::newRow("absolute path is not found") << file(u"gato.jpg"_s) << false << QSize();
    }
    void opensOnTheDescription() {
        QFETCH(QString, imagePath);
        QFETCH(bool, fit);
        QFETCH(QSize, shown);
        Element e = described(platform::ss(imagePath), fit);
        e.fontName = "Verdana";
        e.fontSize = 13;
        fillFrom(e);
        runEditor([&](QDialog& d) {
            QCOMPARE(d.windowTitle(), u"Edición de la descripción..."_s);
            auto* text = at<QPlainTextEdit>(d, "Text1");
            QCOMPARE(text->toPlainText(), u"Torre\ndel homenaje"_s);
            QCOMPARE(text->font().family(), u"Fixedsys"_s);
            QCOMPARE(text->font().pointSize(), 10);
            QVERIFY(text->font().italic() && !text->font().bold());
            QCOMPARE(textColour(d), QColor(Qt::red));
            auto* natural = at<QLabel>(d, "Picture2");
            auto* stretched = at<QLabel>(d, "picture1");
            QCOMPARE(natural->isVisible(), !fit);
            QCOMPARE(stretched->isVisible(), fit);
            const bool hasPicture = !shown.isEmpty();
            QCOMPARE(showsPicture(fit ? stretched : natural), hasPicture);
            if (hasPicture)
                QCOMPARE(pictureSize(fit ? stretched : natural), shown);
            QCOMPARE(at<QPushButton>(d, "limpiar")->isEnabled(), hasPicture);
            QCOMPARE(at<QCheckBox>(d, "Check1")->isEnabled(), hasPicture);
            QCOMPARE(at<QCheckBox>(d, "Check1")->isChecked(), fit);
            QCOMPARE(d.focusWidget(), at<QListWidget>(d, "File1"));
            at<QPushButton>(d, "aceptar")->click();
        });
        Element back = e;
        copyBack(back);
        e.fontSize = 10;
        QCOMPARE(back, e);
        QCOMPARE(project().modified, kTrue);
    }

    void picksPicturesFromTheWorkingDirectoryAndItsSubfolders() {
        fillFrom(described());
        runEditor([](QDialog& d) {
            auto* folders = at<QComboBox>(d, "Combo1");
            QCOMPARE(folders->count(), 3);
            QCOMPARE(folders->itemText(0), u"Directorio actual"_s);
            QCOMPARE(folders->itemText(1), u"fotos"_s);
            QCOMPARE(folders->itemText(2), u"Mapas"_s);
            QCOMPARE(entries(at<QListWidget>(d, "File1")),
                     (QStringList{u"gato.jpg"_s, u"LEON.GIF"_s, u"sinpuntowmf"_s}));

            clickFile(d, u"gato.jpg"_s);
            auto* natural = at<QLabel>(d, "Picture2");
            auto* stretched = at<QLabel>(d, "picture1");
            QVERIFY(showsPicture(natural) && !stretched->isVisible());
            QCOMPARE(pictureSize(natural), natural->contentsRect().size());
            QVERIFY(at<QPushButton>(d, "limpiar")->isEnabled());

            // The fit check box swaps the natural-size preview for the stretched one and back.
            auto* fit = at<QCheckBox>(d, "Check1");
            QTest::mouseClick(fit, Qt::LeftButton);
            QVERIFY(showsPicture(stretched) && !natural->isVisible());
            QCOMPARE(pictureSize(stretched), QSize(137, 105));
            QTest::mouseClick(fit, Qt::LeftButton);
            QVERIFY(showsPicture(natural) && !stretched->isVisible());
            at<QPushButton>(d, "aceptar")->click();
        });
        QCOMPARE(exchange().descImagePath, std::string("gato.jpg"));
        QCOMPARE(exchange().descFitImage, kFalse);

        runEditor([](QDialog& d) {
            chooseWithKeys(at<QComboBox>(d, "Combo1"), 1);
            QCOMPARE(entries(at<QListWidget>(d, "File1")), QStringList{u"perro.gif"_s});
            clickFile(d, u"perro.gif"_s);
            QTest::mouseClick(at<QCheckBox>(d, "Check1"), Qt::LeftButton);
            at<QPushButton>(d, "aceptar")->click();
        });
        QCOMPARE(exchange().descImagePath, std::string("fotos\\perro.gif"));
        QCOMPARE(exchange().descFitImage, kTrue);

        // Clearing hands back no picture and the fit flag as the box shows it.
        runEditor([](QDialog& d) {
            at<QPushButton>(d, "limpiar")->click();
            QVERIFY(at<QLabel>(d, "picture1")->pixmap().isNull());
            QVERIFY(at<QLabel>(d, "Picture2")->pixmap().isNull());
            QVERIFY(!at<QPushButton>(d, "limpiar")->isEnabled());
            QVERIFY(!at<QCheckBox>(d, "Check1")->isEnabled());
            QVERIFY(at<QCheckBox>(d, "Check1")->isChecked());
            at<QPushButton>(d, "aceptar")->click();
        });
        QCOMPARE(exchange().descImagePath, std::string());
        QCOMPARE(exchange().descFitImage, kTrue);
    }

    // A file copied into the folder shows up; a change that leaves the list
    // as it was (a rename of letter case alone) does not rebuild it, so the
    // user's selection stays.
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
            auto* files = at<QListWidget>(d, "File1");
            QCOMPARE(at<QTimer>(d, "actualizador")->isActive(), !watching);
            QVERIFY(QFile::copy(file(u"gato.jpg"_s), file(u"nuevo.jpg"_s)));
            QTRY_VERIFY(entries(files).contains(u"nuevo.jpg"_s));

            clickFile(d, u"LEON.GIF"_s);
            QSignalSpy rebuilt(files->model(), &QAbstractItemModel::modelReset);
            QSignalSpy reread(at<QListWidget>(d, "File2")->model(), &QAbstractItemModel::rowsInserted);
            QVERIFY(QFile::rename(file(u"LEON.GIF"_s), file(u"leon.gif"_s)));
            QVERIFY(reread.wait());
            QCOMPARE(rebuilt.count(), 0);
            QCOMPARE(entries(files), (QStringList{u"gato.jpg"_s, u"LEON.GIF"_s, u"nuevo.jpg"_s, u"sinpuntowmf"_s}));
            QCOMPARE(files->currentItem()->text(), u"LEON.GIF"_s);
            QVERIFY(files->currentItem()->isSelected());
        });
    }

    // The font button writes the font at once: Cancel then discards the text
    // and picture but keeps the font, as the chooser left it.
    void aFontChosenSurvivesCancel() {
        Element e = described(u"gato.jpg"_s.toStdString());
        e.fontName = "Verdana";
        e.fontSize = 13;
        fillFrom(e);
        runEditor([](QDialog& d) {
            auto* text = at<QPlainTextEdit>(d, "Text1");
            type(text, u"más texto"_s);
            at<QPushButton>(d, "limpiar")->click();
            onNextDialog([](QDialog& chooser) {
                auto* faces = control<QListWidget>(chooser, "List1");
                QCOMPARE(faces->currentItem()->text(), u"Fixedsys"_s);
                faces->setCurrentItem(faces->findItems(u"Courier New"_s, Qt::MatchExactly).value(0));
                control<QListWidget>(chooser, "List2")->setCurrentRow(1);
                control<QListWidget>(chooser, "List3")->setCurrentItem(
                    control<QListWidget>(chooser, "List3")->findItems(u"14"_s, Qt::MatchExactly).value(0));
                control<QPushButton>(chooser, "aceptar")->click();
            });
            at<QPushButton>(d, "cambiar_fuente")->click();
            QCOMPARE(text->font().family(), platform::faceToDraw("Courier New"));
            QCOMPARE(text->font().pointSize(), 14);
            QVERIFY(text->font().bold() && !text->font().italic());
            at<QPushButton>(d, "cancelar")->click();
        });
        const ExchangeFields& x = exchange();
        QCOMPARE(x.descFontName, std::string("Courier New"));
        QCOMPARE(x.descFontSize, std::int16_t(14));
        QCOMPARE(x.descFontBold, kTrue);
        QCOMPARE(x.descFontItalic, kFalse);
        QCOMPARE(x.descText, e.description);
        QCOMPARE(x.descImagePath, e.imagePath);
        QCOMPARE(project().modified, kFalse);

        // A chooser cancelled hands back the font as it normalised it.
        fillFrom(e);
        runEditor([](QDialog& d) {
            onNextDialog([](QDialog& chooser) { control<QPushButton>(chooser, "cancelar")->click(); });
            at<QPushButton>(d, "cambiar_fuente")->click();
            at<QPushButton>(d, "cancelar")->click();
        });
        QCOMPARE(exchange().descFontName, std::string("Fixedsys"));
        QCOMPARE(exchange().descFontSize, std::int16_t(10));
    }

    // A two-line text and a colour chosen in the editor reach the listing file.
    void anEditedDescriptionReachesTheSavedFile() {
        Project& p = project();
        p.elementCount = 1;
        p.elements[0] = described();
        fillFrom(p.elements[0]);
        const QColor chosen(0, 128, 255);
        runEditor([&](QDialog& d) {
            auto* text = at<QPlainTextEdit>(d, "Text1");
            text->clear();
            type(text, u"Primera línea"_s);
            QTest::keyClick(text, Qt::Key_Return);
            type(text, u"segunda"_s);
            onNextDialog([&](QDialog& colours) {
                QCOMPARE(qobject_cast<QColorDialog*>(&colours)->currentColor(), QColor(Qt::red));
                qobject_cast<QColorDialog*>(&colours)->setCurrentColor(chosen);
                colours.accept();
            });
            at<QPushButton>(d, "cambiar_color")->click();
            QCOMPARE(textColour(d), chosen);
            at<QPushButton>(d, "aceptar")->click();
        });
        copyBack(p.elements[0]);
        const QString path = file(u"con_color.lst"_s);
        QVERIFY(platform::guardar_listado(path));

        FileError error;
        const Project saved = parseListing(*readFileBytes(platform::ss(path), &error), Project{}).listing.project;
        QCOMPARE(saved.elements[0].description, std::string("Primera línea\nsegunda"));
        QCOMPARE(saved.elements[0].textColor, 0xFF8000);
    }

    // The colour changes only when one is chosen and accepted: a system colour
    // read from a listing is not turned into the RGB it is drawn in.
    void theTextColourChangesOnlyWhenChosenAndAccepted() {
        Element e = described();
        e.textColor = kWindowBackgroundColor;
        fillFrom(e);
        runEditor([](QDialog& d) { at<QPushButton>(d, "aceptar")->click(); });
        QCOMPARE(exchange().descTextColor, kWindowBackgroundColor);

        runEditor([](QDialog& d) {
            onNextDialog([](QDialog& colours) {
                qobject_cast<QColorDialog*>(&colours)->setCurrentColor(Qt::blue);
                colours.accept();
            });
            at<QPushButton>(d, "cambiar_color")->click();
            QCOMPARE(textColour(d), QColor(Qt::blue));
            at<QPushButton>(d, "cancelar")->click();
        });
        QCOMPARE(exchange().descTextColor, kWindowBackgroundColor);
    }
};

QTEST_MAIN(TestEditarDesc)
#include "tst_editar_desc.moc"
