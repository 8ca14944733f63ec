// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "dialogs/folder_list.h"
#include "editor/principal.h"
#include "model/project.h"
#include "platform/text.h"
#include "support/dialog_test.h"
#include "support/editor_session.h"
#include "support/fixture_files.h"
#include "support/gui_test.h"

using namespace vitrandel;
using namespace vitrandel_test_support;
using namespace Qt::StringLiterals;
using platform::MessageBoxSeam;
using platform::qs;

namespace {

// Opens each folder in turn by double-clicking it, as a user does, then accepts.
void chooseFolder(const QStringList& steps) {
    onNextDialog([=](QDialog& d) {
        QCOMPARE(d.objectName(), u"elegir_carpeta"_s);
        auto* list = control<FolderList>(d, "Dir1");
        for (const QString& step : steps) {
            const auto found = list->findItems(step, Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            doubleClick(list, list->indexFromItem(found.first()));
        }
        QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton);
    });
}

// Runs the command and answers its one message, which it gives back.
platform::ShownMessage fillFrom(principal* w, const QStringList& steps) {
    chooseFolder(steps);
    MessageBoxSeam::setNextAnswer(platform::vbOK);
    w->findChild<QAction*>(u"proyecto_agregar_carpeta"_s)->trigger();
    const auto shown = MessageBoxSeam::takeShown();
    return shown.size() == 1 ? shown.first() : platform::ShownMessage{u"no single message"_s};
}

QStringList elementsInUse() {
    QStringList out;
    for (int i = 0; i < project().elementCount; ++i) {
        const Element& e = project().elements[static_cast<std::size_t>(i)];
        out << qs(e.name) + u':' + QString::number(e.category);
    }
    return out;
}

const Element* element(const QString& name) {
    for (int i = 0; i < project().elementCount; ++i)
        if (qs(project().elements[static_cast<std::size_t>(i)].name) == name)
            return &project().elements[static_cast<std::size_t>(i)];
    return nullptr;
}

} // namespace

class TestAgregarCarpeta : public QObject {
    Q_OBJECT
    EditorSession ed_;

    QString at(const QString& relative) const { return ed_.at(relative); }

    void open(const Project& p = Project{}) { ed_.open(p); }

private Q_SLOTS:
    void initTestCase() { startGuiTest(); }
    void init() { exchange() = ExchangeFields{}; }
    void cleanup() {
        ed_.close();
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }

    // A collector fills a listing from a folder of records: texts in either
    // encoding, a descript.ion, a folder note, pictures, a name already there.
    void fillingAListingFromAFolder() {
        QImage red(6, 4, QImage::Format_RGB32);
        red.fill(Qt::red);
        writeFile(at(u"discos/Léeme.txt"_s),
                  "\xEF\xBB\xBFPrimera línea\r\n\tSegunda línea\r\n\r\n"_ba);
        writeFile(at(u"discos/notas.txt"_s), "Canci\xF3n de cuna\r\n"_ba);
        writeFile(at(u"discos/pista10.mp3"_s), {});
        writeFile(at(u"discos/pista2.mp3"_s), {});
        writeFile(at(u"discos/DESCRIPT.ION"_s),
                  "\"pista10.mp3\" \xDAltimo tema\r\npista2.mp3 Segundo tema\x04\xC2 datos\r\n"_ba);
        writeFile(at(u"discos/fotos/gato.bmp"_s), {});
        writeFile(at(u"discos/fotos/playa.txt"_s), "Arena y mar"_ba);
        QVERIFY(red.save(at(u"discos/fotos/playa.bmp"_s)));
        writeFile(at(u"discos/Música/tango.mp3"_s), {});
        writeFile(at(u"discos/Música/日本.bmp"_s), {});
        writeFile(at(u"discos/Música/file_id.diz"_s), "Colecci\xF3n de tangos\r\n"_ba);
        QVERIFY(QDir().mkpath(at(u"discos/vacía"_s)));

        Project start;
        start.categories[0] = "FOTOS";
        start.categories[1] = "Varios";
        start.categoryCount = 2;
        start.elements[0] = newElement("GATO", 1);
        start.elementCount = 1;
        open(start);
        chooseWithKeys(ed_.w->categorias, 2); // the author is looking at "Varios"

        const auto message = fillFrom(ed_.w, {u"discos"_s});
        QCOMPARE(message.text, u"Se agregaron 7 elementos y 1 categoría nueva.\n\n"
                               u"Ya se encontraban y no se agregaron: gato.\n\n"
                               u"Los caracteres que el listado no puede guardar se cambiaron por "
                               u"«?» en: ??.\n\n"
                               u"Quedaron sin imagen, porque el listado no puede guardar el "
                               u"nombre de su archivo: ??."_s);
        QCOMPARE(message.style, int(platform::vbExclamation));

        // The folder's own files land in the category on show; its subfolders
        // are categories, matched without regard to case; the empty one adds none.
        QCOMPARE(elementsInUse(),
                 (QStringList{u"GATO:1"_s, u"Léeme:2"_s, u"notas:2"_s, u"pista2:2"_s,
                              u"pista10:2"_s, u"playa:1"_s, u"tango:3"_s, u"??:3"_s}));
        QCOMPARE(project().categoryCount, std::int16_t(3));
        QCOMPARE(qs(project().categories[2]), u"Música"_s);
        QCOMPARE(entries(ed_.w->listado),
                 (QStringList{u"Léeme"_s, u"notas"_s, u"pista2"_s, u"pista10"_s}));
        QVERIFY(isTrue(project().modified));

        QCOMPARE(qs(element(u"Léeme"_s)->description), u"Primera línea\n        Segunda línea"_s);
        QCOMPARE(qs(element(u"notas"_s)->description), u"Canción de cuna"_s);
        QCOMPARE(qs(element(u"pista10"_s)->description), u"Último tema"_s);
        QCOMPARE(qs(element(u"pista2"_s)->description), u"Segundo tema"_s);
        QCOMPARE(qs(element(u"tango"_s)->description), u"Colección de tangos"_s);
        const Element& playa = *element(u"playa"_s);
        QCOMPARE(qs(playa.description), u"Arena y mar"_s);
        QCOMPARE(qs(playa.imagePath), u"discos\\fotos\\playa.bmp"_s);
        QCOMPARE(playa.fitImage, kTrue);
        QCOMPARE(element(u"Léeme"_s)->imagePath, std::string());
        QCOMPARE(element(u"??"_s)->imagePath, std::string());

        // What was added survives the file.
        const Project made = project();
        onNextDialog([](QDialog& d) {
            control<QLineEdit>(d, "Text1")->insert(u"discos.lst"_s);
            QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton);
        });
        ed_.w->archivo_guardar_como_Click();
        QVERIFY(!isTrue(project().modified));
        ed_.w->archivo_nuevo_Click();
        onNextDialog([](QDialog& d) {
            control<QLineEdit>(d, "Text1")->insert(u"discos.lst"_s);
            QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton);
        });
        ed_.w->archivo_abrir_Click();
        QCOMPARE(project().elementCount, made.elementCount);
        QCOMPARE(project().categories, made.categories);
        for (std::size_t i = 0; i < 8; ++i)
            QCOMPARE(project().elements[i], made.elements[i]);
    }

    // A folder outside the working folder is refused; a nearly full listing
    // takes what fits and says how many went in.
    void limits() {
        QTemporaryDir elsewhere;
        writeFile(elsewhere.filePath(u"fuera.txt"_s), "x");
        Project start;
        for (int i = 0; i < kMaxCategories - 1; ++i)
            start.categories[static_cast<std::size_t>(i)] = "c" + std::to_string(i);
        start.categoryCount = kMaxCategories - 1;
        for (int i = 0; i < kMaxElements - 6; ++i)
            start.elements[static_cast<std::size_t>(i)] = newElement("e" + std::to_string(i), 0);
        start.elementCount = kMaxElements - 6;
        open(start);

        onNextDialog([&](QDialog& d) {
            QVERIFY(control<FolderList>(d, "Dir1")->setPath(elsewhere.path()));
            QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton);
        });
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        ed_.w->proyecto_agregar_carpeta_Click();
        QVERIFY(MessageBoxSeam::takeShown().value(0).text.startsWith(
            u"La carpeta debe estar dentro del directorio de trabajo"_s));
        QCOMPARE(project().elementCount, std::int16_t(kMaxElements - 6));
        QVERIFY(!isTrue(project().modified));

        for (const char* file : {"a/1.mp3", "a/2.mp3", "a/3.mp3", "b/1b.mp3", "b/2b.mp3",
                                 "b/3b.mp3", "c/1c.mp3", "c/2c.mp3"})
            writeFile(at(u"lleno/"_s + QLatin1String(file)), {});
        const auto message = fillFrom(ed_.w, {u"lleno"_s});
        QCOMPARE(message.text,
                 u"Un listado admite como máximo 256 elementos: se agregaron 6 y quedaron 2 sin "
                 u"agregar.\n\n"
                 u"No queda lugar para más categorías (51 como máximo); los elementos de estas "
                 u"carpetas quedaron sin categoría: b."_s);
        QCOMPARE(project().elementCount, std::int16_t(kMaxElements));
        QCOMPARE(elementsInUse().mid(kMaxElements - 6),
                 (QStringList{u"1:51"_s, u"2:51"_s, u"3:51"_s, u"1b:0"_s, u"2b:0"_s, u"3b:0"_s}));
        QCOMPARE(qs(project().categories[50]), u"a"_s);

        MessageBoxSeam::setNextAnswer(platform::vbOK);
        ed_.w->proyecto_agregar_carpeta_Click(); // full: no chooser
        QVERIFY(MessageBoxSeam::takeShown().value(0).text.startsWith(
            u"Un listado admite como máximo 256 elementos. Elimine"_s));
    }
};

QTEST_MAIN(TestAgregarCarpeta)
#include "tst_agregar_carpeta.moc"
