#include <VellMetadataContainer/TimeCode.h>

#include <sstream>
#include <string>

#include <gtest/gtest.h>

using VellRawMeta::TC_Struct;

template <class T>
std::string printed(const T& value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

TEST(Bcd, DigitsTakenAsTheyAre)
{
    EXPECT_EQ(Vmc::intFromBCD(static_cast<unsigned short>(0x2014)), 2014);
    EXPECT_EQ(Vmc::intFromBCD(static_cast<unsigned short>(0x0000)), 0);
    EXPECT_EQ(Vmc::intFromBCD(static_cast<unsigned short>(0xFFFF)), 16665);
    EXPECT_EQ(Vmc::intFromBCD(static_cast<unsigned char>(0x59)), 59);
    EXPECT_EQ(Vmc::intFromBCD(static_cast<unsigned char>(0x1A)), 20);
    EXPECT_EQ(Vmc::intFromBCD(static_cast<unsigned char>(0xFF)), 165);
}

TEST(TimeCode, EqualityComparesAllFourWords)
{
    const TC_Struct a{0x01020304, 5, 0x80005DC0, 7};
    TC_Struct b = a;
    EXPECT_TRUE(a == b);
    b.word3 = 8;
    EXPECT_FALSE(a == b);
    b = a;
    b.word1 = 0;
    EXPECT_FALSE(a == b);
}

TEST(TimeCode, Printing)
{
    struct Case {
        TC_Struct timeCode;
        const char* text;
    };
    const Case cases[] = {
        {{0x23595924, 0, 0x80005DC0, 0}, "23:59:59;24"},
        {{0x23595924, 0, 0x00005DC0, 0}, "23:59:59:24"},
        {{0x01020304, 0, 0, 0}, "01:02:03:04"},
        {{0xFFFFFFFF, 0, 0, 0}, "1515:1515:1515:1515"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(printed(c.timeCode), c.text);
}

TEST(DateTime, PrintingPadsAllButTheYear)
{
    EXPECT_EQ(printed(Vmc::DateTime{2014, 3, 7, 9, 5, 1, 99}), "2014-03-07 09:05:01");
    EXPECT_EQ(printed(Vmc::DateTime{2023, 12, 31, 23, 59, 59, 0}), "2023-12-31 23:59:59");
    EXPECT_EQ(printed(Vmc::DateTime{7, 1, -1, 100, 0, 0, 0}), "7-01--1 100:00:00");

    std::ostringstream out;
    out << Vmc::DateTime{2014, 3, 7, 9, 5, 1, 0};
    EXPECT_EQ(out.fill(), '0'); // the fill character stays behind
}

TEST(TimeZone, PrintingShowsSigns)
{
    struct Case {
        Vmc::TimeZone zone;
        const char* text;
    };
    const Case cases[] = {
        {{1, 0, 0, 0}, "UTC +1:+0"},
        {{1, 0, 1, 0}, "UTC +1:+0(plus +1:+0 DST)"},
        {{5, 30, 0, 0}, "UTC +5:+30"},
        {{-3, -30, 0, 0}, "UTC -3:-30"},
        {{0, 0, 0, 30}, "UTC +0:+0(plus +0:+30 DST)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(printed(c.zone), c.text);

    std::ostringstream out;
    out << Vmc::TimeZone{1, 0, 0, 0} << " " << 5;
    EXPECT_EQ(out.str(), "UTC +1:+0 +5"); // showpos stays on
}

TEST(FrameRate, ThousandthsOverOneThousandUnreduced)
{
    const Vmc::Rational a = Vmc::frameRateAsRational(23976);
    EXPECT_EQ(a.numerator, 23976);
    EXPECT_EQ(a.denominator, 1000u);
    EXPECT_EQ(Vmc::frameRateAsRational(25000).numerator, 25000);
    EXPECT_EQ(Vmc::frameRateAsRational(0).numerator, 0);
    EXPECT_EQ(Vmc::frameRateAsRational(0xFFFFFFFFu).numerator, -1);
    EXPECT_EQ(Vmc::frameRateAsRational(0xFFFFFFFFu).denominator, 1000u);
}
