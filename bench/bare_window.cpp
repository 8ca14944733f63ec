// SPDX-License-Identifier: GPL-2.0-or-later
// The floor for bench/startup.sh: a Qt window that does nothing but open,
// paint once and, with VITRANDEL_QUIT_AFTER_FIRST_PAINT=1, quit. Given
// --caption it also shows one line of text, which is what any window with
// words in it pays for before its first paint (reading the font
// configuration and the installed faces), so the two show how much of a
// window's start is text alone.

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <chrono>
#include <cstdio>

namespace {

class BareWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent* event) override {
        QWidget::paintEvent(event);
        if (!painted_ && qEnvironmentVariable("VITRANDEL_QUIT_AFTER_FIRST_PAINT") == QLatin1String("1"))
            QTimer::singleShot(0, qApp, [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::fprintf(stderr, "bare: first paint at %lld ns\n",
                             static_cast<long long>(std::chrono::nanoseconds(now).count()));
                QCoreApplication::exit(0);
            });
        painted_ = true;
    }

private:
    bool painted_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    BareWindow window;
    window.setWindowTitle(QStringLiteral("Vitrandel"));
    window.resize(323, 302);
    if (QCoreApplication::arguments().contains(QStringLiteral("--caption")))
        (new QVBoxLayout(&window))->addWidget(new QLabel(QStringLiteral("Listado de elementos :")));
    window.show();
    return QApplication::exec();
}
