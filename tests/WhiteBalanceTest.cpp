#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "support/FieldChecks.h"
#include "support/FullHeader.h"

using namespace Vmc::testing;
using Vmc::VellMetadataContainer;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr std::int32_t kInvalidTint = std::numeric_limits<std::int32_t>::min();

} // namespace

TEST(WhiteBalance, TargetColorSpaceStopsWhenUnknown)
{
    const EnumCase cases[] = {{0, "REC-709"},          {1, "DCI-P3"},   {2, "LOG-K"},
                              {3, "VELL sensor RGB"},  {4, "VELL film matrix"},
                              {5, nullptr},            {0xFFFFFFFF, nullptr}};
    const Decoded earlier = decode(fullHeader()); // processing level 3, flip state 9
    for (const EnumCase& k : cases) {
        HeaderImage image = fullHeader();
        image.set(VMC_AT(whiteBalanceCct), 3200u);
        image.set(VMC_AT(targetColorSpace), k.value);
        image.set(VMC_AT(processingLevel), 1u);
        image.set(VMC_AT(flipState), 0u);
        VellMetadataContainer start = earlier.c;
        start.targetColorSpace = MetaString();
        const Decoded d = decode(image, start);
        expectLabel(d, d.c.targetColorSpace, k, 500,
                    "Unknown target colorspace value in VELLRAW header; enumeration value is `");
        EXPECT_EQ(d.c.whiteBalanceCct.value, 3200u); // stored before the stop
        EXPECT_EQ(d.c.processingLevel.value, k.label ? 1.0f : 3.0f);
        EXPECT_STREQ(d.c.flipState.text, k.label ? "No flip" : "H flip in camera and V flip by reader");
    }
}

TEST(WhiteBalance, FlipStateFailureGoesOn)
{
    const EnumCase cases[] = {{0, "No flip"},
                              {1, "H flip in camera"},
                              {8, "V flip by reader"},
                              {9, "H flip in camera and V flip by reader"},
                              {12, "H+V flip by reader"},
                              {2, nullptr},
                              {4, nullptr}, // horizontal flip by reader alone
                              {13, nullptr},
                              {0x80000000, nullptr},
                              {0xFFFFFFFF, nullptr}};
    for (const EnumCase& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(flipState), k.value);
        image.set(VMC_AT(bayerColorOrder), 0x52474742u);
        const Decoded d = decode(image);
        expectLabel(d, d.c.flipState, k, 0, "Unknown flip/flop value in VELLRAW header; enumeration value is `");
        EXPECT_TRUE(d.c.bayerPattern.defined) << k.value; // later groups ran
    }
}

TEST(WhiteBalance, TintTruncatesTowardZeroWithoutOverflow)
{
    const std::pair<float, std::int32_t> cases[] = {
        {-2.7f, -2},           {5.9f, 5},
        {-0.5f, 0},            {2147483520.0f, 2147483520}, // largest float below 2^31
        {-2147483648.0f, kInvalidTint}, {2147483648.0f, kInvalidTint},
        {-2147483904.0f, kInvalidTint}, {kInf, kInvalidTint},
        {-kInf, kInvalidTint}, {kNaN, kInvalidTint},
    };
    for (const auto& [tint, stored] : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(whiteBalanceTint), tint);
        const Decoded d = decode(image);
        EXPECT_TRUE(d.c.whiteBalanceTint.defined);
        EXPECT_EQ(d.c.whiteBalanceTint.value, stored) << tint;
    }
}

TEST(WhiteBalance, UntestedWordsAreStoredAsTheyAre)
{
    HeaderImage image = HeaderImage::decodable(); // white balance and processing level all 0xFF
    image.set(VMC_AT(whiteBalanceRgb[1]), 0.5f);
    Decoded d = decode(image);
    EXPECT_EQ(d.c.whiteBalanceCct.value, 4294967295u);
    EXPECT_TRUE(d.c.whiteBalanceCct.defined);
    EXPECT_TRUE(d.c.whiteBalanceRgb.defined);
    EXPECT_TRUE(std::isnan(d.c.whiteBalanceRgb.value.x));
    EXPECT_EQ(d.c.whiteBalanceRgb.value.y, 0.5f);
    EXPECT_EQ(d.c.processingLevel.value, 4294967296.0f);

    image.set(VMC_AT(processingLevel), 16777217u); // nearest float is 16777216
    EXPECT_EQ(decode(image).c.processingLevel.value, 16777216.0f);
}

TEST(WhiteBalance, ColorMatrixAndOffsetsAreTestedApart)
{
    struct Case {
        int nanRow; // -1: no NaN
        int nanColumn;
        bool coefficients;
        bool offsets;
    };
    const Case cases[] = {{-1, 0, true, true}, {0, 0, false, true}, {1, 1, false, true},
                          {2, 2, false, true}, {0, 3, true, false}, {2, 3, true, false}};
    for (const Case& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        const auto value = [&](int r, int col) { return r == k.nanRow && col == k.nanColumn ? kNaN : 10.0f * r + col; };
        image.set(VMC_AT(colorMatrix[0]), {value(0, 0), value(0, 1), value(0, 2), value(0, 3)});
        image.set(VMC_AT(colorMatrix[1]), {value(1, 0), value(1, 1), value(1, 2), value(1, 3)});
        image.set(VMC_AT(colorMatrix[2]), {value(2, 0), value(2, 1), value(2, 2), value(2, 3)});
        const VellMetadataContainer c = decode(image).c;
        const MetaField<float>* coefficients[] = {&c.colorMatrix00, &c.colorMatrix01, &c.colorMatrix02,
                                                  &c.colorMatrix10, &c.colorMatrix11, &c.colorMatrix12,
                                                  &c.colorMatrix20, &c.colorMatrix21, &c.colorMatrix22};
        const MetaField<float>* offsets[] = {&c.colorMatrixOffset0, &c.colorMatrixOffset1, &c.colorMatrixOffset2};
        for (int i = 0; i < 9; ++i) {
            EXPECT_EQ(coefficients[i]->defined, k.coefficients) << i;
            EXPECT_EQ(coefficients[i]->value, k.coefficients ? 10.0f * (i / 3) + i % 3 : 0.0f) << i;
        }
        for (int r = 0; r < 3; ++r) {
            EXPECT_EQ(offsets[r]->defined, k.offsets) << r;
            EXPECT_EQ(offsets[r]->value, k.offsets ? 10.0f * r + 3 : 0.0f) << r;
        }
    }
}
