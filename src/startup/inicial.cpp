// SPDX-License-Identifier: GPL-2.0-or-later
#include "startup/inicial.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>

#include "discs/open_listing.h"
#include "editor/principal.h"
#include "model/project.h"
#include "platform/disc_folder.h"
#include "platform/file_helpers.h"
#include "platform/volumes.h"
#include "viewer/ejecucion_form.h"

namespace vitrandel::startup {
namespace {

class FirstPaintWatcher : public QObject {
public:
    FirstPaintWatcher(QWidget* window, std::function<void()> action)
        : QObject(window), window_(window), action_(std::move(action)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_) {
            qApp->removeEventFilter(this);
            // After the paint that is under way, so that it reaches the screen first.
            QTimer::singleShot(0, this, [this] {
                auto action = std::move(action_);
                deleteLater();
                action();
            });
        }
        return false;
    }

private:
    QWidget* window_;
    std::function<void()> action_;
};

} // namespace

// A listing that keeps the folder it is opened from expects that folder to be
// its own, as it is when a disc starts the program from its root; a file
// manager or a shell starts it anywhere, so the listing's folder is entered.
void enterListingFolder(const QString& path) {
    if (!isTrue(project().useCurrentDir))
        return;
    const QString folder = QFileInfo(path).path();
    if (folder != QLatin1String("."))
        platform::changeCurrentFolder(folder);
}

QString commandLineText(const QStringList& words) { return words.join(QLatin1Char(' ')); }

Started Main(const QStringList& arguments) {
    project().useCurrentDir = kTrue;
    const QString given = commandLineText(arguments);
    // A disc made on Windows may name its listing in another letter case.
    QString path = platform::existe_archivo(given) ? given : platform::existingPathIgnoringCase(given);
    // A disc's folder stands for the listing on it, as a file manager hands it over.
    if (QFileInfo(path).isDir())
        if (const QString onDisc = platform::discListing(path); !onDisc.isEmpty())
            path = onDisc;
    if (platform::existe_archivo(path)) {
        // The viewer opens even when reading failed: the reader has said why,
        // and the window shows what the Project holds.
        if (discs::cargar_listado(path))
            enterListingFolder(path);
        return {Face::Viewer, showViewer()};
    }
    return {Face::Editor, showEditor()};
}

QWidget* showViewer() {
    auto* viewer = new ejecucion_form;
    viewer->show();
    return viewer;
}

QWidget* showEditor() {
    auto* editor = new principal;
    editor->show();
    editor->offerRecovery();
    return editor;
}

void whenFirstPainted(QWidget* window, std::function<void()> action) {
    new FirstPaintWatcher(window, std::move(action));
}

void quitAfterFirstPaintIfAsked(QWidget* window) {
    if (qEnvironmentVariable("VITRANDEL_QUIT_AFTER_FIRST_PAINT") == QLatin1String("1"))
        whenFirstPainted(window, [name = window->objectName()] {
            // Says which face started, for scripts that time or check a start.
            // The steady clock's reading lets a benchmark leave out the exit.
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            std::fprintf(stderr, "vitrandel: first paint of %s at %lld ns\n", qPrintable(name),
                         static_cast<long long>(std::chrono::nanoseconds(now).count()));
            // At once: quit() would first let the work queued behind the
            // paint run, and the time taken would no longer be the paint's.
            QCoreApplication::exit(0);
        });
}

} // namespace vitrandel::startup
