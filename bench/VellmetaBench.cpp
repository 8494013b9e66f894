// How fast vellmeta dumps header files to JSON, and whether its memory stays
// flat as the number of files grows.
//
//   cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DVMC_BUILD_BENCHMARKS=ON
//   cmake --build build/bench -j2 --target vellmeta_bench && build/bench/bench/vellmeta_bench
//
// Counters: files/s; allocated bytes per file; peak_heap, the most heap in
// use at once during a run beyond what was in use before it (the list of
// paths excluded), which stays the same for 1,000 and 10,000 files when the
// JSON is streamed file by file.
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <streambuf>
#include <string>
#include <vector>

#include <malloc.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "Dump.h"

namespace fs = std::filesystem;

// Heap accounting for every allocation of the program.
namespace {
std::atomic<std::size_t> gAllocated{0};
std::atomic<std::size_t> gLive{0};
std::atomic<std::size_t> gPeak{0};

void* allocate(std::size_t size)
{
    void* p = std::malloc(size != 0 ? size : 1);
    if (p == nullptr)
        throw std::bad_alloc();
    const std::size_t usable = ::malloc_usable_size(p);
    gAllocated += usable;
    const std::size_t live = gLive += usable;
    std::size_t peak = gPeak.load();
    while (live > peak && !gPeak.compare_exchange_weak(peak, live)) {
    }
    return p;
}

void release(void* p) noexcept
{
    if (p == nullptr)
        return;
    gLive -= ::malloc_usable_size(p);
    std::free(p);
}
} // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }

namespace {

// Discards what is written, counting the bytes.
class CountingSink : public std::streambuf {
public:
    std::size_t bytes = 0;

protected:
    int overflow(int c) override
    {
        ++bytes;
        return c;
    }
    std::streamsize xsputn(const char*, std::streamsize n) override
    {
        bytes += static_cast<std::size_t>(n);
        return n;
    }
};

const char* const kSamples[] = {
    "corva-compact.vellraw",      "corva-stage.vellraw",        "corva-nx-r-by-serial.vellraw",
    "k40-older-camera.vellraw",   "failures/unknown-flip-state.vellraw", "failures/serial-in-no-range.vellraw",
};

// 10,000 header files on disk, copies of the samples in turn; removed when
// the program ends.
class HeaderFiles {
public:
    static constexpr int kCount = 10000;

    HeaderFiles()
    {
        char pattern[] = "/tmp/vellmeta-bench-XXXXXX";
        if (::mkdtemp(pattern) == nullptr)
            std::abort();
        dir_ = pattern;
        std::vector<std::string> images;
        for (const char* name : kSamples) {
            std::ifstream in(std::string(VMC_SAMPLES_DIR) + "/" + name, std::ios::binary);
            images.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        for (int i = 0; i < kCount; ++i) {
            const std::string& image = images[static_cast<std::size_t>(i) % images.size()];
            paths_.push_back((dir_ / ("clip" + std::to_string(i) + ".vellraw")).string());
            std::ofstream(paths_.back(), std::ios::binary).write(image.data(), static_cast<std::streamsize>(image.size()));
        }
    }
    ~HeaderFiles()
    {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    std::vector<std::string> first(std::size_t n) const { return {paths_.begin(), paths_.begin() + static_cast<long>(n)}; }

private:
    fs::path dir_;
    std::vector<std::string> paths_;
};

const HeaderFiles& headerFiles()
{
    static const HeaderFiles files;
    return files;
}

// Reporting header files in one view, as vellmeta does: files per second,
// bytes allocated per file and the peak heap as the number of files grows.
void DumpFiles(benchmark::State& state, Vmc::ReportFormat format)
{
    const std::vector<std::string> paths = headerFiles().first(static_cast<std::size_t>(state.range(0)));
    vellmeta::Options options;
    options.report.format = format;

    std::size_t allocated = 0;
    std::size_t peak = 0;
    std::size_t written = 0;
    for (auto _ : state) {
        CountingSink sink;
        std::ostream out(&sink);
        const std::size_t allocatedBefore = gAllocated.load();
        const std::size_t liveBefore = gLive.load();
        gPeak = liveBefore;
        benchmark::DoNotOptimize(vellmeta::dumpFiles(paths, options, out, out));
        allocated += gAllocated.load() - allocatedBefore;
        peak = std::max(peak, gPeak.load() - liveBefore);
        written += sink.bytes;
    }
    const double files = static_cast<double>(state.iterations()) * static_cast<double>(paths.size());
    state.SetItemsProcessed(static_cast<std::int64_t>(files));
    state.counters["files/s"] = benchmark::Counter(files, benchmark::Counter::kIsRate);
    state.counters["allocated/file"] = static_cast<double>(allocated) / files;
    state.counters["bytes/file"] = static_cast<double>(written) / files;
    state.counters["peak_heap"] = static_cast<double>(peak);
}
BENCHMARK_CAPTURE(DumpFiles, json, Vmc::ReportFormat::Json)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(DumpFiles, csv, Vmc::ReportFormat::Csv)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(DumpFiles, text, Vmc::ReportFormat::Text)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One clip whose every field is defined, in each view: what each file costs
// once every field group is decoded.
void ReportOfFullyDefinedContainer(benchmark::State& state, Vmc::ReportFormat format)
{
    Vmc::VellMetadataContainer container;
    Vmc::forEachField(container, [](const Vmc::FieldInfo& info, auto& field) {
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, MetaString>)
            field = (std::string(info.name) + " as a header text").c_str();
        else
            field.defined = 1;
    });
    const std::string path = "/tmp/clips/A001_C002_0612XY.vellraw";
    Vmc::ReportOptions options;
    options.format = format;
    Vmc::ClipReport report(options);
    std::string out;
    std::size_t written = 0;
    for (auto _ : state) {
        out.clear();
        report.clip(out, container, {path, false, 0, ""});
        written += out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["bytes/file"] = static_cast<double>(written) / static_cast<double>(state.iterations());
}
BENCHMARK_CAPTURE(ReportOfFullyDefinedContainer, json, Vmc::ReportFormat::Json);
BENCHMARK_CAPTURE(ReportOfFullyDefinedContainer, csv, Vmc::ReportFormat::Csv);
BENCHMARK_CAPTURE(ReportOfFullyDefinedContainer, text, Vmc::ReportFormat::Text);

} // namespace

BENCHMARK_MAIN();
