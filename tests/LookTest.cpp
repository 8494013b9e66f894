// SPDX-License-Identifier: Apache-2.0
#include "support/FieldChecks.h"

using namespace Vmc::testing;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// The full header (look "Day Exterior", LUT type 2, mode 2) with another name.
static HeaderImage withLook(const std::string& name)
{
    HeaderImage image = fullHeader();
    image.setText(VMC_AT(lookName), name);
    return image;
}

TEST(Look, NameAbsentOrNoneLeavesEveryLookFieldAloneAnyOtherIsCopied)
{
    const Decoded before = decode(fullHeader());
    for (bool unwritten : {true, false}) {
        HeaderImage image = withLook("None");
        if (unwritten)
            image.setBytes(VMC_AT(lookName), {0xFF});
        image.set(VMC_AT(lookLutType), 7u); // would fail with 700
        image.set(VMC_AT(cdlSlope), {2.0f, 2.0f, 2.0f});
        image.set(VMC_AT(cdlApplicationMode), 9u); // would fail with 800
        const Decoded d = decode(image, before.c);
        EXPECT_FALSE(d.isError) << d.message;
        EXPECT_TRUE(changedFields(before.c, d.c).empty());
    }
    for (const std::string& name : {std::string("none"), std::string(), std::string(32, 'L')}) { // 32: no NUL
        const Decoded d = decode(withLook(name));
        EXPECT_FALSE(d.isError) << d.message;
        EXPECT_EQ(textOf(d.c.lookName), name);
        EXPECT_STREQ(d.c.cdlApplicationMode.text, "CDL Video");
    }
}

TEST(Look, LutTypeAndApplicationModeStopWhenUnknown)
{
    const EnumCase lutTypes[] = {{0, "No Look LUT"}, {1, "Monochromatic Look LUT"}, {2, "3D Look LUT"},
                                 {3, nullptr}, {kUnwritten, nullptr}};
    for (const EnumCase& k : lutTypes) {
        HeaderImage image = withLook("Warm");
        image.set(VMC_AT(lookLutType), k.value);
        const Decoded d = decode(image);
        expectLabel(d, d.c.lookLutType, k, 700, "Unknown Look LUT type in VELLRAW header; enumeration value is `");
        EXPECT_STREQ(d.c.lookName.text, "Warm");
        EXPECT_EQ(d.c.cdlSaturation.defined, k.label != nullptr);
    }
    const EnumCase modes[] = {{0, "No Look"},   {1, "Corva Look Video"}, {0x01000000, "Corva Look Video"},
                              {2, "CDL Video"}, {3, "CDL LogK"},         {4, nullptr},
                              {0x01000001, nullptr}, {kUnwritten, nullptr}};
    for (const EnumCase& k : modes) {
        HeaderImage image = withLook("Warm");
        image.set(VMC_AT(cdlApplicationMode), k.value);
        const Decoded d = decode(image);
        expectLabel(d, d.c.cdlApplicationMode, k, 800,
                    "Unknown CDL application mode in VELLRAW header; enumeration value is `");
        EXPECT_STREQ(d.c.lookLutType.text, "3D Look LUT"); // stored before the mode
        EXPECT_TRUE(d.c.cdlPower.defined && d.c.lookRgb.defined);
        EXPECT_EQ(d.c.bayerPattern.defined, k.label != nullptr);
    }
    // A stop replaces a failure that went on before it.
    HeaderImage image = withLook("Warm");
    image.set(VMC_AT(flipState), 4u);
    image.set(VMC_AT(lookLutType), 3u);
    EXPECT_EQ(decode(image).message, "Unknown Look LUT type in VELLRAW header; enumeration value is `3'");
}

TEST(Look, OnlyTheFirstFloatOfSlopeAndRgbIsTestedForNaN)
{
    HeaderImage image = withLook("Warm");
    image.set(VMC_AT(cdlSlope), {1.0f, kNaN, 1.2f});
    image.set(VMC_AT(cdlOffset), {kNaN, 0.1f, 0.2f});
    image.set(VMC_AT(lookRgb), {0.3f, kNaN, kNaN});
    Decoded d = decode(image);
    EXPECT_EQ(d.c.cdlSlope.value.x, 1.0f);
    EXPECT_TRUE(std::isnan(d.c.cdlSlope.value.y));
    EXPECT_TRUE(std::isnan(d.c.cdlOffset.value.x));
    EXPECT_EQ(d.c.lookRgb.value.x, 0.3f);
    EXPECT_TRUE(std::isnan(d.c.lookRgb.value.z));

    // A NaN in a tested float leaves its fields undefined, whatever follows.
    image.set(VMC_AT(cdlSlope), {kNaN, 1.1f, 1.2f});
    image.set(VMC_AT(cdlSaturation), kNaN);
    image.set(VMC_AT(lookRgb), {kNaN, 0.4f, 0.5f});
    d = decode(image);
    EXPECT_FALSE(d.isError);
    EXPECT_FALSE(d.c.cdlSlope.defined || d.c.cdlOffset.defined || d.c.cdlPower.defined);
    EXPECT_FALSE(d.c.cdlSaturation.defined || d.c.lookRgb.defined);
}
