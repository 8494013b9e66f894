// What is wrong with a file that cannot be decoded, in the words the tool
// and the web page both use after the file's name.
#pragma once

#include <cstddef>
#include <string>

#include <VellMetadataContainer/VellFileHeaderV3.h>

namespace vellmeta {

inline constexpr const char* kDirectoryProblem = "is a directory, not a VELLRAW file";

// Why `got` bytes are not a header, or "" when they are enough.
inline std::string headerSizeProblem(std::size_t got)
{
    constexpr std::size_t size = VellRawMeta::kVellFileHeaderV3Size;
    if (got == 0)
        return "is empty; a VELLRAW header has " + std::to_string(size) + " bytes";
    if (got < size)
        return "is " + std::to_string(got) + " bytes long, shorter than the " + std::to_string(size) +
               "-byte VELLRAW header";
    return {};
}

} // namespace vellmeta
