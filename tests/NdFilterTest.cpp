#include <string>

#include <gtest/gtest.h>

#include "support/Decoded.h"

using Vmc::VellMetadataContainer;
using Vmc::testing::changedFields;
using Vmc::testing::decode;
using Vmc::testing::Decoded;
using Vmc::testing::HeaderImage;

namespace {

constexpr std::uint16_t kUnwritten16 = 0xFFFF;

// A camera by model text (null: the K-40 label from the camera type) and
// family and variant codes, with ND data present at the lowest level.
HeaderImage ndCamera(const char* model, std::uint16_t type, std::uint16_t family = kUnwritten16,
                     std::uint16_t variant = kUnwritten16)
{
    HeaderImage image = HeaderImage::decodable();
    if (model != nullptr)
        image.setText(VMC_AT(cameraModelText), model);
    image.set(VMC_AT(cameraFamilyCode), family);
    image.set(VMC_AT(cameraVariantCode), variant);
    image.set(VMC_AT(ndDataLevel), 25u);
    image.set(VMC_AT(ndFilterType), type);
    image.set(VMC_AT(ndFilterMilliValue), std::uint16_t{600});
    image.set(VMC_AT(switchWord1), 1u);
    return image;
}

} // namespace

TEST(NdFilter, LabelsByCamera)
{
    struct Case {
        const char* model;
        std::uint16_t family;
        std::uint16_t variant;
        std::uint16_t type;
        const char* label;       // null: no label
        std::uint32_t code;      // 0: no failure
        const char* messageHead; // before the number
    };
    const char* const stage = "Unknown CORVA Stage ND filter type in VELLRAW header; enumeration value is `";
    const char* const compact = "Unknown CORVA Compact filter type in VELLRAW header; enumeration value is `";
    const char* const qx = "Unknown CORVA QX filter type in VELLRAW header; enumeration value is `";
    const Case cases[] = {
        {"CORVA Stage", kUnwritten16, kUnwritten16, 1, "CORVA Stage ND Type 1", 0, nullptr},
        {"CORVA Stage NX", kUnwritten16, kUnwritten16, 2, nullptr, 900, stage},
        {nullptr, 4, 4, 1, "CORVA Stage ND Type 1", 0, nullptr},
        {"CORVA Compact", kUnwritten16, kUnwritten16, 1, "CORVA Compact camera ND Type 1 Filter 1", 0, nullptr},
        {"CORVA Compact", kUnwritten16, kUnwritten16, 2, "CORVA Compact camera ND Type 1 Filter 2", 0, nullptr},
        {"CORVA Compact", kUnwritten16, kUnwritten16, 3, "CORVA Compact camera ND Type 1 Filter 3", 0, nullptr},
        {"CORVA Compact", kUnwritten16, kUnwritten16, 4, nullptr, 1000, compact},
        {"CORVA QX", kUnwritten16, kUnwritten16, 1, "CORVA QX camera ND Type 1 Filter 1", 0, nullptr},
        {"CORVA QX", kUnwritten16, kUnwritten16, 2, "CORVA QX camera ND Type 1 Filter 2", 0, nullptr},
        {"CORVA QX", kUnwritten16, kUnwritten16, 3, "CORVA QX camera ND Type 1 Filter 3", 0, nullptr},
        {"CORVA QX", kUnwritten16, kUnwritten16, 65534, nullptr, 1100, qx},
        // Stage codes take precedence over a Compact or QX model text.
        {"CORVA Compact", 4, 0, 1, "CORVA Stage ND Type 1", 0, nullptr},
        {"CORVA Compact", 4, 0, 2, nullptr, 900, stage},
        {"CORVA QX", 4, 4, 3, nullptr, 900, stage},
        // Cameras without a table: no label, no failure.
        {"Corva NX", kUnwritten16, kUnwritten16, 7, nullptr, 0, nullptr},
        {"CORVA compact", kUnwritten16, kUnwritten16, 9, nullptr, 0, nullptr},
        {nullptr, kUnwritten16, kUnwritten16, 1, nullptr, 0, nullptr},
    };
    for (const Case& k : cases) {
        const Decoded d = decode(ndCamera(k.model, k.type, k.family, k.variant));
        const std::string what = std::string(k.model ? k.model : "(type 1)") + " " + std::to_string(k.family) + "/" +
                                 std::to_string(k.variant) + " type " + std::to_string(k.type);
        if (k.code == 0) {
            EXPECT_FALSE(d.isError) << what << ": " << d.message;
            EXPECT_TRUE(d.c.ndFilterValue.defined) << what;
            EXPECT_TRUE(d.c.switch1.defined) << what;
            if (k.label != nullptr) {
                EXPECT_STREQ(d.c.ndFilter.text, k.label) << what;
            } else {
                EXPECT_FALSE(d.c.ndFilter.defined) << what;
            }
        } else {
            EXPECT_EQ(d.code, k.code) << what;
            EXPECT_EQ(d.message, k.messageHead + std::to_string(k.type) + "'") << what;
            EXPECT_FALSE(d.c.ndFilter.defined) << what;
            EXPECT_FALSE(d.c.ndFilterValue.defined) << what;
            EXPECT_FALSE(d.c.switch1.defined) << what;
        }
    }
}

TEST(NdFilter, GateBoundaries)
{
    struct Case {
        std::uint32_t level;
        std::uint16_t type;
        std::uint16_t milli;
        bool runs;
    };
    const Case cases[] = {
        {24, 1, 600, false},         {25, 1, 600, true},     {0xFFFFFFFF, 1, 600, true}, {0, 1, 600, false},
        {25, 0, 600, false},         {25, 0xFFFF, 600, false}, {25, 1, 0xFFFF, false},   {25, 1, 0xFFFE, true},
        {24, 2, 600, false}, // an unknown stage type fails only past the gate
        {0xFFFFFFFF, 0, 0, false},
    };
    for (const Case& k : cases) {
        HeaderImage image = ndCamera("CORVA Stage", k.type);
        image.set(VMC_AT(ndDataLevel), k.level);
        image.set(VMC_AT(ndFilterMilliValue), k.milli);
        const Decoded d = decode(image);
        const std::string what = std::to_string(k.level) + " " + std::to_string(k.type) + " " + std::to_string(k.milli);
        EXPECT_FALSE(d.isError) << what << ": " << d.message;
        EXPECT_EQ(d.c.ndFilter.defined, k.runs) << what;
        EXPECT_EQ(d.c.ndFilterValue.defined, k.runs) << what;
        EXPECT_TRUE(d.c.switch1.defined) << what;
    }

    // Type 0 is no filter for every camera.
    for (const char* model : {"CORVA Stage", "CORVA Compact", "CORVA QX", "Corva NX"}) {
        const Decoded d = decode(ndCamera(model, 0));
        EXPECT_FALSE(d.isError) << model;
        EXPECT_FALSE(d.c.ndFilter.defined) << model;
        EXPECT_FALSE(d.c.ndFilterValue.defined) << model;
    }
}

TEST(NdFilter, ValueInThousandths)
{
    struct Case {
        std::uint16_t milli;
        float value;
    };
    const Case cases[] = {{600, 0.6f}, {0, 0.0f}, {1000, 1.0f}, {65534, 65.534f}};
    for (const Case& k : cases) {
        HeaderImage image = ndCamera("Corva NX", 3);
        image.set(VMC_AT(ndFilterMilliValue), k.milli);
        const Decoded d = decode(image);
        ASSERT_TRUE(d.c.ndFilterValue.defined) << k.milli;
        EXPECT_EQ(d.c.ndFilterValue.value, k.value) << k.milli;
    }
}

TEST(NdFilter, SwitchesAreSetOnlyByOne)
{
    struct Case {
        std::uint32_t word;
        bool defined;
        bool value;
    };
    const Case cases[] = {{1, true, true}, {2, true, false}, {0, true, false}, {0xFFFFFFFE, true, false},
                          {0xFFFFFFFF, false, false}};
    const Vmc::decoding::At<std::uint32_t> words[] = {VMC_AT(switchWord1), VMC_AT(switchWord2), VMC_AT(switchWord3)};
    MetaField<bool> VellMetadataContainer::*const flags[] = {&VellMetadataContainer::switch1,
                                                              &VellMetadataContainer::switch2,
                                                              &VellMetadataContainer::switch3};
    for (int i = 0; i < 3; ++i) {
        for (const Case& k : cases) {
            HeaderImage image = HeaderImage::decodable();
            image.set(words[i], k.word);
            const Decoded d = decode(image);
            const MetaField<bool>& flag = d.c.*flags[i];
            EXPECT_EQ(flag.defined, k.defined) << i << " " << k.word;
            EXPECT_EQ(flag.value, k.value) << i << " " << k.word;
        }
    }
}

TEST(NdFilter, StopKeepsEarlierFieldsAndWritesNothingAfter)
{
    // A used container: the ND fields hold an earlier header's values.
    const Decoded earlier = decode(ndCamera("CORVA QX", 2));
    ASSERT_STREQ(earlier.c.ndFilter.text, "CORVA QX camera ND Type 1 Filter 2");

    // The same header but for one field in each of three groups before the
    // ND filter, a flip failure that goes on, an unknown QX filter type, and
    // fields after the stop that would change if written.
    HeaderImage image = ndCamera("CORVA QX", 4);
    image.set(VMC_AT(whiteBalanceCct), 3200u);
    image.set(VMC_AT(flipState), 3u);
    image.set(VMC_AT(bayerColorOrder), 0x52474742u);
    image.set(VMC_AT(statusWord), 5u);
    image.set(VMC_AT(ndFilterMilliValue), std::uint16_t{100});
    image.set(VMC_AT(switchWord2), 0u);
    image.setText(VMC_AT(groupName1), "Group");
    const Decoded stopped = decode(image, earlier.c);
    EXPECT_EQ(stopped.code, 1100u);
    EXPECT_EQ(stopped.message, "Unknown CORVA QX filter type in VELLRAW header; enumeration value is `4'");

    const std::set<std::string> expected = {"whiteBalanceCct", "bayerPattern", "statusWord"};
    EXPECT_EQ(changedFields(earlier.c, stopped.c), expected);
}
