#include "FieldValues.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

using vellmeta::floatText;
using vellmeta::Json;
using vellmeta::jsonValue;
using vellmeta::printable;
using vellmeta::textValue;
using vellmeta::validUtf8;

namespace {

const std::string kFFFD = "\xEF\xBF\xBD";

float floatFromBits(std::uint32_t bits)
{
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

} // namespace

TEST(Utf8, IllFormedSequencesBecomeOneReplacementEach)
{
    struct Case {
        const char* bytes;
        std::string expected;
    };
    const Case cases[] = {
        {"plain text", "plain text"},
        {"caf\xC3\xA9", "caf\xC3\xA9"},                            // two-byte sequence kept
        {"\xF0\x9F\x8E\xA5 clip", "\xF0\x9F\x8E\xA5 clip"},          // four-byte sequence kept
        {"Lumi\xE8re", "Lumi" + kFFFD + "re"},                       // Latin-1 byte
        {"\xC0\xAF", kFFFD + kFFFD},                                 // overlong lead bytes
        {"\xE0\x80\x80", kFFFD + kFFFD + kFFFD},                     // overlong three-byte form
        {"\xED\xA0\x80", kFFFD + kFFFD + kFFFD},                     // surrogate
        {"\xF4\x90\x80\x80", kFFFD + kFFFD + kFFFD + kFFFD},         // above U+10FFFF
        {"\xE2\x82", kFFFD},                                         // truncated at the end
        {"\xE2\x82" "A", kFFFD + "A"},                               // truncated before ASCII
        {"\xF0\x9F\x8E", kFFFD},                                     // truncated four-byte form
        {"\x80\xBF", kFFFD + kFFFD},                                 // lone continuation bytes
        {"\xFF\xFE", kFFFD + kFFFD},                                 // never valid
    };
    for (const Case& c : cases)
        EXPECT_EQ(validUtf8(c.bytes), c.expected) << c.bytes;
}

TEST(Utf8, PrintableEscapesControlCharacters)
{
    EXPECT_EQ(printable("two\nlines\tand\rreturn"), "two\\nlines\\tand\\rreturn");
    EXPECT_EQ(printable("\x1B[31mred"), "\\x1B[31mred");
    EXPECT_EQ(printable("del\x7F"), "del\\x7F");
    EXPECT_EQ(printable("\xC2\x9B" "2J"), "\\u009B2J"); // C1 control sequence introducer
    EXPECT_EQ(printable("caf\xC3\xA9 \xC2\xA0"), "caf\xC3\xA9 \xC2\xA0"); // no-break space is printable
    EXPECT_EQ(printable("bad \xE8"), "bad " + kFFFD);
}

TEST(FloatText, ShortestRoundTripInBothViews)
{
    struct Case {
        float value;
        const char* text;
        const char* json;
    };
    const Case cases[] = {
        {0.3127f, "0.3127", "0.3127"},
        {-0.102f, "-0.102", "-0.102"},
        {1.0f, "1", "1.0"},
        {-0.0f, "-0", "-0.0"},
        {0.0001f, "0.0001", "0.0001"},
        {0.00001f, "1e-05", "1e-05"},
        {1e-45f, "1e-45", "1e-45"}, // smallest subnormal
        {16777216.0f, "16777216", "16777216.0"},
        {4294967296.0f, "4294967296", "4294967296.0"},
        {1e16f, "1e+16", "1e+16"},
        {8.411582e+17f, "8.411582e+17", "8.411582e+17"}, // shortest form on the rounding boundary
        {std::numeric_limits<float>::max(), "3.4028235e+38", "3.4028235e+38"},
        {std::numeric_limits<float>::quiet_NaN(), "NaN", "\"NaN\""},
        {std::numeric_limits<float>::infinity(), "Infinity", "\"Infinity\""},
        {-std::numeric_limits<float>::infinity(), "-Infinity", "\"-Infinity\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(floatText(c.value), c.text);
        EXPECT_EQ(jsonValue(c.value).dump(), c.json);
    }
}

TEST(JsonFloat, EveryFiniteFloatReadsBackUnchanged)
{
    // Over many finite bit patterns: the text reads back (as a double, the
    // way a JSON reader does) to the same float; in scientific notation it
    // has exactly the digits of the shortest form.
    std::mt19937 random(2480);
    int checked = 0;
    while (checked < 20000) {
        const float f = floatFromBits(random());
        if (!std::isfinite(f))
            continue;
        ++checked;
        const std::string text = jsonValue(f).dump();
        EXPECT_EQ(static_cast<float>(std::stod(text)), f) << text;
        if (text.find('e') != std::string::npos) {
            char shortest[32];
            const auto end = std::to_chars(shortest, shortest + sizeof shortest, f, std::chars_format::scientific);
            EXPECT_EQ(text, std::string(shortest, end.ptr));
        }
    }
}

TEST(FieldValues, TextForEachValueType)
{
    VellRawMeta::TC_Struct dropFrame{0x23595924u, 0u, 0x80005DC0u, 0u};
    VellRawMeta::TC_Struct nonDrop{0x01020304u, 0u, 25000u, 0u};
    Vmc::Chromaticities wide(Vmc::Vec2(0.684f, 0.313f), Vmc::Vec2(0.221f, 0.848f), Vmc::Vec2(0.0861f, -0.102f),
                             Vmc::Vec2(0.3127f, 0.329f));
    MetaString text;
    text = "Zeiss \xE8\n";

    EXPECT_EQ(textValue(std::uint32_t{4294967295u}), "4294967295");
    EXPECT_EQ(textValue(std::int32_t{-2147483647 - 1}), "-2147483648");
    EXPECT_EQ(textValue(true), "yes");
    EXPECT_EQ(textValue(false), "no");
    EXPECT_EQ(textValue(Vmc::Vec3(1.75f, 1.0f, 1.5f)), "(1.75, 1, 1.5)");
    EXPECT_EQ(textValue(Vmc::ImageWindow(Vmc::Vec2(8, 4), Vmc::Vec2(4087, 2155))), "(8, 4) to (4087, 2155)");
    EXPECT_EQ(textValue(wide),
              "red (0.684, 0.313), green (0.221, 0.848), blue (0.0861, -0.102), white (0.3127, 0.329)");
    EXPECT_EQ(textValue(Vmc::CameraTriple{1.0f, 2.0f, 3.0f, 0u}), "1, 2, 3 (extra 0)");
    EXPECT_EQ(textValue(dropFrame), "23:59:59;24");
    EXPECT_EQ(textValue(nonDrop), "01:02:03:04");
    EXPECT_EQ(textValue(text), "Zeiss " + kFFFD + "\\n");
    EXPECT_EQ(textValue(MetaString()), "");
}

TEST(FieldValues, FrameRatesAsFractionAndDecimal)
{
    struct Case {
        Vmc::Rational rate;
        const char* text;
    };
    const Case cases[] = {
        {{23976, 1000}, "23976/1000 (23.976)"},
        {{25000, 1000}, "25000/1000 (25)"},
        {{-1, 1000}, "-1/1000 (-0.001)"},
        {{24, 0}, "24/0 (Infinity)"},
        {{-1, 0}, "-1/0 (-Infinity)"},
        {{0, 0}, "0/0 (NaN)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(textValue(c.rate), c.text);
}

TEST(FieldValues, TypedJsonForEachValueType)
{
    Vmc::Chromaticities aces(Vmc::Vec2(0.7347f, 0.2653f), Vmc::Vec2(0.0f, 1.0f), Vmc::Vec2(0.0001f, -0.077f),
                             Vmc::Vec2(0.32168f, 0.33767f));
    MetaString text;
    text = "Lumi\xE8re";

    struct Case {
        Json value;
        const char* expected;
    };
    const Case cases[] = {
        {jsonValue(std::uint32_t{4294967295u}), "4294967295"},
        {jsonValue(std::int32_t{-2}), "-2"},
        {jsonValue(true), "true"},
        {jsonValue(Vmc::Vec2(0.3127f, 0.329f)), "[0.3127,0.329]"},
        {jsonValue(Vmc::Vec3(1.0f, std::numeric_limits<float>::quiet_NaN(), 0.875f)), R"([1.0,"NaN",0.875])"},
        {jsonValue(Vmc::ImageWindow(Vmc::Vec2(0, 0), Vmc::Vec2(4095, 2159))), "[[0.0,0.0],[4095.0,2159.0]]"},
        {jsonValue(aces), "[[0.7347,0.2653],[0.0,1.0],[0.0001,-0.077],[0.32168,0.33767]]"},
        {jsonValue(Vmc::CameraTriple{1.0f, 2.0f, 3.0f, 0u}), "[1.0,2.0,3.0,0]"},
        {jsonValue(Vmc::Rational(23976, 1000)), R"({"numerator":23976,"denominator":1000})"},
        {jsonValue(VellRawMeta::TC_Struct{0x01020304u, 5u, 0x80005DC0u, 9u}),
         R"({"text":"01:02:03;04","bcdTime":16909060,"word1":5,"rateAndDropFrame":2147507648,"word3":9})"},
        {jsonValue(text), "\"Lumi\xEF\xBF\xBDre\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.value.dump(), c.expected);
}

TEST(FieldValues, TimeCodeAtAnOddAddress)
{
    // Time codes are packed records and sit at odd addresses inside the
    // container; formatting one there must only read it.
#pragma pack(push, 1)
    struct Misaligned {
        char before;
        VellRawMeta::TC_Struct timeCode;
    };
#pragma pack(pop)
    const Misaligned m{0, {0x10000008u, 8u, 24000u, 8u}};
    EXPECT_EQ(jsonValue(m.timeCode).dump(),
              R"({"text":"10:00:00:08","bcdTime":268435464,"word1":8,"rateAndDropFrame":24000,"word3":8})");
    EXPECT_EQ(textValue(m.timeCode), "10:00:00:08");
}
