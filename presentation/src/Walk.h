// SPDX-License-Identifier: Apache-2.0
// The inputs of a scan, in the order they are read: files named as given,
// `-` for standard input, and with a walk the files found in the folders
// named, picked by extension.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <vellmeta/Scan.h>

namespace vellmeta {

struct Input {
    enum class Kind {
        File,          // a file to read: named, or found by a walk
        StandardInput, // `-`: one header read from standard input
        Problem,       // something a walk cannot use: one message, nothing to read
        Note,          // something a walk skips on purpose: one message
    };
    Kind kind = Kind::File;
    std::string path;
    std::string message;      // Problem and Note: what is wrong or skipped
    bool foundByWalk = false; // a walk reads regular files only
};

// Calls `visit` with every input in order (see scan in Scan.h). A walk holds
// one folder's sorted names per level it has descended, never the whole list
// of files, so it streams: the total number of files is known only when it
// ends.
void walkInputs(const std::vector<std::string>& arguments, const WalkOptions& options,
                const std::function<void(Input&&)>& visit);

} // namespace vellmeta
