// String helpers, time code and date printing, recorder information and the
// library version.
#include <VellMetadataContainer/MetadataContainer.h>
#include <VellMetadataContainer/RecorderInfo.h>
#include <VellMetadataContainer/StringHelpers.h>
#include <VellMetadataContainer/TimeCode.h>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

template <class T>
static std::string printed(const T& value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

// The bounded copy as a std::string, or "<null>".
static std::string bounded(const std::vector<unsigned char>& bytes, unsigned long length)
{
    char* copy = Vmc::strdupNullOrBoundsTerminatedCString(bytes.data(), length);
    const std::string text = copy != nullptr ? copy : "<null>";
    std::free(copy);
    return text;
}

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

    EXPECT_EQ(printed(VellRawMeta::TC_Struct{0xFFFFFFFF, 0, 0, 0}), "1515:1515:1515:1515");
}

TEST(TimeCode, DateAndTimeZonePrinting)
{
    EXPECT_EQ(printed(Vmc::DateTime{2014, 3, 7, 9, 5, 1, 99}), "2014-03-07 09:05:01"); // all but the year padded
    EXPECT_EQ(printed(Vmc::DateTime{7, 1, -1, 100, 0, 0, 0}), "7-01--1 100:00:00");
    std::ostringstream date;
    date << Vmc::DateTime{2014, 3, 7, 9, 5, 1, 0};
    EXPECT_EQ(date.fill(), '0'); // the fill character stays behind

    const std::pair<Vmc::TimeZone, const char*> zones[] = {
        {{1, 0, 0, 0}, "UTC +1:+0"}, {{1, 0, 1, 0}, "UTC +1:+0(plus +1:+0 DST)"}, {{5, 30, 0, 0}, "UTC +5:+30"},
        {{-3, -30, 0, 0}, "UTC -3:-30"}, {{0, 0, 0, 30}, "UTC +0:+0(plus +0:+30 DST)"}};
    for (const auto& [zone, text] : zones)
        EXPECT_EQ(printed(zone), text);
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

TEST(Version, BuiltInValuesOutliveTheCall)
{
    const Vmc::Version built;
    EXPECT_EQ(std::make_tuple(built.major, built.minor, built.patch), std::make_tuple(1, 0, 0));
    EXPECT_STREQ(built.build, "1");
    const char* text = Vmc::VellMetadataContainer::VellMetadataContainerVersion().versionString;
    EXPECT_EQ(std::string(text), "1.0.0b1 79886 Vostrabeck ");
    EXPECT_STREQ(Vmc::VellMetadataContainer::VellMetadataContainerVersion().versionString, text);
}
