// SPDX-License-Identifier: Apache-2.0
// The header's layout, as the field table that fuzzing and tests mutate
// through describes it (each row's offset is checked at build time), and the
// test for a field the camera never wrote: all ones for integers and bytes,
// any NaN for floats, and a record with any part unwritten.
#include <VellMetadataContainer/Sentinels.h>
#include <VellMetadataContainer/VellFileHeaderV3.h>

#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "support/HeaderFieldMap.h"

using Vmc::uninitializedField;

TEST(HeaderFieldMap, FieldsAreOrderedDisjointAndInsideTheHeader)
{
    std::size_t end = 20; // bytes 0 to 19 are never read
    for (const Vmc::testing::HeaderField& field : Vmc::testing::headerFields()) {
        EXPECT_GE(field.offset, end) << field.name;
        end = field.offset + field.width;
    }
    EXPECT_EQ(end, VellRawMeta::kVellFileHeaderV3Size) << "the last record's values end the header";
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
