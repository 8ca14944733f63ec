// SPDX-License-Identifier: GPL-2.0-or-later
// The listing's scrambler, writer and reader on the largest listing the
// tables allow, and the closed-form scrambler against the table-walking one.

#include <benchmark/benchmark.h>

#include <string>

#include "model/listing_reader.h"
#include "model/listing_writer.h"
#include "model/project.h"
#include "model/scrambler.h"

namespace {

using vitrandel::kListingKey;
using vitrandel::kListingShift;

// Windows-1252 bytes: a description line as an author writes one.
const std::string kTypicalLine = "descripcion=Fotos del viaje de agosto con toda la familia: la "
                                 "playa, el paseo mar\xEDtimo y la puesta de sol.";

std::string allCodesLine() {
    std::string s;
    for (int code = 32; code <= 255; ++code)
        s += static_cast<char>(code);
    return s;
}

vitrandel::Project fullProject() {
    vitrandel::Project p;
    p.title = "Colección de fotos y documentos 2026";
    for (int i = 0; i < vitrandel::kMaxCategories; ++i)
        p.categories[static_cast<std::size_t>(i)] = "Categoría " + std::to_string(i + 1);
    p.categoryCount = vitrandel::kMaxCategories;
    for (int i = 0; i < vitrandel::kMaxElements; ++i) {
        vitrandel::Element& e = p.elements[static_cast<std::size_t>(i)];
        e.name = "Elemento número " + std::to_string(i);
        e.description = "Primera línea de la descripción del elemento " + std::to_string(i) +
                        ".\nSegunda línea, algo más larga, con acentos: canción, año, pingüino.";
        e.imagePath = "fotos\\imagen" + std::to_string(i) + ".jpg";
        e.category = static_cast<std::int16_t>(i % 52);
        e.fontName = "Times New Roman";
        e.fontSize = 12;
        e.fontBold = vitrandel::toBool16(i % 2 == 0);
        e.textColor = 8388608;
    }
    p.elementCount = vitrandel::kMaxElements;
    return p;
}

template <typename Fn> void scrambleBench(benchmark::State& state, const std::string& line, Fn fn) {
    for (auto _ : state)
        benchmark::DoNotOptimize(fn(line, kListingKey, kListingShift));
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(line.size()));
}

void BM_EncriptarTypicalLine(benchmark::State& state) {
    scrambleBench(state, kTypicalLine, vitrandel::encriptar);
}
void BM_Encriptar224Codes(benchmark::State& state) {
    scrambleBench(state, allCodesLine(), vitrandel::encriptar);
}
void BM_Desencriptar224Codes(benchmark::State& state) {
    scrambleBench(state, allCodesLine(), vitrandel::desencriptar);
}
void BM_EncriptarLiteralTypicalLine(benchmark::State& state) {
    scrambleBench(state, kTypicalLine, vitrandel::encriptarLiteral);
}
void BM_EncriptarLiteral224Codes(benchmark::State& state) {
    scrambleBench(state, allCodesLine(), vitrandel::encriptarLiteral);
}
void BM_DesencriptarLiteral224Codes(benchmark::State& state) {
    scrambleBench(state, allCodesLine(), vitrandel::desencriptarLiteral);
}

void BM_SerializeFullListing(benchmark::State& state) {
    const vitrandel::Project p = fullProject();
    std::size_t size = 0;
    for (auto _ : state) {
        const auto out = vitrandel::serializeListing(p, ".");
        size = out.bytes.size();
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(size));
    state.counters["file_bytes"] = static_cast<double>(size);
}

void BM_ParseFullListing(benchmark::State& state) {
    const std::string bytes = vitrandel::serializeListing(fullProject(), ".").bytes;
    const vitrandel::Project empty;
    for (auto _ : state) {
        auto outcome = vitrandel::parseListing(bytes, empty);
        if (outcome.error || outcome.listing.project.elementCount != vitrandel::kMaxElements)
            state.SkipWithError("the full listing did not read back");
        benchmark::DoNotOptimize(outcome);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(bytes.size()));
}

} // namespace

BENCHMARK(BM_EncriptarTypicalLine);
BENCHMARK(BM_Encriptar224Codes);
BENCHMARK(BM_Desencriptar224Codes);
BENCHMARK(BM_EncriptarLiteralTypicalLine);
BENCHMARK(BM_EncriptarLiteral224Codes);
BENCHMARK(BM_DesencriptarLiteral224Codes);
BENCHMARK(BM_SerializeFullListing)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseFullListing)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
