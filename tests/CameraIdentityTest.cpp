#include <VellMetadataContainer/FieldDescription.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "support/Decode.h"
#include "support/HeaderImage.h"

using Vmc::VellMetadataContainer;
using Vmc::testing::Decoded;
using Vmc::testing::HeaderImage;
using Vmc::testing::decode;

namespace {

// A header without model text: the model comes from type and serial number.
HeaderImage corvaBySerial(std::uint32_t serial)
{
    HeaderImage image = HeaderImage::decodable();
    image.set(VMC_AT(cameraType), 2u);
    image.set(VMC_AT(cameraSerialNumber), serial);
    return image;
}

const char* const kNoRange =
    "VELLRAW header camera model field is undefined, and camera serial number lands in no known range";

} // namespace

TEST(CameraIdentity, SerialRangeBoundaries)
{
    struct Case {
        std::uint32_t serial;
        const char* model; // null: failure 300
    };
    const Case cases[] = {
        {0, nullptr},           {1000, nullptr},         {1001, "Corva Pro 4:3"}, {1999, "Corva Pro 4:3"},
        {2000, nullptr},        {2001, "Corva LT"},      {3999, "Corva LT"},      {4000, nullptr},
        {4001, "Corva Pro"},    {5999, "Corva Pro"},     {6000, nullptr},         {6001, "Corva Stage"},
        {6499, "Corva Stage"},  {6500, nullptr},         {6501, "Corva NX"},      {6899, "Corva NX"},
        {6900, nullptr},        {6901, "Corva NX R"},    {6950, "Corva NX R"},    {6999, "Corva NX R"},
        {7000, nullptr},        {7001, "Corva LT"},      {7999, "Corva LT"},      {8000, nullptr},
        {8001, "Corva R"},      {8499, "Corva R"},       {8500, nullptr},         {8501, "Corva NX Pro"},
        {8899, "Corva NX Pro"}, {8900, nullptr},         {8901, "Corva NX Stage"}, {8999, "Corva NX Stage"},
        {9000, nullptr},        {9001, "Corva HR"},      {9499, "Corva HR"},      {9500, nullptr},
        {9501, "Corva HR Pro"}, {9999, "Corva HR Pro"},  {10000, nullptr},        {0xFFFFFFFF, nullptr},
    };
    for (const Case& k : cases) {
        const Decoded d = decode(corvaBySerial(k.serial));
        if (k.model != nullptr) {
            EXPECT_FALSE(d.isError) << k.serial;
            EXPECT_STREQ(d.c.cameraModel.text, k.model) << k.serial;
        } else {
            EXPECT_EQ(d.code, 300u) << k.serial;
            EXPECT_EQ(d.message, kNoRange) << k.serial;
            EXPECT_FALSE(d.c.cameraModel.defined) << k.serial;
        }
    }
}

TEST(CameraIdentity, CameraTypes)
{
    HeaderImage image = HeaderImage::decodable(); // type 1
    image.set(VMC_AT(cameraSerialNumber), 12345u);
    EXPECT_STREQ(decode(image).c.cameraModel.text, "K-40");

    image.set(VMC_AT(cameraType), 0xFFFFFFFFu);
    const Decoded unknown = decode(image);
    EXPECT_EQ(unknown.code, 400u);
    EXPECT_EQ(unknown.message, "Unknown camera type value in VELLRAW header; enumeration value is `4294967295'");

    // With a model text the type is not looked at.
    image.setText(VMC_AT(cameraModelText), "Corva NX");
    const Decoded withText = decode(image);
    EXPECT_FALSE(withText.isError);
    EXPECT_STREQ(withText.c.cameraModel.text, "Corva NX");
}

TEST(CameraIdentity, ModelTextAndUniqueId)
{
    struct Case {
        std::string modelBytes; // the field's first bytes; the rest stays 0xFF
        bool padWithNul;
        std::uint32_t serialCode;
        const char* model;
        const char* uniqueId;
    };
    const Case cases[] = {
        {"Corva NX Stage", true, 0x4B313035, "Corva NX Stage", "VELL-Corva_NX_Stage-SN_K105"},
        {"ABCDEFGHIJKLMNOPQRST", false, 0x4B313035, "ABCDEFGHIJKLMNOPQRST", "VELL-ABCDEFGHIJKLMNOPQRST-SN_K105"},
        {std::string(1, '\0'), false, 0x4B313035, "", "VELL--SN_K105"},
        {"Corva LT", true, 0x41000000, "Corva LT", "VELL-Corva_LT-SN_A"},
        {"Corva LT", true, 0x00414243, "Corva LT", "VELL-Corva_LT-SN_"},
    };
    for (const Case& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        if (k.padWithNul) {
            image.setText(VMC_AT(cameraModelText), k.modelBytes);
        } else {
            for (std::size_t i = 0; i < k.modelBytes.size(); ++i)
                image.data()[offsetof(VellRawMeta::VellFileHeaderV3, cameraModelText) + i] =
                    static_cast<unsigned char>(k.modelBytes[i]);
        }
        image.set(VMC_AT(cameraSerialCode), k.serialCode);
        const Decoded d = decode(image);
        EXPECT_FALSE(d.isError) << d.message;
        EXPECT_STREQ(d.c.cameraModel.text, k.model);
        EXPECT_STREQ(d.c.cameraUniqueId.text, k.uniqueId);
        EXPECT_STREQ(d.c.cameraManufacturer.text, "VELL");
    }
}

TEST(CameraIdentity, UntestedNumbersAndIndex)
{
    HeaderImage image = HeaderImage::decodable();
    image.set(VMC_AT(cameraNumber), 0xFFFFFFFFu);
    image.set(VMC_AT(cameraSerialNumber), 7042u);
    image.set(VMC_AT(cameraIndex), 0x41);
    Decoded d = decode(image);
    EXPECT_STREQ(d.c.cameraNumberText.text, "4294967295");
    EXPECT_STREQ(d.c.cameraSerialNumber.text, "7042");
    EXPECT_STREQ(d.c.cameraIndex.text, "A");

    image.set(VMC_AT(cameraIndex), 0);
    d = decode(image);
    EXPECT_TRUE(d.c.cameraIndex.defined);
    EXPECT_STREQ(d.c.cameraIndex.text, "");
}

TEST(CameraIdentity, TripleNeedsAllThreeWords)
{
    HeaderImage image = HeaderImage::decodable();
    image.set(VMC_AT(cameraTripleA), 16777217u);
    image.set(VMC_AT(cameraTripleB), 2u);
    EXPECT_FALSE(decode(image).c.cameraTriple.defined);

    image.set(VMC_AT(cameraTripleC), 0xFFFFFFFEu);
    const Decoded d = decode(image);
    ASSERT_TRUE(d.c.cameraTriple.defined);
    EXPECT_EQ(d.c.cameraTriple.value.a, 16777216.0f); // nearest float
    EXPECT_EQ(d.c.cameraTriple.value.b, 2.0f);
    EXPECT_EQ(d.c.cameraTriple.value.c, 4294967296.0f);
    EXPECT_EQ(d.c.cameraTriple.value.extra, 0u);
}

TEST(CameraIdentity, FailureKeepsEarlierFieldsAndLeavesLaterOnes)
{
    // A container filled by an earlier header, then a header failing with 300.
    VellMetadataContainer start;
    start.cameraModel = "Corva HR";
    start.cameraUniqueId = "earlier";
    start.captureDateTime = "earlier";
    HeaderImage image = corvaBySerial(6900);
    image.set(VMC_AT(lensIris), 2800u); // decoded before the camera identity
    image.set(VMC_AT(cameraNumber), 3u);
    image.set(VMC_AT(cameraIndex), 'B');
    image.set(VMC_AT(cameraTripleA), 1u);
    image.set(VMC_AT(cameraTripleB), 1u);
    image.set(VMC_AT(cameraTripleC), 1u);
    // Decoded after it, so never reached.
    image.set(VMC_AT(captureDate), 0x20231231u);
    image.set(VMC_AT(captureTime), 0x23595900u);
    image.setBytes(VMC_AT(uuidBytes), {0x12, 0x34});
    image.setText(VMC_AT(groupName1), "never reached");

    const Decoded d = decode(image, start);
    EXPECT_EQ(d.code, 300u);
    EXPECT_TRUE(d.c.lensIrisValue.defined);
    EXPECT_STREQ(d.c.cameraNumberText.text, "3");
    EXPECT_STREQ(d.c.cameraIndex.text, "B");
    EXPECT_STREQ(d.c.cameraManufacturer.text, "VELL");
    EXPECT_STREQ(d.c.cameraModel.text, "Corva HR");
    EXPECT_STREQ(d.c.cameraUniqueId.text, "earlier");
    EXPECT_FALSE(d.c.cameraTriple.defined);
    EXPECT_FALSE(d.c.cameraSerialNumber.defined);
    EXPECT_STREQ(d.c.captureDateTime.text, "earlier");
    // Fields the later steps store on every call stay undefined too.
    EXPECT_FALSE(d.c.sensorFrameRate.defined);
    EXPECT_FALSE(d.c.fixedZeroValue.defined);
    EXPECT_FALSE(d.c.projectFrameRateRounded.defined);
    EXPECT_FALSE(d.c.uuid.defined);
    EXPECT_FALSE(d.c.groupName1.defined);
}
