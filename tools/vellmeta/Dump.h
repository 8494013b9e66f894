// Reading header files and dumping what their headers say, as text for a
// person or as one JSON document.
#pragma once

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include <VellMetadataContainer/VellMetadataContainer.h>

#include "FieldValues.h"

namespace vellmeta {

using HeaderBytes = std::array<unsigned char, VellRawMeta::kVellFileHeaderV3Size>;

// Reads the first 2480 bytes of the file at `path` into `header`. Returns an
// empty text on success, otherwise what is wrong with the file ("is a
// directory", "is 2479 bytes long, ..."). `regularOnly`: anything but a
// regular file is refused, unopened if it is a FIFO (a walk's files).
std::string readHeader(const std::string& path, HeaderBytes& header, bool regularOnly = false);

// What is wrong with a header of which only `got` bytes could be read; empty
// when all 2480 were.
std::string shortHeaderProblem(std::size_t got);

struct Options {
    bool json = false; // one JSON document instead of text
    bool all = false;  // undefined fields too (spare fields included)
    Vmc::VellMetadataContainer::ColorSpace colorSpace = Vmc::VellMetadataContainer::ColorSpace::CameraNative;
};

// The outcome of decoding one file, its message copied off the C heap.
struct Decoded {
    const std::string& path;
    const Vmc::VellMetadataContainer& container;
    bool isError;
    std::uint32_t code;
    std::string message;
};

// One file's JSON object: its path, the result and the defined fields (with
// `all`, the undefined ones too, as null) in container order.
Json jsonEntry(const Decoded& decoded, bool all);

// Exit statuses: the worst of all files wins.
enum ExitStatus : int {
    kAllDecoded = 0,   // every header decoded without a failure
    kHeaderFailed = 1, // some header reported a failure (still printed)
    kUnusable = 2,     // unusable arguments, or a file that could not be read
};

// Decodes every file and writes its fields to `out`, one line on `err` for
// each file that cannot be read (the others are still dumped). Returns the
// exit status.
int dumpFiles(const std::vector<std::string>& paths, const Options& options, std::ostream& out, std::ostream& err);

} // namespace vellmeta
