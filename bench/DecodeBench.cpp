// SPDX-License-Identifier: Apache-2.0
// What decoding costs, set against the least it can cost.
//
// The headers are those of a shoot (ShootDay.h): a thousand clips of four
// cameras, every one with its own time, time code, lens settings, slate,
// UUID and identifier, decoded one after the other as a player or a batch
// tool meets them. Each decode is set against the floor of decoding the
// same headers (DecodeFloor.h): copying each header, plus one strdup and one
// free for each text that decoding it stores, into a new container and into
// one reused container alike. The floor runs in the same process as the
// decodes; after the run a summary prints every benchmark's time and its
// ratio to the floor, from the medians when the run has repetitions:
//
//   vmc_decode_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//
// bench/decode-instructions counts the instructions of the same loops.
#include <VellMetadataContainer/ColorCorrectionMatrix.h>
#include <VellMetadataContainer/MetadataContainer.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "DecodeFloor.h"
#include "support/FullHeader.h"
#include "support/HeaderImage.h"

namespace {

using Vmc::VellMetadataContainer;
using Vmc::bench::ColorSpace;
using Vmc::bench::decodeInto;
using Vmc::testing::HeaderImage;

const std::vector<HeaderImage>& shootDay()
{
    static const std::vector<HeaderImage> headers = Vmc::bench::decodeHeaders();
    return headers;
}

// The next header of the cycle.
std::size_t next(std::size_t i) { return i + 1 == shootDay().size() ? 0 : i + 1; }

void floorOfShootDay(benchmark::State& state)
{
    Vmc::bench::DecodeFloor floor(shootDay());
    for (std::size_t i = 0; i < shootDay().size(); ++i)
        floor.run(i);
    std::size_t i = 0;
    for (auto _ : state) {
        floor.run(i);
        i = next(i);
    }
    state.counters["texts"] = floor.textsPerHeader();
}

void decodeReused(benchmark::State& state, ColorSpace space)
{
    VellMetadataContainer c;
    for (const HeaderImage& image : shootDay())
        decodeInto(c, image, space);
    std::size_t i = 0;
    for (auto _ : state) {
        decodeInto(c, shootDay()[i], space);
        i = next(i);
    }
}

void decodeFresh(benchmark::State& state, ColorSpace space)
{
    std::size_t i = 0;
    for (auto _ : state) {
        VellMetadataContainer c;
        decodeInto(c, shootDay()[i], space);
        benchmark::DoNotOptimize(c);
        i = next(i);
    }
}

// Decodes one fixed header over and over.
void decodeOneReused(benchmark::State& state, const HeaderImage& image, ColorSpace space)
{
    VellMetadataContainer c;
    decodeInto(c, image, space);
    for (auto _ : state)
        decodeInto(c, image, space);
}

void equalFullContainers(benchmark::State& state)
{
    const HeaderImage full = Vmc::testing::fullHeader();
    VellMetadataContainer a;
    VellMetadataContainer b;
    decodeInto(a, full, ColorSpace::AcesAP0);
    decodeInto(b, full, ColorSpace::AcesAP0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        bool equal = a == b;
        benchmark::DoNotOptimize(equal);
    }
}

void cameraNative(benchmark::State& state)
{
    unsigned short cct = 2000;
    bool ndIn = false;
    for (auto _ : state) {
        Vmc::Chromaticities c = Vmc::ColorCorrectionMatrixTable::cameraNativeChromaticities(cct, ndIn);
        benchmark::DoNotOptimize(c);
        cct = static_cast<unsigned short>(cct >= 11500 ? 1500 : cct + 37);
        ndIn = !ndIn;
    }
}

// The console report, then each benchmark's CPU time per iteration and its
// ratio to the floor: the median when the run has repetitions, else the one
// measurement.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const std::string name = run.run_name.str();
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if ((median || single) && !run.error_occurred)
                nanoseconds_[name] = run.GetAdjustedCPUTime() * nanosecondsPer(run.time_unit);
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        auto floor = nanoseconds_.find("floor/shootday");
        std::printf("\nCPU time per call (median of the repetitions) and ratio to the floor of decoding the same "
                    "shoot-day headers\n");
        for (const std::string& name : order_) {
            auto it = nanoseconds_.find(name);
            if (it == nanoseconds_.end())
                continue;
            if (floor != nanoseconds_.end() && floor->second > 0)
                std::printf("  %-34s %10.1f ns  %6.2f x floor\n", name.c_str(), it->second, it->second / floor->second);
            else
                std::printf("  %-34s %10.1f ns\n", name.c_str(), it->second);
        }
    }

    void remember(const std::string& name) { order_.push_back(name); }

private:
    static double nanosecondsPer(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kNanosecond: return 1.0;
        case benchmark::kMicrosecond: return 1e3;
        case benchmark::kMillisecond: return 1e6;
        case benchmark::kSecond: return 1e9;
        }
        return 1.0;
    }

    std::vector<std::string> order_;
    std::map<std::string, double> nanoseconds_;
};

// Registers every benchmark, in the order of the summary.
template <class Add>
void registerAll(Add&& add)
{
    add("floor/shootday", floorOfShootDay);

    const struct {
        const char* name;
        ColorSpace space;
    } spaces[] = {{"native", ColorSpace::CameraNative}, {"wide", ColorSpace::WideGamut}, {"aces", ColorSpace::AcesAP0}};
    for (const auto& s : spaces) {
        const ColorSpace space = s.space;
        const std::string name = std::string("decode/shootday/") + s.name;
        add(name + "/reused", [space](benchmark::State& st) { decodeReused(st, space); });
        add(name + "/fresh", [space](benchmark::State& st) { decodeFresh(st, space); });
    }

    // All 0xFF stops at the camera identity; the decodable header runs every
    // group with almost nothing to store.
    static const HeaderImage unwritten;
    static const HeaderImage decodable = HeaderImage::decodable();
    add("decode/unwritten/wide/reused",
        [](benchmark::State& st) { decodeOneReused(st, unwritten, ColorSpace::WideGamut); });
    add("decode/decodable/wide/reused",
        [](benchmark::State& st) { decodeOneReused(st, decodable, ColorSpace::WideGamut); });
    add("decode/decodable/native/reused",
        [](benchmark::State& st) { decodeOneReused(st, decodable, ColorSpace::CameraNative); });
    add("equality/full", equalFullContainers);
    add("cameraNativeChromaticities", cameraNative);
}

} // namespace

int main(int argc, char** argv)
{
    RatioReporter reporter;
    registerAll([&](const std::string& name, auto function) {
        benchmark::RegisterBenchmark(name.c_str(), function);
        reporter.remember(name);
    });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
