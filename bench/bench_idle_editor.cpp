// SPDX-License-Identifier: GPL-2.0-or-later
// The description editor left open and idle on a folder of 10,000 picture
// files: the share of a core it uses with the folder watched, beside the same
// folder read again every half second. Also the cost of opening the editor
// there, which reads the folder once for the list and once for comparison.

#include <benchmark/benchmark.h>

#include "qt_bench.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <ctime>

#include "description/editar_desc.h"

namespace {

using namespace vitrandel;

constexpr int kPictures = 10000;

struct Folder {
    QTemporaryDir dir;
    Folder() {
        for (int i = 0; i < kPictures; ++i) {
            QFile f(dir.filePath(QStringLiteral("foto%1.jpg").arg(i, 5, 10, QLatin1Char('0'))));
            f.open(QIODevice::WriteOnly);
        }
        QDir::setCurrent(dir.path());
    }
};

Folder& folder() {
    static Folder f;
    return f;
}

double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

void runEventLoopFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Argument: seconds of idleness measured.
void idleEditor(benchmark::State& state, bool watching) {
    folder();
    editar_desc::setFolderWatching(watching);
    for (auto _ : state) {
        editar_desc editor;
        editor.show();
        runEventLoopFor(500); // let the first paint and any start-up work pass
        const double cpuBefore = cpuSeconds();
        const auto wallBefore = std::chrono::steady_clock::now();
        runEventLoopFor(int(state.range(0)) * 1000);
        const double cpu = cpuSeconds() - cpuBefore;
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
        state.SetIterationTime(wall);
        state.counters["core_percent"] = 100.0 * cpu / wall;
    }
}

void BM_OpenEditor(benchmark::State& state) {
    folder();
    editar_desc::setFolderWatching(true);
    for (auto _ : state) {
        editar_desc editor;
        benchmark::DoNotOptimize(&editor);
    }
}

BENCHMARK_CAPTURE(idleEditor, folder_watched, true)->Arg(10)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(idleEditor, folder_read_every_500ms, false)->Arg(10)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_OpenEditor)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return vitrandel_bench::runWithWidgets(argc, argv); }
