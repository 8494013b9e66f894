// Many threads decode varied headers at the same time, each into its own
// containers, and all of them use the camera-native calibration sets for
// the first time together: every result must match a decode made afterwards
// on one thread. Under ThreadSanitizer this also shows that decoding shares
// nothing writable between threads.
//
// ctest runs each test in its own process, so no decode with the native
// colour space happens before the threads start.
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/ContainerProbe.h"
#include "support/FullHeader.h"
#include "support/HeaderFieldMap.h"

using Vmc::VellMetadataContainer;
using Vmc::testing::HeaderImage;
using ColorSpace = VellMetadataContainer::ColorSpace;

namespace {

constexpr int kThreads = 8;
constexpr int kMutatedHeaders = 120;

// Native first, so that every thread's first decode needs the calibration sets.
constexpr ColorSpace kColorSpaces[] = {ColorSpace::CameraNative, ColorSpace::AcesAP0, ColorSpace::WideGamut};
constexpr int kColorSpaceCount = 3;

std::vector<HeaderImage> sampleHeaders()
{
    std::vector<HeaderImage> headers;
    namespace fs = std::filesystem;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(VMC_SAMPLES_DIR, error)) {
        if (!entry.is_regular_file())
            continue;
        HeaderImage image;
        std::ifstream file(entry.path(), std::ios::binary);
        file.read(reinterpret_cast<char*>(image.data()), VellRawMeta::kVellFileHeaderV3Size);
        headers.push_back(image);
    }
    return headers;
}

std::vector<HeaderImage> variedHeaders()
{
    std::vector<HeaderImage> headers = {Vmc::testing::fullHeader(), HeaderImage::decodable(), HeaderImage()};
    const std::vector<HeaderImage> samples = sampleHeaders();
    headers.insert(headers.end(), samples.begin(), samples.end());
    std::mt19937 rng(2480);
    for (int i = 0; i < kMutatedHeaders; ++i) {
        HeaderImage image = i % 4 == 0 ? HeaderImage::decodable() : Vmc::testing::fullHeader();
        const int fields = 1 + i % 8;
        for (int f = 0; f < fields; ++f)
            Vmc::testing::mutateField(image.data(), rng);
        headers.push_back(image);
    }
    return headers;
}

struct Decoded {
    VellMetadataContainer container;
    bool isError = false;
    std::uint32_t code = 0;
    std::string message;
};

Decoded decode(const HeaderImage& image, ColorSpace colorSpace)
{
    Decoded d;
    Vmc::ErrorValue result = d.container.initFromHeader(image.header(), colorSpace);
    d.isError = result.isError;
    d.code = result.code;
    d.message = result.message;
    std::free(result.message);
    return d;
}

} // namespace

TEST(Concurrency, ThreadsDecodeAsOneThreadDoes)
{
    const std::vector<HeaderImage> headers = variedHeaders();
    const int jobs = static_cast<int>(headers.size()) * kColorSpaceCount;
    auto header = [&](int job) -> const HeaderImage& { return headers[static_cast<std::size_t>(job / kColorSpaceCount)]; };
    auto colorSpace = [&](int job) { return kColorSpaces[job % kColorSpaceCount]; };

    // Each thread runs every job, starting at its own header, once all
    // threads are ready.
    std::vector<std::vector<Decoded>> results(kThreads, std::vector<Decoded>(static_cast<std::size_t>(jobs)));
    std::atomic<int> waiting{kThreads};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            waiting.fetch_sub(1);
            while (waiting.load() > 0)
                std::this_thread::yield();
            const int start = t * kColorSpaceCount;
            for (int i = 0; i < jobs; ++i) {
                const int job = (start + i) % jobs;
                results[static_cast<std::size_t>(t)][static_cast<std::size_t>(job)] =
                    decode(header(job), colorSpace(job));
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    std::cout << kThreads << " threads decoded " << headers.size() << " headers in " << kColorSpaceCount
              << " colour spaces each (" << kThreads * jobs << " decodes)\n";

    int compared = 0;
    for (int job = 0; job < jobs; ++job) {
        const Decoded reference = decode(header(job), colorSpace(job));
        const bool ordered = !Vmc::testing::holdsUnorderedValue(reference.container);
        for (int t = 0; t < kThreads; ++t) {
            const Decoded& got = results[static_cast<std::size_t>(t)][static_cast<std::size_t>(job)];
            SCOPED_TRACE("thread " + std::to_string(t) + ", header " + std::to_string(job / kColorSpaceCount) +
                         ", colour space " + std::to_string(static_cast<int>(colorSpace(job))));
            EXPECT_EQ(got.isError, reference.isError);
            EXPECT_EQ(got.code, reference.code);
            EXPECT_EQ(got.message, reference.message);
            const char* difference = Vmc::testing::firstDifference(got.container, reference.container);
            EXPECT_EQ(difference, nullptr) << difference;
            if (ordered) {
                EXPECT_TRUE(got.container == reference.container);
                EXPECT_TRUE(reference.container == got.container);
            }
            ++compared;
        }
    }
    EXPECT_EQ(compared, kThreads * jobs);
}
