// Comparing what two headers say, field by field.
#pragma once

#include <ostream>
#include <string>

#include "Dump.h"

namespace vellmeta {

// Decodes both files and writes the fields whose values differ or that only
// one of them defines (with options.report.all, the equal ones too), as text
// or, with the JSON format, as one JSON object. Returns 0 when no field
// differs, 1 when some do, 2 when a file cannot be read.
int diffFiles(const std::string& pathA, const std::string& pathB, const Options& options, std::ostream& out,
              std::ostream& err);

} // namespace vellmeta
