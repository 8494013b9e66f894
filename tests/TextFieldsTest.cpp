#include <VellMetadataContainer/FieldDescription.h>

#include <string>

#include <gtest/gtest.h>

#include "support/Decode.h"
#include "support/HeaderImage.h"

using Vmc::VellMetadataContainer;
using Vmc::decoding::At;
using Vmc::testing::HeaderImage;
using Vmc::testing::decode;
using C = VellMetadataContainer;

namespace {

void expectText(const MetaString& field, const char* expected, const std::string& context)
{
    if (expected == nullptr) {
        EXPECT_FALSE(field.defined) << context;
    } else {
        EXPECT_TRUE(field.defined) << context;
        EXPECT_STREQ(field.text, expected) << context;
    }
}

} // namespace

TEST(TextFields, SwitchFour)
{
    const struct {
        std::uint32_t word;
        bool defined;
        bool on;
    } cases[] = {{0, true, false}, {1, true, true}, {2, true, false}, {0xFFFFFFFE, true, false}, {0xFFFFFFFF, false, false}};
    for (const auto& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(switchWord4), k.word);
        const C c = decode(image).c;
        EXPECT_EQ(c.switch4.defined != 0, k.defined) << k.word;
        if (k.defined) {
            EXPECT_EQ(c.switch4.value, k.on) << k.word;
        }
    }
}

TEST(TextFields, NoneWordOfTheFourthText)
{
    const struct {
        std::string bytes;
        const char* stored; // null: left undefined
    } cases[] = {
        {"NONE", "None"},
        {"NONE1", "NONE1"},
        {"None", "None"},
        {"none", "none"},
        {"NON", "NON"},
        {"", nullptr},
        {"ABCDEFGHIJKLMNOPQRSTUVWX", "ABCDEFGHIJKLMNOPQRSTUVWX"}, // fills the field, no NUL
    };
    for (const auto& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.setText(VMC_AT(auxiliaryText4), k.bytes);
        expectText(decode(image).c.auxiliaryText4, k.stored, k.bytes);
    }
    expectText(decode(HeaderImage::decodable()).c.auxiliaryText4, nullptr, "unwritten");
}

TEST(TextFields, BoundedTextsStopAtTheirWidth)
{
    HeaderImage image = HeaderImage::decodable();
    image.setText(VMC_AT(auxiliaryText2), "SIXTEEN-LETTERS!");
    image.setText(VMC_AT(auxiliaryText3), "EIGHTCHR");
    image.setText(VMC_AT(productionTextA), "next field"); // right after auxiliaryText3
    const C c = decode(image).c;
    expectText(c.auxiliaryText2, "SIXTEEN-LETTERS!", "auxiliaryText2");
    expectText(c.auxiliaryText3, "EIGHTCHR", "auxiliaryText3");
}

TEST(TextFields, LongTextsGoToTheirOwnFields)
{
    const struct {
        At<unsigned char[32]> header;
        MetaString C::*field;
        const char* text;
    } texts[] = {
        {VMC_AT(longText1), &C::longText1, "one"},   {VMC_AT(longText2), &C::longText2, "two"},
        {VMC_AT(longText3), &C::longText3, "three"}, {VMC_AT(longText4), &C::longText4, "four"},
        {VMC_AT(longText5), &C::longText5, "five"},
    };
    HeaderImage image = HeaderImage::decodable();
    for (const auto& t : texts)
        image.setText(t.header, t.text);
    C c = decode(image).c;
    for (const auto& t : texts)
        expectText(c.*t.field, t.text, t.text);

    // Only a field that is 0xFF throughout is unwritten; an empty text is not
    // stored either.
    HeaderImage edges = HeaderImage::decodable();
    edges.setBytes(VMC_AT(longText1), {0x00});
    unsigned char* longText2 = edges.data() + texts[1].header.offset;
    longText2[31] = 0x41;
    c = decode(edges).c;
    expectText(c.longText1, nullptr, "NUL, then 0xFF");
    expectText(c.longText2, (std::string(31, '\xFF') + "A").c_str(), "31 bytes 0xFF, then A");
    expectText(c.longText3, nullptr, "unwritten");
}

TEST(TextFields, EighthTimeCode)
{
    HeaderImage image = HeaderImage::decodable();
    image.set(VMC_AT(timeCode8), VellRawMeta::TC_Struct{0x01020304, 0xFFFFFFFF, 0x80005DC0, 7});
    C c = decode(image).c;
    ASSERT_TRUE(c.timeCode8.defined);
    EXPECT_EQ(c.timeCode8.value.bcdTime, 0x01020304u);
    EXPECT_EQ(c.timeCode8.value.word1, 0xFFFFFFFFu);
    EXPECT_EQ(c.timeCode8.value.rateAndDropFrame, 0x80005DC0u);
    EXPECT_EQ(c.timeCode8.value.word3, 7u);

    // Only the BCD word decides.
    image.set(VMC_AT(timeCode8), VellRawMeta::TC_Struct{0xFFFFFFFF, 1, 2, 3});
    EXPECT_FALSE(decode(image).c.timeCode8.defined);
}
