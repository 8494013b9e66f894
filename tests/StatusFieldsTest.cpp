#include <container/StageCamera.h>

#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "support/Decoded.h"

using Vmc::VellMetadataContainer;
using Vmc::testing::decode;
using Vmc::testing::Decoded;
using Vmc::testing::HeaderImage;

namespace {

constexpr std::uint16_t kUnwritten16 = 0xFFFF;

// A camera given by model text (null: the K-40 label from the camera type)
// and its family and variant codes.
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
    constexpr float kInf = std::numeric_limits<float>::infinity();
    HeaderImage image = HeaderImage::decodable();
    Decoded d = decode(image);
    EXPECT_FALSE(d.c.statusFloat.defined);
    EXPECT_FALSE(d.c.statusWord.defined);
    EXPECT_FALSE(d.c.cameraFamilyCode.defined);
    EXPECT_FALSE(d.c.cameraVariantCode.defined);

    for (float value : {kInf, -kInf, 0.5f}) {
        image.set(VMC_AT(statusFloat), value);
        d = decode(image);
        ASSERT_TRUE(d.c.statusFloat.defined);
        EXPECT_EQ(d.c.statusFloat.value, value);
    }

    image.set(VMC_AT(statusWord), 0xFFFFFFFEu);
    image.set(VMC_AT(cameraFamilyCode), std::uint16_t{0xFFFE});
    image.set(VMC_AT(cameraVariantCode), std::uint16_t{0});
    d = decode(image);
    EXPECT_EQ(d.c.statusWord.value, 0xFFFFFFFEu);
    EXPECT_EQ(d.c.cameraFamilyCode.value, 65534u);
    EXPECT_TRUE(d.c.cameraVariantCode.defined);
    EXPECT_EQ(d.c.cameraVariantCode.value, 0u);
}

TEST(StatusFields, AuxiliaryTextFollowsTheBoundedTextRule)
{
    const std::string full(24, 'x');
    struct Case {
        const char* what;
        std::string text; // written with NUL padding
        bool unwritten;   // every byte 0xFF instead
        const char* stored; // null: untouched
    };
    const Case cases[] = {
        {"unwritten", "", true, nullptr},
        {"empty", "", false, nullptr},
        {"short", "abc", false, "abc"},
        {"fills the field", full, false, full.c_str()},
    };
    for (const Case& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        if (!k.unwritten)
            image.setText(VMC_AT(auxiliaryText), k.text);
        const Decoded d = decode(image);
        if (k.stored == nullptr) {
            EXPECT_FALSE(d.c.auxiliaryText.defined) << k.what;
        } else {
            EXPECT_STREQ(d.c.auxiliaryText.text, k.stored) << k.what;
        }
    }

    // A text that only the last byte leaves short of all 0xFF is read up to
    // the field's end.
    HeaderImage image = HeaderImage::decodable();
    image.data()[offsetof(VellRawMeta::VellFileHeaderV3, auxiliaryText) + 23] = 'z';
    const Decoded d = decode(image);
    ASSERT_TRUE(d.c.auxiliaryText.defined);
    EXPECT_EQ(std::string(d.c.auxiliaryText.text), std::string(23, '\xFF') + "z");
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
        {"CORVA Stage", 4, 7, true},
        {nullptr, 4, kUnwritten16, false},
        {nullptr, 4, 0, true},
        {nullptr, 4, 4, true},
        {nullptr, 4, 1, false},
        {nullptr, 3, 0, false},
        {nullptr, kUnwritten16, 0, false},
        {"CORVA Compact", 4, 0, true},
    };
    for (const Case& k : cases) {
        HeaderImage image = camera(k.model, k.family, k.variant);
        image.set(VMC_AT(cameraStatusBits), std::uint8_t{0x02});
        const Decoded d = decode(image);
        const std::string what = std::string(k.model ? k.model : "(type 1)") + " " + std::to_string(k.family) +
                                 "/" + std::to_string(k.variant);
        EXPECT_EQ(Vmc::decoding::isStageCamera(d.c), k.stage) << what;
        EXPECT_TRUE(d.c.cameraStatusBit1.value) << what;
        EXPECT_EQ(d.c.cameraStatusBit0.defined, k.stage) << what;
        if (k.stage) {
            EXPECT_FALSE(d.c.cameraStatusBit0.value) << what;
        }
    }
}

TEST(StatusFields, StageTestReadsCodesLeftByAnEarlierHeader)
{
    // Model "Corva Stage" derived from the serial range is not a stage label.
    HeaderImage bySerial = HeaderImage::decodable();
    bySerial.set(VMC_AT(cameraType), 2u);
    bySerial.set(VMC_AT(cameraSerialNumber), 6001u);
    bySerial.set(VMC_AT(cameraStatusBits), std::uint8_t{0x01});
    const Decoded first = decode(bySerial);
    EXPECT_STREQ(first.c.cameraModel.text, "Corva Stage");
    EXPECT_FALSE(first.c.cameraStatusBit0.defined);

    // Codes from an earlier header make the next one a stage camera, though
    // it writes none itself.
    const Decoded earlier = decode(camera(nullptr, 4, 0));
    const Decoded next = decode(bySerial, earlier.c);
    ASSERT_TRUE(next.c.cameraStatusBit0.defined);
    EXPECT_TRUE(next.c.cameraStatusBit0.value);
}

TEST(StatusFields, StatusBitsAreUntested)
{
    HeaderImage image = camera("CORVA Stage", kUnwritten16, kUnwritten16); // status byte 0xFF
    const Decoded d = decode(image);
    EXPECT_TRUE(d.c.cameraStatusBit1.value);
    EXPECT_TRUE(d.c.cameraStatusBit0.value);

    image.set(VMC_AT(cameraStatusBits), std::uint8_t{0x00});
    const Decoded zero = decode(image);
    EXPECT_TRUE(zero.c.cameraStatusBit1.defined);
    EXPECT_FALSE(zero.c.cameraStatusBit1.value);
}
