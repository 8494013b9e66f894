// Every header field that decoding reads sits at its documented offset,
// inside the 2480 bytes and without overlapping the next; and the test for a
// field the camera never wrote.
#include <VellMetadataContainer/Sentinels.h>
#include <VellMetadataContainer/VellFileHeaderV3.h>

#include <cstddef>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

using Vmc::uninitializedField;

namespace {

using H = VellRawMeta::VellFileHeaderV3;

struct Placement {
    std::size_t offset, size, documented;
};

#define PLACED(field, documented) {offsetof(H, field), sizeof(H::field), documented}
constexpr Placement kHeaderMap[] = {
    PLACED(imageWidth, 20), PLACED(imageHeight, 24), PLACED(activeAreaLeft, 36), PLACED(activeAreaTop, 40),
    PLACED(activeAreaWidth, 44), PLACED(activeAreaHeight, 48), PLACED(imageInfoWord, 88),
    PLACED(whiteBalanceCct, 92), PLACED(whiteBalanceTint, 96), PLACED(whiteBalanceRgb, 100),
    PLACED(exposureIndex, 116), PLACED(colorMatrix, 128), PLACED(targetColorSpace, 188),
    PLACED(processingLevel, 192), PLACED(extraFloatValue, 196), PLACED(flipState, 200), PLACED(lookName, 204),
    PLACED(lookLutType, 236), PLACED(cdlSaturation, 252), PLACED(cdlSlope, 256), PLACED(cdlOffset, 268),
    PLACED(cdlPower, 280), PLACED(lookRgb, 292), PLACED(cdlApplicationMode, 304), PLACED(bayerColorOrder, 316),
    PLACED(cameraType, 356), PLACED(auxiliaryCameraWord, 360), PLACED(cameraNumber, 364),
    PLACED(cameraSerialNumber, 368), PLACED(cameraSerialCode, 372), PLACED(cameraIndex, 376),
    PLACED(captureDate, 380), PLACED(captureTime, 384), PLACED(timeZone, 388), PLACED(daylightSaving, 392),
    PLACED(exposureTime, 396), PLACED(auxiliaryMilliValue, 400), PLACED(sensorFrameRate, 416),
    PLACED(projectFrameRate, 420), PLACED(timeCode, 424), PLACED(timeCode1, 440), PLACED(timeCode2, 456),
    PLACED(timeCode3, 472), PLACED(timeCode4, 488), PLACED(timeCode5, 504), PLACED(timeCode6, 520),
    PLACED(timeCode7, 536), PLACED(hardwareIdLow, 616), PLACED(hardwareIdHigh, 620), PLACED(identifierBytes, 636),
    PLACED(recorderInfo, 676), PLACED(cameraStatusBits, 708), PLACED(statusFloat, 712), PLACED(statusWord, 716),
    PLACED(uuidBytes, 720), PLACED(auxiliaryText, 736), PLACED(cameraModelText, 760), PLACED(cameraFamilyCode, 780),
    PLACED(cameraVariantCode, 782), PLACED(ndDataLevel, 880), PLACED(lensDistanceUnits, 884),
    PLACED(lensFocusDistance, 888), PLACED(lensFocalLength, 892), PLACED(lensSerialNumber, 896),
    PLACED(lensIris, 900), PLACED(ndFilterType, 904), PLACED(ndFilterMilliValue, 906), PLACED(switchWord1, 908),
    PLACED(switchWord2, 912), PLACED(switchWord3, 916), PLACED(lensName, 920), PLACED(rawEncoderA, 952),
    PLACED(rawEncoderB, 956), PLACED(rawEncoderC, 960), PLACED(encoderLimitsA1, 964), PLACED(encoderLimitsB1, 968),
    PLACED(encoderLimitsC1, 972), PLACED(encoderLimitsA2, 976), PLACED(encoderLimitsB2, 980),
    PLACED(encoderLimitsC2, 984), PLACED(encoderModeByte1, 988), PLACED(encoderParameterByte1, 989),
    PLACED(encoderModeByte2, 990), PLACED(encoderParameterByte2, 991), PLACED(latitude, 1084),
    PLACED(longitude, 1092), PLACED(cameraTripleA, 1100), PLACED(cameraTripleB, 1104), PLACED(cameraTripleC, 1108),
    PLACED(integralWord, 1112), PLACED(tenthsWord1, 1116), PLACED(tenthsWord2, 1120),
    PLACED(masterSlaveSetup, 1124), PLACED(channelSetup, 1128), PLACED(channelTagWord, 1132),
    PLACED(switchWord4, 1268), PLACED(shortText, 1272), PLACED(auxiliaryText2, 1280), PLACED(auxiliaryText3, 1296),
    PLACED(productionTextA, 1304), PLACED(productionTextB, 1336), PLACED(productionTextC, 1368),
    PLACED(productionTextD, 1400), PLACED(longUserText, 1432), PLACED(auxiliaryText4, 1688),
    PLACED(timeCode8, 1820), PLACED(longText1, 1836), PLACED(longText2, 1868), PLACED(longText3, 1900),
    PLACED(longText4, 1932), PLACED(longText5, 1964), PLACED(groupName1, 2128), PLACED(groupName2, 2160),
    PLACED(record1, 2192), PLACED(record2, 2240), PLACED(record3, 2288), PLACED(record4, 2336),
    PLACED(record5, 2384), PLACED(record6, 2432),
};
#undef PLACED
static_assert(std::size(kHeaderMap) == 119, "the header map lists every field");

constexpr bool everyFieldInPlace() // and not overlapping the next
{
    for (std::size_t i = 0; i < std::size(kHeaderMap); ++i) {
        const Placement& p = kHeaderMap[i];
        const std::size_t next = i + 1 < std::size(kHeaderMap) ? kHeaderMap[i + 1].offset : sizeof(H);
        if (p.offset != p.documented || p.offset + p.size > next)
            return false;
    }
    return true;
}
static_assert(everyFieldInPlace(), "a header field is not at its documented offset, or overlaps the next");

} // namespace

TEST(HeaderLayout, RecordSizesAndLastByte)
{
    EXPECT_EQ(sizeof(H), 2480u);
    EXPECT_EQ(offsetof(H, record6) + sizeof(VellRawMeta::NamedValuesRecord), 2480u);
    EXPECT_EQ(offsetof(H, record2.values), 2276u);
    EXPECT_EQ(offsetof(H, colorMatrix[2][3]), 172u);
}

TEST(Sentinels, AllOnesIntegersAndBytesAnyNaNRecordsWithAnyUnwrittenPart)
{
    using namespace VellRawMeta;
    const unsigned char bytes[4] = {0xFF, 0xFF, 0xFF, 0x00};
    const float nan = std::numeric_limits<float>::quiet_NaN();
    float otherNaN; // a quiet NaN other than all ones
    const std::uint32_t nanBits = 0x7FC00001u;
    std::memcpy(&otherNaN, &nanBits, 4);
    const bool unwritten[] = {
        uninitializedField(bytes, 3), uninitializedField(bytes, 0UL),
        uninitializedField(static_cast<const unsigned char*>(nullptr), 0UL),
        uninitializedField(static_cast<unsigned char>(0xFF)), uninitializedField(static_cast<signed char>(-1)),
        uninitializedField(static_cast<unsigned short>(0xFFFF)), uninitializedField(static_cast<short>(-1)),
        uninitializedField(0xFFFFFFFFu), uninitializedField(-1), uninitializedField(~0ull), uninitializedField(-1ll),
        uninitializedField(otherNaN), uninitializedField(nan), uninitializedField(R32Rgb{1.0f, 2.0f, nan}),
        uninitializedField(TC_Struct{0xFFFFFFFFu, 0, 0, 0}), uninitializedField(ND_Filter{1, 0xFFFF}),
        uninitializedField(ND_Filter{0xFFFF, 1}), uninitializedField(RawEncoderValue{300, 0xFFFF}),
        uninitializedField(EncoderLimits{0xFFFF, 3}), uninitializedField(WGS84_Latitude{0xFFFFFFFFu, 1}),
        uninitializedField(WGS84_Longitude{1, 0xFFFFFFFFu}),
    };
    const bool written[] = {
        uninitializedField(bytes, 4), uninitializedField(static_cast<unsigned char>(0xFE)),
        uninitializedField(static_cast<signed char>(127)), uninitializedField(static_cast<short>(32767)),
        uninitializedField(0xFFFFFFFEu), uninitializedField(0), uninitializedField(0xFFFFFFFFull),
        uninitializedField(std::numeric_limits<float>::infinity()), uninitializedField(0.0f),
        uninitializedField(R32Rgb{1.0f, 2.0f, 3.0f}), uninitializedField(ND_Filter{1, 600}),
        uninitializedField(TC_Struct{0, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}), // only the time word counts
        uninitializedField(EncoderLimits{0, 3}), uninitializedField(WGS84_Longitude{2, 123456789}),
    };
    for (std::size_t i = 0; i < std::size(unwritten); ++i)
        EXPECT_TRUE(unwritten[i]) << i;
    for (std::size_t i = 0; i < std::size(written); ++i)
        EXPECT_FALSE(written[i]) << i;
}
