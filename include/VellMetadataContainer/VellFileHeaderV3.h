// SPDX-License-Identifier: Apache-2.0
// The VELLRAW version-3 file header: a fixed-layout, little-endian record of
// 2480 bytes, and the small records it is made of.
//
// All records are packed (byte alignment) so that their members sit at the
// byte offsets of the file format. Multi-byte members hold the file's
// little-endian bytes; the decoder reads them through byte-order-aware
// readers, so the layout is also correct on a big-endian host. Gaps the
// decoder never reads are named unusedNNN after their offset.
#pragma once

#include <cstdint>

namespace VellRawMeta {

#pragma pack(push, 1)

// Three floats in the order red, green, blue.
struct R32Rgb {
    float red;
    float green;
    float blue;
};

// A time code record: four 32-bit words.
//
//   word 0  bcdTime           BCD digits, bits 31-28 hours tens ... 3-0 frames units
//   word 1  word1             carried, not interpreted
//   word 2  rateAndDropFrame  bit 31 drop-frame; bits 30-0 rate in 1/1000 fps
//   word 3  word3             carried, not interpreted
struct TC_Struct {
    std::uint32_t bcdTime;
    std::uint32_t word1;
    std::uint32_t rateAndDropFrame;
    std::uint32_t word3;
};

// ND filter state: filter type, then its value in thousandths.
struct ND_Filter {
    std::uint16_t filterType;
    std::uint16_t milliValue;
};

// One encoder: its set-1 and set-2 readings.
struct RawEncoderValue {
    std::uint16_t reading1;
    std::uint16_t reading2;
};

// The two limits of one encoder in one set.
struct EncoderLimits {
    std::uint16_t first;
    std::uint16_t second;
};

// A hemisphere word (1: north) and the magnitude in 1e-7 degree.
struct WGS84_Latitude {
    std::uint32_t hemisphere;
    std::uint32_t magnitude;
};

// A hemisphere word (1: east) and the magnitude in 1e-7 degree.
struct WGS84_Longitude {
    std::uint32_t hemisphere;
    std::uint32_t magnitude;
};

// A record of a named value group: kind 1 or 2 means present.
struct NamedValuesRecord {
    std::uint32_t kind;
    unsigned char name[32];
    std::uint16_t values[6];
};

struct VellFileHeaderV3 {
    unsigned char unused0[20];
    std::uint32_t imageWidth;                // 20
    std::uint32_t imageHeight;               // 24
    unsigned char unused28[8];
    std::uint32_t activeAreaLeft;            // 36
    std::uint32_t activeAreaTop;             // 40
    std::uint32_t activeAreaWidth;           // 44
    std::uint32_t activeAreaHeight;          // 48
    unsigned char unused52[36];
    std::uint32_t imageInfoWord;             // 88
    std::uint32_t whiteBalanceCct;           // 92, kelvin
    float whiteBalanceTint;                  // 96
    float whiteBalanceRgb[3];                // 100
    unsigned char unused112[4];
    std::uint32_t exposureIndex;             // 116
    unsigned char unused120[8];
    float colorMatrix[3][4];                 // 128, 3x3 part plus an offset per row
    unsigned char unused176[12];
    std::uint32_t targetColorSpace;          // 188
    std::uint32_t processingLevel;           // 192
    float extraFloatValue;                   // 196
    std::uint32_t flipState;                 // 200
    unsigned char lookName[32];              // 204
    std::uint32_t lookLutType;               // 236
    unsigned char unused240[12];
    float cdlSaturation;                     // 252
    float cdlSlope[3];                       // 256
    float cdlOffset[3];                      // 268
    float cdlPower[3];                       // 280
    R32Rgb lookRgb;                          // 292
    std::uint32_t cdlApplicationMode;        // 304
    unsigned char unused308[8];
    std::uint32_t bayerColorOrder;           // 316, four-character code
    unsigned char unused320[36];
    std::uint32_t cameraType;                // 356
    std::uint32_t auxiliaryCameraWord;       // 360
    std::uint32_t cameraNumber;              // 364
    std::uint32_t cameraSerialNumber;        // 368
    std::uint32_t cameraSerialCode;          // 372, four characters, MSB first
    unsigned char cameraIndex;               // 376, a character
    unsigned char unused377[3];
    std::uint32_t captureDate;               // 380, BCD yyyymmdd
    std::uint32_t captureTime;               // 384, BCD hhmmssff
    std::uint32_t timeZone;                  // 388
    std::uint32_t daylightSaving;            // 392
    std::uint32_t exposureTime;              // 396, microseconds
    std::uint32_t auxiliaryMilliValue;       // 400
    unsigned char unused404[12];
    std::uint32_t sensorFrameRate;           // 416, 1/1000 fps
    std::uint32_t projectFrameRate;          // 420, 1/1000 fps
    TC_Struct timeCode;                      // 424
    TC_Struct timeCode1;                     // 440
    TC_Struct timeCode2;                     // 456
    TC_Struct timeCode3;                     // 472
    TC_Struct timeCode4;                     // 488
    TC_Struct timeCode5;                     // 504
    TC_Struct timeCode6;                     // 520
    TC_Struct timeCode7;                     // 536
    unsigned char unused552[64];
    std::uint32_t hardwareIdLow;             // 616
    std::uint32_t hardwareIdHigh;            // 620
    unsigned char unused624[12];
    unsigned char identifierBytes[32];       // 636
    unsigned char unused668[8];
    unsigned char recorderInfo[32];          // 676
    std::uint8_t cameraStatusBits;           // 708
    unsigned char unused709[3];
    float statusFloat;                       // 712
    std::uint32_t statusWord;                // 716
    unsigned char uuidBytes[16];             // 720
    unsigned char auxiliaryText[24];         // 736
    unsigned char cameraModelText[20];       // 760
    std::uint16_t cameraFamilyCode;          // 780
    std::uint16_t cameraVariantCode;         // 782
    unsigned char unused784[96];
    std::uint32_t ndDataLevel;               // 880
    std::uint32_t lensDistanceUnits;         // 884, 0 imperial, else metric
    std::uint32_t lensFocusDistance;         // 888, 1/1000 of the unit
    std::uint32_t lensFocalLength;           // 892, 1/1000 mm
    std::uint32_t lensSerialNumber;          // 896
    std::uint32_t lensIris;                  // 900, 1/1000
    std::uint16_t ndFilterType;              // 904 \ together an ND_Filter
    std::uint16_t ndFilterMilliValue;        // 906 /
    std::uint32_t switchWord1;               // 908
    std::uint32_t switchWord2;               // 912
    std::uint32_t switchWord3;               // 916
    unsigned char lensName[32];              // 920
    RawEncoderValue rawEncoderA;             // 952
    RawEncoderValue rawEncoderB;             // 956
    RawEncoderValue rawEncoderC;             // 960
    EncoderLimits encoderLimitsA1;           // 964
    EncoderLimits encoderLimitsB1;           // 968
    EncoderLimits encoderLimitsC1;           // 972
    EncoderLimits encoderLimitsA2;           // 976
    EncoderLimits encoderLimitsB2;           // 980
    EncoderLimits encoderLimitsC2;           // 984
    std::uint8_t encoderModeByte1;           // 988
    std::uint8_t encoderParameterByte1;      // 989
    std::uint8_t encoderModeByte2;           // 990
    std::uint8_t encoderParameterByte2;      // 991
    unsigned char unused992[92];
    WGS84_Latitude latitude;                 // 1084
    WGS84_Longitude longitude;               // 1092
    std::uint32_t cameraTripleA;             // 1100
    std::uint32_t cameraTripleB;             // 1104
    std::uint32_t cameraTripleC;             // 1108
    std::uint32_t integralWord;              // 1112
    std::uint32_t tenthsWord1;               // 1116, low 16 bits signed tenths
    std::uint32_t tenthsWord2;               // 1120
    std::uint32_t masterSlaveSetup;          // 1124
    std::uint32_t channelSetup;              // 1128
    std::uint32_t channelTagWord;            // 1132, four characters, MSB first
    unsigned char unused1136[132];
    std::uint32_t switchWord4;               // 1268
    unsigned char shortText[8];              // 1272
    unsigned char auxiliaryText2[16];        // 1280
    unsigned char auxiliaryText3[8];         // 1296
    unsigned char productionTextA[32];       // 1304
    unsigned char productionTextB[32];       // 1336
    unsigned char productionTextC[32];       // 1368
    unsigned char productionTextD[32];       // 1400
    unsigned char longUserText[256];         // 1432
    unsigned char auxiliaryText4[24];        // 1688
    unsigned char unused1712[108];
    TC_Struct timeCode8;                     // 1820
    unsigned char longText1[32];             // 1836
    unsigned char longText2[32];             // 1868
    unsigned char longText3[32];             // 1900
    unsigned char longText4[32];             // 1932
    unsigned char longText5[32];             // 1964
    unsigned char unused1996[132];
    unsigned char groupName1[32];            // 2128
    unsigned char groupName2[32];            // 2160
    NamedValuesRecord record1;               // 2192
    NamedValuesRecord record2;               // 2240
    NamedValuesRecord record3;               // 2288
    NamedValuesRecord record4;               // 2336
    NamedValuesRecord record5;               // 2384
    NamedValuesRecord record6;               // 2432
};

#pragma pack(pop)

static_assert(sizeof(R32Rgb) == 12, "R32Rgb is 12 bytes");
static_assert(sizeof(TC_Struct) == 16, "TC_Struct is 16 bytes");
static_assert(sizeof(ND_Filter) == 4 && sizeof(RawEncoderValue) == 4 && sizeof(EncoderLimits) == 4,
              "two-word records are 4 bytes");
static_assert(sizeof(WGS84_Latitude) == 8 && sizeof(WGS84_Longitude) == 8, "WGS84 records are 8 bytes");
static_assert(sizeof(NamedValuesRecord) == 48, "NamedValuesRecord is 48 bytes");
static_assert(sizeof(VellFileHeaderV3) == 2480, "the version-3 header is 2480 bytes");

// Size of the header image that decoding reads: bytes 0 to 2479.
constexpr unsigned long kVellFileHeaderV3Size = sizeof(VellFileHeaderV3);

} // namespace VellRawMeta
