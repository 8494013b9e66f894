#include <container/StageCamera.h>

#include "support/FieldChecks.h"

using namespace Vmc::testing;

// A camera by model text (null: the "K-40" label from camera type 1) and
// its family and variant codes.
static HeaderImage camera(const char* model, std::uint16_t family, std::uint16_t variant)
{
    HeaderImage image = headerWith(VMC_AT(cameraFamilyCode), family, VMC_AT(cameraVariantCode), variant);
    if (model != nullptr)
        image.setText(VMC_AT(cameraModelText), model);
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
