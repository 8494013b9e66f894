// SPDX-License-Identifier: Apache-2.0
// Values for people from decoded headers: converted values to the precision
// the header carries, focus distance in the lens's units, and values that
// decoding makes of all-ones words it does not test read as not set by the
// camera, in the text, in OpenTrackIO and through the C interface, while the
// numeric and JSON views keep them as decoded.
#include <cstddef>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <vellmeta/Report.h>
#include <vellmeta/Values.h>
#include <vellmeta/vmc.h>

#include "support/FullHeader.h"

namespace {

using Vmc::testing::At;
using Vmc::testing::HeaderImage;
using vellmeta::TextStyle;
using Container = Vmc::VellMetadataContainer;
using Change = std::function<void(HeaderImage&)>;

Container decoded(const Change& change)
{
    HeaderImage image = Vmc::testing::fullHeader();
    change(image);
    Container container;
    Vmc::ErrorValue result = container.initFromHeader(image.header(), Container::ColorSpace::WideGamut);
    EXPECT_FALSE(result.isError) << result.message;
    std::free(result.message);
    return container;
}

std::string text(const Container& c, const char* name, TextStyle style = TextStyle::People)
{
    return vellmeta::fieldText(c, vellmeta::fieldIndex(name), style);
}

std::string json(const Container& c, const char* name)
{
    std::string out;
    vellmeta::appendFieldJson(out, c, vellmeta::fieldIndex(name));
    return out;
}

template <class T>
At<T> inside(std::size_t offset)
{
    return At<T>{offset};
}
#define VMC_OFFSET(member) offsetof(VellRawMeta::VellFileHeaderV3, member)

void imperial(HeaderImage& h, std::uint32_t thousandthsOfAnInch)
{
    h.set(VMC_AT(lensDistanceUnits), 0u);
    h.set(VMC_AT(lensFocusDistance), thousandthsOfAnInch);
}

} // namespace

TEST(PeopleValues, ToThePrecisionTheHeaderCarries)
{
    const struct {
        const char* name;
        Change change;
        const char* field;
        const char* people;
        const char* numeric; // the decoded value, as -n writes it
    } cases[] = {
        {"focus in millimetres", [](HeaderImage& h) { h.set(VMC_AT(lensFocusDistance), 8775u); }, "lensFocusDistance",
         "8.775 m", "8.775001"},
        {"focus 1165 mm", [](HeaderImage& h) { h.set(VMC_AT(lensFocusDistance), 1165u); }, "lensFocusDistance",
         "1.165 m", "1.1650001"},
        {"focus 2 m", [](HeaderImage& h) { h.set(VMC_AT(lensFocusDistance), 2000u); }, "lensFocusDistance", "2 m", "2"},
        {"focus at infinity", [](HeaderImage& h) { h.set(VMC_AT(lensFocusDistance), 0xFFFFFFFFu); },
         "lensFocusDistance", "infinity", "Infinity"},
        {"imperial feet and inches", [](HeaderImage& h) { imperial(h, 17917u); }, "lensFocusDistance",
         "1' 5.917\" (0.455 m)", "0.4550918"},
        {"imperial whole inches", [](HeaderImage& h) { imperial(h, 182000u); }, "lensFocusDistance",
         "15' 2\" (4.623 m)", "4.6228"},
        {"imperial under a foot", [](HeaderImage& h) { imperial(h, 11500u); }, "lensFocusDistance",
         "0' 11.5\" (0.292 m)", "0.2921"},
        {"imperial at infinity", [](HeaderImage& h) { imperial(h, 0xFFFFFFFFu); }, "lensFocusDistance", "infinity",
         "Infinity"},
        {"focal length in thousandths", [](HeaderImage& h) { h.set(VMC_AT(lensFocalLength), 35200u); },
         "lensFocalLength", "35.2 mm", "35.2"},
        {"iris value in thousandths", [](HeaderImage& h) { h.set(VMC_AT(lensIris), 2800u); }, "lensIrisValue", "2.8",
         "2.8"},
        {"f-number by the stop's name", [](HeaderImage& h) { h.set(VMC_AT(lensIris), 4000u); }, "lensAperture",
         "f/2.8", "2.828427"},
        {"ND value in thousandths", [](HeaderImage& h) { h.set(VMC_AT(ndFilterMilliValue), std::uint16_t{1300}); },
         "ndFilterValue", "1.3", "1.3"},
        {"tenths", [](HeaderImage& h) { h.set(VMC_AT(tenthsWord1), 0x0000FF85u); }, "tenthsValue1", "-12.3",
         "-12.3"},
        {"exposure to the microsecond, 180 degrees at 23.976 fps",
         [](HeaderImage& h) { h.set(VMC_AT(exposureTime), 20854u); }, "exposureTime",
         "1/48 s (0.020854 s), 180\u00B0 shutter", "0.020854"},
        {"shutter angle to a tenth", [](HeaderImage& h) { h.set(VMC_AT(exposureTime), 20000u); }, "exposureTime",
         "1/50 s (0.02 s), 172.6\u00B0 shutter", "0.02"},
        {"frame rate as a menu shows it", [](HeaderImage& h) { h.set(VMC_AT(sensorFrameRate), 29970u); },
         "sensorFrameRate", "29.97 fps", "29970/1000 (29.97)"},
        {"time-code rate", [](HeaderImage& h) { h.set(VMC_AT(timeCode), {0x01020304u, 5u, 23976u, 9u}); },
         "timeCodeRate", "23.976 fps", "23.976"},
        {"latitude keeps the digits its float holds", [](HeaderImage& h) { h.set(VMC_AT(latitude), 2u, 123456789u); },
         "latitude", "12.345679\u00B0 S", "-12.345679"},
    };
    for (const auto& c : cases) {
        const Container container = decoded(c.change);
        EXPECT_EQ(text(container, c.field), c.people) << c.name;
        EXPECT_EQ(text(container, c.field, TextStyle::Numeric), c.numeric) << c.name;
    }
}

namespace {

struct NotSet {
    const char* name;
    Change change;
    std::vector<const char*> fields; // read as not set by the camera
};

// One case per header word that decoding stores without testing its
// all-ones pattern.
const NotSet kNotSet[] = {
    {"camera number", [](HeaderImage& h) { h.set(VMC_AT(cameraNumber), 0xFFFFFFFFu); }, {"cameraNumberText"}},
    {"camera serial number", [](HeaderImage& h) { h.set(VMC_AT(cameraSerialNumber), 0xFFFFFFFFu); },
     {"cameraSerialNumber"}},
    {"serial code", [](HeaderImage& h) { h.set(VMC_AT(cameraSerialCode), 0xFFFFFFFFu); }, {"cameraUniqueId"}},
    {"camera index", [](HeaderImage& h) { h.set(VMC_AT(cameraIndex), std::uint8_t{0xFF}); }, {"cameraIndex"}},
    {"sensor frame rate", [](HeaderImage& h) { h.set(VMC_AT(sensorFrameRate), 0xFFFFFFFFu); }, {"sensorFrameRate"}},
    {"project frame rate", [](HeaderImage& h) { h.set(VMC_AT(projectFrameRate), 0xFFFFFFFFu); },
     {"projectFrameRate", "projectFrameRateRounded"}},
    {"exposure time", [](HeaderImage& h) { h.set(VMC_AT(exposureTime), 0xFFFFFFFFu); }, {"exposureTime"}},
    {"image width", [](HeaderImage& h) { h.set(VMC_AT(imageWidth), 0xFFFFFFFFu); }, {"fullImageWindow"}},
    {"active area left", [](HeaderImage& h) { h.set(VMC_AT(activeAreaLeft), 0xFFFFFFFFu); }, {"activeImageWindow"}},
    {"focal length", [](HeaderImage& h) { h.set(VMC_AT(lensFocalLength), 0xFFFFFFFFu); }, {"lensFocalLength"}},
    {"time code word 1", [](HeaderImage& h) { h.set(VMC_AT(timeCode), {0x01020304u, 0xFFFFFFFFu, 25000u, 9u}); },
     {"timeCodeWord1"}},
    {"time code rate word", [](HeaderImage& h) { h.set(VMC_AT(timeCode), {0x01020304u, 5u, 0xFFFFFFFFu, 9u}); },
     {"timeCodeRate"}},
    {"auxiliary camera word", [](HeaderImage& h) { h.set(VMC_AT(auxiliaryCameraWord), 0xFFFFFFFFu); },
     {"auxiliaryCameraWord"}},
    {"auxiliary thousandths", [](HeaderImage& h) { h.set(VMC_AT(auxiliaryMilliValue), 0xFFFFFFFFu); },
     {"auxiliaryValue"}},
    {"white balance", [](HeaderImage& h) { h.set(VMC_AT(whiteBalanceCct), 0xFFFFFFFFu); }, {"whiteBalanceCct"}},
    {"tint", [](HeaderImage& h) { h.fill(VMC_AT(whiteBalanceTint), 0xFF); }, {"whiteBalanceTint"}},
    {"white balance RGB, one float", [](HeaderImage& h) { h.fill(inside<float>(VMC_OFFSET(whiteBalanceRgb) + 8), 0xFF); },
     {"whiteBalanceRgb"}},
    {"processing level", [](HeaderImage& h) { h.set(VMC_AT(processingLevel), 0xFFFFFFFFu); }, {"processingLevel"}},
    {"CDL second slope, offset and power",
     [](HeaderImage& h) {
         h.fill(inside<float>(VMC_OFFSET(cdlSlope) + 4), 0xFF);
         h.fill(VMC_AT(cdlOffset), 0xFF);
         h.fill(inside<float>(VMC_OFFSET(cdlPower) + 8), 0xFF);
     },
     {"cdlSlope", "cdlOffset", "cdlPower"}},
    {"look RGB, third float", [](HeaderImage& h) { h.fill(inside<float>(VMC_OFFSET(lookRgb) + 8), 0xFF); },
     {"lookRgb"}},
    {"encoder parameters", [](HeaderImage& h) {
         h.set(VMC_AT(encoderParameterByte1), std::uint8_t{0xFF});
         h.set(VMC_AT(encoderParameterByte2), std::uint8_t{0xFF});
     },
     {"encoderParameter1", "encoderParameter2"}},
    {"encoder limits and set-2 readings",
     [](HeaderImage& h) {
         h.set(VMC_AT(encoderLimitsA1), 0xFFFF, 0xFFFF);
         h.set(VMC_AT(encoderLimitsC2), 31, 0xFFFF);
         h.set(VMC_AT(rawEncoderB), 400, 0xFFFF);
     },
     {"encoderA1LimitFirst", "encoderA1LimitSecond", "encoderC2LimitSecond", "encoderB2Raw"}},
};

} // namespace

TEST(PeopleValues, AllOnesWordsDecodingDoesNotTestAreNotSetByTheCamera)
{
    const Container full = decoded([](HeaderImage&) {});
    std::set<vellmeta::Word> covered;
    for (const NotSet& c : kNotSet) {
        const Container container = decoded(c.change);
        for (const char* field : c.fields) {
            const int index = vellmeta::fieldIndex(field);
            covered.insert(vellmeta::kFields[index].word);
            EXPECT_TRUE(vellmeta::setByCamera(full, index)) << field << " in the full header";
            EXPECT_NE(text(full, field), vellmeta::kNotSetByCamera) << field;
            EXPECT_FALSE(vellmeta::setByCamera(container, index)) << c.name << ": " << field;
            EXPECT_EQ(text(container, field), vellmeta::kNotSetByCamera) << c.name << ": " << field;
            EXPECT_TRUE(vellmeta::fieldDefined(container, index)) << field;
            EXPECT_NE(text(container, field, TextStyle::Numeric), vellmeta::kNotSetByCamera) << field;
        }
    }
    // Every kind of untested word has a case: a field given a new kind, or a
    // kind given to a field, is checked against what decoding makes of it.
    for (const vellmeta::FieldPresentation& p : vellmeta::kFields) {
        const bool untested = p.word != vellmeta::Word::Any && p.word != vellmeta::Word::Milli &&
                              p.word != vellmeta::Word::Tenths;
        if (untested) {
            EXPECT_TRUE(covered.count(p.word)) << p.name;
        }
    }
}

TEST(PeopleValues, NotSetValuesKeepTheirDecodedNumbersAndLeaveTheirLinesPlain)
{
    const Container focal = decoded([](HeaderImage& h) { h.set(VMC_AT(lensFocalLength), 0xFFFFFFFFu); });
    EXPECT_EQ(text(focal, "lensFocalLength", TextStyle::Numeric), "4294967.5");
    EXPECT_EQ(json(focal, "lensFocalLength"), "4294967.5");
    EXPECT_EQ(focal.lensFocalLength.value, 4294967.5f) << "the decoded value stays";

    // Without a sensor frame rate of the camera's, no shutter angle.
    const Container rate = decoded([](HeaderImage& h) { h.set(VMC_AT(sensorFrameRate), 0xFFFFFFFFu); });
    EXPECT_EQ(text(rate, "exposureTime"), "1/48 s (0.020833 s)");
    EXPECT_EQ(json(rate, "sensorFrameRate"), R"({"numerator":-1,"denominator":1000})");

    // A rate word never written: the time code alone, without a drop-frame mark.
    const Container timeCode = decoded([](HeaderImage& h) { h.set(VMC_AT(timeCode), {0x01020304u, 5u, 0xFFFFFFFFu, 9u}); });
    EXPECT_EQ(text(timeCode, "timeCode"), "01:02:03:04");
    EXPECT_EQ(text(timeCode, "timeCode", TextStyle::Numeric), "01:02:03;04");
    EXPECT_EQ(text(decoded([](HeaderImage&) {}), "timeCode"), "01:02:03;04 at 24 fps, drop frame");

    // The tint is folded into the white balance only when the camera wrote both.
    const int tint = vellmeta::fieldIndex("whiteBalanceTint");
    const Container full = decoded([](HeaderImage&) {});
    EXPECT_EQ(text(full, "whiteBalanceCct"), "5600 K, tint +2");
    EXPECT_FALSE(vellmeta::listedForPeople(full, tint));
    const Container noTint = decoded([](HeaderImage& h) { h.fill(VMC_AT(whiteBalanceTint), 0xFF); });
    EXPECT_EQ(text(noTint, "whiteBalanceCct"), "5600 K");
    EXPECT_TRUE(vellmeta::listedForPeople(noTint, tint));
    const Container noBalance = decoded([](HeaderImage& h) { h.set(VMC_AT(whiteBalanceCct), 0xFFFFFFFFu); });
    EXPECT_TRUE(vellmeta::listedForPeople(noBalance, tint));
    EXPECT_EQ(text(noBalance, "whiteBalanceTint"), "+2");
}

TEST(PeopleValues, OpenTrackIoAndTheCInterfaceLeaveNotSetValuesOut)
{
    const struct {
        Change change;
        const char* member; // JSON pointer into the sample
        const char* field;
    } cases[] = {
        {[](HeaderImage& h) { h.set(VMC_AT(lensFocalLength), 0xFFFFFFFFu); }, "/static/lens/nominalFocalLength",
         "lensFocalLength"},
        {[](HeaderImage& h) { h.set(VMC_AT(cameraSerialNumber), 0xFFFFFFFFu); }, "/static/camera/serialNumber",
         "cameraSerialNumber"},
        {[](HeaderImage& h) { h.set(VMC_AT(cameraIndex), std::uint8_t{0xFF}); }, "/static/camera/label", "cameraIndex"},
        {[](HeaderImage& h) { h.set(VMC_AT(exposureTime), 0xFFFFFFFFu); }, "/static/camera/shutterAngle",
         "exposureTime"},
        {[](HeaderImage& h) { h.set(VMC_AT(timeCode), {0x01020304u, 5u, 0xFFFFFFFFu, 9u}); }, "/timing/timecode",
         "timeCodeRate"},
    };
    HeaderImage full = Vmc::testing::fullHeader();
    std::string sample;
    vellmeta::appendOpenTrackIoSample(sample, decoded([](HeaderImage&) {}));
    for (const auto& c : cases) {
        const nlohmann::json::json_pointer member(c.member);
        EXPECT_TRUE(nlohmann::json::parse(sample).contains(member)) << c.member << " in the full header";
        const Container container = decoded(c.change);
        std::string changed;
        vellmeta::appendOpenTrackIoSample(changed, container);
        EXPECT_FALSE(nlohmann::json::parse(changed).contains(member)) << changed;

        HeaderImage image = full;
        c.change(image);
        vmc_container* handle = nullptr;
        ASSERT_EQ(vmc_create(&handle), VMC_OK);
        ASSERT_EQ(vmc_decode(handle, image.data(), VMC_HEADER_SIZE, VMC_COLOR_SPACE_WIDE_GAMUT), VMC_OK);
        int set = -1;
        EXPECT_EQ(vmc_field_set_by_camera(handle, vellmeta::fieldIndex(c.field), &set), VMC_OK);
        EXPECT_EQ(set, 0) << c.field;
        EXPECT_EQ(vmc_field_set_by_camera(handle, vellmeta::fieldIndex("cameraModel"), &set), VMC_OK);
        EXPECT_EQ(set, 1);
        vmc_destroy(handle);
    }
}
