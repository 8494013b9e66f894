#include <string>

#include <gtest/gtest.h>

#include "support/FieldChecks.h"

using namespace Vmc::testing;
using Vmc::VellMetadataContainer;

namespace {

constexpr std::uint16_t kUnwritten16 = 0xFFFF;

// A camera by model text (null: "K-40" from camera type 1) and family and
// variant codes, with ND data at the lowest level that counts.
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
        EnumCase filter;  // the ND filter type and its label
        std::uint32_t code; // for an unknown type
    };
    const Case cases[] = {
        {"CORVA Stage", kUnwritten16, kUnwritten16, {1, "CORVA Stage ND Type 1"}, 0},
        {"CORVA Stage NX", kUnwritten16, kUnwritten16, {2, nullptr}, 900},
        {nullptr, 4, 4, {1, "CORVA Stage ND Type 1"}, 0},
        {"CORVA Compact", kUnwritten16, kUnwritten16, {1, "CORVA Compact camera ND Type 1 Filter 1"}, 0},
        {"CORVA Compact", kUnwritten16, kUnwritten16, {2, "CORVA Compact camera ND Type 1 Filter 2"}, 0},
        {"CORVA Compact", kUnwritten16, kUnwritten16, {3, "CORVA Compact camera ND Type 1 Filter 3"}, 0},
        {"CORVA Compact", kUnwritten16, kUnwritten16, {4, nullptr}, 1000},
        {"CORVA QX", kUnwritten16, kUnwritten16, {1, "CORVA QX camera ND Type 1 Filter 1"}, 0},
        {"CORVA QX", kUnwritten16, kUnwritten16, {2, "CORVA QX camera ND Type 1 Filter 2"}, 0},
        {"CORVA QX", kUnwritten16, kUnwritten16, {3, "CORVA QX camera ND Type 1 Filter 3"}, 0},
        {"CORVA QX", kUnwritten16, kUnwritten16, {65534, nullptr}, 1100},
        // Stage codes take precedence over a Compact or QX model text.
        {"CORVA Compact", 4, 0, {1, "CORVA Stage ND Type 1"}, 0},
        {"CORVA Compact", 4, 0, {3, nullptr}, 900},
        {"CORVA QX", 4, 4, {3, nullptr}, 900},
    };
    const char* const heads[] = {"Unknown CORVA Stage ND filter type in VELLRAW header; enumeration value is `",
                                 "Unknown CORVA Compact filter type in VELLRAW header; enumeration value is `",
                                 "Unknown CORVA QX filter type in VELLRAW header; enumeration value is `"};
    for (const Case& k : cases) {
        const Decoded d = decode(ndCamera(k.model, static_cast<std::uint16_t>(k.filter.value), k.family, k.variant));
        const char* head = k.code == 0 ? "" : heads[(k.code - 900) / 100];
        expectLabel(d, d.c.ndFilter, k.filter, k.code, head);
        EXPECT_EQ(d.c.ndFilterValue.defined, k.code == 0) << k.filter.value;
        EXPECT_EQ(d.c.switch1.defined, k.code == 0) << k.filter.value;
    }

    // Cameras without a table get the value but no label, and never fail.
    for (const char* model : {"Corva NX", "CORVA compact", static_cast<const char*>(nullptr)}) {
        const Decoded d = decode(ndCamera(model, 7));
        EXPECT_FALSE(d.isError) << d.message;
        EXPECT_FALSE(d.c.ndFilter.defined);
        EXPECT_TRUE(d.c.ndFilterValue.defined);
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
        {24, 1, 600, false},    {25, 1, 600, true},     {0xFFFFFFFF, 1, 600, true}, {25, 0, 600, false},
        {25, 0xFFFF, 600, false}, {25, 1, 0xFFFF, false}, {24, 2, 600, false}, // type 2 fails only past the gate
    };
    for (const Case& k : cases) {
        HeaderImage image = ndCamera("CORVA Stage", k.type);
        image.set(VMC_AT(ndDataLevel), k.level);
        image.set(VMC_AT(ndFilterMilliValue), k.milli);
        const Decoded d = decode(image);
        EXPECT_FALSE(d.isError) << k.level << " " << k.type << ": " << d.message;
        EXPECT_EQ(d.c.ndFilter.defined, k.runs) << k.level << " " << k.type << " " << k.milli;
        EXPECT_EQ(d.c.ndFilterValue.defined, k.runs) << k.level << " " << k.type << " " << k.milli;
    }
    for (const char* model : {"CORVA Stage", "CORVA Compact", "CORVA QX", "Corva NX"}) {
        const Decoded d = decode(ndCamera(model, 0)); // type 0: no filter, for every camera
        EXPECT_FALSE(d.isError || d.c.ndFilter.defined || d.c.ndFilterValue.defined) << model;
    }
}

TEST(NdFilter, ValueInThousandths)
{
    const std::pair<std::uint16_t, float> cases[] = {{600, 0.6f}, {0, 0.0f}, {65534, 65.534f}};
    for (const auto& [milli, value] : cases) {
        HeaderImage image = ndCamera("Corva NX", 3);
        image.set(VMC_AT(ndFilterMilliValue), milli);
        const Decoded d = decode(image);
        EXPECT_TRUE(d.c.ndFilterValue.defined) << milli;
        EXPECT_EQ(d.c.ndFilterValue.value, value) << milli;
    }
}

TEST(NdFilter, SwitchesAreSetOnlyByOne)
{
    const Vmc::decoding::At<std::uint32_t> words[] = {VMC_AT(switchWord1), VMC_AT(switchWord2), VMC_AT(switchWord3)};
    MetaField<bool> VellMetadataContainer::*const flags[] = {
        &VellMetadataContainer::switch1, &VellMetadataContainer::switch2, &VellMetadataContainer::switch3};
    for (int i = 0; i < 3; ++i) {
        for (std::uint32_t word : {1u, 0u, 2u, 0xFFFFFFFEu, 0xFFFFFFFFu}) {
            HeaderImage image = HeaderImage::decodable();
            image.set(words[i], word);
            const MetaField<bool> flag = decode(image).c.*flags[i];
            EXPECT_EQ(flag.defined, word != 0xFFFFFFFF) << i << " " << word;
            EXPECT_EQ(flag.value, word == 1) << i << " " << word;
        }
    }
}

TEST(NdFilter, StopKeepsEarlierFieldsAndWritesNothingAfter)
{
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
