// SPDX-License-Identifier: Apache-2.0
#include <VellMetadataContainer/ColorCorrectionMatrix.h>

#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "support/FieldChecks.h"

using Vmc::Chromaticities;
using Vmc::Vec2;
using Vmc::VellMetadataContainer;
using Vmc::testing::decode;
using Vmc::testing::HeaderImage;
using ColorSpace = VellMetadataContainer::ColorSpace;

TEST(ColorPrimaries, EachColorSpaceStoresItsPrimariesAndWhite)
{
    const Chromaticities wide(Vec2(0.684f, 0.313f), Vec2(0.221f, 0.848f), Vec2(0.0861f, -0.102f), Vec2(0.3127f, 0.329f));
    const auto native = Vmc::ColorCorrectionMatrixTable::cameraNativeChromaticities;
    const Chromaticities aces(Vec2(0.7347f, 0.2653f), Vec2(0.0f, 1.0f), Vec2(0.0001f, -0.077f), Vec2(0.32168f, 0.33767f));
    struct Case {
        ColorSpace space;
        std::uint32_t headerCct;
        std::uint16_t ndFilterType;
        Chromaticities expected;
    };
    // Camera native primaries follow the low 16 bits of the white balance and
    // whether the ND filter type is 1.
    const Case cases[] = {
        {ColorSpace::WideGamut, 3200, 1, wide},
        {ColorSpace::AcesAP0, 3200, 1, aces},
        {ColorSpace::CameraNative, 5600, 0xFFFF, native(5600, false)},
        {ColorSpace::CameraNative, 3200, 1, native(3200, true)},
        {ColorSpace::CameraNative, 3200, 2, native(3200, false)},
        {ColorSpace::CameraNative, 70000, 1, native(4464, true)},
        {ColorSpace::CameraNative, 0xFFFFFFFF, 1, native(65535, true)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "space " << int(k.space) << ", cct " << k.headerCct << ", ND " << k.ndFilterType);
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(whiteBalanceCct), k.headerCct);
        image.set(VMC_AT(ndFilterType), k.ndFilterType);
        const auto d = decode(image, VellMetadataContainer(), k.space);
        EXPECT_FALSE(d.isError) << d.message;
        EXPECT_TRUE(d.c.chromaticities.defined && d.c.chromaticities.value == k.expected);
        EXPECT_TRUE(d.c.whitePoint.defined && d.c.whitePoint.value.x == k.expected.white.x &&
                    d.c.whitePoint.value.y == k.expected.white.y);
        EXPECT_EQ(bool(d.c.acesContainerFlag.defined), k.space == ColorSpace::AcesAP0);
        EXPECT_EQ(d.c.acesContainerFlag.value, k.space == ColorSpace::AcesAP0 ? 1u : 0u);
    }
}

TEST(ColorPrimaries, UnknownColorSpaceWritesNothing)
{
    // A container in which a first decode defined every field that decoding
    // writes, with primaries unlike any the library stores.
    auto d = decode(Vmc::testing::fullHeader(), VellMetadataContainer(), ColorSpace::AcesAP0);
    ASSERT_FALSE(d.isError) << d.message;
    d.c.acesContainerFlag.set(7);
    d.c.chromaticities.set(Chromaticities(Vec2(1, 2), Vec2(3, 4), Vec2(5, 6), Vec2(0.25f, 0.5f)));
    const VellMetadataContainer before = d.c;

    // A header that would change the camera fields if its decoding went on.
    HeaderImage other = Vmc::testing::fullHeader();
    other.setText(VMC_AT(cameraModelText), "Other model");
    for (std::int32_t value : {3, -1, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()}) {
        d = decode(other, std::move(d.c), static_cast<ColorSpace>(value));
        EXPECT_EQ(d.code, 100u) << value;
        EXPECT_EQ(d.message,
                  "Unknown colorspace value in VELLRAW header; enumeration value is `" + std::to_string(value) + "'");
        EXPECT_TRUE(before == d.c) << value;
    }
}
