// SPDX-License-Identifier: Apache-2.0
/// @file
/// The VELLRAW version-3 file header: a fixed-layout, little-endian record of
/// 2480 bytes, and the small records it is made of.
///
/// All records are packed (byte alignment) so that their members sit at the
/// byte offsets of the file format. Multi-byte members hold the file's
/// little-endian bytes; the decoder reads them through byte-order-aware
/// readers, so the layout is also correct on a big-endian host. Gaps the
/// decoder never reads are named unusedNNN after their offset.
#pragma once

#include <cstddef>
#include <cstdint>

/// The raw VELLRAW version-3 header as it lies in the file, record by record.
namespace VellRawMeta {

#pragma pack(push, 1)

/// Three floats in the order red, green, blue.
struct R32Rgb {
    float red;   ///< red
    float green; ///< green
    float blue;  ///< blue
};

/// A time code record: four 32-bit words.
///
/// ~~~
///   word 0  bcdTime           BCD digits, bits 31-28 hours tens ... 3-0 frames units
///   word 1  word1             carried, not interpreted
///   word 2  rateAndDropFrame  bit 31 drop-frame; bits 30-0 rate in 1/1000 fps
///   word 3  word3             carried, not interpreted
/// ~~~
struct TC_Struct {
    std::uint32_t bcdTime;          ///< HH:MM:SS:FF in BCD, hours tens in bits 31-28
    std::uint32_t word1;            ///< carried, not interpreted
    std::uint32_t rateAndDropFrame; ///< bit 31 drop frame; bits 30-0 rate in 1/1000 fps
    std::uint32_t word3;            ///< carried, not interpreted
};

/// ND filter state: filter type, then its value in thousandths.
struct ND_Filter {
    std::uint16_t filterType; ///< the filter type
    std::uint16_t milliValue; ///< the filter's value in thousandths
};

/// One encoder: its set-1 and set-2 readings.
struct RawEncoderValue {
    std::uint16_t reading1; ///< the set-1 reading
    std::uint16_t reading2; ///< the set-2 reading
};

/// The two limits of one encoder in one set.
struct EncoderLimits {
    std::uint16_t first;  ///< the first limit
    std::uint16_t second; ///< the second limit
};

/// A hemisphere word (1: north) and the magnitude in 1e-7 degree.
struct WGS84_Latitude {
    std::uint32_t hemisphere; ///< 1 north, else south
    std::uint32_t magnitude;  ///< degrees from the equator, in 1e-7 degree
};

/// A hemisphere word (1: east) and the magnitude in 1e-7 degree.
struct WGS84_Longitude {
    std::uint32_t hemisphere; ///< 1 east, else west
    std::uint32_t magnitude;  ///< degrees from the prime meridian, in 1e-7 degree
};

/// A record of a named value group: kind 1 or 2 means present.
struct NamedValuesRecord {
    std::uint32_t kind;       ///< 1 or 2: the record is present
    unsigned char name[32];   ///< the record's name, a fixed-width text
    std::uint16_t values[6];  ///< the record's six values
};

/// The whole version-3 header, each member at its byte offset in the file.
struct VellFileHeaderV3 {
    unsigned char unused0[20];               ///< not read
    std::uint32_t imageWidth;                ///< offset 20
    std::uint32_t imageHeight;               ///< offset 24
    unsigned char unused28[8];               ///< not read
    std::uint32_t activeAreaLeft;            ///< offset 36
    std::uint32_t activeAreaTop;             ///< offset 40
    std::uint32_t activeAreaWidth;           ///< offset 44
    std::uint32_t activeAreaHeight;          ///< offset 48
    unsigned char unused52[36];              ///< not read
    std::uint32_t imageInfoWord;             ///< offset 88
    std::uint32_t whiteBalanceCct;           ///< offset 92, kelvin
    float whiteBalanceTint;                  ///< offset 96
    float whiteBalanceRgb[3];                ///< offset 100
    unsigned char unused112[4];              ///< not read
    std::uint32_t exposureIndex;             ///< offset 116
    unsigned char unused120[8];              ///< not read
    float colorMatrix[3][4];                 ///< offset 128, 3x3 part plus an offset per row
    unsigned char unused176[12];             ///< not read
    std::uint32_t targetColorSpace;          ///< offset 188
    std::uint32_t processingLevel;           ///< offset 192
    float extraFloatValue;                   ///< offset 196
    std::uint32_t flipState;                 ///< offset 200
    unsigned char lookName[32];              ///< offset 204
    std::uint32_t lookLutType;               ///< offset 236
    unsigned char unused240[12];             ///< not read
    float cdlSaturation;                     ///< offset 252
    float cdlSlope[3];                       ///< offset 256
    float cdlOffset[3];                      ///< offset 268
    float cdlPower[3];                       ///< offset 280
    R32Rgb lookRgb;                          ///< offset 292
    std::uint32_t cdlApplicationMode;        ///< offset 304
    unsigned char unused308[8];              ///< not read
    std::uint32_t bayerColorOrder;           ///< offset 316, four-character code
    unsigned char unused320[36];             ///< not read
    std::uint32_t cameraType;                ///< offset 356
    std::uint32_t auxiliaryCameraWord;       ///< offset 360
    std::uint32_t cameraNumber;              ///< offset 364
    std::uint32_t cameraSerialNumber;        ///< offset 368
    std::uint32_t cameraSerialCode;          ///< offset 372, four characters, MSB first
    unsigned char cameraIndex;               ///< offset 376, a character
    unsigned char unused377[3];              ///< not read
    std::uint32_t captureDate;               ///< offset 380, BCD yyyymmdd
    std::uint32_t captureTime;               ///< offset 384, BCD hhmmssff
    std::uint32_t timeZone;                  ///< offset 388
    std::uint32_t daylightSaving;            ///< offset 392
    std::uint32_t exposureTime;              ///< offset 396, microseconds
    std::uint32_t auxiliaryMilliValue;       ///< offset 400
    unsigned char unused404[12];             ///< not read
    std::uint32_t sensorFrameRate;           ///< offset 416, 1/1000 fps
    std::uint32_t projectFrameRate;          ///< offset 420, 1/1000 fps
    TC_Struct timeCode;                      ///< offset 424
    TC_Struct timeCode1;                     ///< offset 440
    TC_Struct timeCode2;                     ///< offset 456
    TC_Struct timeCode3;                     ///< offset 472
    TC_Struct timeCode4;                     ///< offset 488
    TC_Struct timeCode5;                     ///< offset 504
    TC_Struct timeCode6;                     ///< offset 520
    TC_Struct timeCode7;                     ///< offset 536
    unsigned char unused552[64];             ///< not read
    std::uint32_t hardwareIdLow;             ///< offset 616
    std::uint32_t hardwareIdHigh;            ///< offset 620
    unsigned char unused624[12];             ///< not read
    unsigned char identifierBytes[32];       ///< offset 636
    unsigned char unused668[8];              ///< not read
    unsigned char recorderInfo[32];          ///< offset 676
    std::uint8_t cameraStatusBits;           ///< offset 708
    unsigned char unused709[3];              ///< not read
    float statusFloat;                       ///< offset 712
    std::uint32_t statusWord;                ///< offset 716
    unsigned char uuidBytes[16];             ///< offset 720
    unsigned char auxiliaryText[24];         ///< offset 736
    unsigned char cameraModelText[20];       ///< offset 760
    std::uint16_t cameraFamilyCode;          ///< offset 780
    std::uint16_t cameraVariantCode;         ///< offset 782
    unsigned char unused784[96];             ///< not read
    std::uint32_t ndDataLevel;               ///< offset 880
    std::uint32_t lensDistanceUnits;         ///< offset 884, 0 imperial, else metric
    std::uint32_t lensFocusDistance;         ///< offset 888, 1/1000 of the unit
    std::uint32_t lensFocalLength;           ///< offset 892, 1/1000 mm
    std::uint32_t lensSerialNumber;          ///< offset 896
    std::uint32_t lensIris;                  ///< offset 900, 1/1000
    std::uint16_t ndFilterType;              ///< offset 904, with 906 an ND_Filter
    std::uint16_t ndFilterMilliValue;        ///< offset 906
    std::uint32_t switchWord1;               ///< offset 908
    std::uint32_t switchWord2;               ///< offset 912
    std::uint32_t switchWord3;               ///< offset 916
    unsigned char lensName[32];              ///< offset 920
    RawEncoderValue rawEncoderA;             ///< offset 952
    RawEncoderValue rawEncoderB;             ///< offset 956
    RawEncoderValue rawEncoderC;             ///< offset 960
    EncoderLimits encoderLimitsA1;           ///< offset 964
    EncoderLimits encoderLimitsB1;           ///< offset 968
    EncoderLimits encoderLimitsC1;           ///< offset 972
    EncoderLimits encoderLimitsA2;           ///< offset 976
    EncoderLimits encoderLimitsB2;           ///< offset 980
    EncoderLimits encoderLimitsC2;           ///< offset 984
    std::uint8_t encoderModeByte1;           ///< offset 988
    std::uint8_t encoderParameterByte1;      ///< offset 989
    std::uint8_t encoderModeByte2;           ///< offset 990
    std::uint8_t encoderParameterByte2;      ///< offset 991
    unsigned char unused992[92];             ///< not read
    WGS84_Latitude latitude;                 ///< offset 1084
    WGS84_Longitude longitude;               ///< offset 1092
    std::uint32_t cameraTripleA;             ///< offset 1100
    std::uint32_t cameraTripleB;             ///< offset 1104
    std::uint32_t cameraTripleC;             ///< offset 1108
    std::uint32_t integralWord;              ///< offset 1112
    std::uint32_t tenthsWord1;               ///< offset 1116, low 16 bits signed tenths
    std::uint32_t tenthsWord2;               ///< offset 1120
    std::uint32_t masterSlaveSetup;          ///< offset 1124
    std::uint32_t channelSetup;              ///< offset 1128
    std::uint32_t channelTagWord;            ///< offset 1132, four characters, MSB first
    unsigned char unused1136[132];           ///< not read
    std::uint32_t switchWord4;               ///< offset 1268
    unsigned char shortText[8];              ///< offset 1272
    unsigned char auxiliaryText2[16];        ///< offset 1280
    unsigned char auxiliaryText3[8];         ///< offset 1296
    unsigned char productionTextA[32];       ///< offset 1304
    unsigned char productionTextB[32];       ///< offset 1336
    unsigned char productionTextC[32];       ///< offset 1368
    unsigned char productionTextD[32];       ///< offset 1400
    unsigned char longUserText[256];         ///< offset 1432
    unsigned char auxiliaryText4[24];        ///< offset 1688
    unsigned char unused1712[108];           ///< not read
    TC_Struct timeCode8;                     ///< offset 1820
    unsigned char longText1[32];             ///< offset 1836
    unsigned char longText2[32];             ///< offset 1868
    unsigned char longText3[32];             ///< offset 1900
    unsigned char longText4[32];             ///< offset 1932
    unsigned char longText5[32];             ///< offset 1964
    unsigned char unused1996[132];           ///< not read
    unsigned char groupName1[32];            ///< offset 2128
    unsigned char groupName2[32];            ///< offset 2160
    NamedValuesRecord record1;               ///< offset 2192
    NamedValuesRecord record2;               ///< offset 2240
    NamedValuesRecord record3;               ///< offset 2288
    NamedValuesRecord record4;               ///< offset 2336
    NamedValuesRecord record5;               ///< offset 2384
    NamedValuesRecord record6;               ///< offset 2432
};

#pragma pack(pop)

static_assert(sizeof(R32Rgb) == 12, "R32Rgb is 12 bytes");
static_assert(sizeof(TC_Struct) == 16, "TC_Struct is 16 bytes");
static_assert(sizeof(ND_Filter) == 4 && sizeof(RawEncoderValue) == 4 && sizeof(EncoderLimits) == 4,
              "two-word records are 4 bytes");
static_assert(sizeof(WGS84_Latitude) == 8 && sizeof(WGS84_Longitude) == 8, "WGS84 records are 8 bytes");
static_assert(sizeof(NamedValuesRecord) == 48, "NamedValuesRecord is 48 bytes");
static_assert(sizeof(VellFileHeaderV3) == 2480, "the version-3 header is 2480 bytes");

// Every compiler and target lays the records out at the file's offsets: a
// wrong packing or padding fails the build, not a decode.
/// @cond LAYOUT_CHECKS
#define VELLRAW_HEADER_AT(member, offset) \
    static_assert(offsetof(VellFileHeaderV3, member) == (offset), #member " is at offset " #offset)
VELLRAW_HEADER_AT(lookRgb, 292);
VELLRAW_HEADER_AT(timeCode, 424);
VELLRAW_HEADER_AT(timeCode1, 440);
VELLRAW_HEADER_AT(timeCode7, 536);
VELLRAW_HEADER_AT(rawEncoderA, 952);
VELLRAW_HEADER_AT(encoderLimitsA1, 964);
VELLRAW_HEADER_AT(encoderLimitsC2, 984);
VELLRAW_HEADER_AT(latitude, 1084);
VELLRAW_HEADER_AT(longitude, 1092);
VELLRAW_HEADER_AT(timeCode8, 1820);
VELLRAW_HEADER_AT(groupName1, 2128);
VELLRAW_HEADER_AT(groupName2, 2160);
VELLRAW_HEADER_AT(record1, 2192);
VELLRAW_HEADER_AT(record2, 2240);
VELLRAW_HEADER_AT(record3, 2288);
VELLRAW_HEADER_AT(record4, 2336);
VELLRAW_HEADER_AT(record5, 2384);
VELLRAW_HEADER_AT(record6, 2432);
#undef VELLRAW_HEADER_AT
/// @endcond

/// Size of the header image that decoding reads: bytes 0 to 2479.
constexpr unsigned long kVellFileHeaderV3Size = sizeof(VellFileHeaderV3);

} // namespace VellRawMeta
