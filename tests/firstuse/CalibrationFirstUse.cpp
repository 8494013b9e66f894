// Concurrent first use of the calibration lists.
//
// The lists are process-wide and filled on first use, so "first use" can only
// be tested in a process where nothing has touched them yet. This check
// therefore lives in its own small executable, apart from vmc_tests, and holds
// a single test: eight threads released together make the very first calls.
// Each list must be filled exactly once and every thread must see the same 18
// matrices. Under ThreadSanitizer the run also shows that no caller reads a
// list while another fills it.
#include <VellMetadataContainer/ColorCorrectionMatrix.h>

#include <array>
#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "../support/MatrixElements.h"
#include "color/CalibrationSets.h"

using Vmc::ColorCorrectionMatrix;
using Vmc::ColorCorrectionMatrixTable;
using Vmc::testing::elements;

namespace {

constexpr int kThreads = 8;

struct Seen {
    std::vector<ColorCorrectionMatrix> withoutNd;
    std::vector<ColorCorrectionMatrix> withNd;
    Vmc::Chromaticities native;
};

void expectSameLists(const std::vector<ColorCorrectionMatrix>& a, const std::vector<ColorCorrectionMatrix>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].cct(), b[i].cct()) << i;
        EXPECT_EQ(elements(a[i].matrix()), elements(b[i].matrix())) << i;
    }
}

} // namespace

TEST(CalibrationFirstUse, ConcurrentFirstCallsFillEachListOnce)
{
    ASSERT_EQ(Vmc::color::calibrationListsFilled(), 0) << "something used the lists before this test";

    std::array<Seen, kThreads> seen;
    std::atomic<int> waiting{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            waiting.fetch_add(1);
            while (!go.load())
                std::this_thread::yield();
            // Half the threads start with each list, so both see racing first calls.
            if (t % 2 == 0) {
                seen[t].withoutNd = ColorCorrectionMatrixTable::noNDMatrices();
                seen[t].withNd = ColorCorrectionMatrixTable::NDMatrices();
            } else {
                seen[t].withNd = ColorCorrectionMatrixTable::NDMatrices();
                seen[t].withoutNd = ColorCorrectionMatrixTable::noNDMatrices();
            }
            seen[t].native = ColorCorrectionMatrixTable::cameraNativeChromaticities(5600, t % 2 == 0);
        });
    }
    while (waiting.load() < kThreads)
        std::this_thread::yield();
    go.store(true);
    for (std::thread& thread : threads)
        thread.join();

    EXPECT_EQ(Vmc::color::calibrationListsFilled(), 2);
    ASSERT_EQ(seen[0].withoutNd.size(), 18u);
    ASSERT_EQ(seen[0].withNd.size(), 18u);
    for (int t = 1; t < kThreads; ++t) {
        SCOPED_TRACE(t);
        expectSameLists(seen[0].withoutNd, seen[t].withoutNd);
        expectSameLists(seen[0].withNd, seen[t].withNd);
        EXPECT_TRUE(seen[t % 2].native == seen[t].native);
    }
}
