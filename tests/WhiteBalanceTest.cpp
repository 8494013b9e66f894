#include <cmath>
#include <cstddef>
#include <limits>

#include <gtest/gtest.h>

#include "support/Decoded.h"

using Vmc::VellMetadataContainer;
using Vmc::testing::decode;
using Vmc::testing::Decoded;
using Vmc::testing::HeaderImage;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// The matrix is stored row by row, four floats a row.
Vmc::decoding::At<float> matrixElement(int row, int column)
{
    return {offsetof(VellRawMeta::VellFileHeaderV3, colorMatrix) + sizeof(float) * (4 * row + column)};
}

} // namespace

TEST(WhiteBalance, TargetColorSpaceLabelsAndUnknownValuesStop)
{
    struct Case {
        std::uint32_t value;
        const char* label; // null: failure 500
    };
    const Case cases[] = {
        {0, "REC-709"},        {1, "DCI-P3"}, {2, "LOG-K"}, {3, "VELL sensor RGB"}, {4, "VELL film matrix"},
        {5, nullptr},          {0xFFFFFFFF, nullptr},
    };
    for (const Case& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(targetColorSpace), k.value);
        image.set(VMC_AT(processingLevel), 7u);
        image.set(VMC_AT(bayerColorOrder), 0x52474742u);
        const Decoded d = decode(image);
        if (k.label != nullptr) {
            EXPECT_FALSE(d.isError) << k.value;
            EXPECT_STREQ(d.c.targetColorSpace.text, k.label);
            EXPECT_TRUE(d.c.processingLevel.defined);
            EXPECT_TRUE(d.c.bayerPattern.defined);
        } else {
            EXPECT_EQ(d.code, 500u);
            EXPECT_EQ(d.message, "Unknown target colorspace value in VELLRAW header; enumeration value is `" +
                                     std::to_string(k.value) + "'");
            EXPECT_FALSE(d.c.targetColorSpace.defined);
            EXPECT_FALSE(d.c.processingLevel.defined);
            EXPECT_FALSE(d.c.flipState.defined);
            EXPECT_FALSE(d.c.bayerPattern.defined);
            EXPECT_TRUE(d.c.whiteBalanceCct.defined); // stored before the stop
        }
    }
}

TEST(WhiteBalance, UnknownTargetColorSpaceKeepsEarlierProcessingLevelAndFlip)
{
    const Decoded first = decode(HeaderImage::decodable());
    HeaderImage image = HeaderImage::decodable();
    image.set(VMC_AT(targetColorSpace), 5u);
    image.set(VMC_AT(processingLevel), 3u);
    image.set(VMC_AT(flipState), 8u);
    const Decoded d = decode(image, first.c);
    EXPECT_EQ(d.code, 500u);
    EXPECT_STREQ(d.c.targetColorSpace.text, "REC-709");
    EXPECT_STREQ(d.c.flipState.text, "No flip");
    EXPECT_EQ(d.c.processingLevel.value, 4294967296.0f); // the first header's 0xFFFFFFFF
}

TEST(WhiteBalance, FlipStateLabelsAndUnknownValuesGoOn)
{
    struct Case {
        std::uint32_t value;
        const char* label; // null: failure code 0, decoding goes on
    };
    const Case cases[] = {
        {0, "No flip"},
        {1, "H flip in camera"},
        {8, "V flip by reader"},
        {9, "H flip in camera and V flip by reader"},
        {12, "H+V flip by reader"},
        {2, nullptr},
        {4, nullptr}, // horizontal flip by reader alone
        {13, nullptr},
        {0x80000000, nullptr}, // negative as a signed word
        {0xFFFFFFFF, nullptr},
    };
    for (const Case& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(flipState), k.value);
        image.set(VMC_AT(bayerColorOrder), 0x52474742u);
        const Decoded d = decode(image);
        EXPECT_TRUE(d.c.bayerPattern.defined) << k.value; // later groups ran
        if (k.label != nullptr) {
            EXPECT_FALSE(d.isError) << k.value;
            EXPECT_STREQ(d.c.flipState.text, k.label);
        } else {
            EXPECT_TRUE(d.isError) << k.value;
            EXPECT_EQ(d.code, 0u);
            EXPECT_EQ(d.message, "Unknown flip/flop value in VELLRAW header; enumeration value is `" +
                                     std::to_string(k.value) + "'");
            EXPECT_FALSE(d.c.flipState.defined);
        }
    }
}

TEST(WhiteBalance, TintTruncatesTowardZeroAndInvalidGivesLowestInteger)
{
    struct Case {
        float tint;
        std::int32_t stored;
    };
    const Case cases[] = {
        {-2.7f, -2},
        {5.9f, 5},
        {-0.5f, 0},
        {2147483520.0f, 2147483520}, // largest float below 2^31
        {-2147483648.0f, std::numeric_limits<std::int32_t>::min()},
        {2147483648.0f, std::numeric_limits<std::int32_t>::min()},
        {-2147483904.0f, std::numeric_limits<std::int32_t>::min()},
        {1e30f, std::numeric_limits<std::int32_t>::min()},
        {kInf, std::numeric_limits<std::int32_t>::min()},
        {-kInf, std::numeric_limits<std::int32_t>::min()},
        {kNaN, std::numeric_limits<std::int32_t>::min()},
    };
    for (const Case& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(whiteBalanceTint), k.tint);
        const Decoded d = decode(image);
        EXPECT_TRUE(d.c.whiteBalanceTint.defined);
        EXPECT_EQ(d.c.whiteBalanceTint.value, k.stored) << k.tint;
    }
}

TEST(WhiteBalance, UntestedWordsAreStoredAsTheyAre)
{
    HeaderImage image = HeaderImage::decodable(); // white balance fields all 0xFF
    image.set(VMC_AT(whiteBalanceRgb[1]), 0.5f);
    Decoded d = decode(image);
    ASSERT_TRUE(d.c.whiteBalanceCct.defined);
    EXPECT_EQ(d.c.whiteBalanceCct.value, 4294967295u);
    ASSERT_TRUE(d.c.whiteBalanceRgb.defined);
    EXPECT_TRUE(std::isnan(d.c.whiteBalanceRgb.value.x));
    EXPECT_EQ(d.c.whiteBalanceRgb.value.y, 0.5f);
    EXPECT_TRUE(std::isnan(d.c.whiteBalanceRgb.value.z));
    EXPECT_EQ(d.c.processingLevel.value, 4294967296.0f);

    image.set(VMC_AT(whiteBalanceCct), 5600u);
    image.set(VMC_AT(processingLevel), 16777217u); // nearest float is 16777216
    d = decode(image);
    EXPECT_EQ(d.c.whiteBalanceCct.value, 5600u);
    EXPECT_EQ(d.c.processingLevel.value, 16777216.0f);
}

TEST(WhiteBalance, ColorMatrixAndOffsetsAreTestedApart)
{
    struct Case {
        int nanRow; // -1: no NaN
        int nanColumn;
        bool coefficients;
        bool offsets;
    };
    const Case cases[] = {
        {-1, 0, true, true}, {0, 0, false, true}, {2, 2, false, true}, {1, 1, false, true},
        {0, 3, true, false}, {2, 3, true, false},
    };
    for (const Case& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        for (int r = 0; r < 3; ++r) {
            for (int col = 0; col < 4; ++col) {
                const bool nan = r == k.nanRow && col == k.nanColumn;
                image.set(matrixElement(r, col), nan ? kNaN : static_cast<float>(10 * r + col) + 0.25f);
            }
        }
        const Decoded d = decode(image);
        const VellMetadataContainer& c = d.c;
        const MetaField<float>* coefficients[3][3] = {
            {&c.colorMatrix00, &c.colorMatrix01, &c.colorMatrix02},
            {&c.colorMatrix10, &c.colorMatrix11, &c.colorMatrix12},
            {&c.colorMatrix20, &c.colorMatrix21, &c.colorMatrix22},
        };
        const MetaField<float>* offsets[3] = {&c.colorMatrixOffset0, &c.colorMatrixOffset1, &c.colorMatrixOffset2};
        for (int r = 0; r < 3; ++r) {
            for (int col = 0; col < 3; ++col) {
                EXPECT_EQ(coefficients[r][col]->defined, k.coefficients) << r << col;
                if (k.coefficients) {
                    EXPECT_EQ(coefficients[r][col]->value, 10.0f * r + col + 0.25f) << r << col;
                }
            }
            EXPECT_EQ(offsets[r]->defined, k.offsets) << r;
            if (k.offsets) {
                EXPECT_EQ(offsets[r]->value, 10.0f * r + 3.25f) << r;
            }
        }
    }
}
