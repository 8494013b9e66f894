#include "support/FieldChecks.h"

using namespace Vmc::testing;
using C = Vmc::VellMetadataContainer;
using Number = MetaField<std::uint32_t> C::*;

// Every encoder, set and limit holds a value of its own, so that a field read
// from the wrong word shows: hundreds the encoder, tens the set, units the
// limit (0 the reading).
static HeaderImage allEncodersWritten(std::uint8_t mode1 = 1, std::uint8_t mode2 = 0)
{
    HeaderImage image = headerWith(VMC_AT(encoderModeByte1), mode1, VMC_AT(encoderParameterByte1), 0xFF,
                                   VMC_AT(encoderModeByte2), mode2, VMC_AT(encoderParameterByte2), 9);
    image.set(VMC_AT(rawEncoderA), 110, 120);
    image.set(VMC_AT(rawEncoderB), 210, 220);
    image.set(VMC_AT(rawEncoderC), 310, 320);
    image.set(VMC_AT(encoderLimitsA1), 111, 112);
    image.set(VMC_AT(encoderLimitsB1), 211, 212);
    image.set(VMC_AT(encoderLimitsC1), 311, 312);
    image.set(VMC_AT(encoderLimitsA2), 121, 122);
    image.set(VMC_AT(encoderLimitsB2), 221, 222);
    image.set(VMC_AT(encoderLimitsC2), 321, 322);
    return image;
}

using Expected = std::pair<Number, std::uint32_t>;
const Expected kSets[2][10] = {
    {{&C::encoderA1Raw, 110}, {&C::encoderA1LimitFirst, 111}, {&C::encoderA1LimitSecond, 112},
     {&C::encoderB1Raw, 210}, {&C::encoderB1LimitFirst, 211}, {&C::encoderB1LimitSecond, 212},
     {&C::encoderC1Raw, 310}, {&C::encoderC1LimitFirst, 311}, {&C::encoderC1LimitSecond, 312},
     {&C::encoderParameter1, 255}},
    {{&C::encoderA2Raw, 120}, {&C::encoderA2LimitFirst, 121}, {&C::encoderA2LimitSecond, 122},
     {&C::encoderB2Raw, 220}, {&C::encoderB2LimitFirst, 221}, {&C::encoderB2LimitSecond, 222},
     {&C::encoderC2Raw, 320}, {&C::encoderC2LimitFirst, 321}, {&C::encoderC2LimitSecond, 322},
     {&C::encoderParameter2, 9}},
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
    EXPECT_EQ(c.encoderParameter2.value, 9u);
    EXPECT_EQ(c.encoderA2Raw.value, 120u);
    EXPECT_EQ(valueOf(c.encoderA2LimitFirst), 65535u);
    EXPECT_EQ(valueOf(c.encoderB2LimitSecond), 65535u);
    EXPECT_EQ(valueOf(c.encoderC2LimitFirst), 65535u);
    EXPECT_EQ(valueOf(c.encoderC2LimitSecond), 7u);
}

TEST(Encoders, SetOneReadingDecidesForBothSets)
{
    HeaderImage image = allEncodersWritten();
    image.set(VMC_AT(rawEncoderA), 300, 0xFFFF);  // set-2 reading stored as read
    image.set(VMC_AT(rawEncoderB), 0xFFFF, 1200); // a valid set-2 reading is skipped
    image.fill(VMC_AT(encoderLimitsC1), 0xFF);    // set-1 limits are not tested
    const C c = decode(image).c;
    EXPECT_EQ(c.encoderA1Raw.value, 300u);
    EXPECT_EQ(valueOf(c.encoderA2Raw), 65535u);
    for (Number field : {&C::encoderB1Raw, &C::encoderB1LimitFirst, &C::encoderB1LimitSecond, &C::encoderB2Raw,
                         &C::encoderB2LimitFirst, &C::encoderB2LimitSecond})
        EXPECT_FALSE((c.*field).defined);
    EXPECT_EQ(c.encoderC1LimitFirst.value, 65535u);
    EXPECT_EQ(c.encoderC1LimitSecond.value, 65535u);
}
