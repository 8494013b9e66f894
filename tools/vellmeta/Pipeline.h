// SPDX-License-Identifier: Apache-2.0
// The one way a run reads its inputs: every input (files, `-`, the files of
// -r walks) is read and decoded, on up to -j threads, and handed to the sink
// in input order; a bounded ring of inputs is in flight, so memory stays flat
// however many files there are. The output of -j N is byte for byte that of
// -j 1, standard error included.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include <vellmeta/ColorSpaces.h>

#include "FileWalk.h"
#include "Sinks.h"

namespace vellmeta::cli {

struct PipelineOptions {
    int jobs = 1; // threads reading, decoding and formatting clips
    ColorSpace colorSpace = kDefaultColorSpace;
    // Progress on standard error: Auto shows it past a few hundred files.
    enum class Progress { Auto, On, Off } progress = Progress::Off;
    bool errIsTerminal = false; // progress is redrawn in place
};

// The most threads a run starts, whatever -j asks.
constexpr int kMostJobs = 256;

// Runs every input of `arguments` (walked as `walk` says) through `sink`,
// the report to `out` and messages to `err`. Returns the exit status: the
// worst of the inputs' and the sink's.
int runPipeline(const std::vector<std::string>& arguments, const WalkOptions& walk, const PipelineOptions& options,
                Sink& sink, std::ostream& out, std::ostream& err);

} // namespace vellmeta::cli
