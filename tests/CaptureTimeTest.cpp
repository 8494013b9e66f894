// SPDX-License-Identifier: Apache-2.0
#include <sstream>

#include "support/FieldChecks.h"

using namespace Vmc::testing;

TEST(CaptureTime, DateAndTimeText)
{
    const struct { std::uint32_t date, time; const char* text; } cases[] = {
        {0x20231231, 0x23595900, "2023-12-31 23:59:59"},
        {0x00010307, 0x09050199, "1-03-07 09:05:01"},    // no sub-second, the year unpadded
        {0x20A31A05, 0x0A0B0C00, "2103-20-05 10:11:12"}, // nibbles above 9 keep their value
        {0x20231231, kUnwritten, "earlier"},
        {kUnwritten, 0x23595900, "earlier"},
    };
    for (const auto& k : cases) {
        const Decoded d = decode(headerWith(VMC_AT(captureDate), k.date, VMC_AT(captureTime), k.time), earlier());
        EXPECT_STREQ(d.c.captureDateTime.text, k.text) << std::hex << k.date;
    }
}

TEST(CaptureTime, TimeZoneAndDaylightSaving)
{
    const struct { std::uint32_t zone, saving; float utc, dst; } cases[] = { // -1: untouched
        {0x08000530, 0, -16200.0f, 0.0f}, // the sign applies to the hours only
        {0x08001000, 0x00000130, -30600.0f, 5400.0f},
        {0x88000200, 0, 7200.0f, 0.0f}, // negative only for a top byte of exactly 0x08
        {kUnwritten, 0, -1.0f, -1.0f},
        {0x00000100, kUnwritten, -1.0f, -1.0f},
    };
    for (const auto& k : cases) {
        const Decoded d = decode(headerWith(VMC_AT(timeZone), k.zone, VMC_AT(daylightSaving), k.saving), earlier());
        EXPECT_EQ(d.c.utcOffset.value, k.utc) << std::hex << k.zone;
        EXPECT_EQ(d.c.dstOffset.value, k.dst) << std::hex << k.zone;
    }
}

TEST(CaptureTime, FrameRatesAreUnreducedThousandthsAndRoundHalvesAway)
{
    const struct { std::uint32_t rate; std::int32_t numerator, rounded; } cases[] = {
        {23976, 23976, 24}, {12500, 12500, 13}, {2500, 2500, 3},
        {12499, 12499, 12}, {0, 0, 0},          {kUnwritten, -1, 4294968},
    };
    for (const auto& k : cases) {
        const Decoded d = decode(headerWith(VMC_AT(sensorFrameRate), k.rate, VMC_AT(projectFrameRate), k.rate));
        for (const auto* rate : {&d.c.sensorFrameRate, &d.c.projectFrameRate}) {
            EXPECT_EQ(rate->value.numerator, k.numerator) << k.rate;
            EXPECT_EQ(rate->value.denominator, 1000u) << k.rate;
        }
        EXPECT_EQ(d.c.projectFrameRateRounded.value, k.rounded) << k.rate;
    }
}

TEST(CaptureTime, WindowsExposureAndIndex)
{
    // A height of 0 wraps to 2^32 - 1, whose nearest float is 2^32.
    Decoded d = decode(headerWith(VMC_AT(imageWidth), 4096u, VMC_AT(imageHeight), 0u, VMC_AT(activeAreaLeft),
                                  kUnwritten, VMC_AT(activeAreaTop), 20u, VMC_AT(activeAreaWidth), 2u,
                                  VMC_AT(activeAreaHeight), 50u, VMC_AT(exposureTime), 20833u, VMC_AT(exposureIndex),
                                  16777217u),
                       earlier());
    EXPECT_TRUE(probe::same(d.c.fullImageWindow.value, {{0.0f, 0.0f}, {4095.0f, 4294967296.0f}}));
    EXPECT_TRUE(probe::same(d.c.activeImageWindow.value, {{4294967296.0f, 20.0f}, {0.0f, 69.0f}}));
    EXPECT_FLOAT_EQ(d.c.exposureTime.value, 0.020833f);
    EXPECT_EQ(d.c.exposureIndex.value, 16777216.0f);
    EXPECT_EQ(d.c.imageInfoWord.value, 77u);

    // Exposure time is stored untested; the index and info word are tested.
    d = decode(headerWith(VMC_AT(imageInfoWord), 0u), earlier());
    EXPECT_FLOAT_EQ(d.c.exposureTime.value, 4294.967296f);
    EXPECT_EQ(d.c.exposureIndex.value, -1.0f);
    EXPECT_EQ(d.c.imageInfoWord.value, 0u);
}

TEST(CaptureTime, TimeCodeRecordWordAndRate)
{
    const struct { VellRawMeta::TC_Struct timeCode; float rate; const char* printed; } cases[] = {
        {{0x01020304, 7, 0x80005DC0, 9}, 24.0f, "01:02:03;04"}, // drop frame stays in the record
        {{0x10203029, 5, 0x0000751A, 0}, 29.978f, "10:20:30:29"},
        {{kUnwritten, 5, 0x00005DC0, 6}, -1.0f, nullptr}, // only word 0 is tested
    };
    for (const auto& k : cases) {
        const Decoded d = decode(headerWith(VMC_AT(timeCode), k.timeCode), earlier());
        EXPECT_FLOAT_EQ(d.c.timeCodeRate.value, k.rate);
        EXPECT_EQ(valueOf(d.c.timeCodeWord1), k.printed ? k.timeCode.word1 : 77u);
        std::ostringstream text;
        if (d.c.timeCode.defined)
            text << d.c.timeCode.value;
        EXPECT_EQ(text.str(), k.printed ? k.printed : "");
        EXPECT_TRUE(!k.printed || d.c.timeCode.value == k.timeCode);
    }
}
