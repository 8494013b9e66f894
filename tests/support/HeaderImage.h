// SPDX-License-Identifier: Apache-2.0
// Composes VELLRAW header images field by field for tests: every byte starts
// as 0xFF (never written) until a field is set.
//
//   HeaderImage image;
//   image.set(VMC_AT(cameraType), 2u);
//   image.setText(VMC_AT(cameraModelText), "Corva NX");
//   container.initFromHeader(image.header(), ColorSpace::WideGamut);
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>

#include <VellMetadataContainer/VellFileHeaderV3.h>
#include <container/HeaderView.h>

namespace Vmc::testing {

using decoding::At;

// `v` as `width` little-endian bytes at `at`.
inline void putLE(unsigned char* at, std::uint32_t v, std::size_t width)
{
    for (std::size_t i = 0; i < width; ++i)
        at[i] = static_cast<unsigned char>(v >> (8 * i));
}

inline std::uint32_t floatBits(float f)
{
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

class HeaderImage {
public:
    // Every byte 0xFF: a header the camera never wrote. Decoding it stops at
    // the camera identity (unknown camera type).
    HeaderImage() { bytes_.fill(0xFF); }

    // The smallest header that decodes to the end without a failure: camera
    // type 1 (the model label comes from the type), target colour space 0
    // and flip state 0; every other byte 0xFF. Tests of a field group start
    // from it and set their own fields.
    static HeaderImage decodable()
    {
        HeaderImage image;
        image.set(VMC_AT(cameraType), 1u);
        image.set(VMC_AT(targetColorSpace), 0u);
        image.set(VMC_AT(flipState), 0u);
        return image;
    }

    const VellRawMeta::VellFileHeaderV3* header() const
    {
        return reinterpret_cast<const VellRawMeta::VellFileHeaderV3*>(bytes_.data());
    }
    unsigned char* data() { return bytes_.data(); }
    const unsigned char* data() const { return bytes_.data(); }

    // Little-endian integers and floats.
    void set(At<std::uint8_t> at, std::uint8_t v) { bytes_[at.offset] = v; }
    void set(At<std::uint16_t> at, std::uint16_t v) { putLE(at.offset, v, 2); }
    void set(At<std::uint32_t> at, std::uint32_t v) { putLE(at.offset, v, 4); }
    void set(At<float> at, float v) { putLE(at.offset, floatBits(v), 4); }
    void set(At<VellRawMeta::TC_Struct> at, const VellRawMeta::TC_Struct& tc)
    {
        putLE(at.offset, tc.bcdTime, 4);
        putLE(at.offset + 4, tc.word1, 4);
        putLE(at.offset + 8, tc.rateAndDropFrame, 4);
        putLE(at.offset + 12, tc.word3, 4);
    }
    void set(At<VellRawMeta::R32Rgb> at, const VellRawMeta::R32Rgb& rgb) { setFloats(at.offset, {rgb.red, rgb.green, rgb.blue}); }
    void set(At<VellRawMeta::RawEncoderValue> at, std::uint16_t first, std::uint16_t second) { setWords16(at.offset, first, second); }
    void set(At<VellRawMeta::EncoderLimits> at, std::uint16_t first, std::uint16_t second) { setWords16(at.offset, first, second); }
    void set(At<VellRawMeta::WGS84_Latitude> at, std::uint32_t hemisphere, std::uint32_t magnitude) { setWords32(at.offset, hemisphere, magnitude); }
    void set(At<VellRawMeta::WGS84_Longitude> at, std::uint32_t hemisphere, std::uint32_t magnitude) { setWords32(at.offset, hemisphere, magnitude); }

    // Consecutive floats starting at a float array member, e.g. cdlSlope.
    template <std::size_t N>
    void set(At<float[N]> at, std::initializer_list<float> values) { setFloats(at.offset, values); }

    // A text field: the text's bytes, then NUL bytes up to the field's width
    // (no NUL when the text fills it). Longer texts are cut at the width.
    template <std::size_t N>
    void setText(At<unsigned char[N]> at, const std::string& text)
    {
        for (std::size_t i = 0; i < N; ++i)
            bytes_[at.offset + i] = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
    }

    // Raw bytes from the start of a byte field; the rest stays as it is.
    template <std::size_t N>
    void setBytes(At<unsigned char[N]> at, std::initializer_list<unsigned char> values)
    {
        std::size_t i = 0;
        for (unsigned char v : values)
            bytes_[at.offset + i++] = v;
    }

    // Every byte of a field set to one value.
    template <class T>
    void fill(At<T> at, unsigned char value)
    {
        std::memset(bytes_.data() + at.offset, value, sizeof(T));
    }

private:
    void putLE(std::size_t offset, std::uint32_t v, std::size_t width) { testing::putLE(&bytes_[offset], v, width); }
    void setFloats(std::size_t offset, std::initializer_list<float> values)
    {
        for (float v : values) {
            set(At<float>{offset}, v);
            offset += 4;
        }
    }
    void setWords16(std::size_t offset, std::uint16_t a, std::uint16_t b)
    {
        putLE(offset, a, 2);
        putLE(offset + 2, b, 2);
    }
    void setWords32(std::size_t offset, std::uint32_t a, std::uint32_t b)
    {
        putLE(offset, a, 4);
        putLE(offset + 4, b, 4);
    }

    std::array<unsigned char, sizeof(VellRawMeta::VellFileHeaderV3)> bytes_;
};

} // namespace Vmc::testing
