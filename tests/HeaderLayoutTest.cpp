// Every header field that decoding reads sits at its documented offset and
// inside the 2480 bytes.
#include <VellMetadataContainer/VellFileHeaderV3.h>

#include <cstddef>

#include <gtest/gtest.h>

namespace {

using H = VellRawMeta::VellFileHeaderV3;

struct Placement {
    const char* name;
    std::size_t offset;
    std::size_t size;
    std::size_t documented;
};

constexpr Placement kHeaderMap[] = {
    {"imageWidth", offsetof(H, imageWidth), sizeof(H::imageWidth), 20},
    {"imageHeight", offsetof(H, imageHeight), sizeof(H::imageHeight), 24},
    {"activeAreaLeft", offsetof(H, activeAreaLeft), sizeof(H::activeAreaLeft), 36},
    {"activeAreaTop", offsetof(H, activeAreaTop), sizeof(H::activeAreaTop), 40},
    {"activeAreaWidth", offsetof(H, activeAreaWidth), sizeof(H::activeAreaWidth), 44},
    {"activeAreaHeight", offsetof(H, activeAreaHeight), sizeof(H::activeAreaHeight), 48},
    {"imageInfoWord", offsetof(H, imageInfoWord), sizeof(H::imageInfoWord), 88},
    {"whiteBalanceCct", offsetof(H, whiteBalanceCct), sizeof(H::whiteBalanceCct), 92},
    {"whiteBalanceTint", offsetof(H, whiteBalanceTint), sizeof(H::whiteBalanceTint), 96},
    {"whiteBalanceRgb", offsetof(H, whiteBalanceRgb), sizeof(H::whiteBalanceRgb), 100},
    {"exposureIndex", offsetof(H, exposureIndex), sizeof(H::exposureIndex), 116},
    {"colorMatrix", offsetof(H, colorMatrix), sizeof(H::colorMatrix), 128},
    {"targetColorSpace", offsetof(H, targetColorSpace), sizeof(H::targetColorSpace), 188},
    {"processingLevel", offsetof(H, processingLevel), sizeof(H::processingLevel), 192},
    {"extraFloatValue", offsetof(H, extraFloatValue), sizeof(H::extraFloatValue), 196},
    {"flipState", offsetof(H, flipState), sizeof(H::flipState), 200},
    {"lookName", offsetof(H, lookName), sizeof(H::lookName), 204},
    {"lookLutType", offsetof(H, lookLutType), sizeof(H::lookLutType), 236},
    {"cdlSaturation", offsetof(H, cdlSaturation), sizeof(H::cdlSaturation), 252},
    {"cdlSlope", offsetof(H, cdlSlope), sizeof(H::cdlSlope), 256},
    {"cdlOffset", offsetof(H, cdlOffset), sizeof(H::cdlOffset), 268},
    {"cdlPower", offsetof(H, cdlPower), sizeof(H::cdlPower), 280},
    {"lookRgb", offsetof(H, lookRgb), sizeof(H::lookRgb), 292},
    {"cdlApplicationMode", offsetof(H, cdlApplicationMode), sizeof(H::cdlApplicationMode), 304},
    {"bayerColorOrder", offsetof(H, bayerColorOrder), sizeof(H::bayerColorOrder), 316},
    {"cameraType", offsetof(H, cameraType), sizeof(H::cameraType), 356},
    {"auxiliaryCameraWord", offsetof(H, auxiliaryCameraWord), sizeof(H::auxiliaryCameraWord), 360},
    {"cameraNumber", offsetof(H, cameraNumber), sizeof(H::cameraNumber), 364},
    {"cameraSerialNumber", offsetof(H, cameraSerialNumber), sizeof(H::cameraSerialNumber), 368},
    {"cameraSerialCode", offsetof(H, cameraSerialCode), sizeof(H::cameraSerialCode), 372},
    {"cameraIndex", offsetof(H, cameraIndex), sizeof(H::cameraIndex), 376},
    {"captureDate", offsetof(H, captureDate), sizeof(H::captureDate), 380},
    {"captureTime", offsetof(H, captureTime), sizeof(H::captureTime), 384},
    {"timeZone", offsetof(H, timeZone), sizeof(H::timeZone), 388},
    {"daylightSaving", offsetof(H, daylightSaving), sizeof(H::daylightSaving), 392},
    {"exposureTime", offsetof(H, exposureTime), sizeof(H::exposureTime), 396},
    {"auxiliaryMilliValue", offsetof(H, auxiliaryMilliValue), sizeof(H::auxiliaryMilliValue), 400},
    {"sensorFrameRate", offsetof(H, sensorFrameRate), sizeof(H::sensorFrameRate), 416},
    {"projectFrameRate", offsetof(H, projectFrameRate), sizeof(H::projectFrameRate), 420},
    {"timeCode", offsetof(H, timeCode), sizeof(H::timeCode), 424},
    {"timeCode1", offsetof(H, timeCode1), sizeof(H::timeCode1), 440},
    {"timeCode2", offsetof(H, timeCode2), sizeof(H::timeCode2), 456},
    {"timeCode3", offsetof(H, timeCode3), sizeof(H::timeCode3), 472},
    {"timeCode4", offsetof(H, timeCode4), sizeof(H::timeCode4), 488},
    {"timeCode5", offsetof(H, timeCode5), sizeof(H::timeCode5), 504},
    {"timeCode6", offsetof(H, timeCode6), sizeof(H::timeCode6), 520},
    {"timeCode7", offsetof(H, timeCode7), sizeof(H::timeCode7), 536},
    {"hardwareIdLow", offsetof(H, hardwareIdLow), sizeof(H::hardwareIdLow), 616},
    {"hardwareIdHigh", offsetof(H, hardwareIdHigh), sizeof(H::hardwareIdHigh), 620},
    {"identifierBytes", offsetof(H, identifierBytes), sizeof(H::identifierBytes), 636},
    {"recorderInfo", offsetof(H, recorderInfo), sizeof(H::recorderInfo), 676},
    {"cameraStatusBits", offsetof(H, cameraStatusBits), sizeof(H::cameraStatusBits), 708},
    {"statusFloat", offsetof(H, statusFloat), sizeof(H::statusFloat), 712},
    {"statusWord", offsetof(H, statusWord), sizeof(H::statusWord), 716},
    {"uuidBytes", offsetof(H, uuidBytes), sizeof(H::uuidBytes), 720},
    {"auxiliaryText", offsetof(H, auxiliaryText), sizeof(H::auxiliaryText), 736},
    {"cameraModelText", offsetof(H, cameraModelText), sizeof(H::cameraModelText), 760},
    {"cameraFamilyCode", offsetof(H, cameraFamilyCode), sizeof(H::cameraFamilyCode), 780},
    {"cameraVariantCode", offsetof(H, cameraVariantCode), sizeof(H::cameraVariantCode), 782},
    {"ndDataLevel", offsetof(H, ndDataLevel), sizeof(H::ndDataLevel), 880},
    {"lensDistanceUnits", offsetof(H, lensDistanceUnits), sizeof(H::lensDistanceUnits), 884},
    {"lensFocusDistance", offsetof(H, lensFocusDistance), sizeof(H::lensFocusDistance), 888},
    {"lensFocalLength", offsetof(H, lensFocalLength), sizeof(H::lensFocalLength), 892},
    {"lensSerialNumber", offsetof(H, lensSerialNumber), sizeof(H::lensSerialNumber), 896},
    {"lensIris", offsetof(H, lensIris), sizeof(H::lensIris), 900},
    {"ndFilterType", offsetof(H, ndFilterType), sizeof(H::ndFilterType), 904},
    {"ndFilterMilliValue", offsetof(H, ndFilterMilliValue), sizeof(H::ndFilterMilliValue), 906},
    {"switchWord1", offsetof(H, switchWord1), sizeof(H::switchWord1), 908},
    {"switchWord2", offsetof(H, switchWord2), sizeof(H::switchWord2), 912},
    {"switchWord3", offsetof(H, switchWord3), sizeof(H::switchWord3), 916},
    {"lensName", offsetof(H, lensName), sizeof(H::lensName), 920},
    {"rawEncoderA", offsetof(H, rawEncoderA), sizeof(H::rawEncoderA), 952},
    {"rawEncoderB", offsetof(H, rawEncoderB), sizeof(H::rawEncoderB), 956},
    {"rawEncoderC", offsetof(H, rawEncoderC), sizeof(H::rawEncoderC), 960},
    {"encoderLimitsA1", offsetof(H, encoderLimitsA1), sizeof(H::encoderLimitsA1), 964},
    {"encoderLimitsB1", offsetof(H, encoderLimitsB1), sizeof(H::encoderLimitsB1), 968},
    {"encoderLimitsC1", offsetof(H, encoderLimitsC1), sizeof(H::encoderLimitsC1), 972},
    {"encoderLimitsA2", offsetof(H, encoderLimitsA2), sizeof(H::encoderLimitsA2), 976},
    {"encoderLimitsB2", offsetof(H, encoderLimitsB2), sizeof(H::encoderLimitsB2), 980},
    {"encoderLimitsC2", offsetof(H, encoderLimitsC2), sizeof(H::encoderLimitsC2), 984},
    {"encoderModeByte1", offsetof(H, encoderModeByte1), sizeof(H::encoderModeByte1), 988},
    {"encoderParameterByte1", offsetof(H, encoderParameterByte1), sizeof(H::encoderParameterByte1), 989},
    {"encoderModeByte2", offsetof(H, encoderModeByte2), sizeof(H::encoderModeByte2), 990},
    {"encoderParameterByte2", offsetof(H, encoderParameterByte2), sizeof(H::encoderParameterByte2), 991},
    {"latitude", offsetof(H, latitude), sizeof(H::latitude), 1084},
    {"longitude", offsetof(H, longitude), sizeof(H::longitude), 1092},
    {"cameraTripleA", offsetof(H, cameraTripleA), sizeof(H::cameraTripleA), 1100},
    {"cameraTripleB", offsetof(H, cameraTripleB), sizeof(H::cameraTripleB), 1104},
    {"cameraTripleC", offsetof(H, cameraTripleC), sizeof(H::cameraTripleC), 1108},
    {"integralWord", offsetof(H, integralWord), sizeof(H::integralWord), 1112},
    {"tenthsWord1", offsetof(H, tenthsWord1), sizeof(H::tenthsWord1), 1116},
    {"tenthsWord2", offsetof(H, tenthsWord2), sizeof(H::tenthsWord2), 1120},
    {"masterSlaveSetup", offsetof(H, masterSlaveSetup), sizeof(H::masterSlaveSetup), 1124},
    {"channelSetup", offsetof(H, channelSetup), sizeof(H::channelSetup), 1128},
    {"channelTagWord", offsetof(H, channelTagWord), sizeof(H::channelTagWord), 1132},
    {"switchWord4", offsetof(H, switchWord4), sizeof(H::switchWord4), 1268},
    {"shortText", offsetof(H, shortText), sizeof(H::shortText), 1272},
    {"auxiliaryText2", offsetof(H, auxiliaryText2), sizeof(H::auxiliaryText2), 1280},
    {"auxiliaryText3", offsetof(H, auxiliaryText3), sizeof(H::auxiliaryText3), 1296},
    {"productionTextA", offsetof(H, productionTextA), sizeof(H::productionTextA), 1304},
    {"productionTextB", offsetof(H, productionTextB), sizeof(H::productionTextB), 1336},
    {"productionTextC", offsetof(H, productionTextC), sizeof(H::productionTextC), 1368},
    {"productionTextD", offsetof(H, productionTextD), sizeof(H::productionTextD), 1400},
    {"longUserText", offsetof(H, longUserText), sizeof(H::longUserText), 1432},
    {"auxiliaryText4", offsetof(H, auxiliaryText4), sizeof(H::auxiliaryText4), 1688},
    {"timeCode8", offsetof(H, timeCode8), sizeof(H::timeCode8), 1820},
    {"longText1", offsetof(H, longText1), sizeof(H::longText1), 1836},
    {"longText2", offsetof(H, longText2), sizeof(H::longText2), 1868},
    {"longText3", offsetof(H, longText3), sizeof(H::longText3), 1900},
    {"longText4", offsetof(H, longText4), sizeof(H::longText4), 1932},
    {"longText5", offsetof(H, longText5), sizeof(H::longText5), 1964},
    {"groupName1", offsetof(H, groupName1), sizeof(H::groupName1), 2128},
    {"groupName2", offsetof(H, groupName2), sizeof(H::groupName2), 2160},
    {"record1", offsetof(H, record1), sizeof(H::record1), 2192},
    {"record2", offsetof(H, record2), sizeof(H::record2), 2240},
    {"record3", offsetof(H, record3), sizeof(H::record3), 2288},
    {"record4", offsetof(H, record4), sizeof(H::record4), 2336},
    {"record5", offsetof(H, record5), sizeof(H::record5), 2384},
    {"record6", offsetof(H, record6), sizeof(H::record6), 2432},
};

constexpr bool everyFieldInPlace()
{
    for (const Placement& p : kHeaderMap) {
        if (p.offset != p.documented || p.offset + p.size > sizeof(H))
            return false;
    }
    return true;
}
static_assert(everyFieldInPlace(), "a header field is not at its documented offset");
static_assert(sizeof(kHeaderMap) / sizeof(kHeaderMap[0]) == 119, "the header map lists every field");

// Fields lie in ascending order without overlapping.
constexpr bool noOverlap()
{
    for (std::size_t i = 1; i < sizeof(kHeaderMap) / sizeof(kHeaderMap[0]); ++i) {
        if (kHeaderMap[i - 1].offset + kHeaderMap[i - 1].size > kHeaderMap[i].offset)
            return false;
    }
    return true;
}
static_assert(noOverlap(), "header fields overlap");

} // namespace

TEST(HeaderLayout, RecordSizesAndLastByte)
{
    EXPECT_EQ(sizeof(H), 2480u);
    EXPECT_EQ(offsetof(H, record6) + sizeof(VellRawMeta::NamedValuesRecord), 2480u);
    EXPECT_EQ(offsetof(H, record2.values), 2276u);
    EXPECT_EQ(offsetof(H, colorMatrix[2][3]), 172u);
    for (const Placement& p : kHeaderMap)
        EXPECT_EQ(p.offset, p.documented) << p.name;
}
