// Reading, decoding and formatting many clips on several threads, written in
// the order of the inputs exactly as one thread writes them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include <VellMetadataContainer/VellMetadataContainer.h>

#include "FileWalk.h"

namespace vellmeta {

struct BatchOptions {
    int jobs = 1; // threads reading, decoding and formatting clips
    Vmc::VellMetadataContainer::ColorSpace colorSpace = Vmc::VellMetadataContainer::ColorSpace::CameraNative;
    // Progress on standard error: Auto shows it past a few hundred files.
    enum class Progress { Auto, On, Off } progress = Progress::Off;
    bool errIsTerminal = false; // progress is redrawn in place
};

// The most threads a batch starts, whatever -j asks.
constexpr int kMostJobs = 256;

// Reads every input that `walkInputs` gives, decodes it and writes its entry
// in `report` to `out`, and one line per unusable input to `err`, both in
// input order; progress goes to `err` as `options` ask. Returns the exit
// status.
int runBatch(const std::vector<std::string>& arguments, const WalkOptions& walk, const BatchOptions& options,
             Vmc::ClipReport& report, std::ostream& out, std::ostream& err);

} // namespace vellmeta
