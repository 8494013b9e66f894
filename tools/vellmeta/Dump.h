// Reading and decoding header files.
#pragma once

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include <VellMetadataContainer/VellMetadataContainer.h>

namespace vellmeta {

using HeaderBytes = std::array<unsigned char, VellRawMeta::kVellFileHeaderV3Size>;

// Reads the first 2480 bytes of the file at `path` into `header`. Returns an
// empty text on success, otherwise what is wrong with the file ("is a
// directory", "is 2479 bytes long, ..."). `regularOnly`: anything but a
// regular file is refused, unopened if it is a FIFO (a walk's files).
std::string readHeader(const std::string& path, HeaderBytes& header, bool regularOnly = false);

struct Options {
    Vmc::ReportOptions report;
    Vmc::VellMetadataContainer::ColorSpace colorSpace = Vmc::VellMetadataContainer::ColorSpace::CameraNative;
};

// Exit statuses: the worst of all files wins.
enum ExitStatus : int {
    kAllDecoded = 0,   // every header decoded without a failure (with --diff: no field differs)
    kHeaderFailed = 1, // some header reported a failure, still shown (with --diff: some field differs)
    kUnusable = 2,     // unusable arguments, or a file that could not be read
};

// A decoded clip: its container and result, the message copied off the C heap.
struct DecodedClip {
    Vmc::VellMetadataContainer container;
    bool isError = false;
    std::uint32_t code = 0;
    std::string message;

    Vmc::ClipResult result(const std::string& path) const { return {path, isError, code, message}; }
};

// Reads and decodes one file into `clip`; on failure returns what is wrong.
std::string decodeFile(const std::string& path, Vmc::VellMetadataContainer::ColorSpace colorSpace,
                       DecodedClip& clip);

// Marks every field of `container` undefined, as in a new container, but
// keeps the memory of its texts: the decode that follows stores each new
// text over the field's earlier one when that has room. A container used
// for clip after clip so allocates almost nothing per clip.
void forgetFields(Vmc::VellMetadataContainer& container);

// Decodes a header into `clip`, over what its container held.
void decodeHeader(const HeaderBytes& header, Vmc::VellMetadataContainer::ColorSpace colorSpace, DecodedClip& clip);

} // namespace vellmeta
