// SPDX-License-Identifier: Apache-2.0
#include "support/FieldChecks.h"

using namespace Vmc::testing;
using C = Vmc::VellMetadataContainer;
using Number = MetaField<std::uint32_t> C::*;

// The full header, in which every encoder, set and limit holds a value of its
// own, so that a field read from the wrong word shows; a set-1 parameter of
// 0xFF, which is not a sentinel.
static HeaderImage allEncodersWritten(std::uint8_t mode1 = 1, std::uint8_t mode2 = 0)
{
    HeaderImage image = fullHeader();
    image.set(VMC_AT(encoderModeByte1), mode1);
    image.set(VMC_AT(encoderModeByte2), mode2);
    image.set(VMC_AT(encoderParameterByte1), std::uint8_t{0xFF});
    return image;
}

using Expected = std::pair<Number, std::uint32_t>;
const Expected kSets[2][10] = {
    {{&C::encoderA1Raw, 300}, {&C::encoderA1LimitFirst, 10}, {&C::encoderA1LimitSecond, 1000},
     {&C::encoderB1Raw, 400}, {&C::encoderB1LimitFirst, 20}, {&C::encoderB1LimitSecond, 2000},
     {&C::encoderC1Raw, 500}, {&C::encoderC1LimitFirst, 30}, {&C::encoderC1LimitSecond, 3000},
     {&C::encoderParameter1, 255}},
    {{&C::encoderA2Raw, 310}, {&C::encoderA2LimitFirst, 11}, {&C::encoderA2LimitSecond, 1100},
     {&C::encoderB2Raw, 410}, {&C::encoderB2LimitFirst, 21}, {&C::encoderB2LimitSecond, 2100},
     {&C::encoderC2Raw, 510}, {&C::encoderC2LimitFirst, 31}, {&C::encoderC2LimitSecond, 3100},
     {&C::encoderParameter2, 6}},
};

TEST(Encoders, EachSetPresentByItsModeWithEveryFieldFromItsOwnWord)
{
    const struct {
        std::uint8_t mode1, mode2;
        const char *label1, *label2; // null: the set is absent
    } cases[] = {{1, 0, "CONSTANT", "NONE"},  {0, 1, "NONE", "CONSTANT"}, {2, 7, "UNKNOWN", "UNKNOWN"},
                 {254, 0xFF, "UNKNOWN", nullptr}, {0xFF, 0, nullptr, "NONE"}};
    for (const auto& k : cases) {
        const C c = decode(allEncodersWritten(k.mode1, k.mode2)).c;
        EXPECT_STREQ(textOf(c.encoderMode1), k.label1) << int(k.mode1);
        EXPECT_STREQ(textOf(c.encoderMode2), k.label2) << int(k.mode2);
        for (int set = 0; set < 2; ++set) {
            const bool present = (set == 0 ? k.label1 : k.label2) != nullptr;
            for (const auto& [field, value] : kSets[set])
                EXPECT_EQ(valueOf(c.*field), present ? std::optional<std::uint32_t>(value) : std::nullopt) << set;
        }
    }
}

TEST(Encoders, SetTwoNeedsAWrittenLimit)
{
    HeaderImage image = allEncodersWritten();
    image.fill(VMC_AT(encoderLimitsA2), 0xFF);
    image.fill(VMC_AT(encoderLimitsB2), 0xFF);
    image.fill(VMC_AT(encoderLimitsC2), 0xFF);
    C c = decode(image).c;
    EXPECT_FALSE(c.encoderMode2.defined);
    for (const auto& [field, value] : kSets[1])
        EXPECT_FALSE((c.*field).defined) << value;

    // One written word anywhere among the six brings the whole set in, the
    // unwritten limits stored as read.
    image.set(VMC_AT(encoderLimitsC2), 0xFFFF, 7);
    c = decode(image).c;
    EXPECT_STREQ(c.encoderMode2.text, "NONE");
    EXPECT_EQ(c.encoderParameter2.value, 6u);
    EXPECT_EQ(c.encoderA2Raw.value, 310u);
    EXPECT_EQ(valueOf(c.encoderA2LimitFirst), 65535u);
    EXPECT_EQ(valueOf(c.encoderB2LimitSecond), 65535u);
    EXPECT_EQ(valueOf(c.encoderC2LimitFirst), 65535u);
    EXPECT_EQ(valueOf(c.encoderC2LimitSecond), 7u);
}

TEST(Encoders, SetOneReadingDecidesForBothSets)
{
    HeaderImage image = allEncodersWritten();
    image.set(VMC_AT(rawEncoderA), 301, 0xFFFF);  // set-2 reading stored as read
    image.set(VMC_AT(rawEncoderB), 0xFFFF, 1200); // a valid set-2 reading is skipped
    image.fill(VMC_AT(encoderLimitsC1), 0xFF);    // set-1 limits are not tested
    const C c = decode(image).c;
    EXPECT_EQ(c.encoderA1Raw.value, 301u);
    EXPECT_EQ(valueOf(c.encoderA2Raw), 65535u);
    for (Number field : {&C::encoderB1Raw, &C::encoderB1LimitFirst, &C::encoderB1LimitSecond, &C::encoderB2Raw,
                         &C::encoderB2LimitFirst, &C::encoderB2LimitSecond})
        EXPECT_FALSE((c.*field).defined);
    EXPECT_EQ(c.encoderC1LimitFirst.value, 65535u);
    EXPECT_EQ(c.encoderC1LimitSecond.value, 65535u);
}
