// SPDX-License-Identifier: Apache-2.0
#include "support/FieldChecks.h"

using namespace Vmc::testing;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr std::int32_t kInvalidTint = std::numeric_limits<std::int32_t>::min();

TEST(WhiteBalance, TargetColorSpaceStopsWhenUnknown)
{
    const EnumCase cases[] = {{0, "REC-709"}, {1, "DCI-P3"}, {2, "LOG-K"}, {3, "VELL sensor RGB"},
                              {4, "VELL film matrix"}, {5, nullptr}, {kUnwritten, nullptr}};
    for (const EnumCase& k : cases) {
        HeaderImage image = fullHeader(); // flip state 9
        image.set(VMC_AT(whiteBalanceCct), 3200u);
        image.set(VMC_AT(targetColorSpace), k.value);
        Vmc::VellMetadataContainer start = earlier();
        start.targetColorSpace = MetaString();
        const Decoded d = decode(image, start);
        expectLabel(d, d.c.targetColorSpace, k, 500,
                    "Unknown target colorspace value in VELLRAW header; enumeration value is `");
        EXPECT_EQ(d.c.whiteBalanceCct.value, 3200u); // stored before the stop
        EXPECT_EQ(d.c.processingLevel.value, k.label ? 3.0f : -1.0f);
        EXPECT_STREQ(d.c.flipState.text, k.label ? "H flip in camera and V flip by reader" : "earlier");
    }
}

TEST(WhiteBalance, FlipStateFailureGoesOn)
{
    const EnumCase cases[] = {
        {0, "No flip"}, {1, "H flip in camera"}, {8, "V flip by reader"}, {9, "H flip in camera and V flip by reader"},
        {12, "H+V flip by reader"}, {2, nullptr}, {4, nullptr}, // horizontal flip by reader alone
        {13, nullptr}, {0x80000000, nullptr}, {kUnwritten, nullptr}};
    for (const EnumCase& k : cases) {
        const Decoded d = decode(headerWith(VMC_AT(flipState), k.value, VMC_AT(bayerColorOrder), 0x52474742u));
        expectLabel(d, d.c.flipState, k, 0, "Unknown flip/flop value in VELLRAW header; enumeration value is `");
        EXPECT_TRUE(d.c.bayerPattern.defined) << k.value; // later groups ran
    }
}

TEST(WhiteBalance, TintTruncatesTowardZeroWithoutOverflow)
{
    const std::pair<float, std::int32_t> cases[] = {
        {-2.7f, -2}, {5.9f, 5}, {-0.5f, 0}, {2147483520.0f, 2147483520}, // the largest float below 2^31
        {-2147483648.0f, kInvalidTint}, {2147483648.0f, kInvalidTint}, {kInf, kInvalidTint}, {kNaN, kInvalidTint},
    };
    for (const auto& [tint, stored] : cases)
        EXPECT_EQ(valueOf(decode(headerWith(VMC_AT(whiteBalanceTint), tint)).c.whiteBalanceTint), stored) << tint;
}

TEST(WhiteBalance, UntestedWordsAreStoredAsTheyAre)
{
    Decoded d = decode(headerWith(VMC_AT(whiteBalanceRgb[1]), 0.5f)); // the rest 0xFF
    EXPECT_EQ(valueOf(d.c.whiteBalanceCct), 4294967295u);
    EXPECT_TRUE(d.c.whiteBalanceRgb.defined);
    EXPECT_TRUE(std::isnan(d.c.whiteBalanceRgb.value.x));
    EXPECT_EQ(d.c.whiteBalanceRgb.value.y, 0.5f);
    EXPECT_EQ(d.c.processingLevel.value, 4294967296.0f);
    d = decode(headerWith(VMC_AT(processingLevel), 16777217u));
    EXPECT_EQ(d.c.processingLevel.value, 16777216.0f); // the nearest float
}

TEST(WhiteBalance, ColorMatrixAndOffsetsAreTestedApart)
{
    const struct { int nanRow, nanColumn; bool coefficients, offsets; } cases[] = { // row -1: no NaN
        {-1, 0, true, true}, {0, 0, false, true}, {1, 1, false, true},
        {2, 2, false, true}, {0, 3, true, false}, {2, 3, true, false}};
    for (const auto& k : cases) {
        const auto value = [&](int r, int col) { return r == k.nanRow && col == k.nanColumn ? kNaN : 10.0f * r + col; };
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(colorMatrix[0]), {value(0, 0), value(0, 1), value(0, 2), value(0, 3)});
        image.set(VMC_AT(colorMatrix[1]), {value(1, 0), value(1, 1), value(1, 2), value(1, 3)});
        image.set(VMC_AT(colorMatrix[2]), {value(2, 0), value(2, 1), value(2, 2), value(2, 3)});
        const Vmc::VellMetadataContainer c = decode(image).c;
        const MetaField<float>* coefficients[] = {&c.colorMatrix00, &c.colorMatrix01, &c.colorMatrix02,
                                                  &c.colorMatrix10, &c.colorMatrix11, &c.colorMatrix12,
                                                  &c.colorMatrix20, &c.colorMatrix21, &c.colorMatrix22};
        const MetaField<float>* offsets[] = {&c.colorMatrixOffset0, &c.colorMatrixOffset1, &c.colorMatrixOffset2};
        for (int i = 0; i < 9; ++i) {
            const std::optional<float> expected = value(i / 3, i % 3);
            EXPECT_EQ(valueOf(*coefficients[i]), k.coefficients ? expected : std::nullopt) << i;
        }
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(valueOf(*offsets[r]), k.offsets ? std::optional(value(r, 3)) : std::nullopt) << r;
    }
}
