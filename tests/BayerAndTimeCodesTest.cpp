// SPDX-License-Identifier: Apache-2.0
#include "support/FieldChecks.h"

using namespace Vmc::testing;
using C = Vmc::VellMetadataContainer;

TEST(BayerAndTimeCodes, ColorOrderStopsWhenUnknown)
{
    const EnumCase cases[] = {{0x42474752, "BGGR"}, {0x47425247, "GBRG"}, {0x47524247, "GRBG"},
                              {0x52474742, "RGGB"}, {0, nullptr},         {0x52474741, nullptr}};
    for (const EnumCase& k : cases) {
        HeaderImage image = fullHeader();
        image.set(VMC_AT(bayerColorOrder), k.value);
        const Decoded d = decode(image);
        expectLabel(d, d.c.bayerPattern, k, 1400,
                    "Unknown Bayer color order in VELLRAW header; enumeration value is `");
        // The look before it is stored; the words after it and the later
        // groups only when decoding goes on.
        EXPECT_TRUE(d.c.cdlApplicationMode.defined);
        for (bool stored : {d.c.auxiliaryCameraWord.defined != 0, d.c.timeCode7.defined != 0,
                            d.c.identifierHex.defined != 0, d.c.ndFilter.defined != 0, d.c.groupName1.defined != 0})
            EXPECT_EQ(stored, k.label != nullptr) << k.value;
    }
}

TEST(BayerAndTimeCodes, UnwrittenOrderGoesOnAndWordsAreUntested)
{
    // Divided in double precision and rounded once: in single precision
    // 16777219 would give 16777.220703125.
    const std::pair<std::uint32_t, float> cases[] = {
        {kUnwritten, 4294967.5f}, {180000, 180.0f}, {0, 0.0f}, {16777219, 16777.21875f}};
    for (const auto& [milli, value] : cases) {
        const Decoded d = decode(headerWith(VMC_AT(auxiliaryMilliValue), milli));
        EXPECT_FALSE(d.isError || d.c.bayerPattern.defined); // the order stays unwritten
        EXPECT_EQ(valueOf(d.c.auxiliaryCameraWord), kUnwritten);
        EXPECT_EQ(valueOf(d.c.auxiliaryValue), value) << milli;
    }
}

TEST(BayerAndTimeCodes, TimeCodesTestOnlyTheirFirstWord)
{
    const std::pair<Vmc::decoding::At<VellRawMeta::TC_Struct>, MetaField<VellRawMeta::TC_Struct> C::*> slots[] = {
        {VMC_AT(timeCode1), &C::timeCode1}, {VMC_AT(timeCode2), &C::timeCode2}, {VMC_AT(timeCode3), &C::timeCode3},
        {VMC_AT(timeCode4), &C::timeCode4}, {VMC_AT(timeCode5), &C::timeCode5}, {VMC_AT(timeCode6), &C::timeCode6},
        {VMC_AT(timeCode7), &C::timeCode7}, {VMC_AT(timeCode8), &C::timeCode8}, // the eighth with the texts
    };
    for (std::size_t i = 0; i < std::size(slots); ++i) {
        // Each carries data; only the one under test has a written time word.
        HeaderImage image = HeaderImage::decodable();
        for (std::size_t j = 0; j < std::size(slots); ++j)
            image.set(slots[j].first, {j == i ? 0u : kUnwritten, 0x11u, 0x80007530u, kUnwritten});
        const Decoded d = decode(image);
        for (std::size_t j = 0; j < std::size(slots); ++j)
            EXPECT_EQ((d.c.*slots[j].second).defined, j == i) << i << " " << j;
        EXPECT_TRUE((d.c.*slots[i].second).value == (VellRawMeta::TC_Struct{0u, 0x11u, 0x80007530u, kUnwritten})) << i;
    }
}
