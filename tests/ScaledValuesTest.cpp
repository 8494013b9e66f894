// SPDX-License-Identifier: Apache-2.0
#include "support/FieldChecks.h"

using namespace Vmc::testing;

TEST(ScaledValues, IntegralAndSignedTenths)
{
    // The tenths come from the signed low half; the integral value is the
    // nearest float.
    const struct { std::uint32_t word; std::optional<float> integral, tenths; } cases[] = {
        {0, 0.0f, 0.0f}, {250, 250.0f, 25.0f}, {0x0000FFF6, 65526.0f, -1.0f}, {0x00010005, 65541.0f, 0.5f},
        {0x00008000, 32768.0f, -3276.8f}, {0x00007FFF, 32767.0f, 3276.7f}, {0xFFFF0000, 4294901760.0f, 0.0f},
        {16777217, 16777216.0f, 0.1f}, {0x80000000, 2147483648.0f, 0.0f}, {kUnwritten, std::nullopt, std::nullopt},
        {0xFFFFFFFE, 4294967296.0f, -0.2f}, // not the sentinel
    };
    for (const auto& k : cases) {
        const Decoded d = decode(headerWith(VMC_AT(integralWord), k.word, VMC_AT(tenthsWord1), k.word,
                                            VMC_AT(tenthsWord2), k.word));
        EXPECT_EQ(valueOf(d.c.integralValue), k.integral) << std::hex << k.word;
        EXPECT_EQ(std::pair(valueOf(d.c.tenthsValue1), valueOf(d.c.tenthsValue2)), std::pair(k.tenths, k.tenths))
            << std::hex << k.word;
    }
}

TEST(ScaledValues, SetupLabelsTagsAndFailuresThatGoOn)
{
    const std::string masterSlave =
        "Unknown Master/Slave setup configuration in VELLRAW header; enumeration value is `";
    const std::string channel = "Unknown channel setup configuration in VELLRAW header; enumeration value is `";
    // A null label is left undefined; an empty message means no failure.
    const struct { std::uint32_t masterSlave, channel, tagWord; const char *masterSlaveLabel, *channelLabel, *tag;
                   std::string message; } cases[] = {
        {0, 0, 0x52494731, "OFF", "SINGLE", nullptr, ""},
        {1, 1, 0x52494731, "MASTER", "LEFT", "RIG1", ""},
        {2, 2, 0x52494731, "SLAVE", "RIGHT", "RIG1", ""},
        {0, 3, 0x52494731, "OFF", "MULTI", nullptr, ""},
        {0, 1, 0x00414243, "OFF", "LEFT", "", ""}, // a zero top byte: empty, still defined
        {0, 2, 0x41004243, "OFF", "RIGHT", "A", ""},
        {0, 1, kUnwritten, "OFF", "LEFT", nullptr, ""},
        {kUnwritten, kUnwritten, 0x52494731, nullptr, nullptr, nullptr, ""},
        {3, 1, 0x52494731, nullptr, "LEFT", "RIG1", masterSlave + "3'"},
        {0xFFFFFFFE, 0, kUnwritten, nullptr, "SINGLE", nullptr, masterSlave + "4294967294'"},
        {1, 9, 0x52494731, "MASTER", nullptr, nullptr, channel + "9'"},
        {3, 4, 0x52494731, nullptr, nullptr, nullptr, channel + "4'"}, // the later failure is returned
    };
    for (const auto& k : cases) {
        const Decoded d = decode(headerWith(VMC_AT(masterSlaveSetup), k.masterSlave, VMC_AT(channelSetup), k.channel,
                                            VMC_AT(channelTagWord), k.tagWord, VMC_AT(groupName2), "after"));
        SCOPED_TRACE(std::to_string(k.masterSlave) + "/" + std::to_string(k.channel));
        EXPECT_EQ(d.isError, !k.message.empty());
        EXPECT_EQ(d.code, 0u);
        EXPECT_EQ(d.message, k.message);
        EXPECT_STREQ(textOf(d.c.masterSlaveSetup), k.masterSlaveLabel);
        EXPECT_STREQ(textOf(d.c.channelSetup), k.channelLabel);
        EXPECT_STREQ(textOf(d.c.channelTag), k.tag);
        EXPECT_STREQ(textOf(d.c.groupName2), "after"); // decoding went on
    }
}
