// SPDX-License-Identifier: GPL-2.0-or-later
// Random user actions on the real editor and every dialog it opens, with the
// program's invariants checked after each one. The run is reproducible from its
// seed: VITRANDEL_MONKEY_SEED (printed at the start) and VITRANDEL_MONKEY_ACTIONS;
// VITRANDEL_MONKEY_TRACE=1 prints every action as it happens (for a crash).
#include <QAction>
#include <QPrintDialog>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <cstdio>
#include <deque>

#include "editor/principal.h"
#include "model/file_store.h"
#include "model/listing_reader.h"
#include "model/listing_writer.h"
#include "model/project.h"
#include "platform/text.h"
#include "support/dialog_test.h"
#include "support/gui_test.h"
#include "viewer/description_view.h"

using namespace vitrandel;
using namespace vitrandel_test_support;
using platform::MessageBoxSeam;
using platform::ModalSeam;
using platform::qs;
using platform::ss;

namespace {

constexpr quint32 kDefaultSeed = 20240611;
constexpr int kDefaultActions = 8000;
constexpr int kRememberedActions = 30;

// What users type: plain, accented, outside Windows-1252, blanks.
const char* const kTexts[] = {"a", "Foto", "ñandú", "Peñafiel", "中文", "x y", "Ω", "😀",
                              "€", "  ", "ABC", "fotos", "[fin]", "nombre=z"};
// Names typed into the file dialog; "fotos" enters that folder, and the
// monkey's own folder, typed whole, leads back.
const char* const kFileNames[] = {"uno", "dos.lst", "TRES.LST", "muestra.lst", "malo.lst",
                                  "lleno.lst", "cuatro.txt", "fotos", "ñandú.lst", "中文.lst", ""};

int envInt(const char* name, int fallback) {
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok ? v : fallback;
}

// The Project as a saved file holds it: reading normalises sizes and colours.
QString differenceFromFile(Project memory, const Project& file) {
    normaliseElements(memory);
    auto differ = [](const char* what, const std::string& a, const std::string& b) {
        return QStringLiteral("%1: memory «%2», file «%3»").arg(QLatin1String(what), qs(a), qs(b));
    };
    if (memory.title != file.title)
        return differ("title", memory.title, file.title);
    if (memory.password != file.password)
        return differ("password", memory.password, file.password);
    if (memory.passwordEnabled != file.passwordEnabled || memory.locked != file.locked ||
        memory.useCurrentDir != file.useCurrentDir)
        return QStringLiteral("flags differ");
    if (memory.categoryCount != file.categoryCount)
        return QStringLiteral("category count %1 vs %2").arg(memory.categoryCount).arg(file.categoryCount);
    for (int i = 0; i < memory.categoryCount; ++i)
        if (memory.categories[std::size_t(i)] != file.categories[std::size_t(i)])
            return differ("category", memory.categories[std::size_t(i)], file.categories[std::size_t(i)]);
    if (memory.elementCount != file.elementCount)
        return QStringLiteral("element count %1 vs %2").arg(memory.elementCount).arg(file.elementCount);
    for (int i = 0; i < memory.elementCount; ++i) {
        const Element& m = memory.elements[std::size_t(i)];
        const Element& f = file.elements[std::size_t(i)];
        if (!(m == f)) {
            const QString which = QStringLiteral("element %1 («%2») ").arg(i).arg(qs(m.name));
            if (m.description != f.description)
                return which + differ("description", m.description, f.description);
            if (m.imagePath != f.imagePath)
                return which + differ("picture", m.imagePath, f.imagePath);
            if (m.fontName != f.fontName)
                return which + differ("face", m.fontName, f.fontName);
            return which + QStringLiteral("differs: fit %1/%2, category %3/%4, size %5/%6, style %7/%8, colour %9/%10")
                               .arg(m.fitImage).arg(f.fitImage).arg(m.category).arg(f.category)
                               .arg(m.fontSize).arg(f.fontSize).arg(styleCode(m)).arg(styleCode(f))
                               .arg(m.textColor).arg(f.textColor);
        }
    }
    return {};
}

} // namespace

class Monkey {
public:
    Monkey(quint32 seed, const QString& root) : rng_(seed), root_(root) {}

    QPointer<principal> editor;

    void log(const QString& what) {
        const QString line = QString(depth_ * 2, QLatin1Char(' ')) + what;
        if (trace_)
            std::fprintf(stderr, "monkey: %s\n", qPrintable(line));
        recent_.push_back(line);
        if (recent_.size() > kRememberedActions)
            recent_.pop_front();
    }

    QString recentActions() const {
        QStringList lines(recent_.begin(), recent_.end());
        return lines.join(QLatin1Char('\n'));
    }

    // One top-level action on the editor, as a user does it.
    void act() {
        topUpAnswers();
        const int roll = pick(100);
        if (roll < 58)
            controlAction(editor->centralWidget(), {});
        else if (roll < 70)
            pickElement();
        else if (roll < 78)
            filterAction();
        else if (roll < 98)
            menuAction();
        else {
            log(QStringLiteral("close the editor"));
            editor->close();
        }
    }

    // The editor ends itself on Exit and on Run (which opens the viewer, and
    // the viewer opens nothing): the user starts the program again, afresh.
    void reviveEditor() {
        if (editor && editor->isVisible())
            return;
        delete editor.data();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("ejecucion_form"))
                delete top;
        log(QStringLiteral("start the program again"));
        project() = Project{};
        exchange() = ExchangeFields{};
        staleEntries.clear();
        QDir::setCurrent(root_);
        topUpAnswers();
        editor = new principal;
        editor->show();
    }

    // Every modal window gets this: a few random actions, then an answer.
    void handleDialog(QDialog& dialog) {
        // A dialog opened from this one gets its own turn.
        ModalSeam::setNextHandler([this](QDialog& d) { handleDialog(d); });
        QPointer<QDialog> d(&dialog);
        const QString name = dialog.objectName();
        log(QStringLiteral("dialog %1 «%2»").arg(name, dialog.windowTitle()));
        ++depth_;
        // The print preview's own page set-up, and a real print, would go
        // round the seam: print dialogs are looked at and closed.
        if (name == QLatin1String("vista_previa") || qobject_cast<QPrintDialog*>(&dialog)) {
            log(QStringLiteral("close print dialog"));
            dialog.reject();
        } else if (auto* colors = qobject_cast<QColorDialog*>(&dialog)) {
            const QColor chosen = QColor::fromRgb(rng_.generate() & 0xFFFFFF);
            log(QStringLiteral("choose colour %1").arg(chosen.name()));
            colors->setCurrentColor(chosen);
        } else {
            const bool brief = name == QLatin1String("fuentes");
            const int steps = pick(brief ? 3 : 7);
            for (int i = 0; i < steps && d && d->isVisible(); ++i) {
                topUpAnswers();
                if (name == QLatin1String("com_dlg") && pick(3) == 0)
                    typeFileName(*d);
                else if (name == QLatin1String("preguntar_password") && pick(2) == 0)
                    typeInto(control<QLineEdit>(*d, "Text1"), qs(project().password));
                else
                    // The folder and drive lists could lead anywhere on the
                    // machine; the monkey stays in its temporary folder.
                    controlAction(d, {QStringLiteral("Dir1"), QStringLiteral("Drive1")});
            }
        }
        topUpAnswers();
        if (d && d->isVisible())
            answerDialog(*d);
        if (d && d->isVisible()) {
            log(QStringLiteral("close box"));
            d->reject();
        }
        --depth_;
    }

    void topUpAnswers() {
        // Every box gets a random answer; one left over is no fault here.
        static const int answers[] = {platform::vbYes, platform::vbYes, platform::vbNo,
                                      platform::vbCancel, platform::vbOK};
        for (int i = 0; i < 3; ++i)
            MessageBoxSeam::setNextAnswer(answers[pick(5)]);
        for (const platform::ShownMessage& m : MessageBoxSeam::takeShown())
            log(QStringLiteral("message box: %1").arg(m.text.left(80).replace(QLatin1Char('\n'), QLatin1Char(' '))));
    }

    int pick(int n) { return int(rng_.bounded(quint32(n))); }

private:
    void answerDialog(QDialog& d) {
        static const char* const accepting[] = {"aceptar", "salir"};
        static const char* const cancelling[] = {"cancelar", "Cancelar", "dejar"};
        const int roll = pick(10);
        if (roll < 6) {
            for (const char* n : accepting)
                if (auto* b = control<QPushButton>(d, n); b && b->isEnabled()) {
                    log(QStringLiteral("click %1").arg(QLatin1String(n)));
                    QTest::mouseClick(b, Qt::LeftButton);
                    return;
                }
            if (auto* colors = qobject_cast<QColorDialog*>(&d)) {
                log(QStringLiteral("accept colour"));
                colors->accept();
            }
        } else if (roll < 9) {
            for (const char* n : cancelling)
                if (auto* b = control<QPushButton>(d, n); b && b->isEnabled()) {
                    log(QStringLiteral("click %1").arg(QLatin1String(n)));
                    QTest::mouseClick(b, Qt::LeftButton);
                    return;
                }
        } else {
            log(QStringLiteral("Escape"));
            QTest::keyClick(&d, Qt::Key_Escape);
        }
    }

    void typeFileName(QDialog& d) {
        QString name = QString::fromUtf8(kFileNames[pick(std::size(kFileNames))]);
        if (pick(8) == 0)
            name = root_;
        auto* text = control<QLineEdit>(d, "Text1");
        log(QStringLiteral("file name «%1»").arg(name));
        text->setText(name);
        if (pick(2) == 0) {
            log(QStringLiteral("click aceptar"));
            QTest::mouseClick(control<QPushButton>(d, "aceptar"), Qt::LeftButton);
        }
    }

    void menuAction() {
        principal& w = *editor;
        // Commands that end the listing in memory come less often, so that
        // listings grow and their descriptions get edited.
        QAction* const actions[] = {w.archivo_guardar,      w.archivo_guardar,   w.archivo_guardar,
                                    w.archivo_guardar_como, w.archivo_guardar_como,
                                    w.archivo_abrir,        w.archivo_abrir,     w.proyecto_opciones,
                                    w.proyecto_opciones,    w.proyecto_curdir,   w.ayuda_acerca,
                                    w.archivo_nuevo,        w.archivo_salir,     w.proyecto_ejecutar,
                                    w.proyecto_buscar,      w.proyecto_agregar_carpeta,
                                    w.archivo_exportar_web, w.archivo_imprimir};
        QAction* a = actions[pick(std::size(actions))];
        // Opening the menu updates which of its items can be chosen.
        for (QMenu* menu : {w.menu_archivo, w.menu_proyecto, w.menu_ayuda})
            if (menu->actions().contains(a))
                Q_EMIT menu->aboutToShow();
        if (!a->isEnabled()) {
            log(QStringLiteral("menu %1 (greyed)").arg(a->objectName()));
            return;
        }
        log(QStringLiteral("menu %1").arg(a->objectName()));
        a->trigger();
    }

    void pickElement() {
        QListWidget* list = editor->listado;
        if (list->count() == 0)
            return;
        const int row = pick(list->count());
        QListWidgetItem* item = list->item(row);
        list->scrollToItem(item);
        log(QStringLiteral("pick element row %1 «%2»").arg(row).arg(item->text()));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    }

    void filterAction() {
        QComboBox* combo = editor->categorias;
        const int to = pick(combo->count());
        log(QStringLiteral("filter %1 «%2»").arg(to).arg(combo->itemText(to)));
        combo->setCurrentIndex(to);
    }

    QList<QWidget*> controlsOf(QWidget* root, const QStringList& skip) const {
        QList<QWidget*> found;
        for (QWidget* w : root->findChildren<QWidget*>()) {
            const QString name = w->objectName();
            if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || skip.contains(name))
                continue;
            if (!w->isVisibleTo(root) || !w->isEnabled())
                continue;
            if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QListWidget*>(w) ||
                qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w) ||
                qobject_cast<QPlainTextEdit*>(w))
                found.append(w);
        }
        return found;
    }

    void controlAction(QWidget* root, const QStringList& skip) {
        const QList<QWidget*> controls = controlsOf(root, skip);
        if (controls.isEmpty())
            return;
        QWidget* w = controls[pick(int(controls.size()))];
        const QString name = w->objectName();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (button == editor->cambiar_cat)
                noteStaleEntry();
            log(QStringLiteral("click %1").arg(name));
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            if (list->count() == 0)
                return;
            const int row = pick(list->count());
            QListWidgetItem* item = list->item(row);
            list->scrollToItem(item);
            const bool twice = pick(5) == 0;
            log(QStringLiteral("%1 %2 row %3 «%4»")
                    .arg(twice ? QStringLiteral("double-click") : QStringLiteral("click"), name)
                    .arg(row)
                    .arg(item->text()));
            if (twice)
                doubleClick(list, list->indexFromItem(item));
            else
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(item).center());
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            const int to = pick(qMax(1, combo->count()));
            log(QStringLiteral("choose %1 entry %2").arg(name).arg(to));
            chooseWithKeys(combo, to);
        } else {
            typeInto(w, {});
        }
    }

    // Random text, keys or a line break into a text box.
    void typeInto(QWidget* box, const QString& given) {
        const QString name = box->objectName();
        const int roll = given.isNull() ? pick(10) : 0;
        if (roll < 6) {
            const QString text = given.isNull() ? QString::fromUtf8(kTexts[pick(std::size(kTexts))]) : given;
            if (pick(3) == 0) {
                log(QStringLiteral("select all in %1").arg(name));
                QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            }
            log(QStringLiteral("type «%1» into %2").arg(text, name));
            typeText(box, text);
        } else if (roll < 8) {
            log(QStringLiteral("Backspace in %1").arg(name));
            QTest::keyClick(box, Qt::Key_Backspace);
        } else {
            log(QStringLiteral("Return in %1").arg(name));
            QTest::keyClick(box, Qt::Key_Return);
        }
    }

    // Letters come as keys; what a keyboard has no key for comes from the
    // input method, as it does for a user.
    static void typeText(QWidget* box, const QString& text) {
        for (const QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClicks(box, QString(c));
            } else if (!c.isLowSurrogate()) {
                QString piece(c);
                if (c.isHighSurrogate())
                    piece = text.mid(text.indexOf(c), 2);
                QInputMethodEvent commit;
                commit.setCommitString(piece);
                QApplication::sendEvent(box, &commit);
            }
        }
    }

    // Changing an element's category leaves its entry where it was until the
    // list is next rebuilt.
    void noteStaleEntry() {
        const QList<QListWidgetItem*> selected = editor->listado->selectedItems();
        if (selected.size() == 1)
            staleEntries.insert(selected.first());
    }

public:
    QSet<const QListWidgetItem*> staleEntries;

private:
    QRandomGenerator rng_;
    QString root_;
    std::deque<QString> recent_;
    int depth_ = 0;
    bool trace_ = qEnvironmentVariable("VITRANDEL_MONKEY_TRACE") == QLatin1String("1");
};

class TestMonkey : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    std::unique_ptr<CurrentDirRestorer> restore_;

    void makeFixtures() {
        const QDir root(dir_.path());
        QVERIFY(root.mkpath(QStringLiteral("fotos")));
        QVERIFY(root.mkpath(QStringLiteral("vacia")));
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QVERIFY(picture.save(root.filePath(QStringLiteral("fotos/playa.jpg"))));
        QVERIFY(picture.save(root.filePath(QStringLiteral("mapa.bmp"))));
        QFile broken(root.filePath(QStringLiteral("roto.gif")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("GIF89a\x10\x00");
        broken.close();

        Project sample;
        sample.title = "Muestra";
        sample.categoryCount = 2;
        sample.categories[0] = "Fotos";
        sample.categories[1] = "Música";
        sample.elementCount = 3;
        sample.elements[0] = Element{.name = "playa", .description = "Verano\nen la costa",
                                     .imagePath = "fotos\\playa.jpg", .category = 1,
                                     .fontName = "Arial", .fontSize = 12};
        sample.elements[1] = Element{.name = "tango", .category = 2, .fontName = "Arial", .fontSize = 10};
        sample.elements[2] = Element{.name = "perdido", .category = 9, .fontName = "Arial", .fontSize = 10};
        FileError e;
        QVERIFY(writeFileAtomically(ss(root.filePath(QStringLiteral("muestra.lst"))),
                                    serializeListing(sample, ".").bytes, &e));
        QVERIFY(writeFileAtomically(ss(root.filePath(QStringLiteral("malo.lst"))), "\x01\x02garbage", &e));

        // One short of both tables, so that the monkey reaches their limits.
        Project full;
        full.categoryCount = kMaxCategories - 1;
        for (int i = 0; i < full.categoryCount; ++i)
            full.categories[std::size_t(i)] = "c" + std::to_string(i);
        full.elementCount = kMaxElements - 1;
        for (int i = 0; i < full.elementCount; ++i)
            full.elements[std::size_t(i)] = Element{.name = "e" + std::to_string(i),
                                                    .description = i % 2 ? "texto" : "",
                                                    .category = std::int16_t(i % 53),
                                                    .fontName = "Arial", .fontSize = 10};
        QVERIFY(writeFileAtomically(ss(root.filePath(QStringLiteral("lleno.lst"))),
                                    serializeListing(full, ".").bytes, &e));
    }

    // Content hash of every listing under the temporary folder.
    QHash<QString, QByteArray> listingFiles() const {
        QHash<QString, QByteArray> files;
        QDirIterator it(dir_.path(), {QStringLiteral("*.lst"), QStringLiteral("*.LST")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            if (f.open(QIODevice::ReadOnly))
                files.insert(f.fileName(), QCryptographicHash::hash(f.readAll(), QCryptographicHash::Md5));
        }
        return files;
    }

    // Empty when all is well, else what is wrong.
    QString brokenInvariant(Monkey& m, const Project& before,
                            const QHash<QString, QByteArray>& filesBefore) const {
        const Project& p = project();
        if (p.categoryCount < 0 || p.categoryCount > kMaxCategories)
            return QStringLiteral("category count %1").arg(p.categoryCount);
        if (p.elementCount < 0 || p.elementCount > kMaxElements)
            return QStringLiteral("element count %1").arg(p.elementCount);
        if (MessageBoxSeam::unansweredCount() != 0)
            return QStringLiteral("a message box was left unanswered");
        if (ModalSeam::unexpectedCount() != 0)
            return QStringLiteral("a modal window nobody handled");
        if (!QDir::currentPath().startsWith(dir_.path()))
            return QStringLiteral("working folder left the test's folder: %1").arg(QDir::currentPath());

        principal& w = *m.editor;
        if (w.titulo_txt->text() != qs(p.title))
            return QStringLiteral("title box «%1», Project «%2»").arg(w.titulo_txt->text(), qs(p.title));
        if (w.categorias->count() != p.categoryCount + 1)
            return QStringLiteral("filter offers %1 entries for %2 categories")
                .arg(w.categorias->count())
                .arg(p.categoryCount);
        for (int i = 0; i < p.categoryCount; ++i)
            if (w.categorias->itemText(i + 1) != qs(p.categories[std::size_t(i)]))
                return QStringLiteral("filter entry %1 is «%2»").arg(i + 1).arg(w.categorias->itemText(i + 1));
        const int filter = w.categorias->currentIndex();
        QSet<int> listed;
        for (int row = 0; row < w.listado->count(); ++row) {
            const QListWidgetItem* entry = w.listado->item(row);
            const int at = elementPosition(entry);
            if (at < 0)
                return QStringLiteral("entry «%1» names no element").arg(entry->text());
            if (listed.contains(at))
                return QStringLiteral("element %1 listed twice").arg(at);
            listed.insert(at);
            const int category = p.elements[std::size_t(at)].category;
            if (filter != 0 && category != filter && !m.staleEntries.contains(entry))
                return QStringLiteral("entry «%1» of category %2 under filter %3")
                    .arg(entry->text())
                    .arg(category)
                    .arg(filter);
        }

        const QHash<QString, QByteArray> filesNow = listingFiles();
        for (auto it = filesNow.cbegin(); it != filesNow.cend(); ++it) {
            if (filesBefore.value(it.key()) == it.value())
                continue;
            FileError e;
            const auto bytes = readFileBytes(ss(it.key()), &e);
            if (!bytes)
                return QStringLiteral("saved file %1 cannot be read").arg(it.key());
            ParseOutcome read = parseListing(*bytes, Project{});
            if (read.error)
                return QStringLiteral("saved file %1 does not read back").arg(it.key());
            normaliseElements(read.listing.project);
            // Saving happens before a command replaces the Project (New, Open).
            const QString difference = differenceFromFile(before, read.listing.project);
            if (!difference.isEmpty())
                return QStringLiteral("saved file %1: %2").arg(it.key(), difference);
            m.log(QStringLiteral("saved file %1 reads back as the Project").arg(QFileInfo(it.key()).fileName()));
        }
        return {};
    }

private Q_SLOTS:
    void initTestCase() {
        startGuiTest();
        restore_ = std::make_unique<CurrentDirRestorer>();
        QApplication::setQuitOnLastWindowClosed(false);
        makeFixtures();
    }
    void cleanup() {
        // Menus are windows of their own, deleted with the window they belong to.
        QList<QPointer<QWidget>> windows;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (!top->parentWidget())
                windows.append(top);
        for (const QPointer<QWidget>& w : windows)
            delete w.data();
        MessageBoxSeam::reset();
        ModalSeam::reset();
    }
    void cleanupTestCase() { restore_.reset(); }

    void randomActionsKeepTheEditorSound() {
        const quint32 seed = quint32(envInt("VITRANDEL_MONKEY_SEED", int(kDefaultSeed)));
        const int actions = envInt("VITRANDEL_MONKEY_ACTIONS", kDefaultActions);
        qInfo("monkey: seed %u, %d actions (VITRANDEL_MONKEY_SEED, VITRANDEL_MONKEY_ACTIONS)", seed, actions);
        project() = Project{};
        exchange() = ExchangeFields{};
        QDir::setCurrent(dir_.path());

        Monkey m(seed, dir_.path());
        ModalSeam::setNextHandler([&m](QDialog& d) { m.handleDialog(d); });
        m.reviveEditor();
        for (int i = 0; i < actions; ++i) {
            const Project before = project();
            const auto filesBefore = listingFiles();
            m.log(QStringLiteral("-- action %1").arg(i));
            m.act();
            m.topUpAnswers();
            m.reviveEditor();
            const QString broken = brokenInvariant(m, before, filesBefore);
            if (!broken.isEmpty()) {
                const QString report = QStringLiteral("%1\nseed %2, action %3; the last actions:\n%4")
                                           .arg(broken)
                                           .arg(seed)
                                           .arg(i)
                                           .arg(m.recentActions());
                QFAIL(qPrintable(report));
            }
        }
        // Nothing the monkey did may be left to ask when the editor goes.
        m.editor->setAttribute(Qt::WA_DeleteOnClose, false);
    }
};

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
