// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QApplication>
#include <QGroupBox>
#include <QListWidget>
#include <benchmark/benchmark.h>
#include <memory>

#include "pictures/picture_client.h"
#include "viewer/description_view.h"

// What the benchmarks of the windows share.
namespace vitrandel_bench {

// The viewer's description area in `window`, which is then shown.
inline std::unique_ptr<vitrandel::DescriptionArea> showViewerArea(QWidget& window) {
    using vitrandel::DescriptionArea;
    auto area = std::make_unique<DescriptionArea>(
        &window, vitrandel::DescriptionFace::Viewer, 2400, 240,
        DescriptionArea::Notice{"Label3", QStringLiteral("No hay descripción")});
    window.show();
    QApplication::processEvents();
    return area;
}

// The description of the list's current entry, shown with its picture and
// painted once per iteration: each a first visit, the picture cache emptied
// before it, the picture process already running.
inline void showDescriptionRepeatedly(benchmark::State& state, vitrandel::DescriptionArea& area,
                                      QListWidget& listado) {
    auto& pictures = vitrandel::pictures::PictureClient::instance();
    for (auto _ : state) {
        state.PauseTiming();
        pictures.cache().clear();
        state.ResumeTiming();
        area.showDescription(&listado);
        pictures.settle();
        area.frame1()->repaint();
    }
}

// main() of a benchmark program that needs widgets: offscreen unless a
// platform is named.
inline int runWithWidgets(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vitrandel::pictures::PictureClient::instance().setProgram(QStringLiteral(VITRANDEL_PICTURE_HELPER));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace vitrandel_bench
