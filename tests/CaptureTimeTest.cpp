#include <VellMetadataContainer/TimeCode.h>

#include <cstdint>
#include <sstream>

#include <gtest/gtest.h>

#include "support/Decode.h"

using Vmc::testing::decode;
using Vmc::testing::Decoded;
using Vmc::testing::HeaderImage;

namespace {

constexpr std::uint32_t kUnwritten = 0xFFFFFFFF;

// Values from an earlier header, to see what a decoding leaves untouched.
Vmc::VellMetadataContainer used()
{
    Vmc::VellMetadataContainer c;
    c.captureDateTime = "earlier";
    c.utcOffset.set(-1.0f);
    c.dstOffset.set(-1.0f);
    c.timeCodeRate.set(-1.0f);
    c.exposureIndex.set(-1.0f);
    c.imageInfoWord.set(77);
    return c;
}

} // namespace

TEST(CaptureTime, DateAndTimeText)
{
    struct Case {
        std::uint32_t date, time;
        const char* text;
    };
    const Case cases[] = {
        {0x20231231, 0x23595900, "2023-12-31 23:59:59"},
        {0x00010307, 0x09050199, "1-03-07 09:05:01"},       // no sub-second, the year unpadded
        {0x20A31A05, 0x0A0B0C00, "2103-20-05 10:11:12"},    // nibbles above 9 keep their value
        {0x20231231, kUnwritten, "earlier"},
        {kUnwritten, 0x23595900, "earlier"},
    };
    for (const Case& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(captureDate), k.date);
        image.set(VMC_AT(captureTime), k.time);
        EXPECT_STREQ(decode(image, used()).c.captureDateTime.text, k.text) << std::hex << k.date;
    }
}

TEST(CaptureTime, TimeZoneAndDaylightSaving)
{
    struct Case {
        std::uint32_t zone, saving;
        float utc, dst; // -1: untouched
    };
    const Case cases[] = {
        {0x08000530, 0, -16200.0f, 0.0f},          // the sign applies to the hours only
        {0x00000100, 0x00000100, 7200.0f, 3600.0f},
        {0x08001000, 0x00000130, -30600.0f, 5400.0f},
        {0x88000200, 0, 7200.0f, 0.0f},             // negative only for a top byte of exactly 0x08
        {kUnwritten, 0, -1.0f, -1.0f},
        {0x00000100, kUnwritten, -1.0f, -1.0f},
    };
    for (const Case& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(timeZone), k.zone);
        image.set(VMC_AT(daylightSaving), k.saving);
        const Decoded d = decode(image, used());
        EXPECT_EQ(d.c.utcOffset.value, k.utc) << std::hex << k.zone;
        EXPECT_EQ(d.c.dstOffset.value, k.dst) << std::hex << k.zone;
    }
}

TEST(CaptureTime, FrameRatesAreFractionsAndRoundHalvesAway)
{
    const struct {
        std::uint32_t rate;
        std::int32_t numerator, rounded;
    } cases[] = {{23976, 23976, 24}, {29970, 29970, 30}, {12500, 12500, 13}, {2500, 2500, 3},
                 {12499, 12499, 12}, {kUnwritten, -1, 4294968}};
    for (const auto& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(sensorFrameRate), k.rate);
        image.set(VMC_AT(projectFrameRate), k.rate);
        const Decoded d = decode(image);
        EXPECT_EQ(d.c.sensorFrameRate.value.numerator, k.numerator);
        EXPECT_EQ(d.c.projectFrameRate.value.numerator, k.numerator);
        EXPECT_EQ(d.c.projectFrameRate.value.denominator, 1000u);
        EXPECT_EQ(d.c.projectFrameRateRounded.value, k.rounded) << k.rate;
    }
}

TEST(CaptureTime, WindowsExposureAndIndex)
{
    HeaderImage image = HeaderImage::decodable();
    image.set(VMC_AT(imageWidth), 4096u);
    image.set(VMC_AT(imageHeight), 0u); // wraps to 2^32 - 1, the nearest float is 2^32
    image.set(VMC_AT(activeAreaLeft), 0xFFFFFFFFu);
    image.set(VMC_AT(activeAreaTop), 20u);
    image.set(VMC_AT(activeAreaWidth), 2u);
    image.set(VMC_AT(activeAreaHeight), 50u);
    image.set(VMC_AT(exposureTime), 20833u);
    image.set(VMC_AT(exposureIndex), 16777217u);
    Decoded d = decode(image, used());
    const Vmc::ImageWindow& full = d.c.fullImageWindow.value;
    const Vmc::ImageWindow& active = d.c.activeImageWindow.value;
    EXPECT_EQ(full.first.x + full.first.y, 0.0f);
    EXPECT_EQ(full.second.x, 4095.0f);
    EXPECT_EQ(full.second.y, 4294967296.0f);
    EXPECT_EQ(active.first.x, 4294967296.0f);
    EXPECT_EQ(active.first.y, 20.0f);
    EXPECT_EQ(active.second.x, 0.0f);
    EXPECT_EQ(active.second.y, 69.0f);
    EXPECT_FLOAT_EQ(d.c.exposureTime.value, 0.020833f);
    EXPECT_EQ(d.c.exposureIndex.value, 16777216.0f);
    EXPECT_EQ(d.c.imageInfoWord.value, 77u);

    // Exposure time is stored untested; the index and info word are tested.
    image.set(VMC_AT(exposureTime), kUnwritten);
    image.set(VMC_AT(exposureIndex), kUnwritten);
    image.set(VMC_AT(imageInfoWord), 0u);
    d = decode(image, used());
    EXPECT_FLOAT_EQ(d.c.exposureTime.value, 4294.967296f);
    EXPECT_EQ(d.c.exposureIndex.value, -1.0f);
    EXPECT_EQ(d.c.imageInfoWord.value, 0u);
}

TEST(CaptureTime, TimeCodeRecordWordAndRate)
{
    const struct {
        VellRawMeta::TC_Struct timeCode;
        float rate;
        const char* printed;
    } cases[] = {
        {{0x01020304, 7, 0x80005DC0, 9}, 24.0f, "01:02:03;04"}, // drop frame stays in the record
        {{0x10203029, 5, 0x0000751A, 0}, 29.978f, "10:20:30:29"},
        {{kUnwritten, 5, 0x00005DC0, 6}, -1.0f, nullptr},      // only word 0 is tested
    };
    for (const auto& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(timeCode), k.timeCode);
        const Decoded d = decode(image, used());
        EXPECT_FLOAT_EQ(d.c.timeCodeRate.value, k.rate);
        EXPECT_EQ(d.c.timeCode.defined, k.printed != nullptr);
        EXPECT_EQ(d.c.timeCodeWord1.defined, k.printed != nullptr);
        if (k.printed == nullptr)
            continue;
        EXPECT_TRUE(d.c.timeCode.value == k.timeCode);
        EXPECT_EQ(d.c.timeCodeWord1.value, k.timeCode.word1);
        std::ostringstream text;
        text << d.c.timeCode.value;
        EXPECT_EQ(text.str(), k.printed);
    }
}
