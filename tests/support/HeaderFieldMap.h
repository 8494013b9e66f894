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
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <VellMetadataContainer/VellFileHeaderV3.h>

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

} // namespace detail

// A numeric field with the values worth trying, and a text field with the
// texts worth trying.
#define VMC_HEADER_FIELD(member, kind, ...)                                                         \
    HeaderField                                                                                     \
    {                                                                                               \
        #member, offsetof(VellRawMeta::VellFileHeaderV3, member),                                   \
            sizeof(VellRawMeta::VellFileHeaderV3::member), FieldKind::kind, Words __VA_ARGS__, {}   \
    }
#define VMC_HEADER_TEXT(member, ...)                                                                \
    HeaderField                                                                                     \
    {                                                                                               \
        #member, offsetof(VellRawMeta::VellFileHeaderV3, member),                                   \
            sizeof(VellRawMeta::VellFileHeaderV3::member), FieldKind::Text, {}, Texts __VA_ARGS__   \
    }

// The fields in header order.
inline const std::vector<HeaderField>& headerFields()
{
    using Words = std::vector<std::uint32_t>;
    using Texts = std::vector<std::string>;
    static const std::vector<HeaderField> fields = [] {
        const Words frameRates{0, 1000, 12500, 23976, 24000, 29970, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFE};
        const Words bcdDate{0x20231231, 0x19700101, 0x99999999, 0xAAAAAAAA, 0};
        const Words bcdTime{0x23595900, 0x00000000, 0x99999999, 0xFAFAFAFA};
        const Words tenths{250, 0x0000FFF6, 0x00010005, 0x00008000, 0xFFFFFFFE, 0x00007FFF};
        std::vector<HeaderField> f = {
            VMC_HEADER_FIELD(imageWidth, Word32, {0, 1, 4096, 0x80000000}),
            VMC_HEADER_FIELD(imageHeight, Word32, {0, 1, 2160, 0x80000000}),
            VMC_HEADER_FIELD(activeAreaLeft, Word32, {0, 8, 0xFFFFFFFE}),
            VMC_HEADER_FIELD(activeAreaTop, Word32, {0, 4, 0xFFFFFFFE}),
            VMC_HEADER_FIELD(activeAreaWidth, Word32, {0, 1, 0xFFFFFFFE}),
            VMC_HEADER_FIELD(activeAreaHeight, Word32, {0, 1, 0xFFFFFFFE}),
            VMC_HEADER_FIELD(imageInfoWord, Word32, {0, 7}),
            VMC_HEADER_FIELD(whiteBalanceCct, Word32, {0, 1000, 1999, 3200, 5600, 10000, 65535, 65536, 70000}),
            VMC_HEADER_FIELD(whiteBalanceTint, Floats, {}),
            VMC_HEADER_FIELD(whiteBalanceRgb, Floats, {}),
            VMC_HEADER_FIELD(exposureIndex, Word32, {0, 800, 16777217}),
            VMC_HEADER_FIELD(colorMatrix, Floats, {}),
            VMC_HEADER_FIELD(targetColorSpace, Word32, {0, 1, 2, 3, 4, 5}),
            VMC_HEADER_FIELD(processingLevel, Word32, {0, 3, 16777217}),
            VMC_HEADER_FIELD(extraFloatValue, Floats, {}),
            VMC_HEADER_FIELD(flipState, Word32, {0, 1, 2, 4, 8, 9, 12, 13, 0x80000000}),
            VMC_HEADER_TEXT(lookName, {"None", "none", "NONE", "Day Exterior"}),
            VMC_HEADER_FIELD(lookLutType, Word32, {0, 1, 2, 3}),
            VMC_HEADER_FIELD(cdlSaturation, Floats, {}),
            VMC_HEADER_FIELD(cdlSlope, Floats, {}),
            VMC_HEADER_FIELD(cdlOffset, Floats, {}),
            VMC_HEADER_FIELD(cdlPower, Floats, {}),
            VMC_HEADER_FIELD(lookRgb, Floats, {}),
            VMC_HEADER_FIELD(cdlApplicationMode, Word32,
                             {0, 1, 2, 3, 4, 0x00FFFFFF, 0x01000000, 0x01000001, 0x02000000, 0x80000000}),
            VMC_HEADER_FIELD(bayerColorOrder, Word32,
                             {0x42474752, 0x47425247, 0x47524247, 0x52474742, 0x52474743, 0}),
            VMC_HEADER_FIELD(cameraType, Word32, {0, 1, 2, 3}),
            VMC_HEADER_FIELD(auxiliaryCameraWord, Word32, {0, 42}),
            VMC_HEADER_FIELD(cameraNumber, Word32, {0, 1234}),
            VMC_HEADER_FIELD(cameraSerialNumber, Word32, (detail::serialRangeBounds())),
            VMC_HEADER_FIELD(cameraSerialCode, Word32, {0x4B313035, 0x41000000, 0, 0x00414243}),
            VMC_HEADER_FIELD(cameraIndex, Byte, {0, 'A', 0x80}),
            VMC_HEADER_FIELD(captureDate, Word32, (bcdDate)),
            VMC_HEADER_FIELD(captureTime, Word32, (bcdTime)),
            VMC_HEADER_FIELD(timeZone, Word32, {0x08000530, 0x00000100, 0x08009999, 0x0800FFFF, 0xFF00FFFF, 0}),
            VMC_HEADER_FIELD(daylightSaving, Word32, {0, 0x00000100, 0x0000FFFF, 0x00009999}),
            VMC_HEADER_FIELD(exposureTime, Word32, {0, 20833, 1000000}),
            VMC_HEADER_FIELD(auxiliaryMilliValue, Word32, {0, 180000}),
            VMC_HEADER_FIELD(sensorFrameRate, Word32, (frameRates)),
            VMC_HEADER_FIELD(projectFrameRate, Word32, (frameRates)),
            VMC_HEADER_FIELD(timeCode, TimeCode, {}),
            VMC_HEADER_FIELD(timeCode1, TimeCode, {}),
            VMC_HEADER_FIELD(timeCode2, TimeCode, {}),
            VMC_HEADER_FIELD(timeCode3, TimeCode, {}),
            VMC_HEADER_FIELD(timeCode4, TimeCode, {}),
            VMC_HEADER_FIELD(timeCode5, TimeCode, {}),
            VMC_HEADER_FIELD(timeCode6, TimeCode, {}),
            VMC_HEADER_FIELD(timeCode7, TimeCode, {}),
            VMC_HEADER_FIELD(hardwareIdLow, Word32, {0, 1}),
            VMC_HEADER_FIELD(hardwareIdHigh, Word32, {0, 0x0012ABCD}),
            VMC_HEADER_FIELD(identifierBytes, Bytes, {}),
            VMC_HEADER_TEXT(recorderInfo,
                             {"Codex Digital;", "Codex Digital;X;1.SIM2.3", "Codex Digital;A7;1.2.3",
                                   "Codex Digital;A7;1..3", "Codex Digital;;", "Codex Digital;A;1.SIM2",
                                   "codex digital;X;1.SIM2.3", "Codex Digital;a.b;c;d.e.f.g.h.i.j.k"}),
            VMC_HEADER_FIELD(cameraStatusBits, Byte, {0, 1, 2, 3}),
            VMC_HEADER_FIELD(statusFloat, Floats, {}),
            VMC_HEADER_FIELD(statusWord, Word32, {0, 77}),
            VMC_HEADER_FIELD(uuidBytes, Bytes, {}),
            VMC_HEADER_TEXT(auxiliaryText, {}),
            VMC_HEADER_TEXT(cameraModelText,
                             {"CORVA Stage", "CORVA Stage NX", "CORVA Compact", "CORVA QX", "Corva NX",
                                   "Corva Stage", "CORVA Stage ", "K-40"}),
            VMC_HEADER_FIELD(cameraFamilyCode, Word16, {0, 3, 4, 5}),
            VMC_HEADER_FIELD(cameraVariantCode, Word16, {0, 1, 4, 5}),
            VMC_HEADER_FIELD(ndDataLevel, Word32, {0, 24, 25, 26, 30}),
            VMC_HEADER_FIELD(lensDistanceUnits, Word32, {0, 1, 2}),
            VMC_HEADER_FIELD(lensFocusDistance, Word32, {0, 1, 1000, 2500}),
            VMC_HEADER_FIELD(lensFocalLength, Word32, {0, 1, 35000}),
            VMC_HEADER_FIELD(lensSerialNumber, Word32, {0, 1, 123456}),
            VMC_HEADER_FIELD(lensIris, Word32, {0, 1, 500, 999, 1000, 2800, 4500, 64000, 0xFFFFFFFE}),
            VMC_HEADER_FIELD(ndFilterType, Word16, {0, 1, 2, 3, 4, 65534}),
            VMC_HEADER_FIELD(ndFilterMilliValue, Word16, {0, 600, 65534}),
            VMC_HEADER_FIELD(switchWord1, Word32, {0, 1, 2}),
            VMC_HEADER_FIELD(switchWord2, Word32, {0, 1, 2}),
            VMC_HEADER_FIELD(switchWord3, Word32, {0, 1, 2}),
            VMC_HEADER_TEXT(lensName,
                             {"ZEISS  Wide Angle\t", "Zeiss", "   ", "\t \t", "cooke S4 32mm", "Fuji",
                                   "fujinon a b c d e f g h i j k l m"}),
            VMC_HEADER_FIELD(rawEncoderA, Words16, {0, 300, 0xFFFE}),
            VMC_HEADER_FIELD(rawEncoderB, Words16, {0, 400, 0xFFFE}),
            VMC_HEADER_FIELD(rawEncoderC, Words16, {0, 500, 0xFFFE}),
            VMC_HEADER_FIELD(encoderLimitsA1, Words16, {0, 10, 1000}),
            VMC_HEADER_FIELD(encoderLimitsB1, Words16, {0, 20, 2000}),
            VMC_HEADER_FIELD(encoderLimitsC1, Words16, {0, 30, 3000}),
            VMC_HEADER_FIELD(encoderLimitsA2, Words16, {0, 11, 1100}),
            VMC_HEADER_FIELD(encoderLimitsB2, Words16, {0, 21, 2100}),
            VMC_HEADER_FIELD(encoderLimitsC2, Words16, {0, 31, 3100}),
            VMC_HEADER_FIELD(encoderModeByte1, Byte, {0, 1, 2, 3}),
            VMC_HEADER_FIELD(encoderParameterByte1, Byte, {0, 5, 0xFE}),
            VMC_HEADER_FIELD(encoderModeByte2, Byte, {0, 1, 2, 3}),
            VMC_HEADER_FIELD(encoderParameterByte2, Byte, {0, 6, 0xFE}),
            VMC_HEADER_FIELD(latitude.hemisphere, Word32, {0, 1, 2}),
            VMC_HEADER_FIELD(latitude.magnitude, Word32, {0, 123456789, 900000000, 0xFFFFFFFE}),
            VMC_HEADER_FIELD(longitude.hemisphere, Word32, {0, 1, 2}),
            VMC_HEADER_FIELD(longitude.magnitude, Word32, {0, 123456789, 1800000000, 0xFFFFFFFE}),
            VMC_HEADER_FIELD(cameraTripleA, Word32, {0, 1, 16777217, 0xFFFFFFFE}),
            VMC_HEADER_FIELD(cameraTripleB, Word32, {0, 2, 16777217, 0xFFFFFFFE}),
            VMC_HEADER_FIELD(cameraTripleC, Word32, {0, 3, 16777217, 0xFFFFFFFE}),
            VMC_HEADER_FIELD(integralWord, Word32, {0, 100, 16777217, 0xFFFFFFFE}),
            VMC_HEADER_FIELD(tenthsWord1, Word32, (tenths)),
            VMC_HEADER_FIELD(tenthsWord2, Word32, (tenths)),
            VMC_HEADER_FIELD(masterSlaveSetup, Word32, {0, 1, 2, 3}),
            VMC_HEADER_FIELD(channelSetup, Word32, {0, 1, 2, 3, 4, 9}),
            VMC_HEADER_FIELD(channelTagWord, Word32, {0x52494731, 0x00414243, 0x41004243, 0}),
            VMC_HEADER_FIELD(switchWord4, Word32, {0, 1, 2}),
            VMC_HEADER_TEXT(shortText, {}),
            VMC_HEADER_TEXT(auxiliaryText2, {}),
            VMC_HEADER_TEXT(auxiliaryText3, {}),
            VMC_HEADER_TEXT(productionTextA, {}),
            VMC_HEADER_TEXT(productionTextB, {}),
            VMC_HEADER_TEXT(productionTextC, {}),
            VMC_HEADER_TEXT(productionTextD, {}),
            VMC_HEADER_TEXT(longUserText, {}),
            VMC_HEADER_TEXT(auxiliaryText4, {"NONE", "None", "none", "NONE1"}),
            VMC_HEADER_FIELD(timeCode8, TimeCode, {}),
            VMC_HEADER_TEXT(longText1, {}),
            VMC_HEADER_TEXT(longText2, {}),
            VMC_HEADER_TEXT(longText3, {}),
            VMC_HEADER_TEXT(longText4, {}),
            VMC_HEADER_TEXT(longText5, {}),
            VMC_HEADER_TEXT(groupName1, {}),
            VMC_HEADER_TEXT(groupName2, {}),
        };
        // The six named value records: kind, name and six values each.
        const VellRawMeta::NamedValuesRecord record{};
        for (std::size_t r = 0; r < 6; ++r) {
            const std::size_t base =
                offsetof(VellRawMeta::VellFileHeaderV3, record1) + r * sizeof(VellRawMeta::NamedValuesRecord);
            const std::string prefix = "record" + std::to_string(r + 1) + ".";
            f.push_back({prefix + "kind", base + offsetof(VellRawMeta::NamedValuesRecord, kind), sizeof record.kind,
                         FieldKind::Word32, {0, 1, 2, 3}, {}});
            f.push_back({prefix + "name", base + offsetof(VellRawMeta::NamedValuesRecord, name), sizeof record.name,
                         FieldKind::Text, {}, {"Record", "", "None"}});
            f.push_back({prefix + "values", base + offsetof(VellRawMeta::NamedValuesRecord, values),
                         sizeof record.values, FieldKind::Words16, {0, 1, 0xFFFE, 0xFFFF}, {}});
        }
        return f;
    }();
    return fields;
}

#undef VMC_HEADER_FIELD
#undef VMC_HEADER_TEXT

namespace detail {

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
        detail::putLE(at, v, field.width);
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
            detail::putLE(at + 4 * i, bits, 4);
        }
        break;
    }
    case FieldKind::Words16: {
        const std::size_t count = field.width / 2;
        const std::size_t i = pick(count);
        std::uint32_t v = static_cast<std::uint32_t>(rng());
        if (choice < 6 && !field.values.empty())
            v = field.values[pick(field.values.size())];
        detail::putLE(at + 2 * i, v, 2);
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
            detail::putLE(at + 4 * i, words[i], 4);
        break;
    }
    }
}

} // namespace Vmc::testing
