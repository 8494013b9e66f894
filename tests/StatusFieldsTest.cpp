#include <container/StageCamera.h>

#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "support/FieldChecks.h"

using namespace Vmc::testing;
using Vmc::VellMetadataContainer;

namespace {

constexpr std::uint16_t kUnwritten16 = 0xFFFF;

// A camera by model text (null: the "K-40" label from camera type 1) and
// its family and variant codes.
HeaderImage camera(const char* model, std::uint16_t family, std::uint16_t variant)
{
    HeaderImage image = HeaderImage::decodable();
    if (model != nullptr)
        image.setText(VMC_AT(cameraModelText), model);
    image.set(VMC_AT(cameraFamilyCode), family);
    image.set(VMC_AT(cameraVariantCode), variant);
    return image;
}

} // namespace

TEST(StatusFields, IdentifierAsHexDigits)
{
    HeaderImage image = HeaderImage::decodable();
    EXPECT_FALSE(decode(image).c.identifierHex.defined);
    image.setBytes(VMC_AT(identifierBytes), {0x01});
    EXPECT_EQ(std::string(decode(image).c.identifierHex.text), "01" + std::string(62, 'F'));
    image.fill(VMC_AT(identifierBytes), 0x00);
    image.setBytes(VMC_AT(identifierBytes), {0xAB, 0x5c});
    EXPECT_EQ(std::string(decode(image).c.identifierHex.text), "AB5C" + std::string(60, '0'));
}

TEST(StatusFields, FloatWordAndCodesSkipTheirSentinels)
{
    HeaderImage image = HeaderImage::decodable();
    Decoded d = decode(image);
    EXPECT_FALSE(d.c.statusFloat.defined || d.c.statusWord.defined);
    EXPECT_FALSE(d.c.cameraFamilyCode.defined || d.c.cameraVariantCode.defined);

    for (float value : {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()}) {
        image.set(VMC_AT(statusFloat), value);
        EXPECT_EQ(decode(image).c.statusFloat.value, value);
    }
    image.set(VMC_AT(statusWord), 0xFFFFFFFEu);
    image.set(VMC_AT(cameraFamilyCode), std::uint16_t{0xFFFE});
    image.set(VMC_AT(cameraVariantCode), std::uint16_t{0});
    d = decode(image);
    EXPECT_EQ(d.c.statusWord.value, 0xFFFFFFFEu);
    EXPECT_EQ(d.c.cameraFamilyCode.value, 65534u);
    EXPECT_TRUE(d.c.cameraVariantCode.defined);
}

TEST(StatusFields, AuxiliaryTextFollowsTheBoundedTextRule)
{
    HeaderImage image = HeaderImage::decodable();
    EXPECT_FALSE(decode(image).c.auxiliaryText.defined);
    image.setText(VMC_AT(auxiliaryText), "");
    EXPECT_FALSE(decode(image).c.auxiliaryText.defined);
    image.setText(VMC_AT(auxiliaryText), "abc");
    EXPECT_STREQ(decode(image).c.auxiliaryText.text, "abc");
    image.setText(VMC_AT(auxiliaryText), std::string(24, 'x')); // no NUL
    EXPECT_EQ(std::string(decode(image).c.auxiliaryText.text), std::string(24, 'x'));
}

TEST(StatusFields, StageCameraByModelTextOrByCodes)
{
    struct Case {
        const char* model;
        std::uint16_t family;
        std::uint16_t variant;
        bool stage;
    };
    const Case cases[] = {
        {"CORVA Stage", kUnwritten16, kUnwritten16, true},
        {"CORVA Stage NX", 1, 1, true},
        {"CORVA Stage NX ", kUnwritten16, kUnwritten16, false}, // trailing blank
        {"Corva Stage", kUnwritten16, kUnwritten16, false},     // case matters
        {nullptr, 4, kUnwritten16, false},
        {nullptr, 4, 0, true},
        {nullptr, 4, 4, true},
        {nullptr, 4, 1, false},
        {nullptr, 3, 0, false},
        {"CORVA Compact", 4, 0, true},
    };
    for (const Case& k : cases) {
        HeaderImage image = camera(k.model, k.family, k.variant);
        image.set(VMC_AT(cameraStatusBits), std::uint8_t{0x02});
        const Decoded d = decode(image);
        const std::string what = std::string(k.model ? k.model : "K-40") + " " + std::to_string(k.family) + "/" +
                                 std::to_string(k.variant);
        EXPECT_EQ(Vmc::decoding::isStageCamera(d.c), k.stage) << what;
        EXPECT_TRUE(d.c.cameraStatusBit1.value) << what;
        EXPECT_EQ(d.c.cameraStatusBit0.defined, k.stage) << what;
        EXPECT_FALSE(d.c.cameraStatusBit0.value) << what;
    }
}

TEST(StatusFields, StageTestReadsCodesLeftByAnEarlierHeader)
{
    // "Corva Stage" from the serial-number range is not a stage label.
    HeaderImage bySerial = HeaderImage::decodable();
    bySerial.set(VMC_AT(cameraType), 2u);
    bySerial.set(VMC_AT(cameraSerialNumber), 6001u);
    const Decoded first = decode(bySerial); // status byte 0xFF
    EXPECT_STREQ(first.c.cameraModel.text, "Corva Stage");
    EXPECT_FALSE(first.c.cameraStatusBit0.defined);

    // Codes an earlier header stored make it a stage camera.
    const Decoded next = decode(bySerial, decode(camera(nullptr, 4, 0)).c);
    EXPECT_TRUE(next.c.cameraStatusBit0.defined);
    EXPECT_TRUE(next.c.cameraStatusBit0.value);
}
