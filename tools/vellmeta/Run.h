// SPDX-License-Identifier: Apache-2.0
// A run of the tool: every input scanned into one sink, the report on
// standard output, one line per message on standard error, both in input
// order, and progress on standard error as asked.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include <vellmeta/Scan.h>

#include "Sinks.h"

namespace vellmeta::cli {

struct RunOptions {
    ScanOptions scan;
    // Progress on standard error: Auto shows it past a few hundred files.
    enum class Progress { Auto, On, Off } progress = Progress::Off;
    bool errIsTerminal = false; // progress is redrawn in place
};

// Returns the exit status: the worst of the inputs' and the sink's.
int run(const std::vector<std::string>& inputs, RunOptions options, Sink& sink, std::ostream& out, std::ostream& err);

} // namespace vellmeta::cli
