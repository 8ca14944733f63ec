// SPDX-License-Identifier: GPL-2.0-or-later
// Find on the largest listing the tables allow, each description a few KB of
// accented text: one keystroke's search in the model (with the folded texts
// kept, and folding everything again as after a change to every element), one
// keystroke through the real find window with its match list filled and
// painted, beside one rebuild of the editor's and the index's element lists.

#include <benchmark/benchmark.h>

#include "qt_bench.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include "dialogs/buscar_form.h"
#include "editor/principal.h"
#include "model/project.h"
#include "model/search.h"
#include "viewer/ejecucion_form.h"

namespace {

using namespace vitrandel;

const std::string kParagraph =
    "Fotografías del viaje por la península: el camión de mudanzas, la canción del "
    "pingüino en el acuario, los niños en la Cañada Real y una cigüeña sobre la torre. "
    "Álbum revisado en otoño; faltan las imágenes de la playa de Área Grande.\r\n";

Project fullListing() {
    Project p;
    p.title = "Colección completa";
    for (int i = 0; i < kMaxCategories; ++i)
        p.categories[static_cast<std::size_t>(i)] = "Categoría " + std::to_string(i + 1);
    p.categoryCount = kMaxCategories;
    for (int i = 0; i < kMaxElements; ++i) {
        Element& e = p.elements[static_cast<std::size_t>(i)];
        e.name = "Elemento número " + std::to_string(i);
        // 2 to 4 KB each.
        for (int k = 0; k < 9 + i % 10; ++k)
            e.description += kParagraph;
        if (i % 16 == 0)
            e.description += "Incluye el informe Ñandú–" + std::to_string(i) + ".";
        e.category = static_cast<std::int16_t>(i % (kMaxCategories + 1));
        e.fontName = "Arial";
        e.fontSize = 10;
    }
    p.elementCount = kMaxElements;
    return p;
}

void useFullListing() {
    static const Project full = fullListing();
    project() = full;
}

// Arguments: the text typed; the counters tell how many elements it finds.
void modelKeystroke(benchmark::State& state, const std::string& text) {
    useFullListing();
    ElementSearch search;
    std::size_t found = search.find(project(), text).size();
    for (auto _ : state)
        benchmark::DoNotOptimize(found = search.find(project(), text).size());
    state.counters["found"] = double(found);
}

void modelKeystrokeFoldingEverything(benchmark::State& state) {
    useFullListing();
    for (auto _ : state) {
        ElementSearch search;
        benchmark::DoNotOptimize(search.find(project(), "nandu"));
    }
}

// Each iteration types one letter more or less, so that the text always changes.
void windowKeystroke(benchmark::State& state, const QString& shorter, const QString& longer) {
    useFullListing();
    QWidget owner;
    buscar_form find(&owner);
    find.show();
    auto* texto = find.findChild<QLineEdit*>(QStringLiteral("texto"));
    auto* resultados = find.findChild<QTreeWidget*>(QStringLiteral("resultados"));
    bool flip = false;
    for (auto _ : state) {
        texto->setText((flip = !flip) ? longer : shorter);
        find.repaint();
    }
    state.counters["rows"] = resultados->topLevelItemCount();
}

void BM_EditorListRebuild(benchmark::State& state) {
    useFullListing();
    principal editor;
    editor.show();
    for (auto _ : state) {
        editor.fillElementList();
        editor.listado->repaint();
    }
    state.counters["rows"] = editor.listado->count();
}

void BM_ViewerListRebuild(benchmark::State& state) {
    useFullListing();
    ejecucion_form viewer;
    viewer.setAttribute(Qt::WA_DeleteOnClose, false);
    viewer.show();
    auto* listado = viewer.findChild<QListWidget*>(QStringLiteral("listado"));
    for (auto _ : state) {
        viewer.fillElementList();
        listado->repaint();
    }
    state.counters["rows"] = listado->count();
}

BENCHMARK_CAPTURE(modelKeystroke, few_matches, std::string("nandu"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(modelKeystroke, every_element, std::string("camion"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(modelKeystroke, no_match, std::string("zzz"))->Unit(benchmark::kMillisecond);
BENCHMARK(modelKeystrokeFoldingEverything)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(windowKeystroke, few_matches, QStringLiteral("nand"), QStringLiteral("nandu"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(windowKeystroke, every_element, QStringLiteral("camio"), QStringLiteral("camion"))
    ->Unit(benchmark::kMillisecond);
// One letter more empties the list, one less fills it again with every element.
BENCHMARK_CAPTURE(windowKeystroke, none_then_every_element, QStringLiteral("camion"),
                  QStringLiteral("camionx"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorListRebuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ViewerListRebuild)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return vitrandel_bench::runWithWidgets(argc, argv); }
