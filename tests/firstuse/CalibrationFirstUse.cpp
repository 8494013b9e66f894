// SPDX-License-Identifier: Apache-2.0
// Concurrent first use of the calibration lists.
//
// The lists are process-wide and filled on first use, so "first use" can only
// be tested in a process where nothing has touched them yet: this executable
// holds a single test, in which eight threads released together make the very
// first calls. Each list must be filled exactly once and every thread must see
// the same 18 matrices; under ThreadSanitizer the run also shows that no
// caller reads a list while another fills it.
#include <VellMetadataContainer/ColorCorrectionMatrix.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "../support/MatrixElements.h"
#include "color/CalibrationSets.h"

using Vmc::ColorCorrectionMatrixTable;

namespace {

// Both lists, CCT and elements of each matrix in a row; `ndFirst` picks which
// list is asked for first, so both lists see racing first calls.
std::vector<double> bothLists(bool ndFirst)
{
    std::vector<double> seen;
    for (bool nd : {ndFirst, !ndFirst}) {
        for (const auto& m : nd ? ColorCorrectionMatrixTable::NDMatrices() : ColorCorrectionMatrixTable::noNDMatrices()) {
            const Vmc::testing::Elements e = Vmc::testing::elements(m.matrix());
            seen.push_back(m.cct());
            seen.insert(seen.end(), e.begin(), e.end());
        }
    }
    if (ndFirst) // the same order in every thread
        std::rotate(seen.begin(), seen.begin() + seen.size() / 2, seen.end());
    return seen;
}

} // namespace

TEST(CalibrationFirstUse, ConcurrentFirstCallsFillEachListOnce)
{
    ASSERT_EQ(Vmc::color::calibrationListsFilled(), 0) << "something used the lists before this test";

    constexpr int kThreads = 8;
    std::array<std::vector<double>, kThreads> seen;
    std::atomic<int> waiting{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            waiting.fetch_add(1);
            while (waiting.load() < kThreads)
                std::this_thread::yield();
            seen[t] = bothLists(t % 2 == 1);
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    EXPECT_EQ(Vmc::color::calibrationListsFilled(), 2);
    ASSERT_EQ(seen[0].size(), 2 * 18 * 10u);
    for (int t = 1; t < kThreads; ++t)
        EXPECT_EQ(seen[t], seen[0]) << "thread " << t;
}
