// What decoding costs, set against the least it can cost.
//
// Every text a new container holds is a heap copy. So the floor of a decode
// is copying the 2480 header bytes once, plus one strdup and one free for
// each text that the decode stores (the empty result message included), of
// the same lengths. A reused container stores a text over the one it held
// when that has room, and comes in under the floor. The floor runs in the same process
// as the decodes; after the run a summary prints every benchmark's time and
// its ratio to the floor, from the medians when the run has repetitions:
//
//   vmc_decode_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <VellMetadataContainer/ColorCorrectionMatrix.h>
#include <VellMetadataContainer/FieldDescription.h>
#include <VellMetadataContainer/MetadataContainer.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include <benchmark/benchmark.h>

#include "support/FullHeader.h"
#include "support/HeaderImage.h"

namespace {

using Vmc::VellMetadataContainer;
using ColorSpace = VellMetadataContainer::ColorSpace;
using Vmc::testing::HeaderImage;

const HeaderImage& fullImage()
{
    static const HeaderImage image = Vmc::testing::fullHeader();
    return image;
}

// Decodes and releases the result's message, as a host does.
void decodeInto(VellMetadataContainer& c, const HeaderImage& image, ColorSpace space)
{
    Vmc::ErrorValue result = c.initFromHeader(image.header(), space);
    benchmark::DoNotOptimize(result.code);
    std::free(result.message);
}

// The lengths of the texts that decoding the full header stores: every
// defined text of the container, and the empty result message.
std::vector<std::size_t> fullHeaderTextLengths()
{
    VellMetadataContainer c;
    decodeInto(c, fullImage(), ColorSpace::CameraNative);
    std::vector<std::size_t> lengths{0};
    Vmc::forEachField(c, [&](const Vmc::FieldInfo&, const auto& field) {
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, MetaString>) {
            if (field.defined)
                lengths.push_back(std::strlen(field.text));
        }
    });
    return lengths;
}

void floorOfFullDecode(benchmark::State& state)
{
    std::vector<std::string> sources;
    for (std::size_t length : fullHeaderTextLengths())
        sources.emplace_back(length, 'x');
    std::vector<char*> held(sources.size(), nullptr);
    for (std::size_t i = 0; i < sources.size(); ++i)
        held[i] = strdup(sources[i].c_str());
    unsigned char copy[sizeof(VellRawMeta::VellFileHeaderV3)];

    for (auto _ : state) {
        std::memcpy(copy, fullImage().data(), sizeof copy);
        benchmark::DoNotOptimize(copy);
        for (std::size_t i = 0; i < sources.size(); ++i) {
            char* text = strdup(sources[i].c_str());
            std::free(held[i]);
            held[i] = text;
        }
        benchmark::ClobberMemory();
    }
    for (char* text : held)
        std::free(text);
    state.counters["texts"] = static_cast<double>(sources.size());
}

void decodeReused(benchmark::State& state, const HeaderImage& image, ColorSpace space)
{
    VellMetadataContainer c;
    decodeInto(c, image, space);
    for (auto _ : state)
        decodeInto(c, image, space);
}

void decodeFresh(benchmark::State& state, const HeaderImage& image, ColorSpace space)
{
    for (auto _ : state) {
        VellMetadataContainer c;
        decodeInto(c, image, space);
        benchmark::DoNotOptimize(c);
    }
}

void equalFullContainers(benchmark::State& state)
{
    VellMetadataContainer a;
    VellMetadataContainer b;
    decodeInto(a, fullImage(), ColorSpace::AcesAP0);
    decodeInto(b, fullImage(), ColorSpace::AcesAP0);
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
        auto floor = nanoseconds_.find("floor/full");
        std::printf("\nCPU time per call (median of the repetitions) and ratio to the floor of a full decode\n");
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
    add("floor/full", floorOfFullDecode);

    const struct {
        const char* name;
        ColorSpace space;
    } spaces[] = {{"native", ColorSpace::CameraNative}, {"wide", ColorSpace::WideGamut}, {"aces", ColorSpace::AcesAP0}};
    for (const auto& s : spaces) {
        const ColorSpace space = s.space;
        add(std::string("decode/full/") + s.name + "/reused",
            [space](benchmark::State& st) { decodeReused(st, fullImage(), space); });
        add(std::string("decode/full/") + s.name + "/fresh",
            [space](benchmark::State& st) { decodeFresh(st, fullImage(), space); });
    }

    // All 0xFF stops at the camera identity; the decodable header runs every
    // group with almost nothing to store.
    static const HeaderImage unwritten;
    static const HeaderImage decodable = HeaderImage::decodable();
    add("decode/unwritten/wide/reused", [](benchmark::State& st) { decodeReused(st, unwritten, ColorSpace::WideGamut); });
    add("decode/decodable/wide/reused", [](benchmark::State& st) { decodeReused(st, decodable, ColorSpace::WideGamut); });
    add("decode/decodable/native/reused",
        [](benchmark::State& st) { decodeReused(st, decodable, ColorSpace::CameraNative); });
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
