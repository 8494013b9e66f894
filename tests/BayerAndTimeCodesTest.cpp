#include <string>

#include <gtest/gtest.h>

#include "support/Decoded.h"

using Vmc::VellMetadataContainer;
using Vmc::testing::changedFields;
using Vmc::testing::decode;
using Vmc::testing::Decoded;
using Vmc::testing::definedFields;
using Vmc::testing::HeaderImage;
using TimeCodeField = MetaField<VellRawMeta::TC_Struct> VellMetadataContainer::*;

namespace {

struct TimeCodeSlot {
    Vmc::decoding::At<VellRawMeta::TC_Struct> at;
    TimeCodeField field;
};

const TimeCodeSlot kTimeCodes[] = {
    {VMC_AT(timeCode1), &VellMetadataContainer::timeCode1}, {VMC_AT(timeCode2), &VellMetadataContainer::timeCode2},
    {VMC_AT(timeCode3), &VellMetadataContainer::timeCode3}, {VMC_AT(timeCode4), &VellMetadataContainer::timeCode4},
    {VMC_AT(timeCode5), &VellMetadataContainer::timeCode5}, {VMC_AT(timeCode6), &VellMetadataContainer::timeCode6},
    {VMC_AT(timeCode7), &VellMetadataContainer::timeCode7},
};

// Every field of the group, and of the groups around it, holding data.
HeaderImage everyFieldWritten()
{
    HeaderImage image = HeaderImage::decodable();
    image.set(VMC_AT(whiteBalanceCct), 5600u);
    image.setText(VMC_AT(lookName), "Warm");
    image.set(VMC_AT(lookLutType), 1u);
    image.set(VMC_AT(cdlApplicationMode), 2u);
    image.set(VMC_AT(bayerColorOrder), 0x47524247u);
    image.set(VMC_AT(auxiliaryCameraWord), 7u);
    image.set(VMC_AT(auxiliaryMilliValue), 1500u);
    for (const TimeCodeSlot& slot : kTimeCodes)
        image.set(slot.at, {0x01020304, 1, 2, 3});
    image.setBytes(VMC_AT(identifierBytes), {0x00});
    image.set(VMC_AT(switchWord1), 1u);
    image.setText(VMC_AT(groupName1), "Group");
    return image;
}

} // namespace

TEST(BayerAndTimeCodes, ColorOrderLabels)
{
    struct Case {
        std::uint32_t value;
        const char* label; // null: failure 1400
    };
    const Case cases[] = {
        {0x42474752, "BGGR"}, {0x47425247, "GBRG"}, {0x47524247, "GRBG"}, {0x52474742, "RGGB"},
        {0, nullptr},         {0x52474741, nullptr}, // letters, but not an order
        {0xFFFFFFFE, nullptr},
    };
    for (const Case& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(bayerColorOrder), k.value);
        image.set(VMC_AT(auxiliaryCameraWord), 7u);
        const Decoded d = decode(image);
        if (k.label != nullptr) {
            EXPECT_FALSE(d.isError) << k.value;
            EXPECT_STREQ(d.c.bayerPattern.text, k.label);
            EXPECT_TRUE(d.c.auxiliaryCameraWord.defined);
        } else {
            EXPECT_EQ(d.code, 1400u);
            EXPECT_EQ(d.message, "Unknown Bayer color order in VELLRAW header; enumeration value is `" +
                                     std::to_string(k.value) + "'");
            EXPECT_FALSE(d.c.bayerPattern.defined);
            EXPECT_FALSE(d.c.auxiliaryCameraWord.defined);
            EXPECT_FALSE(d.c.auxiliaryValue.defined);
        }
    }
}

TEST(BayerAndTimeCodes, FileBytesSpellTheLabelBackwards)
{
    HeaderImage image = HeaderImage::decodable();
    const std::size_t at = offsetof(VellRawMeta::VellFileHeaderV3, bayerColorOrder);
    const unsigned char bytes[] = {'R', 'G', 'G', 'B'};
    for (int i = 0; i < 4; ++i)
        image.data()[at + i] = bytes[i];
    EXPECT_STREQ(decode(image).c.bayerPattern.text, "BGGR");
}

TEST(BayerAndTimeCodes, UnwrittenOrderGoesOnAndWordsAreUntested)
{
    HeaderImage image = HeaderImage::decodable(); // order, word and value all 0xFFFFFFFF
    Decoded d = decode(image);
    EXPECT_FALSE(d.isError);
    EXPECT_FALSE(d.c.bayerPattern.defined);
    ASSERT_TRUE(d.c.auxiliaryCameraWord.defined);
    EXPECT_EQ(d.c.auxiliaryCameraWord.value, 4294967295u);

    // Thousandths divided in double precision and rounded once to a float:
    // 16777219 would give 16777.220703125 in single precision.
    struct Case {
        std::uint32_t milli;
        float value;
    };
    const Case cases[] = {
        {0xFFFFFFFF, 4294967.5f}, {180000, 180.0f}, {0, 0.0f}, {16777219, 16777.21875f}, {1, 0.001f},
    };
    for (const Case& k : cases) {
        image.set(VMC_AT(auxiliaryMilliValue), k.milli);
        d = decode(image);
        ASSERT_TRUE(d.c.auxiliaryValue.defined);
        EXPECT_EQ(d.c.auxiliaryValue.value, k.value) << k.milli;
    }
}

TEST(BayerAndTimeCodes, TimeCodesTestOnlyTheirFirstWord)
{
    for (std::size_t i = 0; i < std::size(kTimeCodes); ++i) {
        HeaderImage image = HeaderImage::decodable();
        for (std::size_t j = 0; j < std::size(kTimeCodes); ++j) {
            // The one under test is stored whole; the others carry data but
            // an unwritten time word.
            const std::uint32_t first = j == i ? 0 : 0xFFFFFFFF;
            image.set(kTimeCodes[j].at, {first, 0x11, 0x80007530, 0xFFFFFFFF});
        }
        const Decoded d = decode(image);
        for (std::size_t j = 0; j < std::size(kTimeCodes); ++j) {
            const MetaField<VellRawMeta::TC_Struct>& field = d.c.*kTimeCodes[j].field;
            EXPECT_EQ(field.defined, j == i) << i << " " << j;
        }
        const VellRawMeta::TC_Struct& stored = (d.c.*kTimeCodes[i].field).value;
        EXPECT_EQ(stored.bcdTime, 0u);
        EXPECT_EQ(stored.word1, 0x11u);
        EXPECT_EQ(stored.rateAndDropFrame, 0x80007530u);
        EXPECT_EQ(stored.word3, 0xFFFFFFFFu);
    }
}

TEST(BayerAndTimeCodes, StopKeepsWhatCameBeforeAndWritesNothingAfter)
{
    const Decoded complete = decode(everyFieldWritten());
    ASSERT_FALSE(complete.isError) << complete.message;

    HeaderImage image = everyFieldWritten();
    image.set(VMC_AT(flipState), 13u);        // recorded, decoding goes on
    image.set(VMC_AT(bayerColorOrder), 0u);   // stops
    const Decoded stopped = decode(image);
    EXPECT_EQ(stopped.code, 1400u);
    EXPECT_EQ(stopped.message, "Unknown Bayer color order in VELLRAW header; enumeration value is `0'");

    // Whatever the stopped decoding wrote, it wrote as the complete one did.
    const std::set<std::string> written = definedFields(stopped.c);
    const std::set<std::string> differing = changedFields(stopped.c, complete.c);
    for (const std::string& name : written)
        EXPECT_EQ(differing.count(name), 0u) << name;

    for (const char* before : {"whiteBalanceCct", "lookName", "cdlApplicationMode", "cameraModel"})
        EXPECT_EQ(written.count(before), 1u) << before;
    for (const char* after : {"bayerPattern", "auxiliaryCameraWord", "auxiliaryValue", "timeCode1", "timeCode7",
                              "identifierHex", "cameraStatusBit1", "switch1", "groupName1"}) {
        EXPECT_EQ(definedFields(complete.c).count(after), 1u) << after;
        EXPECT_EQ(written.count(after), 0u) << after;
    }
}
