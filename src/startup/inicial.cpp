#include "startup/inicial.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "model/project.h"
#include "platform/file_helpers.h"
#include "platform/listing_io.h"
#include "editor/principal.h"
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

QString commandLineText(const QStringList& words) { return words.join(QLatin1Char(' ')); }

Started Main(const QStringList& arguments) {
    project().useCurrentDir = kTrue;
    const QString path = commandLineText(arguments);
    if (platform::existe_archivo(path)) {
        // The viewer opens even when reading failed: the reader has said why,
        // and the window shows what the Project holds.
        platform::cargar_listado(path);
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
    return editor;
}

void whenFirstPainted(QWidget* window, std::function<void()> action) {
    new FirstPaintWatcher(window, std::move(action));
}

void quitAfterFirstPaintIfAsked(QWidget* window) {
    if (qEnvironmentVariable("VITRANDEL_QUIT_AFTER_FIRST_PAINT") == QLatin1String("1"))
        whenFirstPainted(window, [] { QCoreApplication::quit(); });
}

} // namespace vitrandel::startup
