#include <VellMetadataContainer/Sentinels.h>

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

using Vmc::uninitializedField;

TEST(Sentinels, ByteArrays)
{
    const unsigned char allFF[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    const unsigned char lastDiffers[4] = {0xFF, 0xFF, 0xFF, 0x00};
    EXPECT_TRUE(uninitializedField(allFF, 4));
    EXPECT_FALSE(uninitializedField(lastDiffers, 4));
    EXPECT_TRUE(uninitializedField(lastDiffers, 3));
    EXPECT_TRUE(uninitializedField(lastDiffers, 0UL));
    EXPECT_TRUE(uninitializedField(static_cast<const unsigned char*>(nullptr), 0UL));
}

TEST(Sentinels, Integers)
{
    EXPECT_TRUE(uninitializedField(static_cast<unsigned char>(0xFF)));
    EXPECT_FALSE(uninitializedField(static_cast<unsigned char>(0xFE)));
    EXPECT_TRUE(uninitializedField(static_cast<signed char>(-1)));
    EXPECT_FALSE(uninitializedField(static_cast<signed char>(127)));
    EXPECT_TRUE(uninitializedField(static_cast<unsigned short>(0xFFFF)));
    EXPECT_TRUE(uninitializedField(static_cast<short>(-1)));
    EXPECT_FALSE(uninitializedField(static_cast<short>(32767)));
    EXPECT_TRUE(uninitializedField(0xFFFFFFFFu));
    EXPECT_FALSE(uninitializedField(0xFFFFFFFEu));
    EXPECT_TRUE(uninitializedField(-1));
    EXPECT_FALSE(uninitializedField(0));
    EXPECT_TRUE(uninitializedField(~0ull));
    EXPECT_FALSE(uninitializedField(0xFFFFFFFFull));
    EXPECT_TRUE(uninitializedField(-1ll));
}

TEST(Sentinels, FloatsAnyNaNButNotInfinity)
{
    float otherNaN;
    const std::uint32_t bits = 0x7FC00001u; // a quiet NaN other than all ones
    std::memcpy(&otherNaN, &bits, 4);
    EXPECT_TRUE(uninitializedField(otherNaN));
    EXPECT_TRUE(uninitializedField(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FALSE(uninitializedField(std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(uninitializedField(0.0f));
}

TEST(Sentinels, Records)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(uninitializedField(VellRawMeta::R32Rgb{1.0f, 2.0f, nan}));
    EXPECT_FALSE(uninitializedField(VellRawMeta::R32Rgb{1.0f, 2.0f, 3.0f}));

    EXPECT_TRUE(uninitializedField(VellRawMeta::TC_Struct{0xFFFFFFFFu, 0, 0, 0}));
    EXPECT_FALSE(uninitializedField(VellRawMeta::TC_Struct{0, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}));

    EXPECT_TRUE(uninitializedField(VellRawMeta::ND_Filter{1, 0xFFFF}));
    EXPECT_TRUE(uninitializedField(VellRawMeta::ND_Filter{0xFFFF, 1}));
    EXPECT_FALSE(uninitializedField(VellRawMeta::ND_Filter{1, 600}));
    EXPECT_TRUE(uninitializedField(VellRawMeta::RawEncoderValue{300, 0xFFFF}));
    EXPECT_TRUE(uninitializedField(VellRawMeta::EncoderLimits{0xFFFF, 3}));
    EXPECT_FALSE(uninitializedField(VellRawMeta::EncoderLimits{0, 3}));

    EXPECT_TRUE(uninitializedField(VellRawMeta::WGS84_Latitude{0xFFFFFFFFu, 123456789}));
    EXPECT_TRUE(uninitializedField(VellRawMeta::WGS84_Longitude{1, 0xFFFFFFFFu}));
    EXPECT_FALSE(uninitializedField(VellRawMeta::WGS84_Longitude{2, 123456789}));
}
