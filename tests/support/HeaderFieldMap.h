// SPDX-License-Identifier: Apache-2.0
// Every header field that decoding reads, as one table (name, offset, width,
// kind and the values worth trying), and a mutation that rewrites one field
// of a header image with a sentinel, a boundary or a random value.
//
// The fuzzer's structure-aware mode, the concurrency test and the header
// generator of the memory check all mutate headers through this table, so
// that mutations land on whole fields and reach every field group.
//
//   std::mt19937 rng(seed);
//   HeaderImage image = fullHeader();
//   mutateField(image.data(), rng);
//   variedHeaders(VMC_SAMPLES_DIR, 300, seed)   // fixed, sample and mutated headers
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <VellMetadataContainer/VellFileHeaderV3.h>

#include "FullHeader.h"

namespace Vmc::testing {

enum class FieldKind {
    Word32,  // u32, little-endian
    Word16,  // u16
    Byte,    // u8
    Floats,  // one or more f32
    Words16, // an array of u16
    Text,    // fixed-width text, NUL-terminated unless it fills the field
    Bytes,   // binary bytes
    TimeCode // a TC_Struct
};

struct HeaderField {
    std::string name;
    std::size_t offset;
    std::size_t width;
    FieldKind kind;
    std::vector<std::uint32_t> values; // boundaries and enumeration values (numeric kinds)
    std::vector<std::string> texts;    // texts worth trying (Text kind)
};

namespace detail {

inline std::vector<std::uint32_t> serialRangeBounds()
{
    // Each model range's bounds and the numbers just outside them.
    const std::uint32_t bounds[][2] = {{1001, 1999}, {2001, 3999}, {4001, 5999}, {6001, 6499}, {6501, 6899},
                                       {6901, 6999}, {7001, 7999}, {8001, 8499}, {8501, 8899}, {8901, 8999},
                                       {9001, 9499}, {9501, 9999}};
    std::vector<std::uint32_t> values{0};
    for (const auto& range : bounds)
        values.insert(values.end(), {range[0] - 1, range[0], range[1], range[1] + 1});
    return values;
}

using Header = VellRawMeta::VellFileHeaderV3;
static_assert(sizeof(Header) == VellRawMeta::kVellFileHeaderV3Size);

// A field's documented offset; the build fails where the header structure
// places the member elsewhere.
template <std::size_t Actual, std::size_t Documented>
constexpr std::size_t placed()
{
    static_assert(Actual == Documented, "a header field is not at its documented offset");
    return Documented;
}

} // namespace detail

// Rows of the table: a numeric field at its documented offset with the
// values worth trying, a text field with the texts worth trying, and a named
// value record (kind, name and six values).
#define F(member, offset, kind, ...)                                                                                  \
    HeaderField{#member, detail::placed<offsetof(detail::Header, member), offset>(),                                  \
                sizeof(detail::Header::member), FieldKind::kind, Words __VA_ARGS__, {}}
#define T(member, offset, ...)                                                                                        \
    HeaderField{#member, detail::placed<offsetof(detail::Header, member), offset>(),                                  \
                sizeof(detail::Header::member), FieldKind::Text, {}, Texts __VA_ARGS__}
#define R(record, offset)                                                                                             \
    F(record.kind, offset, Word32, {0, 1, 2, 3}), T(record.name, offset + 4, {"Record", "", "None"}),                 \
        F(record.values, offset + 36, Words16, {0, 1, 0xFFFE, 0xFFFF})

// The fields in header order.
inline const std::vector<HeaderField>& headerFields()
{
    using Words = std::vector<std::uint32_t>;
    using Texts = std::vector<std::string>;
    const Words frameRates{0, 1000, 12500, 23976, 24000, 29970, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFE};
    const Words bcdDate{0x20231231, 0x19700101, 0x99999999, 0xAAAAAAAA, 0};
    const Words bcdTime{0x23595900, 0x00000000, 0x99999999, 0xFAFAFAFA};
    const Words tenths{250, 0x0000FFF6, 0x00010005, 0x00008000, 0xFFFFFFFE, 0x00007FFF};
    static const std::vector<HeaderField> fields = {
        F(imageWidth, 20, Word32, {0, 1, 4096, 0x80000000}),
        F(imageHeight, 24, Word32, {0, 1, 2160, 0x80000000}),
        F(activeAreaLeft, 36, Word32, {0, 8, 0xFFFFFFFE}),
        F(activeAreaTop, 40, Word32, {0, 4, 0xFFFFFFFE}),
        F(activeAreaWidth, 44, Word32, {0, 1, 0xFFFFFFFE}),
        F(activeAreaHeight, 48, Word32, {0, 1, 0xFFFFFFFE}),
        F(imageInfoWord, 88, Word32, {0, 7}),
        F(whiteBalanceCct, 92, Word32, {0, 1000, 1999, 3200, 5600, 10000, 65535, 65536, 70000}),
        F(whiteBalanceTint, 96, Floats, {}),
        F(whiteBalanceRgb, 100, Floats, {}),
        F(exposureIndex, 116, Word32, {0, 800, 16777217}),
        F(colorMatrix, 128, Floats, {}),
        F(targetColorSpace, 188, Word32, {0, 1, 2, 3, 4, 5}),
        F(processingLevel, 192, Word32, {0, 3, 16777217}),
        F(extraFloatValue, 196, Floats, {}),
        F(flipState, 200, Word32, {0, 1, 2, 4, 8, 9, 12, 13, 0x80000000}),
        T(lookName, 204, {"None", "none", "NONE", "Day Exterior"}),
        F(lookLutType, 236, Word32, {0, 1, 2, 3}),
        F(cdlSaturation, 252, Floats, {}),
        F(cdlSlope, 256, Floats, {}),
        F(cdlOffset, 268, Floats, {}),
        F(cdlPower, 280, Floats, {}),
        F(lookRgb, 292, Floats, {}),
        F(cdlApplicationMode, 304, Word32, {0, 1, 2, 3, 4, 0x00FFFFFF, 0x01000000, 0x01000001, 0x02000000,
            0x80000000}),
        F(bayerColorOrder, 316, Word32, {0x42474752, 0x47425247, 0x47524247, 0x52474742, 0x52474743, 0}),
        F(cameraType, 356, Word32, {0, 1, 2, 3}),
        F(auxiliaryCameraWord, 360, Word32, {0, 42}),
        F(cameraNumber, 364, Word32, {0, 1234}),
        F(cameraSerialNumber, 368, Word32, (detail::serialRangeBounds())),
        F(cameraSerialCode, 372, Word32, {0x4B313035, 0x41000000, 0, 0x00414243}),
        F(cameraIndex, 376, Byte, {0, 'A', 0x80}),
        F(captureDate, 380, Word32, (bcdDate)),
        F(captureTime, 384, Word32, (bcdTime)),
        F(timeZone, 388, Word32, {0x08000530, 0x00000100, 0x08009999, 0x0800FFFF, 0xFF00FFFF, 0}),
        F(daylightSaving, 392, Word32, {0, 0x00000100, 0x0000FFFF, 0x00009999}),
        F(exposureTime, 396, Word32, {0, 20833, 1000000}),
        F(auxiliaryMilliValue, 400, Word32, {0, 180000}),
        F(sensorFrameRate, 416, Word32, (frameRates)),
        F(projectFrameRate, 420, Word32, (frameRates)),
        F(timeCode, 424, TimeCode, {}),
        F(timeCode1, 440, TimeCode, {}),
        F(timeCode2, 456, TimeCode, {}),
        F(timeCode3, 472, TimeCode, {}),
        F(timeCode4, 488, TimeCode, {}),
        F(timeCode5, 504, TimeCode, {}),
        F(timeCode6, 520, TimeCode, {}),
        F(timeCode7, 536, TimeCode, {}),
        F(hardwareIdLow, 616, Word32, {0, 1}),
        F(hardwareIdHigh, 620, Word32, {0, 0x0012ABCD}),
        F(identifierBytes, 636, Bytes, {}),
        T(recorderInfo, 676, {"Codex Digital;", "Codex Digital;X;1.SIM2.3", "Codex Digital;A7;1.2.3",
            "Codex Digital;A7;1..3", "Codex Digital;;", "Codex Digital;A;1.SIM2", "codex digital;X;1.SIM2.3",
            "Codex Digital;a.b;c;d.e.f.g.h.i.j.k"}),
        F(cameraStatusBits, 708, Byte, {0, 1, 2, 3}),
        F(statusFloat, 712, Floats, {}),
        F(statusWord, 716, Word32, {0, 77}),
        F(uuidBytes, 720, Bytes, {}),
        T(auxiliaryText, 736, {}),
        T(cameraModelText, 760, {"CORVA Stage", "CORVA Stage NX", "CORVA Compact", "CORVA QX", "Corva NX",
            "Corva Stage", "CORVA Stage ", "K-40"}),
        F(cameraFamilyCode, 780, Word16, {0, 3, 4, 5}),
        F(cameraVariantCode, 782, Word16, {0, 1, 4, 5}),
        F(ndDataLevel, 880, Word32, {0, 24, 25, 26, 30}),
        F(lensDistanceUnits, 884, Word32, {0, 1, 2}),
        F(lensFocusDistance, 888, Word32, {0, 1, 1000, 2500}),
        F(lensFocalLength, 892, Word32, {0, 1, 35000}),
        F(lensSerialNumber, 896, Word32, {0, 1, 123456}),
        F(lensIris, 900, Word32, {0, 1, 500, 999, 1000, 2800, 4500, 64000, 0xFFFFFFFE}),
        F(ndFilterType, 904, Word16, {0, 1, 2, 3, 4, 65534}),
        F(ndFilterMilliValue, 906, Word16, {0, 600, 65534}),
        F(switchWord1, 908, Word32, {0, 1, 2}),
        F(switchWord2, 912, Word32, {0, 1, 2}),
        F(switchWord3, 916, Word32, {0, 1, 2}),
        T(lensName, 920, {"ZEISS  Wide Angle\t", "Zeiss", "   ", "\t \t", "cooke S4 32mm", "Fuji",
            "fujinon a b c d e f g h i j k l m"}),
        F(rawEncoderA, 952, Words16, {0, 300, 0xFFFE}),
        F(rawEncoderB, 956, Words16, {0, 400, 0xFFFE}),
        F(rawEncoderC, 960, Words16, {0, 500, 0xFFFE}),
        F(encoderLimitsA1, 964, Words16, {0, 10, 1000}),
        F(encoderLimitsB1, 968, Words16, {0, 20, 2000}),
        F(encoderLimitsC1, 972, Words16, {0, 30, 3000}),
        F(encoderLimitsA2, 976, Words16, {0, 11, 1100}),
        F(encoderLimitsB2, 980, Words16, {0, 21, 2100}),
        F(encoderLimitsC2, 984, Words16, {0, 31, 3100}),
        F(encoderModeByte1, 988, Byte, {0, 1, 2, 3}),
        F(encoderParameterByte1, 989, Byte, {0, 5, 0xFE}),
        F(encoderModeByte2, 990, Byte, {0, 1, 2, 3}),
        F(encoderParameterByte2, 991, Byte, {0, 6, 0xFE}),
        F(latitude.hemisphere, 1084, Word32, {0, 1, 2}),
        F(latitude.magnitude, 1088, Word32, {0, 123456789, 900000000, 0xFFFFFFFE}),
        F(longitude.hemisphere, 1092, Word32, {0, 1, 2}),
        F(longitude.magnitude, 1096, Word32, {0, 123456789, 1800000000, 0xFFFFFFFE}),
        F(cameraTripleA, 1100, Word32, {0, 1, 16777217, 0xFFFFFFFE}),
        F(cameraTripleB, 1104, Word32, {0, 2, 16777217, 0xFFFFFFFE}),
        F(cameraTripleC, 1108, Word32, {0, 3, 16777217, 0xFFFFFFFE}),
        F(integralWord, 1112, Word32, {0, 100, 16777217, 0xFFFFFFFE}),
        F(tenthsWord1, 1116, Word32, (tenths)),
        F(tenthsWord2, 1120, Word32, (tenths)),
        F(masterSlaveSetup, 1124, Word32, {0, 1, 2, 3}),
        F(channelSetup, 1128, Word32, {0, 1, 2, 3, 4, 9}),
        F(channelTagWord, 1132, Word32, {0x52494731, 0x00414243, 0x41004243, 0}),
        F(switchWord4, 1268, Word32, {0, 1, 2}),
        T(shortText, 1272, {}),
        T(auxiliaryText2, 1280, {}),
        T(auxiliaryText3, 1296, {}),
        T(productionTextA, 1304, {}),
        T(productionTextB, 1336, {}),
        T(productionTextC, 1368, {}),
        T(productionTextD, 1400, {}),
        T(longUserText, 1432, {}),
        T(auxiliaryText4, 1688, {"NONE", "None", "none", "NONE1"}),
        F(timeCode8, 1820, TimeCode, {}),
        T(longText1, 1836, {}),
        T(longText2, 1868, {}),
        T(longText3, 1900, {}),
        T(longText4, 1932, {}),
        T(longText5, 1964, {}),
        T(groupName1, 2128, {}),
        T(groupName2, 2160, {}),
        R(record1, 2192), R(record2, 2240), R(record3, 2288), R(record4, 2336), R(record5, 2384), R(record6, 2432),
    };
    return fields;
}

#undef F
#undef T
#undef R

namespace detail {

// Floats at the edges of what the decoder converts: NaNs of several
// patterns, infinities, signed zero, and values beyond the 32-bit integer
// range.
inline const std::vector<std::uint32_t>& edgeFloats()
{
    static const std::vector<std::uint32_t> bits = {
        0xFFFFFFFF, 0x7FC00000, 0x7F800001, 0xFFC00001,            // NaNs
        0x7F800000, 0xFF800000, 0x80000000, 0x00000000,            // infinities, -0, +0
        0x00000001, 0x7F7FFFFF, 0xFF7FFFFF,                        // denormal, largest magnitudes
        floatBits(1.0f), floatBits(-2.7f), floatBits(5.9f),        //
        floatBits(2147483648.0f), floatBits(-2147483904.0f),       // just outside int32
        floatBits(2147483520.0f), floatBits(-2147483648.0f), floatBits(3e9f), floatBits(-3e9f),
    };
    return bits;
}

} // namespace detail

// Rewrites one field of the 2480-byte header image `header`, chosen at
// random, with its sentinel (all 0xFF), one of its listed values, an edge
// value of its kind, or random bits.
inline void mutateField(unsigned char* header, std::mt19937& rng)
{
    const std::vector<HeaderField>& fields = headerFields();
    const HeaderField& field = fields[rng() % fields.size()];
    unsigned char* at = header + field.offset;
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    const int choice = static_cast<int>(rng() % 8);

    if (choice == 0) { // the never-written pattern
        std::memset(at, 0xFF, field.width);
        return;
    }
    switch (field.kind) {
    case FieldKind::Word32:
    case FieldKind::Word16:
    case FieldKind::Byte: {
        std::uint32_t v = static_cast<std::uint32_t>(rng());
        if (choice < 5 && !field.values.empty())
            v = field.values[pick(field.values.size())];
        else if (choice == 5)
            v = rng() % 2 ? 0u : 0xFFFFFFFEu; // zero, or one below the sentinel
        putLE(at, v, field.width);
        break;
    }
    case FieldKind::Floats: {
        // One element, or all of them, set to an edge value or random bits.
        const std::size_t count = field.width / 4;
        const bool all = rng() % 4 == 0;
        const std::size_t first = all ? 0 : pick(count);
        const std::size_t last = all ? count : first + 1;
        for (std::size_t i = first; i < last; ++i) {
            const auto& edges = detail::edgeFloats();
            const std::uint32_t bits = choice < 6 ? edges[pick(edges.size())] : static_cast<std::uint32_t>(rng());
            putLE(at + 4 * i, bits, 4);
        }
        break;
    }
    case FieldKind::Words16: {
        const std::size_t count = field.width / 2;
        const std::size_t i = pick(count);
        std::uint32_t v = static_cast<std::uint32_t>(rng());
        if (choice < 6 && !field.values.empty())
            v = field.values[pick(field.values.size())];
        putLE(at + 2 * i, v, 2);
        break;
    }
    case FieldKind::Text: {
        std::memset(at, 0, field.width);
        if (choice == 1) { // empty text, the rest never written
            std::memset(at + 1, 0xFF, field.width - 1);
        } else if (choice == 2) { // fills the field: no NUL
            for (std::size_t i = 0; i < field.width; ++i)
                at[i] = static_cast<unsigned char>('A' + i % 26);
        } else if (choice == 3) { // all 0xFF but the last byte
            std::memset(at, 0xFF, field.width - 1);
            at[field.width - 1] = 'A';
        } else if (choice < 6 && !field.texts.empty()) {
            const std::string& text = field.texts[pick(field.texts.size())];
            std::memcpy(at, text.data(), text.size() < field.width ? text.size() : field.width);
        } else { // random bytes, sometimes with a NUL inside
            for (std::size_t i = 0; i < field.width; ++i)
                at[i] = static_cast<unsigned char>(rng());
        }
        break;
    }
    case FieldKind::Bytes:
        for (std::size_t i = 0; i < field.width; ++i)
            at[i] = choice == 1 ? 0 : static_cast<unsigned char>(rng());
        if (choice == 2)
            at[0] = 0; // a leading zero byte: an empty text for the UUID
        break;
    case FieldKind::TimeCode: {
        const std::uint32_t words[4] = {choice == 1 ? 0u : static_cast<std::uint32_t>(rng()),
                                        static_cast<std::uint32_t>(rng()),
                                        choice == 2 ? 0x80005DC0u : static_cast<std::uint32_t>(rng()),
                                        static_cast<std::uint32_t>(rng())};
        for (int i = 0; i < 4; ++i)
            putLE(at + 4 * i, words[i], 4);
        break;
    }
    }
}

// The full, smallest decodable and never-written headers, the samples under
// `samplesDir`, and `mutated` headers with one to eight fields rewritten
// (every fourth over the smallest decodable header).
inline std::vector<HeaderImage> variedHeaders(const std::string& samplesDir, int mutated, unsigned seed)
{
    std::vector<HeaderImage> images = {fullHeader(), HeaderImage::decodable(), HeaderImage()};
    for (const auto& entry : std::filesystem::recursive_directory_iterator(samplesDir))
        if (entry.is_regular_file() && entry.path().extension() == ".vellraw")
            std::ifstream(entry.path(), std::ios::binary)
                .read(reinterpret_cast<char*>(images.emplace_back().data()), VellRawMeta::kVellFileHeaderV3Size);
    std::mt19937 rng(seed);
    for (int i = 0; i < mutated; ++i) {
        HeaderImage& image = images.emplace_back(i % 4 == 0 ? HeaderImage::decodable() : fullHeader());
        for (int f = 0; f <= i % 8; ++f)
            mutateField(image.data(), rng);
    }
    return images;
}

} // namespace Vmc::testing
