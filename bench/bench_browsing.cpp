// SPDX-License-Identifier: GPL-2.0-or-later
// Holding Down through a listing of 256 camera photos (24 megapixels,
// stretched), as a user arrowing through a disc does, at 30 and 60 keys a
// second:
//   - the longest the main thread is busy at once while the keys come (a
//     1 ms heartbeat timer measures the gaps between its runs, and the
//     main thread's own CPU time within them, which a loaded machine does
//     not inflate);
//   - from the last key to the list's selection on the last element;
//   - from the last key to that element's picture on screen, against the
//     time the process takes to draw one photo for the view;
//   - the program's peak resident memory afterwards.
// "in-process" decodes each picture on the main thread as the key selects
// it, with the decoder the picture process runs (the program did so before
// it had one); "process" is the viewer as it is. "process, crash every 10th"
// kills the picture process on every tenth key, and counts the pictures the
// view showed for an element that was not the selected one (must be 0).
//   bench_browsing [in-process|process|crashing] [keys-per-second ...]
// Name one mode to read the peak memory of that mode alone.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <ctime>
#include <cstdio>
#include <memory>

#include "model/project.h"
#include "pictures/decoding.h"
#include "pictures/picture_client.h"
#include "qt_bench.h"
#include "viewer/description_view.h"

namespace {

using namespace vitrandel;

constexpr int kElements = 256;
constexpr int kPhotos = 8; // distinct files; each element names its own link to one

const QColor kColours[kPhotos] = {Qt::red, Qt::green, Qt::blue, Qt::cyan, Qt::magenta, Qt::yellow, Qt::darkRed, Qt::darkGreen};

QImage cameraPicture(QColor colour) {
    QImage image(6000, 4000, QImage::Format_RGB32);
    image.fill(colour);
    QPainter painter(&image);
    for (int i = 0; i < 300; ++i) {
        painter.setBrush(QColor::fromHsv((i * 37) % 360, 120, 200));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPoint((i * 7919) % 6000, (i * 104729) % 4000), 20 + i % 60, 15 + i % 40);
    }
    // The middle keeps the photo's colour, so that a shown picture tells which it is.
    painter.fillRect(2000, 1300, 2000, 1400, colour);
    return image;
}

// Writing the photos took far more memory than browsing them should.
void resetPeakResident() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

long peakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

bool nearColour(QColor a, QColor b) {
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) < 60;
}

enum class Mode { InProcess, Process, Crashing };

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Result {
    double longestStallMs = 0;
    // The main thread's own CPU time within that longest gap's kind: what
    // it did between two heartbeats, without the time others had the CPU.
    double longestStallCpuMs = 0;
    // Main-thread CPU time from a key press to the return to the event loop:
    // what the stall would be on an idle machine.
    double longestKeyCpuMs = 0;
    double selectionMs = 0;
    double pictureMs = 0;
    int wrongPictures = 0;
    int shownPictures = 0;
};

Result holdDown(Mode mode, int keysPerSecond, QListWidget& listado, QLabel& view) {
    // Before, the viewer decoded on the main thread; the elements then name
    // no picture for the viewer to ask the process for.
    Project& p = project();
    for (int i = 0; i < kElements; ++i)
        p.elements[std::size_t(i)].imagePath = mode == Mode::InProcess ? std::string() : "e" + std::to_string(i) + ".jpg";
    auto& client = pictures::PictureClient::instance();
    client.cache().clear();
    listado.setCurrentRow(0);
    client.settle();

    const QSize frame = view.contentsRect().size();
    QMetaObject::Connection decodeOnSelect;
    if (mode == Mode::InProcess)
        decodeOnSelect = QObject::connect(&listado, &QListWidget::currentRowChanged, &view, [&](int row) {
            const QString path = QStringLiteral("e%1.jpg").arg(row);
            view.setPixmap(QPixmap::fromImage(pictures::decodePicture(path, {.stretchTo = frame, .naturalClip = {}})));
        });

    Result r;
    QElapsedTimer clock;
    clock.start();
    qint64 lastBeat = clock.nsecsElapsed();
    double lastBeatCpu = threadCpuMs();
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        const double cpu = threadCpuMs();
        r.longestStallMs = std::max(r.longestStallMs, (now - lastBeat) / 1e6 - 1.0);
        r.longestStallCpuMs = std::max(r.longestStallCpuMs, cpu - lastBeatCpu);
        lastBeat = now;
        lastBeatCpu = cpu;
    });
    // Whatever the view shows must be the selected element's picture.
    const auto check = [&] {
        if (view.pixmap().isNull())
            return;
        ++r.shownPictures;
        const QImage shown = view.pixmap().toImage();
        if (!nearColour(shown.pixelColor(shown.width() / 2, shown.height() / 2),
                        kColours[listado.currentRow() % kPhotos]))
            ++r.wrongPictures;
    };

    int sent = 0;
    qint64 lastKey = 0;
    QTimer keys;
    keys.setTimerType(Qt::PreciseTimer);
    QObject::connect(&keys, &QTimer::timeout, [&] {
        if (mode == Mode::Crashing && sent % 10 == 9 && client.processId() > 0)
            ::kill(pid_t(client.processId()), SIGKILL);
        check();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
        lastKey = clock.nsecsElapsed();
        const double cpu = threadCpuMs();
        QApplication::sendEvent(&listado, &press);
        QApplication::sendEvent(&listado, &release);
        r.longestKeyCpuMs = std::max(r.longestKeyCpuMs, threadCpuMs() - cpu);
        if (listado.currentRow() == kElements - 1)
            r.selectionMs = (clock.nsecsElapsed() - lastKey) / 1e6;
        check();
        if (++sent == kElements - 1)
            keys.stop();
    });
    heartbeat.start(1);
    keys.start(1000 / keysPerSecond);
    while (keys.isActive())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // The keys have stopped: the last element's own picture, on screen.
    const auto showsLast = [&] {
        if (view.pixmap().isNull())
            return false;
        const QImage shown = view.pixmap().toImage();
        return nearColour(shown.pixelColor(shown.width() / 2, shown.height() / 2),
                          kColours[listado.currentRow() % kPhotos]);
    };
    while (!showsLast() && clock.nsecsElapsed() - lastKey < 5'000'000'000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    r.pictureMs = (clock.nsecsElapsed() - lastKey) / 1e6;
    heartbeat.stop();
    client.settle();
    check();
    QObject::disconnect(decodeOnSelect);
    return r;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    pictures::PictureClient::instance().setProgram(QStringLiteral(VITRANDEL_PICTURE_HELPER));
    QList<int> rates;
    QList<Mode> modes;
    for (int i = 1; i < argc; ++i) {
        const QByteArray word(argv[i]);
        if (word == "in-process")
            modes.append(Mode::InProcess);
        else if (word == "process")
            modes.append(Mode::Process);
        else if (word == "crashing")
            modes.append(Mode::Crashing);
        else
            rates.append(word.toInt());
    }
    if (rates.isEmpty())
        rates = {30, 60};
    if (modes.isEmpty())
        modes = {Mode::InProcess, Mode::Process, Mode::Crashing};

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    std::fprintf(stderr, "writing %d photos...\n", kPhotos);
    for (int i = 0; i < kPhotos; ++i)
        cameraPicture(kColours[i]).save(QStringLiteral("foto%1.jpg").arg(i), "JPG", 85);
    Project& p = project();
    p = Project{};
    for (int i = 0; i < kElements; ++i) {
        const std::string name = "e" + std::to_string(i) + ".jpg";
        QFile::link(QStringLiteral("foto%1.jpg").arg(i % kPhotos), QString::fromStdString(name));
        p.elements[std::size_t(p.elementCount++)] = Element{.name = name, .description = "Foto", .imagePath = name,
                                                            .fitImage = kTrue, .category = 0, .fontName = "Arial",
                                                            .fontSize = 10};
    }
    QWidget window;
    window.resize(400, 320);
    auto* listado = new QListWidget(&window);
    for (int i = 0; i < kElements; ++i)
        listado->addItem(QString::fromStdString(p.elements[std::size_t(i)].name));
    auto area = vitrandel_bench::showViewerArea(window);
    QObject::connect(listado, &QListWidget::itemSelectionChanged, area.get(),
                     [&] { area->showDescription(listado); });
    QLabel& view = *area->stretchedView();

    // What "within one decode" is measured against: one photo drawn by the
    // process for the view and handed over, nothing else waiting.
    auto& client = pictures::PictureClient::instance();
    QList<double> decodes;
    for (int i = 0; i < kPhotos; ++i) {
        client.cache().clear();
        QElapsedTimer one;
        one.start();
        client.fetch({QStringLiteral("e%1.jpg").arg(i), {.stretchTo = view.contentsRect().size(), .naturalClip = {}},
                      pictures::protocol::Kind::Draw});
        decodes.append(one.nsecsElapsed() / 1e6);
    }
    std::sort(decodes.begin(), decodes.end());
    std::printf("one photo drawn by the picture process for the view: %.1f ms (median of %d)\n",
                decodes[decodes.size() / 2], kPhotos);
    resetPeakResident();

    std::printf("%-28s %6s %12s %12s %12s %12s %12s %6s %6s\n", "mode", "keys/s", "stall max", "stall cpu",
                "key cpu max", "selection", "picture", "shown", "wrong");
    for (const int rate : rates)
        for (const Mode mode : modes) {
            const Result r = holdDown(mode, rate, *listado, view);
            const char* name = mode == Mode::InProcess ? "in-process (before)"
                               : mode == Mode::Process ? "process"
                                                       : "process, crash every 10th";
            std::printf("%-28s %6d %9.1f ms %9.1f ms %9.1f ms %9.1f ms %9.1f ms %6d %6d\n", name, rate,
                        r.longestStallMs, r.longestStallCpuMs, r.longestKeyCpuMs, r.selectionMs, r.pictureMs,
                        r.shownPictures, r.wrongPictures);
        }
    std::printf("peak resident memory: %ld MB (picture cache bound %lld MB)\n", peakResidentKb() / 1024,
                static_cast<long long>(pictures::PictureCache::kDefaultBytes / (1024 * 1024)));
    return 0;
}
