// Reading, decoding and formatting many clips on several threads, written in
// the order of the inputs exactly as one thread writes them.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <VellMetadataContainer/ClipReport.h>
#include <VellMetadataContainer/VellMetadataContainer.h>

#include "FileWalk.h"

namespace vellmeta {

// A report format split so that clips can be formatted on worker threads:
// each worker formats with its own copy, and the one thread that writes the
// report in order adds what goes before, between and after the clips.
class ClipFormatter {
public:
    virtual ~ClipFormatter() = default;
    // A copy for a worker thread.
    virtual std::unique_ptr<ClipFormatter> copy() const = 0;
    // Appends what comes before the first clip.
    virtual void begin(std::string& out) = 0;
    // Appends what goes before a clip's entry (`first`: no clip before it).
    virtual void separator(std::string& out, bool first) = 0;
    // Appends one clip's entry; depends on nothing but the clip.
    virtual void clip(std::string& out, const Vmc::VellMetadataContainer& container, const Vmc::ClipResult& result) = 0;
    // Appends what comes after the last clip (`any`: some clip was written).
    virtual void end(std::string& out, bool any) = 0;
};

struct BatchOptions {
    int jobs = 1; // threads reading, decoding and formatting clips
    Vmc::VellMetadataContainer::ColorSpace colorSpace = Vmc::VellMetadataContainer::ColorSpace::CameraNative;
    enum class Progress { Auto, On, Off } progress = Progress::Auto;
    bool errIsTerminal = false; // standard error is a terminal (progress in place, shown by default)
};

// The most threads a batch starts, whatever -j asks.
constexpr int kMostJobs = 256;

// Reads every input that `walkInputs` gives, decodes and formats it, writes
// the report to `out` and one line per unusable input to `err` (both in input
// order), and progress to `err` as `options` ask. Returns the exit status.
int runBatch(const std::vector<std::string>& arguments, const WalkOptions& walk, const BatchOptions& options,
             ClipFormatter& formatter, std::ostream& out, std::ostream& err);

} // namespace vellmeta
