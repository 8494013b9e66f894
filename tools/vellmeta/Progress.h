// A progress line on standard error for long runs: files done, the total
// once the walk has ended, and files per second.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>

namespace vellmeta {

class Progress {
public:
    // `shown`: always (forced) or only past kShownAfter files (a terminal);
    // `inPlace`: the line is rewritten in place, as on a terminal.
    Progress(std::ostream& err, bool enabled, bool forced, bool inPlace);

    // A file done; redraws the line at most a few times a second.
    void fileDone();
    // The walk has ended: the total is known.
    void setTotal(std::uint64_t total) { total_ = total; }
    // Clears the line so that a message can be written.
    void clear();
    // The last line, kept.
    void finish();

    static constexpr std::uint64_t kShownAfter = 300;

private:
    void draw();

    std::ostream& err_;
    bool enabled_;
    bool forced_;
    bool inPlace_;
    bool showing_ = false;
    std::uint64_t done_ = 0;
    std::uint64_t total_ = 0;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDrawn_;
};

} // namespace vellmeta
