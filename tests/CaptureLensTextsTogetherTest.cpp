// A header in which every field is written, seen from the camera identity,
// capture time, lens and production text groups.
#include <VellMetadataContainer/FieldDescription.h>

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "support/Decode.h"
#include "support/FullHeader.h"

using Vmc::VellMetadataContainer;
using Vmc::testing::decode;
using Vmc::testing::Decoded;
using Vmc::testing::fullHeader;
using Vmc::testing::HeaderImage;

namespace {

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
    const HeaderImage image = fullHeader();
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
    EXPECT_STREQ(d.c.captureDateTime.text, "2023-12-31 23:59:59");
    EXPECT_EQ(d.c.utcOffset.value, -12600.0f); // (-5 + 1) hours, plus 30 minutes
    EXPECT_STREQ(d.c.lensMaker.text, "Zeiss");
    EXPECT_STREQ(d.c.lensModel.text, "Master Prime 35");
    EXPECT_STREQ(d.c.uuid.text, "12345678-9ABC-DEF0-0123-456789ABCDEF");
    EXPECT_STREQ(d.c.hardwareId.text, "0012ABCD00000001");

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
