// SPDX-License-Identifier: Apache-2.0
// Reading the header at the start of a file, or of standard input: the one
// place where a scan asks the operating system for a file's bytes.
#pragma once

#include <array>
#include <string>

#include <vellmeta/Decode.h>
#include <vellmeta/Scan.h>

namespace vellmeta {

using HeaderBytes = std::array<unsigned char, kHeaderSize>;

// Reads the first 2480 bytes of the file at `path` into `header`. Returns an
// empty text on success, otherwise what is wrong with the file ("is a
// directory, not a VELLRAW file", "is 2479 bytes long, ..."). `regularOnly`
// (a walk's files): anything but a regular file is refused, unopened if it is
// a FIFO. With `facts`, the open file's facts are stored there.
std::string readHeader(const std::string& path, HeaderBytes& header, bool regularOnly, FileFacts* facts);

// Reads the next 2480 bytes of standard input into `header`; empty text on
// success.
std::string readStandardInput(HeaderBytes& header);

} // namespace vellmeta
