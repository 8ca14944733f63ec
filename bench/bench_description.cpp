// SPDX-License-Identifier: GPL-2.0-or-later
// From selecting an element to its description being drawn, for a camera-sized
// JPEG (6000 by 4000) shown at natural size and stretched, against decoding the
// whole picture as a plain QImage load would.

#include <benchmark/benchmark.h>

#include "qt_bench.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QImageReader>
#include <QListWidget>
#include <QPainter>
#include <QTemporaryDir>
#include <memory>

#include "model/project.h"
#include "viewer/description_view.h"

namespace {

using namespace vitrandel;

// Varied enough that the JPEG does not compress to nothing.
QImage cameraPicture() {
    QImage image(6000, 4000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 6000, 4000);
    sky.setColorAt(0, QColor(40, 120, 220));
    sky.setColorAt(1, QColor(250, 220, 160));
    painter.fillRect(image.rect(), sky);
    for (int i = 0; i < 400; ++i) {
        painter.setBrush(QColor::fromHsv((i * 37) % 360, 180, 200));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPoint((i * 7919) % 6000, (i * 104729) % 4000), 40 + i % 300, 30 + i % 200);
    }
    return image;
}

struct Fixture {
    QTemporaryDir dir;
    QString picture;
    QWidget window;
    QListWidget* listado = nullptr;
    std::unique_ptr<DescriptionArea> area;

    Fixture() {
        picture = dir.filePath(QStringLiteral("camara.jpg"));
        cameraPicture().save(picture, "JPG", 90);
        QDir::setCurrent(dir.path());
        Project& p = project();
        p.elementCount = 2;
        p.elements[0] = Element{.name = "natural", .description = "Foto de la cámara",
                                .imagePath = "camara.jpg", .fitImage = kFalse, .category = 0,
                                .fontName = "Arial", .fontSize = 10};
        p.elements[1] = Element{.name = "estirada", .description = "Foto de la cámara",
                                .imagePath = "camara.jpg", .fitImage = kTrue, .category = 0,
                                .fontName = "Arial", .fontSize = 10};
        window.resize(400, 320);
        listado = new QListWidget(&window);
        listado->addItems({QStringLiteral("natural"), QStringLiteral("estirada")});
        area = vitrandel_bench::showViewerArea(window);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void showElement(benchmark::State& state, int row) {
    Fixture& f = fixture();
    f.listado->setCurrentRow(row);
    vitrandel_bench::showDescriptionRepeatedly(state, *f.area, *f.listado);
}

void BM_ShowDescription_Natural(benchmark::State& state) { showElement(state, 0); }
void BM_ShowDescription_Stretched(benchmark::State& state) { showElement(state, 1); }

// What the area would cost if it decoded the whole picture and let the view
// clip or scale it.
void BM_FullDecode(benchmark::State& state) {
    const QString path = fixture().picture;
    for (auto _ : state) {
        QImageReader reader(path);
        benchmark::DoNotOptimize(reader.read());
    }
}

BENCHMARK(BM_ShowDescription_Natural)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowDescription_Stretched)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullDecode)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return vitrandel_bench::runWithWidgets(argc, argv); }
