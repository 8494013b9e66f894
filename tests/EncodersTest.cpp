#include <VellMetadataContainer/FieldDescription.h>

#include <gtest/gtest.h>

#include "support/Decode.h"
#include "support/HeaderImage.h"

using Vmc::VellMetadataContainer;
using Vmc::testing::HeaderImage;
using Vmc::testing::decode;
using C = VellMetadataContainer;
using Number = MetaField<std::uint32_t> C::*;

namespace {

// Every encoder, set and limit holds a value of its own, so that a field read
// from the wrong word shows: hundreds the encoder, tens the set, units the
// limit (0 the reading).
HeaderImage allEncodersWritten()
{
    HeaderImage image = HeaderImage::decodable();
    image.set(VMC_AT(rawEncoderA), 110, 120);
    image.set(VMC_AT(rawEncoderB), 210, 220);
    image.set(VMC_AT(rawEncoderC), 310, 320);
    image.set(VMC_AT(encoderLimitsA1), 111, 112);
    image.set(VMC_AT(encoderLimitsB1), 211, 212);
    image.set(VMC_AT(encoderLimitsC1), 311, 312);
    image.set(VMC_AT(encoderLimitsA2), 121, 122);
    image.set(VMC_AT(encoderLimitsB2), 221, 222);
    image.set(VMC_AT(encoderLimitsC2), 321, 322);
    image.set(VMC_AT(encoderModeByte1), 1);
    image.set(VMC_AT(encoderParameterByte1), 0xFF);
    image.set(VMC_AT(encoderModeByte2), 0);
    image.set(VMC_AT(encoderParameterByte2), 9);
    return image;
}

struct Expected {
    Number field;
    std::uint32_t value;
};

const Expected kSet1[] = {
    {&C::encoderA1Raw, 110},         {&C::encoderA1LimitFirst, 111}, {&C::encoderA1LimitSecond, 112},
    {&C::encoderB1Raw, 210},         {&C::encoderB1LimitFirst, 211}, {&C::encoderB1LimitSecond, 212},
    {&C::encoderC1Raw, 310},         {&C::encoderC1LimitFirst, 311}, {&C::encoderC1LimitSecond, 312},
    {&C::encoderParameter1, 255},
};
const Expected kSet2[] = {
    {&C::encoderA2Raw, 120},         {&C::encoderA2LimitFirst, 121}, {&C::encoderA2LimitSecond, 122},
    {&C::encoderB2Raw, 220},         {&C::encoderB2LimitFirst, 221}, {&C::encoderB2LimitSecond, 222},
    {&C::encoderC2Raw, 320},         {&C::encoderC2LimitFirst, 321}, {&C::encoderC2LimitSecond, 322},
    {&C::encoderParameter2, 9},
};

template <std::size_t N>
void expectStored(const C& c, const Expected (&fields)[N], const char* context)
{
    for (const Expected& e : fields) {
        EXPECT_TRUE((c.*e.field).defined) << context << " " << e.value;
        EXPECT_EQ((c.*e.field).value, e.value) << context;
    }
}

template <std::size_t N>
void expectUntouched(const C& c, const Expected (&fields)[N], const char* context)
{
    for (const Expected& e : fields)
        EXPECT_FALSE((c.*e.field).defined) << context << " " << e.value;
}

} // namespace

TEST(Encoders, EachFieldComesFromItsOwnWord)
{
    const C c = decode(allEncodersWritten()).c;
    expectStored(c, kSet1, "set 1");
    expectStored(c, kSet2, "set 2");
    EXPECT_STREQ(c.encoderMode1.text, "CONSTANT");
    EXPECT_STREQ(c.encoderMode2.text, "NONE");
}

TEST(Encoders, ModeLabels)
{
    const struct {
        std::uint8_t mode;
        const char* label;
    } cases[] = {{0, "NONE"}, {1, "CONSTANT"}, {2, "UNKNOWN"}, {7, "UNKNOWN"}, {254, "UNKNOWN"}};
    for (const auto& k : cases) {
        HeaderImage image = allEncodersWritten();
        image.set(VMC_AT(encoderModeByte1), k.mode);
        image.set(VMC_AT(encoderModeByte2), k.mode);
        const C c = decode(image).c;
        EXPECT_STREQ(c.encoderMode1.text, k.label) << int(k.mode);
        EXPECT_STREQ(c.encoderMode2.text, k.label) << int(k.mode);
    }
}

TEST(Encoders, SetsArePresentIndependently)
{
    HeaderImage image = allEncodersWritten();
    image.set(VMC_AT(encoderModeByte1), 0xFF);
    C c = decode(image).c;
    expectUntouched(c, kSet1, "set 1 absent");
    EXPECT_FALSE(c.encoderMode1.defined);
    expectStored(c, kSet2, "set 2 without set 1");

    image = allEncodersWritten();
    image.set(VMC_AT(encoderModeByte2), 0xFF);
    c = decode(image).c;
    expectStored(c, kSet1, "set 1 without set 2");
    expectUntouched(c, kSet2, "set 2 absent");
    EXPECT_FALSE(c.encoderMode2.defined);
}

TEST(Encoders, SetTwoNeedsAWrittenLimit)
{
    HeaderImage image = allEncodersWritten();
    image.fill(VMC_AT(encoderLimitsA2), 0xFF);
    image.fill(VMC_AT(encoderLimitsB2), 0xFF);
    image.fill(VMC_AT(encoderLimitsC2), 0xFF);
    C c = decode(image).c;
    expectUntouched(c, kSet2, "no set-2 limit");
    EXPECT_FALSE(c.encoderMode2.defined);

    // One written word anywhere among the six brings the whole set in, the
    // unwritten limits stored as read.
    image.set(VMC_AT(encoderLimitsC2), 0xFFFF, 7);
    c = decode(image).c;
    EXPECT_STREQ(c.encoderMode2.text, "NONE");
    EXPECT_EQ(c.encoderParameter2.value, 9u);
    EXPECT_EQ(c.encoderA2Raw.value, 120u);
    EXPECT_EQ(c.encoderA2LimitFirst.value, 65535u);
    EXPECT_EQ(c.encoderB2LimitSecond.value, 65535u);
    EXPECT_EQ(c.encoderC2LimitFirst.value, 65535u);
    EXPECT_EQ(c.encoderC2LimitSecond.value, 7u);
    EXPECT_TRUE(c.encoderC2LimitFirst.defined);
}

TEST(Encoders, SetOneReadingDecidesForBothSets)
{
    HeaderImage image = allEncodersWritten();
    image.set(VMC_AT(rawEncoderA), 300, 0xFFFF); // set-2 reading stored as read
    image.set(VMC_AT(rawEncoderB), 0xFFFF, 1200); // a valid set-2 reading is skipped
    image.fill(VMC_AT(encoderLimitsC1), 0xFF);  // set-1 limits are not tested
    const C c = decode(image).c;

    EXPECT_EQ(c.encoderA1Raw.value, 300u);
    EXPECT_TRUE(c.encoderA2Raw.defined);
    EXPECT_EQ(c.encoderA2Raw.value, 65535u);

    const Number encoderB[] = {&C::encoderB1Raw,         &C::encoderB1LimitFirst, &C::encoderB1LimitSecond,
                               &C::encoderB2Raw,         &C::encoderB2LimitFirst, &C::encoderB2LimitSecond};
    for (Number field : encoderB)
        EXPECT_FALSE((c.*field).defined);

    EXPECT_EQ(c.encoderC1LimitFirst.value, 65535u);
    EXPECT_EQ(c.encoderC1LimitSecond.value, 65535u);
}
