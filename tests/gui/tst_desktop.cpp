// SPDX-License-Identifier: GPL-2.0-or-later
// The program among the desktop's others: discs opened by their folder,
// listings and files dragged onto its windows, the listings opened last, and
// the answers it gives on a terminal.
#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QUndoStack>
#include <QtTest>
#include <sys/stat.h>
#include <tuple>

#include "discs/open_listing.h"
#include "discs/recent_listings.h"
#include "editor/edit_history.h"
#include "editor/principal.h"
#include "model/file_store.h"
#include "model/listing_writer.h"
#include "model/project.h"
#include "platform/text.h"
#include "startup/inicial.h"
#include "support/dialog_test.h"
#include "support/editor_session.h"
#include "support/fixture_files.h"
#include "support/gui_test.h"
#include "viewer/ejecucion_form.h"

using namespace vitrandel;
using namespace vitrandel_test_support;
using namespace Qt::StringLiterals;
using platform::MessageBoxSeam;
using platform::qs;

namespace {

void writeListing(const QString& path, const char* title) {
    Project p;
    p.title = title;
    writeFile(path, QByteArray::fromStdString(serializeListing(p, ".").bytes));
}

// A drag from a file manager, let go over `over` (a child of `window`), or
// over the window's top left corner.
void drop(QWidget* window, const QStringList& paths, QWidget* over = nullptr) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << QUrl::fromLocalFile(p);
    data.setUrls(urls);
    const QPoint at = over ? over->mapTo(window, over->rect().center()) : QPoint(2, 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &dropped);
}

QStringList elementNames() {
    QStringList names;
    for (int i = 0; i < project().elementCount; ++i)
        names << qs(project().elements[static_cast<std::size_t>(i)].name);
    return names;
}

QString onlyMessage() {
    const auto shown = MessageBoxSeam::takeShown();
    if (shown.size() == 1)
        return shown.first().text;
    QStringList texts;
    for (const auto& m : shown)
        texts << m.text;
    return u"%1 messages: "_s.arg(shown.size()) + texts.join(u" | "_s);
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    CurrentDirRestorer restore_;

    QString at(const QString& relative) const { return dir_.filePath(relative); }

private Q_SLOTS:
    void initTestCase() { startGuiTest(); }
    void init() {
        project() = Project{};
        exchange() = ExchangeFields{};
        discs::RecentListingsSeam::reset();
    }
    void cleanup() { VITRANDEL_VERIFY_NO_UNANSWERED_BOXES(); }

    // A disc's folder opens the listing it means, and never one it does not
    // hold; the folder is anyone's, so links and ".." lead nowhere.
    void aDiscOpensByItsFolder() {
        writeListing(at(u"fuera.lst"_s), "Fuera");
        const auto disc = [this](const QString& name) {
            QDir(dir_.path()).mkdir(name);
            return at(name);
        };
        struct Case {
            const char* name;
            QString folder;
            const char* title; // nullptr: the editor
        };
        QList<Case> cases;

        QString d = disc(u"autorun"_s);
        writeFile(d + u"/autorun.inf"_s, "[autorun]\r\nopen=bin\\visor.exe Datos\\INDICE.lst\r\n");
        writeListing(d + u"/datos/indice.lst"_s, "Por autorun");
        writeListing(d + u"/otro.lst"_s, "Suelto");
        cases.append({"autorun names the listing in another letter case", d, "Por autorun"});

        d = disc(u"autorun-sin-listado"_s);
        writeFile(d + u"/AUTORUN.INF"_s, "[autorun]\nopen=visor.exe notas.lst\n");
        writeFile(d + u"/notas.lst"_s, "Listado de archivos\r\n");
        writeListing(d + u"/uno.lst"_s, "Suelto");
        cases.append({"autorun names a text file: the only listing instead", d, "Suelto"});

        d = disc(u"autorun-afuera"_s);
        writeFile(d + u"/autorun.inf"_s, "[autorun]\r\nopen=v.exe ..\\fuera.lst\r\n");
        cases.append({"autorun names a listing outside the folder", d, nullptr});

        d = disc(u"enlace"_s);
        QVERIFY(QFile::link(at(u"fuera.lst"_s), d + u"/enlace.lst"_s));
        cases.append({"a link to a listing outside the folder", d, nullptr});

        d = disc(u"dos"_s);
        writeListing(d + u"/a.lst"_s, "A");
        writeListing(d + u"/b.lst"_s, "B");
        cases.append({"two listings", d, nullptr});

        d = disc(u"tuberia"_s);
        QCOMPARE(::mkfifo(qPrintable(d + u"/tubo.lst"_s), 0600), 0);
        writeListing(d + u"/uno.lst"_s, "Junto a una tubería");
        cases.append({"a named pipe beside the listing", d, "Junto a una tubería"});

        for (const Case& c : cases) {
            project() = Project{};
            const startup::Started started = startup::Main({c.folder});
            QPointer<QWidget> window = started.window;
            const bool viewer = qobject_cast<ejecucion_form*>(window) != nullptr;
            QVERIFY2(viewer == (c.title != nullptr), c.name);
            if (c.title)
                QVERIFY2(window->windowTitle() == QString::fromUtf8(c.title), c.name);
            if (auto* editor = qobject_cast<principal*>(window))
                editor->setAttribute(Qt::WA_DeleteOnClose, false);
            delete window;
        }
    }

    void listingsAndDiscsDroppedOnTheViewer() {
        writeListing(at(u"visor/primero.lst"_s), "Primero");
        writeListing(at(u"visor/segundo.lst"_s), "Segundo");
        writeListing(at(u"visor/disco/indice.lst"_s), "Del disco");
        writeFile(at(u"visor/notas.txt"_s), "nada\r\n");
        QVERIFY(discs::cargar_listado(at(u"visor/primero.lst"_s)));
        QPointer<ejecucion_form> viewer = new ejecucion_form;
        viewer->show();

        drop(viewer, {at(u"visor/segundo.lst"_s)});
        QCOMPARE(viewer->windowTitle(), u"Segundo"_s);
        drop(viewer, {at(u"visor/disco"_s)});
        QCOMPARE(viewer->windowTitle(), u"Del disco"_s);
        QCOMPARE(QDir::currentPath(), at(u"visor/disco"_s));

        MessageBoxSeam::setNextAnswer(platform::vbOK);
        drop(viewer, {at(u"visor/notas.txt"_s)});
        QVERIFY(onlyMessage().contains(u"no es un listado"_s));
        QCOMPARE(viewer->windowTitle(), u"Del disco"_s);
        delete viewer;
    }

    // Outside the element list a listing opens, after the question about
    // unsaved work; on the list, files become elements as a folder's do.
    void listingsAndFilesDroppedOnTheEditor() {
        EditorSession ed;
        writeListing(ed.at(u"guardado.lst"_s), "Guardado");
        ed.open();
        principal* w = ed.w;
        w->titulo_txt->setText(u"Sin guardar"_s);

        MessageBoxSeam::setNextAnswer(platform::vbCancel);
        drop(w, {ed.at(u"guardado.lst"_s)});
        QVERIFY(onlyMessage().contains(u"modificado"_s));
        QCOMPARE(w->titulo_txt->text(), u"Sin guardar"_s);
        MessageBoxSeam::setNextAnswer(platform::vbNo);
        drop(w, {ed.at(u"guardado.lst"_s)});
        QVERIFY(onlyMessage().contains(u"modificado"_s));
        QCOMPARE(w->titulo_txt->text(), u"Guardado"_s);
        QCOMPARE(project().modified, kFalse);

        writeFile(ed.at(u"fotos/playa.jpg"_s), "");
        writeFile(ed.at(u"fotos/playa.txt"_s), "Arena blanca\n");
        writeFile(ed.at(u"fotos/sol.jpg"_s), "");
        writeFile(ed.at(u"fotos/luna.jpg"_s), "");
        writeFile(ed.at(u"musica/pista2.mp3"_s), "");
        writeFile(ed.at(u"musica/pista10.mp3"_s), "");
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        drop(w, {ed.at(u"fotos/sol.jpg"_s), ed.at(u"fotos/playa.jpg"_s)}, w->listado);
        QCOMPARE(onlyMessage(), u"Se agregaron 2 elementos."_s);
        QCOMPARE(elementNames(), QStringList({u"playa"_s, u"sol"_s}));
        const Element& playa = project().elements[0];
        QCOMPARE(qs(playa.description), u"Arena blanca"_s);
        QCOMPARE(qs(playa.imagePath), u"fotos\\playa.jpg"_s);
        QCOMPARE(entries(w->listado), QStringList({u"playa"_s, u"sol"_s}));
        QCOMPARE(project().modified, kTrue);
        // One drop, one step to undo, as the folder command's.
        w->history().stack()->undo();
        QCOMPARE(project().elementCount, 0);
        w->history().stack()->redo();
        QCOMPARE(elementNames(), QStringList({u"playa"_s, u"sol"_s}));

        // A folder alone is taken as "Agregar desde carpeta" takes it.
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        drop(w, {ed.at(u"musica"_s)}, w->listado);
        QCOMPARE(onlyMessage(), u"Se agregaron 2 elementos."_s);
        QCOMPARE(elementNames(), QStringList({u"playa"_s, u"sol"_s, u"pista2"_s, u"pista10"_s}));

        // The same rules: the same name is not added twice, and nothing
        // outside the working folder can be named by the listing.
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        drop(w, {ed.at(u"fotos/sol.jpg"_s), ed.at(u"fotos/luna.jpg"_s)}, w->listado);
        QCOMPARE(onlyMessage(), u"Se agregó 1 elemento.\n\nYa se encontraban y no se agregaron: sol."_s);
        writeFile(at(u"afuera.jpg"_s), "");
        MessageBoxSeam::setNextAnswer(platform::vbOK);
        drop(w, {at(u"afuera.jpg"_s)}, w->listado);
        QVERIFY(onlyMessage().contains(u"dentro del directorio de trabajo"_s));
        QCOMPARE(project().elementCount, 5);
    }

    void theListingsOpenedLast() {
        EditorSession ed;
        for (int i = 1; i <= 11; ++i)
            writeListing(ed.at(u"l%1.lst"_s.arg(i)), qPrintable(u"Listado %1"_s.arg(i)));
        writeFile(ed.at(u"notas.lst"_s), "nada\r\n");
        for (int i = 1; i <= 11; ++i)
            QVERIFY(discs::cargar_listado(ed.at(u"l%1.lst"_s.arg(i))));
        QVERIFY(discs::cargar_listado(ed.at(u"l10.lst"_s)));
        QVERIFY(discs::cargar_listado(ed.at(u"notas.lst"_s))); // read, but no listing
        QVERIFY(QFile::remove(ed.at(u"l11.lst"_s)));

        ed.open();
        principal* w = ed.w;
        w->titulo_txt->setText(u"Sin guardar"_s);
        w->menu_archivo_Click();
        QStringList shown;
        for (QAction* a : w->archivo_recientes->actions())
            shown << (a->isEnabled() ? u""_s : u"-"_s) + a->text();
        const QString path = QDir::toNativeSeparators(ed.path()) + QDir::separator();
        QStringList expected{u"&1 %1l10.lst"_s.arg(path), u"-&2 %1l11.lst (no disponible)"_s.arg(path)};
        for (int i = 9; i >= 3; --i)
            expected << u"&%1 %2l%3.lst"_s.arg(12 - i).arg(path).arg(i);
        expected << u"1&0 %1l2.lst"_s.arg(path);
        QCOMPARE(shown, expected);

        QAction* fourth = w->archivo_recientes->actions().at(3);
        MessageBoxSeam::setNextAnswer(platform::vbCancel);
        fourth->trigger();
        QCOMPARE(w->titulo_txt->text(), u"Sin guardar"_s);
        MessageBoxSeam::setNextAnswer(platform::vbNo);
        fourth->trigger();
        QCOMPARE(w->titulo_txt->text(), u"Listado 8"_s);
        QCOMPARE(discs::recentListings().first(), ed.at(u"l8.lst"_s));
        QCOMPARE(MessageBoxSeam::takeShown().size(), 2);
    }

    // Answered from the terminal: no display is needed, none is opened.
    void helpAndVersionOnTheTerminal() {
        for (const auto& [argument, locale, start] :
             {std::tuple{"--version", "C.UTF-8", "vitrandel " VITRANDEL_VERSION "\n"},
              std::tuple{"--help", "C.UTF-8", "Usage: vitrandel [LISTING.lst | FOLDER]\n"},
              std::tuple{"--help", "es_AR.UTF-8", "Uso: vitrandel [LISTADO.lst | CARPETA]\n"}}) {
            QProcess program;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL", "LC_MESSAGES"})
                env.remove(QLatin1String(name));
            env.insert(u"LANG"_s, QLatin1String(locale));
            program.setProcessEnvironment(env);
            program.start(QStringLiteral(VITRANDEL_PATH), {QLatin1String(argument)});
            QVERIFY(program.waitForFinished(30000));
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 0);
            QVERIFY2(program.readAllStandardOutput().startsWith(start), argument);
            QCOMPARE(program.readAllStandardError(), QByteArray());
        }
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
