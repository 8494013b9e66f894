// SPDX-License-Identifier: Apache-2.0
// Text helpers: tokens, bounded copies, hex, BCD digits, the printing of
// time codes, dates and time zones, recorder information, and the fixed
// buffers in which decoding builds its texts (the same characters that a
// string stream at default formatting writes).
#include <VellMetadataContainer/RecorderInfo.h>
#include <VellMetadataContainer/StringHelpers.h>
#include <VellMetadataContainer/TimeCode.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "util/DateTimeText.h"
#include "util/FixedText.h"

using Vmc::DateTime;
using Vmc::text::FixedText;

namespace {

template <class T>
std::string streamed(const T& value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

template <class Integer>
std::string fixed(Integer value)
{
    FixedText<24> text;
    text.appendDecimal(value);
    return text.c_str();
}

std::string fixed(const DateTime& t)
{
    FixedText<Vmc::text::kDateTimeCapacity> text;
    Vmc::text::appendDateTime(text, t);
    return text.c_str();
}

// The bounded copy as a std::string, or "<null>".
std::string bounded(const std::vector<unsigned char>& bytes, unsigned long length)
{
    char* copy = Vmc::strdupNullOrBoundsTerminatedCString(bytes.data(), length);
    const std::string text = copy != nullptr ? copy : "<null>";
    std::free(copy);
    return text;
}

} // namespace

TEST(StringHelpers, TokenizeAndSpaces)
{
    const std::tuple<std::string, std::string, std::vector<std::string>> cases[] = {
        {"  alpha   beta\tgamma ", " \t", {"alpha", "beta", "gamma"}}, {"", " \t", {}}, {" \t \t", " \t", {}},
        {"abc", "", {"abc"}}, {"a,;b", ",;", {"a", "b"}}, {"ABCBA", "B", {"A", "C", "A"}},
    };
    for (const auto& [text, delimiters, tokens] : cases)
        EXPECT_EQ(Vmc::tokenize(text, delimiters), tokens) << "text '" << text << "'";
    EXPECT_EQ(Vmc::spacesToUnderscores("a b  c\td"), "a_b__c\td");
}

TEST(StringHelpers, BoundedCopyAndHex)
{
    EXPECT_EQ(bounded(std::vector<unsigned char>(8, 0xFF), 8), "<null>");
    EXPECT_EQ(bounded({0xFF, 0x41, 0, 0, 0, 0, 0, 0}, 8), "\xFF" "A");
    EXPECT_EQ(bounded({'W', 'X', 'Y', 'Z', 'Q'}, 4), "WXYZ");
    EXPECT_EQ(bounded({'A', 'B'}, 0), "<null>");
    EXPECT_EQ(bounded({0, 0xFF, 0xFF}, 3), "");
    EXPECT_EQ(bounded({'A', 0, 'B'}, 3), "A");

    const unsigned char bytes[] = {0x00, 0x0F, 0xA5, 0xFF};
    EXPECT_EQ(Vmc::hexStringFromU8Array(bytes, 4), "000FA5FF");
    EXPECT_EQ(Vmc::hexStringFromU8Array(bytes, 0), "");
    EXPECT_EQ(Vmc::hexStringFromU8Array(bytes, -3), "");
}

TEST(TimeCode, BcdDigitsAndPrinting)
{
    EXPECT_EQ(Vmc::intFromBCD(static_cast<unsigned short>(0x2014)), 2014);
    EXPECT_EQ(Vmc::intFromBCD(static_cast<unsigned short>(0xFFFF)), 16665); // digits taken as they are
    EXPECT_EQ(Vmc::intFromBCD(static_cast<unsigned char>(0x1A)), 20);
    EXPECT_EQ(streamed(VellRawMeta::TC_Struct{0xFFFFFFFF, 0, 0, 0}), "1515:1515:1515:1515");

    // Dates are pinned through the capture time; the stream's fill stays '0'.
    std::ostringstream date;
    date << Vmc::DateTime{2014, 3, 7, 9, 5, 1, 0};
    EXPECT_EQ(date.fill(), '0');
    const std::pair<Vmc::TimeZone, const char*> zones[] = {
        {{1, 0, 0, 0}, "UTC +1:+0"}, {{1, 0, 1, 0}, "UTC +1:+0(plus +1:+0 DST)"}, {{5, 30, 0, 0}, "UTC +5:+30"},
        {{-3, -30, 0, 0}, "UTC -3:-30"}, {{0, 0, 0, 30}, "UTC +0:+0(plus +0:+30 DST)"}};
    for (const auto& [zone, text] : zones)
        EXPECT_EQ(streamed(zone), text);
    std::ostringstream out;
    out << Vmc::TimeZone{1, 0, 0, 0} << " " << 5;
    EXPECT_EQ(out.str(), "UTC +1:+0 +5"); // showpos stays on
}

TEST(RecorderInfo, SplitsMakerIdentifierDetailsAndModel)
{
    // The model with the maker understood; null: nothing understood.
    const std::tuple<std::string, const char*, const char*, const char*> cases[] = {
        {"Codex Digital;A7;1.SIM2.3", "SIM2", "A7", "1.SIM2.3"},
        {"Codex Digital;A7;1.2.3", "Outboard", "A7", "1.2.3"},
        {"Codex Digital;A7;1..3", "Outboard", "A7", "1..3"},
        {"Codex Digital;A7;1.SIM23.4", "Outboard", "A7", "1.SIM23.4"},
        {"Codex Digital;A7;1.SIM2", "", "A7", "1.SIM2"},   // one dot: no model
        {"Codex Digital;1.SIM2.3;7", "", "1.SIM2.3", "7"}, // dots of the identifier do not count
        {"Codex Digital;X;1.SIM2.3;more", "SIM2", "X", "1.SIM2.3;more"},
        {"Codex Digital;;", "", "", ""}, {"Codex Digital;", "", "", ""}, {"Codex Digital", nullptr, "", ""},
        {"codex digital;A7;1.SIM2.3", nullptr, "", ""}, {" Codex Digital;A7;1.SIM2.3", nullptr, "", ""},
    };
    for (const auto& [text, model, identifier, details] : cases) {
        const Vmc::RecorderInfo info = Vmc::parseRecorderInfo(text);
        EXPECT_EQ(info.manufacturer, model ? "Codex Digital" : "") << text;
        EXPECT_EQ(info.model, model ? model : "") << text;
        EXPECT_EQ(info.identifier, identifier) << text;
        EXPECT_EQ(info.details, details) << text;
    }
}

TEST(TextFormatting, IntegersAsTheStreamWritesThem)
{
    for (std::uint32_t v : {0u, 9u, 10u, 1234u, 8950u, 4294967295u})
        EXPECT_EQ(fixed(v), streamed(v));
    for (std::int32_t v : {0, -1, 7, INT32_MIN, INT32_MAX})
        EXPECT_EQ(fixed(v), streamed(v));
    for (long long v : {0LL, -1LL, 65534LL, 4294967295LL, LLONG_MIN, LLONG_MAX})
        EXPECT_EQ(fixed(v), streamed(v));
}

TEST(TextFormatting, DateTimesAsTheStreamWritesThem)
{
    // Every value that four or two BCD digits can give, one field at a time,
    // and values no BCD field can hold.
    DateTime t{2023, 12, 31, 23, 59, 59, 0};
    for (int year = 0; year <= 16665; ++year) {
        t.year = year;
        ASSERT_EQ(fixed(t), streamed(t)) << year;
    }
    for (int DateTime::*field : {&DateTime::month, &DateTime::day, &DateTime::hour, &DateTime::minute, &DateTime::second}) {
        DateTime u{2014, 3, 7, 9, 5, 1, 0};
        for (int v = 0; v <= 165; ++v) {
            u.*field = v;
            ASSERT_EQ(fixed(u), streamed(u)) << v;
        }
        for (int v : {-1, -9, -10, -100, 100, 1000, INT_MIN, INT_MAX}) {
            u.*field = v;
            ASSERT_EQ(fixed(u), streamed(u)) << v;
        }
    }
    EXPECT_EQ(fixed(DateTime{INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, 0}),
              streamed(DateTime{INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, 0}));
}

TEST(TextFormatting, KeepsWhatFitsAndStaysTerminated)
{
    FixedText<6> text;
    text.append("VELL-").append("Corva").append('x');
    EXPECT_STREQ(text.c_str(), "VELL-C");
    text.appendDecimal(12345u);
    EXPECT_STREQ(text.c_str(), "VELL-C");
    FixedText<8> hex; // five bytes, room for four
    const unsigned char bytes[] = {0x00, 0x0F, 0xA5, 0xFF, 0x12};
    EXPECT_STREQ(hex.appendHex(bytes, 5).c_str(), "000FA5FF");
}
