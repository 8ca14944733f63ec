// SPDX-License-Identifier: GPL-2.0-or-later
// A recovery copy of the largest listing the tables allow, every description
// as long as a filled-in one can be: what taking the copy costs the
// user-interface thread (it must stay well under 2 ms, so that typing never
// waits for it), and, beside it, what its own thread does: the listing put
// into bytes, written, flushed and renamed.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "model/file_store.h"
#include "model/folder_fill.h"
#include "model/project.h"
#include "platform/recovery.h"

namespace {

using namespace vitrandel;

void fillLargestListing() {
    Project& p = project();
    p.title = "Colección de fotos y documentos 2026";
    for (int i = 0; i < kMaxCategories; ++i)
        p.categories[static_cast<std::size_t>(i)] = "Categoría " + std::to_string(i + 1);
    p.categoryCount = kMaxCategories;
    std::string text;
    while (text.size() + 40 < kDescriptionBytes)
        text += "Una línea de descripción con acentos: año.\n";
    for (int i = 0; i < kMaxElements; ++i) {
        Element& e = p.elements[static_cast<std::size_t>(i)];
        e = newElement("Elemento número " + std::to_string(i), static_cast<std::int16_t>(i % 52));
        e.description = text;
        e.imagePath = "fotos\\imagen" + std::to_string(i) + ".jpg";
    }
    p.elementCount = kMaxElements;
}

void BM_RecoveryCopyOnUserInterfaceThread(benchmark::State& state) {
    platform::RecoveryKeeper keeper(&platform::unsavedWork);
    for (auto _ : state)
        keeper.writeNow();
    keeper.flush();
    state.SetBytesProcessed(state.iterations() *
                            static_cast<long long>(platform::unsavedWork()()->listing.size()));
}
BENCHMARK(BM_RecoveryCopyOnUserInterfaceThread)->Unit(benchmark::kMillisecond);

void BM_RecoveryCopyOnItsThread(benchmark::State& state) {
    const platform::RecoverySnapshot snapshot = platform::unsavedWork();
    const std::string path = QDir(platform::recoveryFolder())
                                 .filePath(QStringLiteral("bench.recuperacion"))
                                 .toStdString();
    QDir().mkpath(platform::recoveryFolder());
    std::size_t size = 0;
    for (auto _ : state) {
        const std::string bytes = platform::encodeRecovery(*snapshot());
        size = bytes.size();
        FileError error;
        if (!writeFileAtomically(path, bytes, &error))
            state.SkipWithError("cannot write the copy");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(size));
}
BENCHMARK(BM_RecoveryCopyOnItsThread)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
    fillLargestListing();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
