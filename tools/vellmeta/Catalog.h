// SPDX-License-Identifier: Apache-2.0
// The production catalog: every clip a scan finds, kept in a SQLite database
// as one row per file, the columns from the presentation library's catalog
// description. A file whose size, modification time and inode are those of
// its row is not read again; a changed file is decoded again and its row
// replaced; a file moved on the same disk keeps its row; a file no longer
// found is kept and marked missing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Sinks.h"

namespace vellmeta::cli {

struct CatalogOptions {
    std::string path;           // the catalog's file
    std::vector<std::string> roots; // the inputs scanned, absolute: rows under them take part
    std::string colorSpace;     // the name of the scan's colour space
    bool prune = false;         // delete the rows under the roots that are missing
};

// Opens the catalog, creating or migrating it, and returns its sink; or
// null with `problem` saying why it cannot be used (the file then untouched).
std::unique_ptr<Sink> catalogSink(const CatalogOptions& options, std::string& problem);

} // namespace vellmeta::cli
