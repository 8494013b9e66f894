#include "FieldValues.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>

#include <gtest/gtest.h>

using vellmeta::jsonValue;
using vellmeta::textValue;

namespace {

const std::string kFFFD = "\xEF\xBF\xBD";
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

// A value in both of the tool's views: as text for people and as JSON.
template <class T>
std::pair<std::string, std::string> views(const T& value)
{
    return {textValue(value), jsonValue(value).dump()};
}

MetaString metaString(const char* text)
{
    MetaString s;
    s = text;
    return s;
}

} // namespace

TEST(Utf8, IllFormedSequencesBecomeOneReplacementEach)
{
    const std::pair<const char*, std::string> cases[] = {
        {"caf\xC3\xA9 \xF0\x9F\x8E\xA5", "caf\xC3\xA9 \xF0\x9F\x8E\xA5"}, // two- and four-byte sequences kept
        {"Lumi\xE8re", "Lumi" + kFFFD + "re"},                            // Latin-1 byte
        {"\xC0\xAF", kFFFD + kFFFD},                                      // overlong lead bytes
        {"\xE0\x80\x80", kFFFD + kFFFD + kFFFD},                          // overlong three-byte form
        {"\xED\xA0\x80", kFFFD + kFFFD + kFFFD},                          // surrogate
        {"\xF4\x90\x80\x80", kFFFD + kFFFD + kFFFD + kFFFD},              // above U+10FFFF
        {"\xE2\x82" "A", kFFFD + "A"},                                    // truncated before ASCII
        {"\xF0\x9F\x8E", kFFFD},                                          // truncated at the end
        {"\x80\xBF\xFF", kFFFD + kFFFD + kFFFD},                          // lone continuation, never valid
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(vellmeta::validUtf8(bytes), expected) << bytes;

    EXPECT_EQ(vellmeta::printable("two\nlines\tand\r \x1B[31m del\x7F"), "two\\nlines\\tand\\r \\x1B[31m del\\x7F");
    EXPECT_EQ(vellmeta::printable("\xC2\x9B" "2J \xC2\xA0 \xE8"), "\\u009B2J \xC2\xA0 " + kFFFD); // C1 escaped, NBSP kept
}

TEST(FieldValues, TextAndJsonOfEveryValueType)
{
    struct Case {
        std::pair<std::string, std::string> got;
        const char* text;
        const char* json;
    };
    const Case cases[] = {
        {views(1.0f), "1", "1.0"},
        {views(-0.0f), "-0", "-0.0"},
        {views(0.00001f), "1e-05", "1e-05"},
        {views(16777216.0f), "16777216", "16777216.0"},
        {views(1e16f), "1e+16", "1e+16"},
        {views(8.411582e+17f), "8.411582e+17", "8.411582e+17"}, // shortest form on the rounding boundary
        {views(kNaN), "NaN", "\"NaN\""},
        {views(-kInf), "-Infinity", "\"-Infinity\""},
        {views(std::uint32_t{4294967295u}), "4294967295", "4294967295"},
        {views(std::int32_t{-2147483647 - 1}), "-2147483648", "-2147483648"},
        {views(true), "yes", "true"},
        {views(Vmc::Vec3(1.0f, kNaN, 0.875f)), "(1, NaN, 0.875)", R"([1.0,"NaN",0.875])"},
        {views(Vmc::ImageWindow(Vmc::Vec2(8, 4), Vmc::Vec2(4087, 2155))), "(8, 4) to (4087, 2155)",
         "[[8.0,4.0],[4087.0,2155.0]]"},
        {views(Vmc::Chromaticities(Vmc::Vec2(0.684f, 0.313f), Vmc::Vec2(0.221f, 0.848f), Vmc::Vec2(0.0861f, -0.102f),
                                   Vmc::Vec2(0.3127f, 0.329f))),
         "red (0.684, 0.313), green (0.221, 0.848), blue (0.0861, -0.102), white (0.3127, 0.329)",
         "[[0.684,0.313],[0.221,0.848],[0.0861,-0.102],[0.3127,0.329]]"},
        {views(Vmc::CameraTriple{1.0f, 2.0f, 3.0f, 0u}), "1, 2, 3 (extra 0)", "[1.0,2.0,3.0,0]"},
        {views(Vmc::Rational(23976, 1000)), "23976/1000 (23.976)", R"({"numerator":23976,"denominator":1000})"},
        {views(Vmc::Rational(0, 0)), "0/0 (NaN)", R"({"numerator":0,"denominator":0})"},
        {views(VellRawMeta::TC_Struct{0x23595924u, 5u, 0x80005DC0u, 9u}), "23:59:59;24",
         R"({"text":"23:59:59;24","bcdTime":593058084,"word1":5,"rateAndDropFrame":2147507648,"word3":9})"},
        {views(metaString("Zeiss \xE8\n")), "Zeiss " "\xEF\xBF\xBD" "\\n", "\"Zeiss \xEF\xBF\xBD\\n\""},
        {views(MetaString()), "", "\"\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.got.first, c.text);
        EXPECT_EQ(c.got.second, c.json) << c.text;
    }
}

TEST(FieldValues, JsonFloatsReadBackUnchanged)
{
    // Over many finite bit patterns: the text reads back (as a double, the
    // way a JSON reader does) to the same float; in scientific notation it
    // has exactly the digits of the shortest form.
    std::mt19937 random(2480);
    for (int checked = 0; checked < 20000;) {
        const std::uint32_t bits = random();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        if (!std::isfinite(f))
            continue;
        ++checked;
        const std::string text = jsonValue(f).dump();
        EXPECT_EQ(static_cast<float>(std::stod(text)), f) << text;
        char shortest[32];
        const auto end = std::to_chars(shortest, shortest + sizeof shortest, f, std::chars_format::scientific);
        if (text.find('e') != std::string::npos) {
            EXPECT_EQ(text, std::string(shortest, end.ptr));
        }
    }
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
    EXPECT_EQ(views(m.timeCode).first, "10:00:00:08");
}
