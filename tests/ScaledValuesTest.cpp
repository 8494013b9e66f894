#include <VellMetadataContainer/FieldDescription.h>

#include <string>

#include <gtest/gtest.h>

#include "support/Decode.h"
#include "support/HeaderImage.h"

using Vmc::VellMetadataContainer;
using Vmc::testing::Decoded;
using Vmc::testing::HeaderImage;
using Vmc::testing::decode;
using C = VellMetadataContainer;

namespace {

const std::string kMasterSlaveMessage =
    "Unknown Master/Slave setup configuration in VELLRAW header; enumeration value is `";
const std::string kChannelMessage = "Unknown channel setup configuration in VELLRAW header; enumeration value is `";

constexpr std::uint32_t kUnwritten = 0xFFFFFFFF;

} // namespace

TEST(ScaledValues, IntegralValueIsTheNearestFloat)
{
    const struct {
        std::uint32_t word;
        float value;
    } cases[] = {{0, 0.0f}, {16777217, 16777216.0f}, {0xFFFFFFFE, 4294967296.0f}, {0x80000000, 2147483648.0f}};
    for (const auto& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(integralWord), k.word);
        const C c = decode(image).c;
        EXPECT_TRUE(c.integralValue.defined) << k.word;
        EXPECT_EQ(c.integralValue.value, k.value) << k.word;
    }
    EXPECT_FALSE(decode(HeaderImage::decodable()).c.integralValue.defined);
}

TEST(ScaledValues, SignedTenthsFromTheLowHalf)
{
    const struct {
        std::uint32_t word;
        float value;
    } cases[] = {
        {250, 25.0f},           {0x0000FFF6, -1.0f},          {0x00010005, 0.5f}, // upper half ignored
        {0x00008000, -3276.8f}, {0x00007FFF, 3276.7f},        {0xFFFFFFFE, -0.2f}, // not the sentinel
        {0, 0.0f},              {0xFFFF0000, 0.0f},
    };
    for (const auto& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(tenthsWord1), k.word);
        image.set(VMC_AT(tenthsWord2), k.word);
        const C c = decode(image).c;
        for (const MetaField<float>* field : {&c.tenthsValue1, &c.tenthsValue2}) {
            EXPECT_TRUE(field->defined) << std::hex << k.word;
            EXPECT_EQ(field->value, k.value) << std::hex << k.word;
        }
    }
    const C c = decode(HeaderImage::decodable()).c;
    EXPECT_FALSE(c.tenthsValue1.defined);
    EXPECT_FALSE(c.tenthsValue2.defined);
}

TEST(ScaledValues, SetupLabelsTagsAndFailures)
{
    struct Case {
        std::uint32_t masterSlave;
        std::uint32_t channel;
        std::uint32_t tagWord;
        const char* masterSlaveLabel; // null: left undefined
        const char* channelLabel;
        const char* tag;
        std::string message; // empty: no failure
    };
    const Case cases[] = {
        {0, 0, 0x52494731, "OFF", "SINGLE", nullptr, ""},
        {1, 1, 0x52494731, "MASTER", "LEFT", "RIG1", ""},
        {2, 2, 0x52494731, "SLAVE", "RIGHT", "RIG1", ""},
        {0, 3, 0x52494731, "OFF", "MULTI", nullptr, ""},
        {0, 1, 0x00414243, "OFF", "LEFT", "", ""}, // a zero top byte: empty, still defined
        {0, 2, 0x41004243, "OFF", "RIGHT", "A", ""},
        {0, 1, kUnwritten, "OFF", "LEFT", nullptr, ""},
        {kUnwritten, kUnwritten, 0x52494731, nullptr, nullptr, nullptr, ""},
        {3, 1, 0x52494731, nullptr, "LEFT", "RIG1", kMasterSlaveMessage + "3'"},
        {0xFFFFFFFE, 0, kUnwritten, nullptr, "SINGLE", nullptr, kMasterSlaveMessage + "4294967294'"},
        {1, 9, 0x52494731, "MASTER", nullptr, nullptr, kChannelMessage + "9'"},
        {3, 4, 0x52494731, nullptr, nullptr, nullptr, kChannelMessage + "4'"}, // the later failure is returned
    };
    for (const Case& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(masterSlaveSetup), k.masterSlave);
        image.set(VMC_AT(channelSetup), k.channel);
        image.set(VMC_AT(channelTagWord), k.tagWord);
        const Decoded d = decode(image);
        const std::string context = std::to_string(k.masterSlave) + "/" + std::to_string(k.channel);

        EXPECT_EQ(d.isError, !k.message.empty()) << context;
        EXPECT_EQ(d.code, 0u) << context;
        EXPECT_EQ(d.message, k.message) << context;
        const std::pair<const MetaString*, const char*> fields[] = {
            {&d.c.masterSlaveSetup, k.masterSlaveLabel}, {&d.c.channelSetup, k.channelLabel}, {&d.c.channelTag, k.tag}};
        for (const auto& [field, expected] : fields) {
            if (expected == nullptr) {
                EXPECT_FALSE(field->defined) << context;
            } else {
                EXPECT_TRUE(field->defined) << context;
                EXPECT_STREQ(field->text, expected) << context;
            }
        }
    }
}

TEST(ScaledValues, DecodingGoesOnAfterAnUnknownSetup)
{
    HeaderImage image = HeaderImage::decodable();
    image.set(VMC_AT(masterSlaveSetup), 3u);
    image.set(VMC_AT(channelSetup), 9u);
    image.set(VMC_AT(switchWord4), 1u);
    image.setText(VMC_AT(groupName2), "after");
    const Decoded d = decode(image);
    EXPECT_TRUE(d.isError);
    EXPECT_EQ(d.code, 0u);
    EXPECT_TRUE(d.c.switch4.defined);
    EXPECT_STREQ(d.c.groupName2.text, "after");
}
