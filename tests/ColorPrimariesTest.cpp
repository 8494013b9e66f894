#include <VellMetadataContainer/ColorCorrectionMatrix.h>
#include <VellMetadataContainer/FieldDescription.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>

#include <gtest/gtest.h>

#include "support/HeaderImage.h"

using Vmc::Chromaticities;
using Vmc::ColorCorrectionMatrixTable;
using Vmc::Vec2;
using Vmc::VellMetadataContainer;
using Vmc::testing::HeaderImage;
using ColorSpace = VellMetadataContainer::ColorSpace;

namespace {

struct Result {
    bool isError;
    std::uint32_t code;
    std::string message;
};

Result decodeInto(VellMetadataContainer& c, const HeaderImage& image, ColorSpace colorSpace)
{
    Vmc::ErrorValue value = c.initFromHeader(image.header(), colorSpace);
    Result result{value.isError, value.code, value.message};
    std::free(value.message);
    return result;
}

HeaderImage whiteBalance(std::uint32_t cct, std::uint16_t ndFilterType)
{
    HeaderImage image = HeaderImage::decodable();
    image.set(VMC_AT(whiteBalanceCct), cct);
    image.set(VMC_AT(ndFilterType), ndFilterType);
    return image;
}

void expectPrimaries(const VellMetadataContainer& c, const Chromaticities& expected)
{
    EXPECT_TRUE(c.chromaticities.defined);
    EXPECT_TRUE(c.chromaticities.value == expected);
    EXPECT_TRUE(c.whitePoint.defined);
    EXPECT_EQ(c.whitePoint.value.x, expected.white.x);
    EXPECT_EQ(c.whitePoint.value.y, expected.white.y);
}

// Bit-for-bit equality of two field values. The colour vectors are compared
// member by member: their objects hold a vtable pointer and, for Vec3,
// padding.
template <class T>
bool sameBits(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}
bool sameBits(const Vec2& a, const Vec2& b)
{
    return sameBits(a.x, b.x) && sameBits(a.y, b.y);
}
bool sameBits(const Vmc::Vec3& a, const Vmc::Vec3& b)
{
    return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z);
}
bool sameBits(const Chromaticities& a, const Chromaticities& b)
{
    return sameBits(a.red, b.red) && sameBits(a.green, b.green) && sameBits(a.blue, b.blue) &&
           sameBits(a.white, b.white);
}
bool sameBits(const Vmc::ImageWindow& a, const Vmc::ImageWindow& b)
{
    return sameBits(a.first, b.first) && sameBits(a.second, b.second);
}

// Every field of `after` holds what `before` held: flag, value bits, text.
void expectSameFields(const VellMetadataContainer& before, const VellMetadataContainer& after)
{
    Vmc::allFieldPairs(before, after, [](const Vmc::FieldInfo& info, const auto& a, const auto& b) {
        EXPECT_EQ(a.defined, b.defined) << info.name;
        if constexpr (std::is_same_v<std::decay_t<decltype(a)>, MetaString>) {
            EXPECT_EQ(a.text == nullptr, b.text == nullptr) << info.name;
            if (a.text != nullptr && b.text != nullptr) {
                EXPECT_STREQ(a.text, b.text) << info.name;
            }
        } else {
            EXPECT_TRUE(sameBits(a.value, b.value)) << info.name;
        }
        return true;
    });
}

} // namespace

TEST(ColorPrimaries, FixedSets)
{
    struct Case {
        ColorSpace colorSpace;
        Chromaticities expected;
        bool acesFlag;
    };
    const Case cases[] = {
        {ColorSpace::WideGamut,
         {Vec2(0.684f, 0.313f), Vec2(0.221f, 0.848f), Vec2(0.0861f, -0.102f), Vec2(0.3127f, 0.329f)}, false},
        {ColorSpace::AcesAP0,
         {Vec2(0.7347f, 0.2653f), Vec2(0.0f, 1.0f), Vec2(0.0001f, -0.077f), Vec2(0.32168f, 0.33767f)}, true},
    };
    for (const Case& k : cases) {
        VellMetadataContainer c;
        const Result r = decodeInto(c, whiteBalance(3200, 1), k.colorSpace);
        EXPECT_FALSE(r.isError) << r.message;
        expectPrimaries(c, k.expected);
        EXPECT_EQ(c.acesContainerFlag.defined, k.acesFlag);
        EXPECT_EQ(c.acesContainerFlag.value, k.acesFlag ? 1u : 0u);
    }
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
        {5600, 0xFFFF, 5600, false}, {3200, 1, 3200, true},     {3200, 2, 3200, false},
        {3200, 0, 3200, false},      {70000, 1, 4464, true},     {0, 0, 0, false},
        {65535, 1, 65535, true},     {0xFFFFFFFF, 0xFFFF, 65535, false},
    };
    for (const Case& k : cases) {
        VellMetadataContainer c;
        const Result r = decodeInto(c, whiteBalance(k.headerCct, k.ndFilterType), ColorSpace::CameraNative);
        EXPECT_FALSE(r.isError) << r.message;
        SCOPED_TRACE(testing::Message() << "cct " << k.headerCct << ", ND type " << k.ndFilterType);
        expectPrimaries(c, ColorCorrectionMatrixTable::cameraNativeChromaticities(k.cct, k.ndIn));
        EXPECT_FALSE(c.acesContainerFlag.defined);
    }
}

TEST(ColorPrimaries, UnknownColorSpaceWritesNothing)
{
    // A container that a first decode filled, with primaries unlike any the
    // library stores.
    VellMetadataContainer c;
    ASSERT_FALSE(decodeInto(c, HeaderImage::decodable(), ColorSpace::WideGamut).isError);
    c.acesContainerFlag.set(7);
    c.whitePoint.set(Vec2(0.25f, 0.5f));
    c.chromaticities.set(Chromaticities(Vec2(1, 2), Vec2(3, 4), Vec2(5, 6), Vec2(0.25f, 0.5f)));
    const VellMetadataContainer before = c;

    // A header that would change the camera fields if its decoding went on.
    HeaderImage other = whiteBalance(5600, 1);
    other.setText(VMC_AT(cameraModelText), "Other model");
    other.set(VMC_AT(cameraSerialNumber), 4242u);

    const std::int32_t values[] = {3, -1, 100, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max()};
    for (std::int32_t value : values) {
        const Result r = decodeInto(c, other, static_cast<ColorSpace>(value));
        EXPECT_TRUE(r.isError) << value;
        EXPECT_EQ(r.code, 100u) << value;
        EXPECT_EQ(r.message,
                  "Unknown colorspace value in VELLRAW header; enumeration value is `" + std::to_string(value) + "'");
        expectSameFields(before, c);
    }
}
