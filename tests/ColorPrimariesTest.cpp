#include <VellMetadataContainer/ColorCorrectionMatrix.h>
#include <VellMetadataContainer/FieldDescription.h>

#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "support/Decode.h"
#include "support/FullHeader.h"
#include "support/HeaderImage.h"

using Vmc::Chromaticities;
using Vmc::ColorCorrectionMatrixTable;
using Vmc::Vec2;
using Vmc::VellMetadataContainer;
using Vmc::testing::decode;
using Vmc::testing::Decoded;
using Vmc::testing::HeaderImage;
using ColorSpace = VellMetadataContainer::ColorSpace;

namespace {

HeaderImage whiteBalance(std::uint32_t cct, std::uint16_t ndFilterType)
{
    HeaderImage image = HeaderImage::decodable();
    image.set(VMC_AT(whiteBalanceCct), cct);
    image.set(VMC_AT(ndFilterType), ndFilterType);
    return image;
}

void expectPrimaries(const Decoded& d, const Chromaticities& expected)
{
    EXPECT_FALSE(d.isError) << d.message;
    EXPECT_TRUE(d.c.chromaticities.defined);
    EXPECT_TRUE(d.c.chromaticities.value == expected);
    EXPECT_TRUE(d.c.whitePoint.defined);
    EXPECT_EQ(d.c.whitePoint.value.x, expected.white.x);
    EXPECT_EQ(d.c.whitePoint.value.y, expected.white.y);
}

} // namespace

TEST(ColorPrimaries, FixedSets)
{
    const Decoded wide = decode(whiteBalance(3200, 1), VellMetadataContainer(), ColorSpace::WideGamut);
    expectPrimaries(wide, {Vec2(0.684f, 0.313f), Vec2(0.221f, 0.848f), Vec2(0.0861f, -0.102f), Vec2(0.3127f, 0.329f)});
    EXPECT_FALSE(wide.c.acesContainerFlag.defined);

    const Decoded aces = decode(whiteBalance(3200, 1), VellMetadataContainer(), ColorSpace::AcesAP0);
    expectPrimaries(aces, {Vec2(0.7347f, 0.2653f), Vec2(0.0f, 1.0f), Vec2(0.0001f, -0.077f), Vec2(0.32168f, 0.33767f)});
    EXPECT_TRUE(aces.c.acesContainerFlag.defined);
    EXPECT_EQ(aces.c.acesContainerFlag.value, 1u);
}

TEST(ColorPrimaries, CameraNativeFollowsWhiteBalanceAndNdFilter)
{
    struct Case {
        std::uint32_t headerCct;
        std::uint16_t ndFilterType;
        unsigned short cct; // what the native primaries are computed for
        bool ndIn;
    };
    const Case cases[] = {
        {5600, 0xFFFF, 5600, false}, {3200, 1, 3200, true}, {3200, 2, 3200, false},
        {3200, 0, 3200, false},      {70000, 1, 4464, true}, {0, 0, 0, false},
        {65535, 1, 65535, true},     {0xFFFFFFFF, 0xFFFF, 65535, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "cct " << k.headerCct << ", ND type " << k.ndFilterType);
        const Decoded d = decode(whiteBalance(k.headerCct, k.ndFilterType), VellMetadataContainer(),
                                 ColorSpace::CameraNative);
        expectPrimaries(d, ColorCorrectionMatrixTable::cameraNativeChromaticities(k.cct, k.ndIn));
        EXPECT_FALSE(d.c.acesContainerFlag.defined);
    }
}

TEST(ColorPrimaries, UnknownColorSpaceWritesNothing)
{
    // A container in which a first decode defined every field that decoding
    // writes, with primaries unlike any the library stores.
    Decoded d = decode(Vmc::testing::fullHeader(), VellMetadataContainer(), ColorSpace::AcesAP0);
    ASSERT_FALSE(d.isError) << d.message;
    d.c.acesContainerFlag.set(7);
    d.c.whitePoint.set(Vec2(0.25f, 0.5f));
    d.c.chromaticities.set(Chromaticities(Vec2(1, 2), Vec2(3, 4), Vec2(5, 6), Vec2(0.25f, 0.5f)));
    const VellMetadataContainer before = d.c;

    // A header that would change the camera fields if its decoding went on.
    HeaderImage other = Vmc::testing::fullHeader();
    other.setText(VMC_AT(cameraModelText), "Other model");
    other.set(VMC_AT(cameraSerialNumber), 4242u);

    const std::int32_t values[] = {3, -1, 100, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max()};
    for (std::int32_t value : values) {
        d = decode(other, std::move(d.c), static_cast<ColorSpace>(value));
        EXPECT_TRUE(d.isError) << value;
        EXPECT_EQ(d.code, 100u) << value;
        EXPECT_EQ(d.message,
                  "Unknown colorspace value in VELLRAW header; enumeration value is `" + std::to_string(value) + "'");

        // Same flags everywhere, and every defined field equal.
        Vmc::allFieldPairs(before, d.c, [&](const Vmc::FieldInfo& info, const auto& a, const auto& b) {
            EXPECT_EQ(a.defined, b.defined) << info.name << " after " << value;
            return true;
        });
        EXPECT_TRUE(before == d.c) << value;
    }
}
