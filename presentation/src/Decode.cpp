// SPDX-License-Identifier: Apache-2.0
#include <vellmeta/Decode.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace vellmeta {

Decoded decode(const unsigned char* header, ColorSpace colorSpace)
{
    // The record is read in place, so it is copied to where it is aligned
    // as it needs.
    VellRawMeta::VellFileHeaderV3 record;
    std::memcpy(&record, header, sizeof record);
    static_assert(sizeof record == kHeaderSize, "one header size");
    Decoded decoded;
    const Vmc::ErrorValue result = decoded.container.initFromHeader(&record, colorSpace);
    // The message is the caller's to release.
    const std::unique_ptr<char, decltype(&std::free)> message(result.message, &std::free);
    decoded.isError = result.isError;
    decoded.code = result.code;
    decoded.message = message ? message.get() : "";
    return decoded;
}

std::string headerSizeProblem(std::size_t size)
{
    if (size == 0)
        return "is empty; a VELLRAW header has " + std::to_string(kHeaderSize) + " bytes";
    if (size < kHeaderSize)
        return "is " + std::to_string(size) + " bytes long, shorter than the " + std::to_string(kHeaderSize) +
               "-byte VELLRAW header";
    return {};
}

} // namespace vellmeta
