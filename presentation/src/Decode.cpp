// SPDX-License-Identifier: Apache-2.0
#include <vellmeta/Decode.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace vellmeta {

Decoded decode(const unsigned char* header, ColorSpace colorSpace)
{
    Decoded decoded;
    decodeInto(decoded, header, colorSpace);
    return decoded;
}

void decodeInto(Decoded& into, const unsigned char* header, ColorSpace colorSpace)
{
#define VMC_FIELD(name, Type) into.container.name.defined = 0;
#include <VellMetadataContainer/ContainerFields.def>
#undef VMC_FIELD
    // The record is read in place, so it is copied to where it is aligned
    // as it needs.
    VellRawMeta::VellFileHeaderV3 record;
    std::memcpy(&record, header, sizeof record);
    static_assert(sizeof record == kHeaderSize, "one header size");
    const Vmc::ErrorValue result = into.container.initFromHeader(&record, colorSpace);
    // The message is the caller's to release.
    const std::unique_ptr<char, decltype(&std::free)> message(result.message, &std::free);
    into.isError = result.isError;
    into.code = result.code;
    into.message = message ? message.get() : "";
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
