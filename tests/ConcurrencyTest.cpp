// SPDX-License-Identifier: Apache-2.0
// Many threads decode varied headers at the same time, each into its own
// containers, and all of them use the camera-native calibration sets for
// the first time together: every result must match a decode made afterwards
// on one thread. Under ThreadSanitizer this also shows that decoding shares
// nothing writable between threads.
//
// ctest runs each test in its own process, so no decode with the native
// colour space happens before the threads start.
#include <atomic>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "support/ContainerProbe.h"
#include "support/HeaderFieldMap.h"

using Vmc::testing::Decoded;
using Vmc::testing::HeaderImage;
using ColorSpace = Vmc::VellMetadataContainer::ColorSpace;

namespace {

// Native first, so that every thread's first decode needs the calibration sets.
constexpr ColorSpace kColorSpaces[] = {ColorSpace::CameraNative, ColorSpace::AcesAP0, ColorSpace::WideGamut};
constexpr std::size_t kSpaces = std::size(kColorSpaces);

} // namespace

TEST(Concurrency, ThreadsDecodeAsOneThreadDoes)
{
    const std::vector<HeaderImage> headers = Vmc::testing::variedHeaders(VMC_SAMPLES_DIR, 120, 2480);
    const std::size_t jobs = headers.size() * kSpaces;
    auto run = [&](std::size_t job) {
        return Vmc::testing::decode(headers[job / kSpaces], {}, kColorSpaces[job % kSpaces]);
    };

    // Eight threads run every job, each starting at its own header, once all
    // of them are ready.
    constexpr std::size_t kThreads = 8;
    std::vector<std::vector<Decoded>> results(kThreads, std::vector<Decoded>(jobs));
    std::atomic<std::size_t> waiting{kThreads};
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            waiting.fetch_sub(1);
            while (waiting.load() > 0)
                std::this_thread::yield();
            for (std::size_t i = 0; i < jobs; ++i)
                results[t][(t * kSpaces + i) % jobs] = run((t * kSpaces + i) % jobs);
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    for (std::size_t job = 0; job < jobs; ++job) {
        const Decoded reference = run(job);
        for (std::size_t t = 0; t < kThreads; ++t) {
            SCOPED_TRACE("thread " + std::to_string(t) + ", job " + std::to_string(job));
            const Decoded& got = results[t][job];
            EXPECT_EQ(std::tie(got.isError, got.code, got.message),
                      std::tie(reference.isError, reference.code, reference.message));
            const char* difference = Vmc::testing::firstDifference(got.c, reference.c);
            EXPECT_EQ(difference, nullptr) << difference;
        }
    }
}
