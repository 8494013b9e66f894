// SPDX-License-Identifier: Apache-2.0
#include <container/StageCamera.h>

#include "support/FieldChecks.h"

using namespace Vmc::testing;
using C = Vmc::VellMetadataContainer;

// A camera by model text (null: the "K-40" label from camera type 1) and
// its family and variant codes: what makes it a stage camera, whose status
// bits and ND filter labels differ.
static HeaderImage camera(const char* model, std::uint16_t family, std::uint16_t variant)
{
    HeaderImage image = headerWith(VMC_AT(cameraFamilyCode), family, VMC_AT(cameraVariantCode), variant);
    if (model != nullptr)
        image.setText(VMC_AT(cameraModelText), model);
    return image;
}

// A camera by ND filter type, model text and codes, with ND data at the
// lowest level that counts.
static HeaderImage ndCamera(const char* model, std::uint16_t type, std::uint16_t family = kUnwritten16,
                            std::uint16_t variant = kUnwritten16)
{
    HeaderImage image = camera(model, family, variant);
    image.set(VMC_AT(ndDataLevel), 25u);
    image.set(VMC_AT(ndFilterType), type);
    image.set(VMC_AT(ndFilterMilliValue), std::uint16_t{600});
    image.set(VMC_AT(switchWord1), 1u);
    return image;
}

TEST(StatusFields, IdentifierAuxiliaryTextAndSentinels)
{
    Decoded d = decode(HeaderImage::decodable());
    EXPECT_FALSE(d.c.identifierHex.defined || d.c.auxiliaryText.defined || d.c.statusFloat.defined);
    EXPECT_FALSE(d.c.statusWord.defined || d.c.cameraFamilyCode.defined || d.c.cameraVariantCode.defined);

    HeaderImage image = camera(nullptr, 0xFFFE, 0);
    image.setBytes(VMC_AT(identifierBytes), {0x01}); // only all 0xFF is unwritten
    image.setText(VMC_AT(auxiliaryText), std::string(24, 'x')); // fills the field, no NUL
    image.set(VMC_AT(statusFloat), std::numeric_limits<float>::infinity());
    image.set(VMC_AT(statusWord), 0xFFFFFFFEu);
    d = decode(image);
    EXPECT_EQ(textOf(d.c.identifierHex), "01" + std::string(62, 'F'));
    EXPECT_EQ(textOf(d.c.auxiliaryText), std::string(24, 'x'));
    EXPECT_EQ(valueOf(d.c.statusFloat), std::numeric_limits<float>::infinity());
    EXPECT_EQ(valueOf(d.c.statusWord), 0xFFFFFFFEu);
    EXPECT_EQ(valueOf(d.c.cameraFamilyCode), 65534u);
    EXPECT_EQ(valueOf(d.c.cameraVariantCode), 0u);

    image = headerWith(VMC_AT(auxiliaryText), ""); // empty: not stored
    image.fill(VMC_AT(identifierBytes), 0x00);
    image.setBytes(VMC_AT(identifierBytes), {0xAB, 0x5c});
    d = decode(image);
    EXPECT_EQ(textOf(d.c.identifierHex), "AB5C" + std::string(60, '0'));
    EXPECT_FALSE(d.c.auxiliaryText.defined);
}

TEST(StatusFields, StageCameraByModelTextOrByCodes)
{
    const struct { const char* model; std::uint16_t family, variant; bool stage; } cases[] = {
        {"CORVA Stage", kUnwritten16, kUnwritten16, true},       {"CORVA Stage NX", 1, 1, true},
        {"CORVA Stage NX ", kUnwritten16, kUnwritten16, false}, // trailing blank
        {"Corva Stage", kUnwritten16, kUnwritten16, false},     // case matters
        {nullptr, 4, kUnwritten16, false}, {nullptr, 4, 0, true}, {nullptr, 4, 4, true}, {nullptr, 4, 1, false},
        {nullptr, 3, 0, false},            {"CORVA Compact", 4, 0, true},
    };
    for (const auto& k : cases) {
        HeaderImage image = camera(k.model, k.family, k.variant);
        image.set(VMC_AT(cameraStatusBits), std::uint8_t{0x02});
        const Decoded d = decode(image);
        SCOPED_TRACE(std::string(k.model ? k.model : "K-40") + " " + std::to_string(k.family) + "/" +
                     std::to_string(k.variant));
        EXPECT_EQ(Vmc::decoding::isStageCamera(d.c), k.stage);
        EXPECT_EQ(valueOf(d.c.cameraStatusBit1), true);
        EXPECT_EQ(valueOf(d.c.cameraStatusBit0), k.stage ? std::optional(false) : std::nullopt);
    }

    // "Corva Stage" from the serial-number range is not a stage label, but
    // codes an earlier header stored make it a stage camera.
    const HeaderImage bySerial = headerWith(VMC_AT(cameraType), 2u, VMC_AT(cameraSerialNumber), 6001u);
    const Decoded first = decode(bySerial); // status byte 0xFF
    EXPECT_STREQ(first.c.cameraModel.text, "Corva Stage");
    EXPECT_FALSE(first.c.cameraStatusBit0.defined);
    EXPECT_EQ(valueOf(decode(bySerial, decode(camera(nullptr, 4, 0)).c).c.cameraStatusBit0), true);
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
