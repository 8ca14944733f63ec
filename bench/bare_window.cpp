// The floor for bench/startup.sh: a Qt window that does nothing but open,
// paint once and, with VITRANDEL_QUIT_AFTER_FIRST_PAINT=1, quit.

#include <QApplication>
#include <QTimer>
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
    window.show();
    return QApplication::exec();
}
