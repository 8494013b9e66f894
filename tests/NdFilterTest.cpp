#include "support/FieldChecks.h"

using namespace Vmc::testing;
using C = Vmc::VellMetadataContainer;

// A camera by model text (null: "K-40" from camera type 1) and family and
// variant codes, with ND data at the lowest level that counts.
static HeaderImage ndCamera(const char* model, std::uint16_t type, std::uint16_t family = kUnwritten16,
                            std::uint16_t variant = kUnwritten16)
{
    HeaderImage image = headerWith(VMC_AT(cameraFamilyCode), family, VMC_AT(cameraVariantCode), variant,
                                   VMC_AT(ndDataLevel), 25u, VMC_AT(ndFilterType), type, VMC_AT(ndFilterMilliValue),
                                   std::uint16_t{600}, VMC_AT(switchWord1), 1u);
    if (model != nullptr)
        image.setText(VMC_AT(cameraModelText), model);
    return image;
}

TEST(NdFilter, LabelsByCamera)
{
    const std::string stage = "Unknown CORVA Stage ND filter type in VELLRAW header; enumeration value is `";
    const std::string compact = "Unknown CORVA Compact filter type in VELLRAW header; enumeration value is `";
    const std::string qx = "Unknown CORVA QX filter type in VELLRAW header; enumeration value is `";
    const std::uint16_t none = kUnwritten16;
    // The ND filter type and its label; for an unknown type, the failure.
    const struct {
        const char* model;
        std::uint16_t family, variant;
        EnumCase filter;
        std::uint32_t code;
        std::string head;
    } cases[] = {
        {"CORVA Stage", none, none, {1, "CORVA Stage ND Type 1"}, 0, ""},
        {"CORVA Stage NX", none, none, {2, nullptr}, 900, stage},
        {nullptr, 4, 4, {1, "CORVA Stage ND Type 1"}, 0, ""},
        {"CORVA Compact", none, none, {1, "CORVA Compact camera ND Type 1 Filter 1"}, 0, ""},
        {"CORVA Compact", none, none, {2, "CORVA Compact camera ND Type 1 Filter 2"}, 0, ""},
        {"CORVA Compact", none, none, {3, "CORVA Compact camera ND Type 1 Filter 3"}, 0, ""},
        {"CORVA Compact", none, none, {4, nullptr}, 1000, compact},
        {"CORVA QX", none, none, {1, "CORVA QX camera ND Type 1 Filter 1"}, 0, ""},
        {"CORVA QX", none, none, {2, "CORVA QX camera ND Type 1 Filter 2"}, 0, ""},
        {"CORVA QX", none, none, {3, "CORVA QX camera ND Type 1 Filter 3"}, 0, ""},
        {"CORVA QX", none, none, {65534, nullptr}, 1100, qx},
        // Stage codes take precedence over a Compact or QX model text.
        {"CORVA Compact", 4, 0, {1, "CORVA Stage ND Type 1"}, 0, ""},
        {"CORVA QX", 4, 4, {3, nullptr}, 900, stage},
    };
    for (const auto& k : cases) {
        const Decoded d = decode(ndCamera(k.model, static_cast<std::uint16_t>(k.filter.value), k.family, k.variant));
        expectLabel(d, d.c.ndFilter, k.filter, k.code, k.head);
        EXPECT_EQ(d.c.ndFilterValue.defined, k.code == 0) << k.filter.value;
        EXPECT_EQ(d.c.switch1.defined, k.code == 0) << k.filter.value;
    }
}

TEST(NdFilter, GateBoundariesAndValue)
{
    // Cameras without a table get the value but no label, and never fail.
    const struct { const char* model; std::uint32_t level; std::uint16_t type, milli; std::optional<float> value;
                   bool labelled; } cases[] = {
        {"CORVA Stage", 24, 1, 600, std::nullopt, false}, {"CORVA Stage", 25, 1, 600, 0.6f, true},
        {"CORVA Stage", kUnwritten, 1, 0, 0.0f, true},    {"CORVA Stage", 25, kUnwritten16, 600, std::nullopt, false},
        {"CORVA Stage", 25, 1, kUnwritten16, std::nullopt, false},
        {"CORVA Stage", 24, 2, 600, std::nullopt, false}, // type 2 fails only past the gate
        {"Corva NX", 25, 3, 65534, 65.534f, false},       {"CORVA compact", 25, 7, 600, 0.6f, false},
        {nullptr, 25, 7, 600, 0.6f, false},
        {"CORVA Stage", 25, 0, 600, std::nullopt, false}, // type 0: no filter
    };
    for (const auto& k : cases) {
        HeaderImage image = ndCamera(k.model, k.type);
        image.set(VMC_AT(ndDataLevel), k.level);
        image.set(VMC_AT(ndFilterMilliValue), k.milli);
        const Decoded d = decode(image);
        SCOPED_TRACE(std::string(k.model ? k.model : "K-40") + " " + std::to_string(k.level) + " " +
                     std::to_string(k.type));
        EXPECT_FALSE(d.isError) << d.message;
        EXPECT_EQ(valueOf(d.c.ndFilterValue), k.value);
        EXPECT_EQ(d.c.ndFilter.defined, k.labelled);
    }
}

TEST(NdFilter, SwitchesAreSetOnlyByOne) // the fourth, decoded with the text fields, too
{
    const std::pair<Vmc::decoding::At<std::uint32_t>, MetaField<bool> C::*> switches[] = {
        {VMC_AT(switchWord1), &C::switch1}, {VMC_AT(switchWord2), &C::switch2},
        {VMC_AT(switchWord3), &C::switch3}, {VMC_AT(switchWord4), &C::switch4}};
    for (const auto& [word, flag] : switches) {
        for (std::uint32_t value : {1u, 0u, 2u, kUnwritten}) {
            const Decoded d = decode(headerWith(word, value));
            EXPECT_EQ(valueOf(d.c.*flag), value == kUnwritten ? std::nullopt : std::optional(value == 1)) << value;
        }
    }
}
