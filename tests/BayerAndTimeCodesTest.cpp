#include <string>

#include <VellMetadataContainer/TimeCode.h>

#include <gtest/gtest.h>

#include "support/FieldChecks.h"
#include "support/FullHeader.h"

using namespace Vmc::testing;
using Vmc::VellMetadataContainer;

namespace {

struct TimeCodeSlot {
    Vmc::decoding::At<VellRawMeta::TC_Struct> at;
    MetaField<VellRawMeta::TC_Struct> VellMetadataContainer::*field;
};

const TimeCodeSlot kTimeCodes[] = {
    {VMC_AT(timeCode1), &VellMetadataContainer::timeCode1}, {VMC_AT(timeCode2), &VellMetadataContainer::timeCode2},
    {VMC_AT(timeCode3), &VellMetadataContainer::timeCode3}, {VMC_AT(timeCode4), &VellMetadataContainer::timeCode4},
    {VMC_AT(timeCode5), &VellMetadataContainer::timeCode5}, {VMC_AT(timeCode6), &VellMetadataContainer::timeCode6},
    {VMC_AT(timeCode7), &VellMetadataContainer::timeCode7},
};

} // namespace

TEST(BayerAndTimeCodes, ColorOrderStopsWhenUnknown)
{
    const EnumCase cases[] = {{0x42474752, "BGGR"}, {0x47425247, "GBRG"}, {0x47524247, "GRBG"},
                              {0x52474742, "RGGB"}, {0, nullptr},         {0x52474741, nullptr}};
    for (const EnumCase& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(bayerColorOrder), k.value);
        const Decoded d = decode(image);
        expectLabel(d, d.c.bayerPattern, k, 1400, "Unknown Bayer color order in VELLRAW header; enumeration value is `");
        EXPECT_EQ(d.c.auxiliaryCameraWord.defined, k.label != nullptr);
    }

    // In the file the bytes spell the label backwards.
    HeaderImage image = HeaderImage::decodable();
    image.setBytes(Vmc::decoding::At<unsigned char[4]>{offsetof(VellRawMeta::VellFileHeaderV3, bayerColorOrder)},
                   {'R', 'G', 'G', 'B'});
    EXPECT_STREQ(decode(image).c.bayerPattern.text, "BGGR");
}

TEST(BayerAndTimeCodes, UnwrittenOrderGoesOnAndWordsAreUntested)
{
    HeaderImage image = HeaderImage::decodable(); // order, word and value all 0xFFFFFFFF
    Decoded d = decode(image);
    EXPECT_FALSE(d.isError);
    EXPECT_FALSE(d.c.bayerPattern.defined);
    EXPECT_TRUE(d.c.auxiliaryCameraWord.defined);
    EXPECT_EQ(d.c.auxiliaryCameraWord.value, 4294967295u);

    // Divided in double precision and rounded once: in single precision
    // 16777219 would give 16777.220703125.
    const std::pair<std::uint32_t, float> cases[] = {
        {0xFFFFFFFF, 4294967.5f}, {180000, 180.0f}, {0, 0.0f}, {16777219, 16777.21875f}};
    for (const auto& [milli, value] : cases) {
        image.set(VMC_AT(auxiliaryMilliValue), milli);
        d = decode(image);
        EXPECT_TRUE(d.c.auxiliaryValue.defined);
        EXPECT_EQ(d.c.auxiliaryValue.value, value) << milli;
    }
}

TEST(BayerAndTimeCodes, TimeCodesTestOnlyTheirFirstWord)
{
    for (std::size_t i = 0; i < std::size(kTimeCodes); ++i) {
        // Each carries data; only the one under test has a written time word.
        HeaderImage image = HeaderImage::decodable();
        for (std::size_t j = 0; j < std::size(kTimeCodes); ++j)
            image.set(kTimeCodes[j].at, {j == i ? 0u : 0xFFFFFFFFu, 0x11u, 0x80007530u, 0xFFFFFFFFu});
        const Decoded d = decode(image);
        for (std::size_t j = 0; j < std::size(kTimeCodes); ++j)
            EXPECT_EQ((d.c.*kTimeCodes[j].field).defined, j == i) << i << " " << j;
        const VellRawMeta::TC_Struct& stored = (d.c.*kTimeCodes[i].field).value;
        EXPECT_TRUE(stored == (VellRawMeta::TC_Struct{0u, 0x11u, 0x80007530u, 0xFFFFFFFFu})) << i;
    }
}

TEST(BayerAndTimeCodes, StopKeepsWhatCameBeforeAndWritesNothingAfter)
{
    const Decoded complete = decode(fullHeader());
    ASSERT_FALSE(complete.isError) << complete.message;

    HeaderImage image = fullHeader();
    image.set(VMC_AT(flipState), 13u);      // recorded, decoding goes on
    image.set(VMC_AT(bayerColorOrder), 0u); // stops
    const Decoded stopped = decode(image);
    EXPECT_EQ(stopped.code, 1400u);

    // What the stopped decoding wrote, it wrote as the complete one did;
    // what it did not write is left undefined.
    const VellMetadataContainer fresh;
    const std::set<std::string> written = changedFields(fresh, stopped.c);
    const std::set<std::string> missing = changedFields(stopped.c, complete.c);
    for (const std::string& name : written)
        EXPECT_EQ(missing.count(name), 0u) << name;
    for (const char* before : {"cameraModel", "whiteBalanceCct", "lookName", "cdlApplicationMode"})
        EXPECT_EQ(written.count(before), 1u) << before;
    for (const char* after : {"flipState", "bayerPattern", "auxiliaryCameraWord", "timeCode7", "identifierHex",
                              "cameraStatusBit1", "ndFilter", "switch1", "groupName1"})
        EXPECT_EQ(missing.count(after), 1u) << after;
}
