// SPDX-License-Identifier: Apache-2.0
// Reading header fields at their offsets, in the file's little-endian byte
// order, without misaligned loads.
//
//   const HeaderView& h = ...;
//   std::uint32_t type = h.read(VMC_AT(cameraType));   // typed by the member
//   Bytes model = h.read(VMC_AT(cameraModelText));     // a byte field
//
// VMC_AT names a member of VellRawMeta::VellFileHeaderV3 (nested members and
// array elements too, e.g. record2.values[3]); its offset and type come from
// the record, so a field's offset is written only once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include <VellMetadataContainer/Vec.h>
#include <VellMetadataContainer/VellFileHeaderV3.h>

#include "util/Portability.h"

namespace Vmc::decoding {

// The offset of a header member of type T.
template <class T>
struct At {
    std::size_t offset;
};

#define VMC_AT(member)                                                                              \
    ::Vmc::decoding::At<std::remove_cv_t<std::remove_reference_t<decltype(                          \
        ::VellRawMeta::VellFileHeaderV3::member)>>>                                                 \
    {                                                                                               \
        offsetof(::VellRawMeta::VellFileHeaderV3, member)                                           \
    }

// A fixed-width byte field of the header.
struct Bytes {
    const unsigned char* data;
    unsigned long size;
};

class HeaderView {
public:
    explicit HeaderView(const VellRawMeta::VellFileHeaderV3* header)
        : bytes_(reinterpret_cast<const unsigned char*>(header)) {}

    std::uint8_t read(At<std::uint8_t> at) const { return bytes_[at.offset]; }
    std::uint16_t read(At<std::uint16_t> at) const { return u16(at.offset); }
    std::uint32_t read(At<std::uint32_t> at) const { return u32(at.offset); }
    float read(At<float> at) const { return f32(at.offset); }

    template <std::size_t N>
    Bytes read(At<unsigned char[N]> at) const { return {bytes_ + at.offset, N}; }

    VellRawMeta::TC_Struct read(At<VellRawMeta::TC_Struct> at) const
    {
        const std::size_t o = at.offset;
        return {u32(o), u32(o + 4), u32(o + 8), u32(o + 12)};
    }
    // Three consecutive floats (an RGB triple) as x, y, z.
    Vec3 read(At<float[3]> at) const { return {f32(at.offset), f32(at.offset + 4), f32(at.offset + 8)}; }
    VellRawMeta::R32Rgb read(At<VellRawMeta::R32Rgb> at) const
    {
        const std::size_t o = at.offset;
        return {f32(o), f32(o + 4), f32(o + 8)};
    }
    VellRawMeta::RawEncoderValue read(At<VellRawMeta::RawEncoderValue> at) const
    {
        return {u16(at.offset), u16(at.offset + 2)};
    }
    VellRawMeta::EncoderLimits read(At<VellRawMeta::EncoderLimits> at) const
    {
        return {u16(at.offset), u16(at.offset + 2)};
    }
    VellRawMeta::WGS84_Latitude read(At<VellRawMeta::WGS84_Latitude> at) const
    {
        return {u32(at.offset), u32(at.offset + 4)};
    }
    VellRawMeta::WGS84_Longitude read(At<VellRawMeta::WGS84_Longitude> at) const
    {
        return {u32(at.offset), u32(at.offset + 4)};
    }

    // Raw little-endian readers at a byte offset.
    std::uint16_t u16(std::size_t offset) const
    {
        std::uint16_t v;
        std::memcpy(&v, bytes_ + offset, sizeof v);
        return fromLittleEndian(v);
    }
    std::uint32_t u32(std::size_t offset) const
    {
        std::uint32_t v;
        std::memcpy(&v, bytes_ + offset, sizeof v);
        return fromLittleEndian(v);
    }
    float f32(std::size_t offset) const
    {
        const std::uint32_t bits = u32(offset);
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }

private:
    template <typename T>
    static T fromLittleEndian(T v)
    {
        return portability::fromLittleEndian(v);
    }

    const unsigned char* bytes_;
};

} // namespace Vmc::decoding
