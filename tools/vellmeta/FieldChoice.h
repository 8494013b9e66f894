// SPDX-License-Identifier: Apache-2.0
// Turning the names on the command line (--fields, --group) into the
// fields and headings of a report, with a clear message for a name that does
// not exist.
#pragma once

#include <string>
#include <vector>

#include <vellmeta/Fields.h>

namespace vellmeta::cli {

// Parses a comma-separated list of container field names into their
// indexes, in the order given. Returns an empty text, or what is wrong (an
// empty list, an unknown name with the close matches).
std::string chooseFields(const std::string& list, std::vector<int>& fields);

// Maps heading names ("camera", "lens", ...; any case) to their groups.
std::string chooseHeadings(const std::vector<std::string>& names, std::vector<Heading>& headings);

// The heading names, separated by commas.
std::string headingNames();

} // namespace vellmeta::cli
