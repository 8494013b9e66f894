// SPDX-License-Identifier: Apache-2.0
// The never-written patterns of header fields, as inline tests for the
// decoders: every bit set, or a NaN for floats. The exported
// Vmc::uninitializedField overloads are these same tests.
#pragma once

#include <cstdint>
#include <cstring>

#include <VellMetadataContainer/VellFileHeaderV3.h>

namespace Vmc::decoding {

constexpr bool unwritten(std::uint8_t v) { return v == 0xFFu; }
constexpr bool unwritten(std::uint16_t v) { return v == 0xFFFFu; }
constexpr bool unwritten(std::uint32_t v) { return v == 0xFFFFFFFFu; }
constexpr bool unwritten(std::uint64_t v) { return v == ~std::uint64_t{0}; }
constexpr bool unwritten(float v) { return v != v; } // any NaN

// A byte field: every one of its bytes 0xFF (and so also a field of length
// 0). Compared eight bytes at a time, then the bytes that remain.
inline bool unwritten(const unsigned char* bytes, unsigned long length)
{
    constexpr std::uint64_t kAllBitsSet = ~std::uint64_t{0};
    unsigned long i = 0;
    for (; i + sizeof(std::uint64_t) <= length; i += sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, sizeof word);
        if (word != kAllBitsSet)
            return false;
    }
    for (; i < length; ++i) {
        if (bytes[i] != 0xFF)
            return false;
    }
    return true;
}

constexpr bool unwritten(const VellRawMeta::R32Rgb& rgb)
{
    return unwritten(rgb.red) || unwritten(rgb.green) || unwritten(rgb.blue);
}
constexpr bool unwritten(const VellRawMeta::TC_Struct& timeCode) { return unwritten(timeCode.bcdTime); }
constexpr bool unwritten(const VellRawMeta::ND_Filter& filter)
{
    return unwritten(filter.filterType) || unwritten(filter.milliValue);
}
constexpr bool unwritten(const VellRawMeta::RawEncoderValue& encoder)
{
    return unwritten(encoder.reading1) || unwritten(encoder.reading2);
}
constexpr bool unwritten(const VellRawMeta::EncoderLimits& limits)
{
    return unwritten(limits.first) || unwritten(limits.second);
}
constexpr bool unwritten(const VellRawMeta::WGS84_Latitude& latitude)
{
    return unwritten(latitude.magnitude) || unwritten(latitude.hemisphere);
}
constexpr bool unwritten(const VellRawMeta::WGS84_Longitude& longitude)
{
    return unwritten(longitude.magnitude) || unwritten(longitude.hemisphere);
}

} // namespace Vmc::decoding
