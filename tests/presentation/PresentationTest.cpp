// SPDX-License-Identifier: Apache-2.0
// The presentation of field values: plain and for people, as text and as
// JSON, the text encodings every view relies on, clip-report cells and
// catalog rows.
#include <vellmeta/Catalog.h>
#include <vellmeta/Decode.h>
#include <vellmeta/Report.h>
#include <vellmeta/Text.h>
#include <vellmeta/Values.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <type_traits>
#include <utility>

#include <gtest/gtest.h>

#include "Writing.h"

namespace {

using vellmeta::TextStyle;
using Container = Vmc::VellMetadataContainer;

const std::string kFFFD = "\xEF\xBF\xBD";
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

// Field `name` of `container`: as plain text and as JSON.
std::pair<std::string, std::string> views(const Container& container, const char* name)
{
    const int index = vellmeta::fieldIndex(name);
    std::string json;
    vellmeta::appendFieldJson(json, container, index);
    return {vellmeta::fieldText(container, index, TextStyle::Numeric), json};
}

// A container with field `name` set to `value` (a text for a MetaString).
template <class Value>
Container with(const char* name, const Value& value, Container container = {})
{
    bool set = false;
    Vmc::forEachField(container, [&](const Vmc::FieldInfo& info, auto& field) {
        using Field = std::decay_t<decltype(field)>;
        if (info.name != std::string_view(name))
            return;
        if constexpr (std::is_same_v<Field, MetaString>) {
            if constexpr (std::is_convertible_v<Value, const char*>) {
                field = value;
                set = true;
            }
        } else if constexpr (std::is_same_v<decltype(field.value), Value>) {
            field.set(value);
            set = true;
        }
    });
    EXPECT_TRUE(set) << name;
    return container;
}

template <class Value>
std::pair<std::string, std::string> views(const char* name, const Value& value)
{
    return views(with(name, value), name);
}

std::string people(const Container& container, const char* name)
{
    return vellmeta::fieldText(container, vellmeta::fieldIndex(name), TextStyle::People);
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

TEST(FieldValues, PlainTextAndJsonOfEveryValueType)
{
    struct Case {
        std::pair<std::string, std::string> got;
        const char* text;
        const char* json;
    };
    const Case cases[] = {
        {views("extraFloatValue", 1.0f), "1", "1.0"},
        {views("extraFloatValue", -0.0f), "-0", "-0.0"},
        {views("extraFloatValue", 0.00001f), "1e-05", "1e-05"},
        {views("extraFloatValue", 16777216.0f), "16777216", "16777216.0"},
        {views("extraFloatValue", 1e16f), "1e+16", "1e+16"},
        {views("extraFloatValue", 8.411582e+17f), "8.411582e+17", "8.411582e+17"}, // shortest form on the rounding boundary
        {views("extraFloatValue", kNaN), "NaN", "\"NaN\""},
        {views("extraFloatValue", -kInf), "-Infinity", "\"-Infinity\""},
        {views("statusWord", std::uint32_t{4294967295u}), "4294967295", "4294967295"},
        {views("whiteBalanceTint", std::int32_t{-2147483647 - 1}), "-2147483648", "-2147483648"},
        {views("switch1", true), "yes", "true"},
        {views("cdlSlope", Vmc::Vec3(1.0f, kNaN, 0.875f)), "(1, NaN, 0.875)", R"([1.0,"NaN",0.875])"},
        {views("chromaticities", Vmc::Chromaticities(Vmc::Vec2(0.684f, 0.313f), Vmc::Vec2(0.221f, 0.848f), Vmc::Vec2(0.0861f, -0.102f),
                                   Vmc::Vec2(0.3127f, 0.329f))),
         "red (0.684, 0.313), green (0.221, 0.848), blue (0.0861, -0.102), white (0.3127, 0.329)",
         "[[0.684,0.313],[0.221,0.848],[0.0861,-0.102],[0.3127,0.329]]"},
        {views("cameraTriple", Vmc::CameraTriple{1.0f, 2.0f, 3.0f, 0u}), "1, 2, 3 (extra 0)", "[1.0,2.0,3.0,0]"},
        {views("sensorFrameRate", Vmc::Rational(23976, 1000)), "23976/1000 (23.976)", R"({"numerator":23976,"denominator":1000})"},
        {views("sensorFrameRate", Vmc::Rational(0, 0)), "0/0 (NaN)", R"({"numerator":0,"denominator":0})"},
        {views("lookName", "Zeiss \xE8\n"), "Zeiss " "\xEF\xBF\xBD" "\\n", "\"Zeiss \xEF\xBF\xBD\\n\""},
        {views("lookName", ""), "", "\"\""},
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
        const std::string text = views("extraFloatValue", f).second;
        EXPECT_EQ(static_cast<float>(std::stod(text)), f) << text;
        char shortest[32];
        const auto end = std::to_chars(shortest, shortest + sizeof shortest, f, std::chars_format::scientific);
        if (text.find('e') != std::string::npos) {
            EXPECT_EQ(text, std::string(shortest, end.ptr));
        }
    }
}

TEST(FieldValues, RoundedAsPrintfRoundsThem)
{
    // The exact binary value decides, ties go to even; near a tie the
    // general formatting answers.
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {2.5, 0, "2"},          {3.5, 0, "4"},         {0.0005, 3, "0.001"}, {1.0005, 3, "1"},
        {-0.0004, 3, "0"},      {-2.0625, 3, "-2.062"}, {29.97, 3, "29.97"},  {23.976023976, 3, "23.976"},
        {1e300, 3, "1e+300"},   {4503599627370497.0, 1, "4503599627370497"},
    };
    for (const auto& c : cases) {
        vellmeta::Out text;
        vellmeta::appendRounded(text, c.value, c.decimals);
        EXPECT_EQ(text.view(), c.text) << c.value;
    }
}

TEST(FieldValues, ConvertedForPeople)
{
    const Container rate24 = with("sensorFrameRate", Vmc::Rational(24000, 1000));
    const Container balance = with("whiteBalanceCct", 5600u, with("whiteBalanceTint", std::int32_t{3}));
    const struct {
        Container container;
        const char* field;
        const char* text;
    } cases[] = {
        {with("exposureTime", 0.0125f), "exposureTime", "1/80 s (0.0125 s)"}, // no frame rate, no angle
        {with("exposureTime", 0.3f), "exposureTime", "0.3 s"},              // not a whole fraction
        {with("exposureTime", 2.0f, rate24), "exposureTime", "2 s, 17280\u00B0 shutter"},
        {with("exposureTime", kNaN), "exposureTime", "NaN"},
        {with("sensorFrameRate", Vmc::Rational(23976, 1000)), "sensorFrameRate", "23.976 fps"},
        {with("projectFrameRate", Vmc::Rational(25000, 0)), "projectFrameRate", "25000/0 (Infinity)"},
        {with("timeCodeRate", 29.97f), "timeCodeRate", "29.97 fps"},
        {with("lensFocusDistance", kInf), "lensFocusDistance", "infinity"},
        {with("lensFocusDistance", 0.0254f), "lensFocusDistance", "0.025 m"}, // to the millimetre
        {with("lensAperture", 5.656854f), "lensAperture", "f/5.6"}, // the stop's name, not 5.7
        {with("lensAperture", 22.627417f), "lensAperture", "f/22"},
        {with("lensAperture", 3.3f), "lensAperture", "f/3.3"},
        {with("lensAperture", kInf), "lensAperture", "Infinity"},
        {with("latitude", -12.345679f), "latitude", "12.345679\u00B0 S"},
        {with("longitude", 3.7f), "longitude", "3.7\u00B0 E"},
        {with("utcOffset", -16200.0f), "utcOffset", "-04:30"},
        {with("dstOffset", 3630.0f), "dstOffset", "+01:00:30"},
        {balance, "whiteBalanceTint", "+3"},
        {with("whiteBalanceCct", 3200u), "whiteBalanceCct", "3200 K"},
        {with("timeCode1", VellRawMeta::TC_Struct{0x1A000000u, 0u, 0u, 0u}), "timeCode1", "110:00:00:00"},
        {with("lensName", "line\nbreak \x1B[31m"), "lensName", "line\\nbreak \\x1B[31m"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(people(c.container, c.field), c.text) << c.field;
    EXPECT_EQ(people(Container(), "lensName"), "") << "undefined: nothing";

    // The tint is listed on its own only where no white balance shows it.
    const int tint = vellmeta::fieldIndex("whiteBalanceTint");
    EXPECT_FALSE(vellmeta::listedForPeople(balance, tint));
    EXPECT_TRUE(vellmeta::listedForPeople(with("whiteBalanceTint", std::int32_t{-1}), tint));
}

TEST(FieldValues, SameFieldValueFollowsContainerEquality)
{
    // The value rules are container equality's, checked with it; here the
    // field chosen and the definedness on both sides.
    const int rate = vellmeta::fieldIndex("sensorFrameRate");
    const int text = vellmeta::fieldIndex("lookName");
    EXPECT_TRUE(vellmeta::sameFieldValue(with("sensorFrameRate", Vmc::Rational(1, 2)),
                                    with("sensorFrameRate", Vmc::Rational(2, 4)), rate)); // by quotient
    EXPECT_FALSE(vellmeta::sameFieldValue(with("lookName", "A"), with("lookName", "a"), text));
    EXPECT_TRUE(vellmeta::sameFieldValue(with("lookName", "A", with("extraFloatValue", 1.0f)), with("lookName", "A"), text));
    EXPECT_FALSE(vellmeta::sameFieldValue(with("lookName", "A"), Container(), text)) << "defined on one side only";
}

TEST(TableCells, QuotedAndNeutralised)
{
    const struct {
        const char* text;
        bool untrusted;
        const char* csv;
        const char* tsv;
    } cases[] = {
        {"plain", true, "plain", "plain"},
        {"a, \"b\"", true, "\"a, \"\"b\"\"\"", "a, \"b\""},
        {"=HYPERLINK(\"x\")", true, "\"'=HYPERLINK(\"\"x\"\")\"", "'=HYPERLINK(\"x\")"},
        {"@SUM(A1)", true, "\"'@SUM(A1)\"", "'@SUM(A1)"},
        {"-3", false, "-3", "-3"}, // a number of ours stays a number
        {"-cmd", true, "\"'-cmd\"", "'-cmd"},
        {"tab\there", false, "tab\there", "tab\\there"},
        {"two\nlines", false, "\"two\nlines\"", "two\\nlines"},
    };
    for (const auto& c : cases) {
        std::string csv, tsv;
        vellmeta::appendTableCell(csv, c.text, vellmeta::ReportFormat::Csv, c.untrusted);
        vellmeta::appendTableCell(tsv, c.text, vellmeta::ReportFormat::Tsv, c.untrusted);
        EXPECT_EQ(csv, c.csv) << c.text;
        EXPECT_EQ(tsv, c.tsv) << c.text;
    }
}

TEST(CatalogRows, FingerprintIsTheHeadersXxHash64)
{
    // As `xxhsum -H64` prints them, so that any host can work a fingerprint out.
    std::array<unsigned char, vellmeta::kHeaderSize> zeros{}, counting{};
    for (std::size_t i = 0; i < counting.size(); ++i)
        counting[i] = static_cast<unsigned char>(i % 251);
    EXPECT_EQ(vellmeta::headerFingerprint(zeros.data()), "881cabbe54b02495");
    EXPECT_EQ(vellmeta::headerFingerprint(counting.data()), "51cc047fbd76c4ae");
}

TEST(CatalogRows, RowWrittenOverAnotherEqualsAFreshOne)
{
    // A host reuses one row's storage clip after clip: nothing of the row
    // before may stay, not a text, a kind or a definedness.
    using Kind = vellmeta::CatalogValue::Kind;
    const auto same = [](const vellmeta::CatalogValue& a, const vellmeta::CatalogValue& b) {
        if (a.kind != b.kind)
            return false;
        switch (a.kind) {
        case Kind::Null: return true;
        case Kind::Integer: return a.integer == b.integer;
        case Kind::Real: return a.real == b.real;
        case Kind::Text: return a.text == b.text;
        }
        return false;
    };
    const Container rows[] = {
        with("lookName", "Day exterior, long name", with("extraFloatValue", kNaN, with("sensorFrameRate", Vmc::Rational(24000, 1001)))),
        with("lookName", "\xFF", with("fullImageWindow", Vmc::ImageWindow{{0, 0}, {kNaN, 1}})),
        Container(),
        with("whiteBalanceRgb", Vmc::Vec3{1, 2, 3}),
    };
    const std::vector<vellmeta::CatalogColumn>& columns = vellmeta::catalogFieldColumns();
    std::vector<vellmeta::CatalogValue> reused;
    for (const Container& row : rows) {
        vellmeta::catalogFieldValues(row, reused);
        const std::vector<vellmeta::CatalogValue> fresh = vellmeta::catalogFieldValues(row);
        ASSERT_EQ(reused.size(), columns.size());
        ASSERT_EQ(fresh.size(), columns.size());
        for (std::size_t i = 0; i < columns.size(); ++i)
            EXPECT_TRUE(same(reused[i], fresh[i])) << columns[i].name;
    }
    // What the first row makes of its values: NaN is a text, a text is UTF-8,
    // a rate its quotient and its parts, an undefined field NULL.
    const std::vector<vellmeta::CatalogValue> first = vellmeta::catalogFieldValues(rows[0]);
    const auto value = [&](const std::vector<vellmeta::CatalogValue>& row, std::string_view name) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (columns[i].name == name)
                return row[i];
        ADD_FAILURE() << name;
        return vellmeta::CatalogValue();
    };
    EXPECT_EQ(value(first, "extraFloatValue").text, "NaN");
    EXPECT_EQ(value(first, "sensorFrameRate").real, 24000.0 / 1001.0);
    EXPECT_EQ(value(first, "sensorFrameRate_denominator").integer, 1001);
    EXPECT_EQ(value(first, "whiteBalanceRgb_g").kind, Kind::Null);
    const std::vector<vellmeta::CatalogValue> second = vellmeta::catalogFieldValues(rows[1]);
    EXPECT_EQ(value(second, "lookName").text, kFFFD);
    EXPECT_EQ(value(second, "fullImageWindow_width").kind, Kind::Null) << "a corner is NaN";
    EXPECT_EQ(value(second, "fullImageWindow_maxX").text, "NaN");
}
