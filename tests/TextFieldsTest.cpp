#include "support/FieldChecks.h"

using namespace Vmc::testing;
using C = Vmc::VellMetadataContainer;

TEST(TextFields, NoneWordOfTheFourthText)
{
    const std::pair<std::string, const char*> cases[] = { // null: left undefined
        {"NONE", "None"}, {"NONE1", "NONE1"}, {"None", "None"}, {"none", "none"}, {"NON", "NON"}, {"", nullptr},
        {"ABCDEFGHIJKLMNOPQRSTUVWX", "ABCDEFGHIJKLMNOPQRSTUVWX"}, // fills the field, no NUL
    };
    for (const auto& [bytes, stored] : cases)
        EXPECT_STREQ(textOf(decode(headerWith(VMC_AT(auxiliaryText4), bytes)).c.auxiliaryText4), stored) << bytes;
    EXPECT_FALSE(decode(HeaderImage::decodable()).c.auxiliaryText4.defined);
}

TEST(TextFields, BoundedTextsGoToTheirOwnFields)
{
    const std::tuple<Vmc::decoding::At<unsigned char[32]>, MetaString C::*, const char*> texts[] = {
        {VMC_AT(longText1), &C::longText1, "one"},   {VMC_AT(longText2), &C::longText2, "two"},
        {VMC_AT(longText3), &C::longText3, "three"}, {VMC_AT(longText4), &C::longText4, "four"},
        {VMC_AT(longText5), &C::longText5, "five"},
    };
    // Each of the two auxiliary texts fills its field; another text follows.
    HeaderImage image = headerWith(VMC_AT(auxiliaryText2), "SIXTEEN-LETTERS!", VMC_AT(auxiliaryText3), "EIGHTCHR",
                                   VMC_AT(productionTextA), "next field");
    for (const auto& [at, field, text] : texts)
        image.setText(at, text);
    Decoded d = decode(image);
    for (const auto& [at, field, text] : texts)
        EXPECT_STREQ(textOf(d.c.*field), text);
    EXPECT_STREQ(textOf(d.c.auxiliaryText2), "SIXTEEN-LETTERS!");
    EXPECT_STREQ(textOf(d.c.auxiliaryText3), "EIGHTCHR");

    // Only a field that is 0xFF throughout is unwritten; an empty text is not
    // stored either.
    image = HeaderImage::decodable();
    image.setBytes(VMC_AT(longText1), {0x00});
    image.data()[VMC_AT(longText2).offset + 31] = 'A';
    d = decode(image);
    EXPECT_FALSE(d.c.longText1.defined || d.c.longText3.defined);
    EXPECT_EQ(textOf(d.c.longText2), std::string(31, '\xFF') + "A");
}

TEST(TextFields, EighthTimeCodeTestsOnlyItsTimeWord)
{
    const VellRawMeta::TC_Struct written{0x01020304, kUnwritten, 0x80005DC0, 7};
    const Decoded d = decode(headerWith(VMC_AT(timeCode8), written));
    ASSERT_TRUE(d.c.timeCode8.defined);
    EXPECT_TRUE(d.c.timeCode8.value == written);
    const VellRawMeta::TC_Struct unwritten{kUnwritten, 1, 2, 3};
    EXPECT_FALSE(decode(headerWith(VMC_AT(timeCode8), unwritten)).c.timeCode8.defined);
}
