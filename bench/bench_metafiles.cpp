// SPDX-License-Identifier: GPL-2.0-or-later
// From selecting an element to its description being drawn, for the sample
// metafiles (tests/data/metafiles, 240 by 180 pixels at natural size) beside
// a JPEG of the same size, at natural size and stretched; and the metafiles'
// drawing alone, without the helper process that draws them for the program.

#include <benchmark/benchmark.h>

#include "qt_bench.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QListWidget>
#include <QPainter>
#include <QTemporaryDir>
#include <memory>

#include "model/project.h"
#include "pictures/metafile.h"
#include "pictures/picture_client.h"
#include "viewer/description_view.h"

namespace {

using namespace vitrandel;

const char* const kPictures[] = {"dibujo.jpg", "dibujo.wmf", "dibujo.emf"};

// The sample drawing's parts, painted for the JPEG.
QImage drawing() {
    QImage image(240, 180, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(10, 10, 60, 40, QColor(0xe0, 0x10, 0x20));
    p.setBrush(QColor(0x20, 0x50, 0xc0));
    p.drawEllipse(QPointF(190, 45), 40, 30);
    p.setBrush(QColor(0x10, 0xa0, 0x40));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(20, 170), QPointF(80, 170), QPointF(50, 110)}));
    p.setPen(Qt::black);
    p.setFont(QFont(QStringLiteral("Arial"), 27, QFont::Bold));
    p.drawText(QPointF(120, 160), QStringLiteral("Hola"));
    return image;
}

QByteArray sample(const char* name) {
    QFile f(QStringLiteral(VITRANDEL_TEST_DATA_DIR "/metafiles/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing sample %s", name);
    return f.readAll();
}

struct Fixture {
    QTemporaryDir dir;
    QWidget window;
    QListWidget* listado = nullptr;
    std::unique_ptr<DescriptionArea> area;

    Fixture() {
        pictures::PictureClient::instance().setProgram(QStringLiteral(VITRANDEL_PICTURE_HELPER));
        drawing().save(dir.filePath(QStringLiteral("dibujo.jpg")), "JPG", 90);
        for (const char* name : {"dibujo.wmf", "dibujo.emf"}) {
            QFile f(dir.filePath(QLatin1String(name)));
            if (!f.open(QIODevice::WriteOnly) || f.write(sample(name)) < 0)
                qFatal("cannot write %s", name);
        }
        QDir::setCurrent(dir.path());
        Project& p = project();
        p.elementCount = 0;
        window.resize(400, 320);
        listado = new QListWidget(&window);
        for (const char* picture : kPictures)
            for (const bool fit : {false, true}) {
                const std::string name = std::string(picture) + (fit ? " estirado" : " natural");
                p.elements[std::size_t(p.elementCount++)] =
                    Element{.name = name, .description = "Dibujo", .imagePath = picture,
                            .fitImage = toBool16(fit), .category = 0, .fontName = "Arial", .fontSize = 10};
                listado->addItem(QString::fromStdString(name));
            }
        area = vitrandel_bench::showViewerArea(window);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_ShowDescription(benchmark::State& state) {
    Fixture& f = fixture();
    const int row = int(state.range(0));
    f.listado->setCurrentRow(row);
    state.SetLabel(f.listado->item(row)->text().toStdString());
    vitrandel_bench::showDescriptionRepeatedly(state, *f.area, *f.listado);
}

// What the helper does once started.
void BM_DrawInProcess(benchmark::State& state) {
    const char* name = kPictures[1 + state.range(0) / 2];
    const bool fit = state.range(0) % 2;
    state.SetLabel(std::string(name) + (fit ? " estirado" : " natural"));
    const QByteArray bytes = sample(name);
    const pictures::PictureRequest request =
        fit ? pictures::PictureRequest{QSize(137, 105), {}} : pictures::PictureRequest{{}, QSize(137, 105)};
    for (auto _ : state)
        benchmark::DoNotOptimize(pictures::renderMetafile(bytes, request));
}

BENCHMARK(BM_ShowDescription)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawInProcess)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return vitrandel_bench::runWithWidgets(argc, argv); }
