// A header in which every field of the camera identity, capture time, lens
// and production text groups is written.
#include <VellMetadataContainer/FieldDescription.h>

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "support/Decode.h"

using Vmc::VellMetadataContainer;
using Vmc::testing::decode;
using Vmc::testing::Decoded;
using Vmc::testing::HeaderImage;

namespace {

HeaderImage everyFieldWritten()
{
    HeaderImage image = HeaderImage::decodable();
    // Camera identity
    image.set(VMC_AT(cameraNumber), 12u);
    image.set(VMC_AT(cameraSerialNumber), 8950u);
    image.set(VMC_AT(cameraSerialCode), 0x4B313035u);
    image.set(VMC_AT(cameraIndex), 'C');
    image.setText(VMC_AT(cameraModelText), "Corva NX Stage");
    image.set(VMC_AT(cameraTripleA), 1u);
    image.set(VMC_AT(cameraTripleB), 2u);
    image.set(VMC_AT(cameraTripleC), 3u);
    // Capture time
    image.set(VMC_AT(imageWidth), 4448u);
    image.set(VMC_AT(imageHeight), 3096u);
    image.set(VMC_AT(activeAreaLeft), 8u);
    image.set(VMC_AT(activeAreaTop), 8u);
    image.set(VMC_AT(activeAreaWidth), 4432u);
    image.set(VMC_AT(activeAreaHeight), 3080u);
    image.set(VMC_AT(imageInfoWord), 0x10u);
    image.set(VMC_AT(exposureIndex), 800u);
    image.set(VMC_AT(captureDate), 0x20240229u);
    image.set(VMC_AT(captureTime), 0x13450712u);
    image.set(VMC_AT(timeZone), 0x08000500u);
    image.set(VMC_AT(daylightSaving), 0x00000100u);
    image.set(VMC_AT(exposureTime), 20833u);
    image.set(VMC_AT(sensorFrameRate), 23976u);
    image.set(VMC_AT(projectFrameRate), 23976u);
    image.set(VMC_AT(timeCode), {0x13450712u, 1u, 0x80005DA8u, 0u});
    // Lens and location
    image.set(VMC_AT(lensDistanceUnits), 1u);
    image.set(VMC_AT(lensFocusDistance), 3500u);
    image.set(VMC_AT(lensFocalLength), 32000u);
    image.set(VMC_AT(lensSerialNumber), 40417u);
    image.set(VMC_AT(lensIris), 2800u);
    image.setText(VMC_AT(lensName), "Cooke S4/i 32mm");
    image.set(VMC_AT(latitude), 1u, 515074000u);
    image.set(VMC_AT(longitude), 2u, 1278000u);
    // Production texts, recorder and identifiers
    image.set(VMC_AT(extraFloatValue), 0.5f);
    image.set(VMC_AT(hardwareIdLow), 0x00000001u);
    image.set(VMC_AT(hardwareIdHigh), 0x0012ABCDu);
    image.setText(VMC_AT(recorderInfo), "Codex Digital;R1;4.SIM2.1");
    image.setBytes(VMC_AT(uuidBytes), {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0, 0x01, 0x23, 0x45, 0x67,
                                       0x89, 0xAB, 0xCD, 0xEF});
    image.setText(VMC_AT(shortText), "A001C003");
    image.setText(VMC_AT(productionTextA), "Director");
    image.setText(VMC_AT(productionTextB), "Production");
    image.setText(VMC_AT(productionTextC), "Scene 12");
    image.setText(VMC_AT(productionTextD), "Take 4");
    image.setText(VMC_AT(longUserText), "Night exterior, rain");
    return image;
}

// The fields those groups write: camera identity, capture time, lens and
// location, production texts.
const std::set<std::string> kGroupFields = {
    "cameraNumberText", "cameraUniqueId", "cameraIndex", "cameraManufacturer", "cameraModel", "cameraTriple",
    "cameraSerialNumber", "captureDateTime", "sensorFrameRate", "fullImageWindow", "activeImageWindow",
    "exposureTime", "projectFrameRate", "timeCodeWord1", "exposureIndex", "timeCode", "projectFrameRateRounded",
    "utcOffset", "imageInfoWord", "dstOffset", "timeCodeRate", "lensAperture", "lensFocalLength",
    "lensFocusDistance", "fixedZeroValue", "latitude", "lensMaker", "lensModel", "lensSerialNumber",
    "fixedZeroWord", "longitude", "fixedOneWord", "lensIrisValue", "lensName", "lensDistanceUnits", "longUserText",
    "secondaryProductionText", "primaryProductionText", "extraFloatValue", "recorderDetails",
    "recorderManufacturer", "recorderModel", "recorderIdentifier", "shortText", "hardwareId", "uuid",
    "productionTextD", "productionTextA", "productionTextB", "productionTextC",
};

} // namespace

TEST(CaptureLensTextsTogether, EveryFieldDefinedAndDecodingTwiceGivesTheSame)
{
    const HeaderImage image = everyFieldWritten();
    Decoded d = decode(image);
    EXPECT_FALSE(d.isError) << d.message;

    std::set<std::string> seen;
    Vmc::forEachField(d.c, [&](const Vmc::FieldInfo& info, const auto& field) {
        if (kGroupFields.count(info.name) != 0) {
            seen.insert(info.name);
            EXPECT_TRUE(field.defined) << info.name;
        }
    });
    EXPECT_EQ(seen, kGroupFields); // every listed name is a container field
    EXPECT_STREQ(d.c.captureDateTime.text, "2024-02-29 13:45:07");
    EXPECT_EQ(d.c.utcOffset.value, -14400.0f);

    // Into the same container again: the same result and, field by field,
    // the same definedness and values (equality checked both ways, as it
    // compares only where its left side is defined).
    const VellMetadataContainer once = d.c;
    d = decode(image, std::move(d.c));
    EXPECT_FALSE(d.isError) << d.message;
    EXPECT_EQ(d.message, "");
    Vmc::allFieldPairs(once, d.c, [](const Vmc::FieldInfo& info, const auto& a, const auto& b) {
        EXPECT_EQ(a.defined, b.defined) << info.name;
        return true;
    });
    EXPECT_TRUE(once == d.c);
    EXPECT_TRUE(d.c == once);
}
