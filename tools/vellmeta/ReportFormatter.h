// The batch's formatter for the report formats of the command-line tool.
#pragma once

#include <memory>

#include "Batch.h"
#include "Dump.h"

namespace vellmeta {

std::unique_ptr<ClipFormatter> makeFormatter(const Options& options);

} // namespace vellmeta
