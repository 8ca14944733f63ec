// SPDX-License-Identifier: GPL-2.0-or-later
// Handing one drawn picture's pixels from the picture process to the program,
// from the request written to a QImage the program holds (and lets go again):
//   pipe       - as the program does: writeReply into the pipe, ReplyReader
//                reading from the QProcess straight into the image;
//   pipe_1mb   - the same with the pipe widened to 1 MiB by the process;
//   memfd_copy - the program creates one memfd before starting the process,
//                which inherits it (its filter refuses memfd_create and
//                ftruncate, and its file-size limit is 0); the process copies
//                its picture in and answers with the reply's header alone,
//                the program copies the pixels out of its own mapping;
//   memfd_wrap - the same, the program mapping the pixels anew for each
//                picture and wrapping the image around the mapping;
//   allocate   - no process: the image allocated and filled where it is, the
//                floor of any way that copies into an image of the program's.
// The process runs under the picture process's limits and filter. "main_cpu"
// is the program's main-thread CPU time per picture (CLOCK_THREAD_CPUTIME_ID).
//   bench_pixel_transfer --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

#include "pictures/picture_sandbox.h"
#include "pictures/process_limits.h"
#include "pictures/protocol.h"

namespace {

using namespace vitrandel::pictures;

enum class Way { Pipe, WidePipe, MemfdCopy, MemfdWrap, Allocate };

// Room for the largest picture a reply may hold; a memfd's pages are taken
// only as they are written.
constexpr std::size_t kSharedBytes = std::size_t(protocol::kMaxImagePixels) * 4;
constexpr int kWidePipe = 1 << 20;

uchar* mapShared(int fd, size_t bytes, int access, int flags = 0) {
    void* m = mmap(nullptr, bytes, access, MAP_SHARED | flags, fd, 0);
    if (m == MAP_FAILED)
        qFatal("mmap");
    return static_cast<uchar*>(m);
}

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The process's side: the same picture for every request of one size.
int serve(int memfd, int pipeBytes) {
    uchar* shared = memfd >= 0 ? mapShared(memfd, kSharedBytes, PROT_READ | PROT_WRITE) : nullptr;
    if ((pipeBytes > 0 && fcntl(STDOUT_FILENO, F_SETPIPE_SZ, pipeBytes) < 0) || !enterPictureSandbox())
        return 2;
    QImage drawn;
    while (const auto request = protocol::readRequest(STDIN_FILENO)) {
        const QSize size = request->size.stretchTo;
        if (drawn.size() != size) {
            drawn = QImage(size, QImage::Format_ARGB32_Premultiplied);
            drawn.fill(0xff336699);
        }
        protocol::Reply reply;
        reply.id = request->id;
        reply.ok = true;
        reply.naturalSize = size;
        // Copied into the memfd as write() copies it into the pipe; a
        // process drawing straight into the mapping would save even that.
        if (shared)
            std::memcpy(shared, drawn.constBits(), size_t(drawn.sizeInBytes()));
        else
            reply.image = drawn;
        if (!protocol::writeReply(STDOUT_FILENO, reply))
            return 1;
    }
    return 0;
}

// The program's side of one process.
class Peer {
public:
    explicit Peer(Way way) : way_(way) {
        QStringList arguments{QStringLiteral("--serve")};
        if (way == Way::MemfdCopy || way == Way::MemfdWrap) {
            memfd_ = memfd_create("pictures", MFD_CLOEXEC | MFD_ALLOW_SEALING);
            // Sealed against shrinking, so that the process cannot make the
            // program's reads of the mapping fault.
            if (memfd_ < 0 || ftruncate(memfd_, off_t(kSharedBytes)) != 0 ||
                fcntl(memfd_, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_SEAL) != 0)
                qFatal("memfd");
            shared_ = mapShared(memfd_, kSharedBytes, PROT_READ);
            arguments << QStringLiteral("memfd") << QString::number(memfd_);
        } else {
            arguments << QStringLiteral("pipe") << QString::number(way == Way::WidePipe ? kWidePipe : 0);
        }
        process_.setProgram(QCoreApplication::applicationFilePath());
        process_.setArguments(arguments);
        process_.setChildProcessModifier([fd = memfd_] {
            limitPictureProcess();
            if (fd >= 0)
                fcntl(fd, F_SETFD, 0);
        });
        QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] {
            const double start = threadCpuSeconds();
            bool bad = false;
            if (auto reply = reader_.read(process_, bad))
                reply_ = std::move(reply);
            if (bad)
                qFatal("bad reply");
            longest = std::max(longest, threadCpuSeconds() - start);
        });
        process_.start(QIODevice::ReadWrite);
        if (!process_.waitForStarted())
            qFatal("process not started");
    }
    ~Peer() {
        process_.closeWriteChannel();
        process_.waitForFinished();
        if (shared_)
            munmap(const_cast<uchar*>(shared_), kSharedBytes);
        if (memfd_ >= 0)
            close(memfd_);
    }

    QImage ask(QSize size) {
        protocol::Request request;
        request.id = ++id_;
        request.size.stretchTo = size;
        process_.write(protocol::encodeRequest(request));
        while (!reply_) {
            if (process_.state() != QProcess::Running)
                qFatal("process ended: %d", process_.exitCode());
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        const double start = threadCpuSeconds();
        QImage image = std::move(reply_->image);
        reply_.reset();
        const qsizetype bytes = qsizetype(size.width()) * size.height() * 4;
        if (way_ == Way::MemfdCopy) {
            image = QImage(size, QImage::Format_ARGB32_Premultiplied);
            std::memcpy(image.bits(), shared_, size_t(bytes));
        } else if (way_ == Way::MemfdWrap) {
            const uchar* m = mapShared(memfd_, size_t(bytes), PROT_READ, MAP_POPULATE);
            image = QImage(m, size.width(), size.height(), size.width() * 4, QImage::Format_ARGB32_Premultiplied,
                           &Peer::unmap, new Mapping{m, size_t(bytes)});
        }
        longest = std::max(longest, threadCpuSeconds() - start);
        return image;
    }

    // The main thread's longest run of work at once, from reading to having the image.
    double longest = 0;

private:
    struct Mapping {
        const uchar* at;
        size_t bytes;
    };
    static void unmap(void* info) {
        auto* mapping = static_cast<Mapping*>(info);
        munmap(const_cast<uchar*>(mapping->at), mapping->bytes);
        delete mapping;
    }

    Way way_;
    QProcess process_;
    protocol::ReplyReader reader_;
    std::optional<protocol::Reply> reply_;
    std::uint32_t id_ = 0;
    int memfd_ = -1;
    const uchar* shared_ = nullptr;
};

std::map<Way, std::unique_ptr<Peer>> peers;

void transfer(benchmark::State& state, Way way) {
    const QSize size(int(state.range(0)), int(state.range(1)));
    auto& peer = peers[way];
    if (!peer && way != Way::Allocate)
        peer = std::make_unique<Peer>(way);
    // The process draws each size once, outside the figures.
    if (peer) {
        peer->ask(size);
        peer->longest = 0;
    }
    double cpu = 0, longest = 0;
    for (auto _ : state) {
        const double start = threadCpuSeconds();
        QImage image = peer ? peer->ask(size) : QImage(size, QImage::Format_ARGB32_Premultiplied);
        if (!peer)
            image.fill(0);
        benchmark::DoNotOptimize(image.constBits()[image.sizeInBytes() - 1]);
        const double freeing = threadCpuSeconds();
        image = QImage();
        const double end = threadCpuSeconds();
        cpu += end - start;
        longest = std::max({longest, end - freeing, peer ? 0.0 : end - start});
    }
    if (peer)
        longest = std::max(longest, peer->longest);
    state.counters["main_cpu_ms"] = benchmark::Counter(cpu * 1e3 / double(state.iterations()));
    state.counters["longest_ms"] = benchmark::Counter(longest * 1e3);
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Args({400, 300})->Args({1280, 800})->Args({1920, 1080})->Args({6000, 4000});
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK_CAPTURE(transfer, pipe, Way::Pipe)->Apply(sizes);
BENCHMARK_CAPTURE(transfer, pipe_1mb, Way::WidePipe)->Apply(sizes);
BENCHMARK_CAPTURE(transfer, memfd_copy, Way::MemfdCopy)->Apply(sizes);
BENCHMARK_CAPTURE(transfer, memfd_wrap, Way::MemfdWrap)->Apply(sizes);
BENCHMARK_CAPTURE(transfer, allocate, Way::Allocate)->Apply(sizes);

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--serve") == 0) {
        const bool memfd = std::strcmp(argv[2], "memfd") == 0;
        const int n = std::atoi(argv[3]);
        return serve(memfd ? n : -1, memfd ? 0 : n);
    }
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    peers.clear();
    return 0;
}
