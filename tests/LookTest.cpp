#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "support/Decoded.h"

using Vmc::VellMetadataContainer;
using Vmc::testing::changedFields;
using Vmc::testing::decode;
using Vmc::testing::Decoded;
using Vmc::testing::HeaderImage;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

const std::set<std::string> kLookFields = {"cdlApplicationMode", "cdlSlope", "cdlOffset", "cdlPower",
                                           "lookName", "lookLutType", "lookRgb", "cdlSaturation"};

// A complete look: name, LUT type 2, CDL numbers, mode 3.
HeaderImage withLook(const std::string& name)
{
    HeaderImage image = HeaderImage::decodable();
    image.setText(VMC_AT(lookName), name);
    image.set(VMC_AT(lookLutType), 2u);
    image.set(VMC_AT(cdlSaturation), 1.25f);
    image.set(VMC_AT(cdlSlope), {1.0f, 1.1f, 1.2f});
    image.set(VMC_AT(cdlOffset), {0.0f, 0.1f, 0.2f});
    image.set(VMC_AT(cdlPower), {2.0f, 2.1f, 2.2f});
    image.set(VMC_AT(lookRgb), VellRawMeta::R32Rgb{0.3f, 0.4f, 0.5f});
    image.set(VMC_AT(cdlApplicationMode), 3u);
    return image;
}

} // namespace

TEST(Look, AbsentOrNoneNameLeavesEveryLookFieldAlone)
{
    struct Case {
        const char* what;
        bool unwrittenName;
        const char* name;
    };
    const Case cases[] = {{"first byte 0xFF", true, ""}, {"None", false, "None"}};
    for (const Case& k : cases) {
        HeaderImage image = withLook(k.name);
        if (k.unwrittenName)
            image.setBytes(VMC_AT(lookName), {0xFF});
        image.set(VMC_AT(lookLutType), 7u);          // would fail with 700
        image.set(VMC_AT(cdlApplicationMode), 9u);   // would fail with 800
        const Decoded earlier = decode(withLook("Earlier"));
        const Decoded d = decode(image, earlier.c);
        EXPECT_FALSE(d.isError) << k.what << ": " << d.message;
        for (const std::string& name : changedFields(earlier.c, d.c))
            EXPECT_EQ(kLookFields.count(name), 0u) << k.what << ": " << name;
        EXPECT_STREQ(d.c.lookName.text, "Earlier");
    }
}

TEST(Look, NamesAreCopiedAsTheyStand)
{
    const std::string full(32, 'L');
    struct Case {
        std::string name;
        const char* stored;
    };
    const Case cases[] = {{"none", "none"}, {"NONE", "NONE"}, {"", ""}, {"Film Look", "Film Look"},
                          {full, full.c_str()}};
    for (const Case& k : cases) {
        const Decoded d = decode(withLook(k.name));
        EXPECT_FALSE(d.isError) << d.message;
        ASSERT_TRUE(d.c.lookName.defined) << k.name;
        EXPECT_STREQ(d.c.lookName.text, k.stored);
        EXPECT_STREQ(d.c.cdlApplicationMode.text, "CDL LogK");
    }
}

TEST(Look, LutTypeLabelsAndUnknownValuesStop)
{
    struct Case {
        std::uint32_t value;
        const char* label; // null: failure 700
    };
    const Case cases[] = {
        {0, "No Look LUT"}, {1, "Monochromatic Look LUT"}, {2, "3D Look LUT"}, {3, nullptr}, {0xFFFFFFFF, nullptr},
    };
    for (const Case& k : cases) {
        HeaderImage image = withLook("Warm");
        image.set(VMC_AT(lookLutType), k.value);
        const Decoded d = decode(image);
        EXPECT_STREQ(d.c.lookName.text, "Warm");
        if (k.label != nullptr) {
            EXPECT_FALSE(d.isError) << k.value;
            EXPECT_STREQ(d.c.lookLutType.text, k.label);
        } else {
            EXPECT_EQ(d.code, 700u);
            EXPECT_EQ(d.message,
                      "Unknown Look LUT type in VELLRAW header; enumeration value is `" + std::to_string(k.value) + "'");
            EXPECT_FALSE(d.c.lookLutType.defined);
            EXPECT_FALSE(d.c.cdlSaturation.defined);
            EXPECT_FALSE(d.c.cdlSlope.defined);
            EXPECT_FALSE(d.c.cdlApplicationMode.defined);
        }
    }
}

TEST(Look, CdlApplicationModeLabelsAndUnknownValuesStop)
{
    struct Case {
        std::uint32_t value;
        const char* label; // null: failure 800
    };
    const Case cases[] = {
        {0, "No Look"},       {1, "Corva Look Video"}, {0x01000000, "Corva Look Video"},
        {2, "CDL Video"},     {3, "CDL LogK"},         {4, nullptr},
        {0x00FFFFFF, nullptr}, {0x01000001, nullptr},  {0x02000000, nullptr},
        {0x03000000, nullptr}, {0x80000000, nullptr},  {0xFFFFFFFF, nullptr},
    };
    for (const Case& k : cases) {
        HeaderImage image = withLook("Warm");
        image.set(VMC_AT(cdlApplicationMode), k.value);
        image.set(VMC_AT(bayerColorOrder), 0x52474742u);
        const Decoded d = decode(image);
        if (k.label != nullptr) {
            EXPECT_FALSE(d.isError) << k.value;
            EXPECT_STREQ(d.c.cdlApplicationMode.text, k.label);
            EXPECT_TRUE(d.c.bayerPattern.defined);
        } else {
            EXPECT_EQ(d.code, 800u) << k.value;
            EXPECT_EQ(d.message, "Unknown CDL application mode in VELLRAW header; enumeration value is `" +
                                     std::to_string(k.value) + "'");
            EXPECT_FALSE(d.c.cdlApplicationMode.defined);
            EXPECT_FALSE(d.c.bayerPattern.defined);
            // Everything before the mode stays stored.
            EXPECT_STREQ(d.c.lookLutType.text, "3D Look LUT");
            EXPECT_TRUE(d.c.cdlSaturation.defined);
            EXPECT_TRUE(d.c.cdlPower.defined);
            EXPECT_TRUE(d.c.lookRgb.defined);
        }
    }
}

TEST(Look, OnlyTheFirstFloatOfSlopeAndRgbIsTestedForNaN)
{
    // A NaN anywhere but the tested float is copied unchanged.
    HeaderImage image = withLook("Warm");
    image.set(VMC_AT(cdlSlope), {1.0f, kNaN, 1.2f});
    image.set(VMC_AT(cdlOffset), {kNaN, 0.1f, 0.2f});
    image.set(VMC_AT(cdlPower), {2.0f, 2.1f, kNaN});
    image.set(VMC_AT(lookRgb), VellRawMeta::R32Rgb{0.3f, kNaN, kNaN});
    Decoded d = decode(image);
    ASSERT_TRUE(d.c.cdlSlope.defined);
    EXPECT_EQ(d.c.cdlSlope.value.x, 1.0f);
    EXPECT_TRUE(std::isnan(d.c.cdlSlope.value.y));
    EXPECT_TRUE(std::isnan(d.c.cdlOffset.value.x));
    EXPECT_EQ(d.c.cdlOffset.value.z, 0.2f);
    EXPECT_TRUE(std::isnan(d.c.cdlPower.value.z));
    ASSERT_TRUE(d.c.lookRgb.defined);
    EXPECT_EQ(d.c.lookRgb.value.x, 0.3f);
    EXPECT_TRUE(std::isnan(d.c.lookRgb.value.z));

    // A NaN in the tested float leaves all three CDL triples, the saturation
    // or the RGB triple undefined, whatever the rest holds.
    image = withLook("Warm");
    image.set(VMC_AT(cdlSlope), {kNaN, 1.1f, 1.2f});
    image.set(VMC_AT(cdlSaturation), kNaN);
    image.set(VMC_AT(lookRgb), VellRawMeta::R32Rgb{kNaN, 0.4f, 0.5f});
    d = decode(image);
    EXPECT_FALSE(d.isError);
    EXPECT_FALSE(d.c.cdlSlope.defined);
    EXPECT_FALSE(d.c.cdlOffset.defined);
    EXPECT_FALSE(d.c.cdlPower.defined);
    EXPECT_FALSE(d.c.cdlSaturation.defined);
    EXPECT_FALSE(d.c.lookRgb.defined);
    EXPECT_STREQ(d.c.cdlApplicationMode.text, "CDL LogK");
}

TEST(Look, LaterStopReplacesFlipFailure)
{
    HeaderImage image = withLook("Warm");
    image.set(VMC_AT(flipState), 4u);
    image.set(VMC_AT(lookLutType), 7u);
    const Decoded d = decode(image);
    EXPECT_EQ(d.code, 700u);
    EXPECT_EQ(d.message, "Unknown Look LUT type in VELLRAW header; enumeration value is `7'");
}
