// SPDX-License-Identifier: Apache-2.0
// A progress line on standard error for long runs: files done, the total
// once the walk has ended, and files per second.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>

namespace vellmeta::cli {

class Progress {
public:
    // `enabled`: shown at all; `forced`: from the first file, else only past
    // kShownAfter files; `inPlace`: the line is redrawn in place (a terminal).
    Progress(std::ostream& err, bool enabled, bool forced, bool inPlace);

    // A file done; redraws the line at most a few times a second.
    void fileDone();
    // The walk has ended: the total is known.
    void setTotal(std::uint64_t total) { total_ = total; }
    // Clears a line drawn in place, so that a message or the report can be
    // written; returns whether there was one.
    bool clear();
    // The last line, kept.
    void finish();

    static constexpr std::uint64_t kShownAfter = 300;

private:
    void draw();

    std::ostream& err_;
    bool enabled_;
    bool forced_;
    bool inPlace_;
    bool showing_ = false;  // a line has been drawn
    bool onScreen_ = false; // a line drawn in place is on the terminal now
    std::uint64_t done_ = 0;
    std::uint64_t total_ = 0;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDrawn_;
};

} // namespace vellmeta::cli
