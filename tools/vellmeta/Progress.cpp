// SPDX-License-Identifier: Apache-2.0
#include "Progress.h"

#include <cstdio>

namespace vellmeta::cli {

namespace {
constexpr auto kRedrawEvery = std::chrono::milliseconds(200);
}

Progress::Progress(std::ostream& err, bool enabled, bool forced, bool inPlace)
    : err_(err), enabled_(enabled), forced_(forced), inPlace_(inPlace), start_(std::chrono::steady_clock::now()),
      lastDrawn_(start_)
{
}

void Progress::fileDone()
{
    ++done_;
    // The clock is read every 64 files only: a file takes microseconds.
    if (!enabled_ || (done_ & 63) != 0 || (!forced_ && done_ <= kShownAfter))
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastDrawn_ < kRedrawEvery)
        return;
    lastDrawn_ = now;
    draw();
}

void Progress::draw()
{
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    char line[128];
    int n = std::snprintf(line, sizeof line, "vellmeta: %llu", static_cast<unsigned long long>(done_));
    if (total_ != 0)
        n += std::snprintf(line + n, sizeof line - static_cast<std::size_t>(n), " of %llu",
                           static_cast<unsigned long long>(total_));
    std::snprintf(line + n, sizeof line - static_cast<std::size_t>(n), " files, %.0f files/s",
                  seconds > 0 ? static_cast<double>(done_) / seconds : 0.0);
    if (inPlace_)
        err_ << '\r' << line << "\x1b[K" << std::flush;
    else
        err_ << line << '\n' << std::flush;
    showing_ = true;
    onScreen_ = inPlace_;
}

bool Progress::clear()
{
    if (!onScreen_)
        return false;
    err_ << "\r\x1b[K" << std::flush;
    onScreen_ = false;
    return true;
}

void Progress::finish()
{
    if (!enabled_ || (!showing_ && !forced_))
        return;
    draw();
    if (inPlace_)
        err_ << '\n' << std::flush;
    onScreen_ = false;
}

} // namespace vellmeta::cli
