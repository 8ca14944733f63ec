// SPDX-License-Identifier: GPL-2.0-or-later
// The library of discs at the size a collector reaches: adding one full
// listing (256 elements, no thumbnails), one search over 1,000 such listings
// (256,000 elements) for a rare word, a common prefix, a phrase and an
// exclusion, and the library window opening on that library until its first
// results are painted. bench/library.sh times the command line beside these.

#include <benchmark/benchmark.h>

#include "qt_bench.h"

#include <QTemporaryDir>
#include <QTreeWidget>
#include <chrono>

#include "dialogs/biblioteca_form.h"
#include "discs/disc_library.h"
#include "library/disc_library.h"
#include "model/listing_writer.h"
#include "model/project.h"

namespace {

using namespace vitrandel;

const char* const kWords[] = {"playa", "montaña", "camión", "niños", "cigüeña", "otoño", "río",
                              "ciudad", "fiesta", "familia", "viaje", "puesta", "sol", "nieve",
                              "castillo", "museo", "jardín", "mercado", "puerto", "faro"};

// A different listing for each number, with words that a search finds in
// some elements and not in others, and one word only listing 777 holds.
std::string listingBytes(int n) {
    Project p;
    p.title = "Disco " + std::to_string(n);
    for (int k = 0; k < 20; ++k)
        p.categories[static_cast<std::size_t>(k)] = std::string("Categoría ") + kWords[k];
    p.categoryCount = 20;
    for (int i = 0; i < kMaxElements; ++i) {
        Element& e = p.elements[static_cast<std::size_t>(i)];
        e.name = std::string(kWords[(n + i) % 20]) + " " + std::to_string(i) + " " + kWords[(n * 7 + i * 3) % 20];
        for (int k = 0; k < 30; ++k)
            e.description += std::string(kWords[(n + i * k) % 20]) + (k % 6 == 5 ? ". " : " ");
        if (n == 777 && i == 100)
            e.description += "Ñandú";
        e.category = static_cast<std::int16_t>(i % 21);
        e.fontName = "Arial";
        e.fontSize = 10;
        e.imagePath = i % 4 == 0 ? "fotos\\" + std::to_string(i) + ".jpg" : "";
    }
    p.elementCount = kMaxElements;
    return serializeListing(p, ".").bytes;
}

// One library of 1,000 full listings, made once for the whole run, in
// $VITRANDEL_BENCH_HOME when set (and kept there for bench/library.sh).
QString bigLibraryHome() {
    static QTemporaryDir temporary;
    static const QString home = [] {
        const QString chosen = qEnvironmentVariable("VITRANDEL_BENCH_HOME");
        const QString folder = chosen.isEmpty() ? temporary.path() : chosen;
        const std::string path = (folder + QStringLiteral("/vitrandel/biblioteca.sqlite")).toStdString();
        auto lib = library::Library::open(path);
        if (lib->discs().size() != 1000)
            for (int n = 0; n < 1000; ++n)
                lib->add("/media/cdrom/disco" + std::to_string(n) + "/indice.lst", listingBytes(n), {}, n);
        return folder;
    }();
    return home;
}

std::unique_ptr<library::Library> bigLibrary() {
    return library::Library::open((bigLibraryHome() + QStringLiteral("/vitrandel/biblioteca.sqlite")).toStdString());
}

void BM_AddFullListing(benchmark::State& state) {
    QTemporaryDir dir;
    auto lib = library::Library::open((dir.path() + QStringLiteral("/b.sqlite")).toStdString());
    const std::string bytes = listingBytes(1);
    int n = 0;
    for (auto _ : state) {
        ++n;
        lib->add("/media/cdrom/indice" + std::to_string(n % 50) + ".lst", bytes, {}, n);
    }
}

void searchBig(benchmark::State& state, std::vector<std::string> terms, int limit) {
    auto lib = bigLibrary();
    std::size_t found = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(found = lib->search(terms, limit).size());
    state.counters["found"] = double(found);
}

void BM_LibraryWindowFirstResults(benchmark::State& state) {
    qputenv("XDG_DATA_HOME", bigLibraryHome().toUtf8());
    for (auto _ : state) {
        biblioteca_form* form = biblioteca_form::mostrar(nullptr, {});
        form->repaint();
        state.PauseTiming();
        state.counters["rows"] = form->findChild<QTreeWidget*>(QStringLiteral("resultados"))->topLevelItemCount();
        delete form;
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_AddFullListing)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchBig, rare_word, std::vector<std::string>{"nandu"}, -1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchBig, phrase, std::vector<std::string>{"castillo museo jardin"}, -1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchBig, two_words_one_excluded,
                  std::vector<std::string>{"faro", "mercado", "-playa"}, -1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchBig, common_prefix_window_page, std::vector<std::string>{"cas"}, 500)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibraryWindowFirstResults)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return vitrandel_bench::runWithWidgets(argc, argv); }
