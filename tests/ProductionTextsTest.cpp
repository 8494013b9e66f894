// SPDX-License-Identifier: Apache-2.0
#include "support/FieldChecks.h"

using namespace Vmc::testing;
using C = Vmc::VellMetadataContainer;

const char* const kAbsent = nullptr; // the header field stays all 0xFF
const char* const kEarlier = "earlier";

template <std::size_t N>
static void setUnlessAbsent(HeaderImage& image, Vmc::decoding::At<unsigned char[N]> at, const char* text)
{
    if (text != kAbsent)
        image.setText(at, text);
}

TEST(ProductionTexts, StoredUnchangedAndChosenByFallback)
{
    // Primary: the first usable of C, D, B; secondary: of B, A, D.
    const struct { const char *a, *b, *c, *d, *primary, *secondary; } cases[] = {
        {"A", "B", kAbsent, kAbsent, "B", "B"}, {"A", kAbsent, kAbsent, kAbsent, kEarlier, "A"},
        {kAbsent, kAbsent, "", "D", "D", "D"},  {"A", "B", "C", "D", "C", "B"},
        {kAbsent, "B", kAbsent, "D", "D", "B"}, {"A", "", kAbsent, "D", "D", "A"},
        {"", "", "", "", kEarlier, kEarlier},
    };
    const auto stored = [](const char* header) { return header == kAbsent || !*header ? kEarlier : header; };
    for (const auto& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        setUnlessAbsent(image, VMC_AT(productionTextA), k.a);
        setUnlessAbsent(image, VMC_AT(productionTextB), k.b);
        setUnlessAbsent(image, VMC_AT(productionTextC), k.c);
        setUnlessAbsent(image, VMC_AT(productionTextD), k.d);
        const Decoded d = decode(image, earlier());
        const auto row = &k - cases;
        EXPECT_STREQ(d.c.primaryProductionText.text, k.primary) << row;
        EXPECT_STREQ(d.c.secondaryProductionText.text, k.secondary) << row;
        EXPECT_STREQ(d.c.productionTextA.text, stored(k.a)) << row;
        EXPECT_STREQ(d.c.productionTextB.text, stored(k.b)) << row;
        EXPECT_STREQ(d.c.productionTextC.text, stored(k.c)) << row;
        EXPECT_STREQ(d.c.productionTextD.text, stored(k.d)) << row;
    }
}

TEST(ProductionTexts, FreeTextsAndExtraFloat)
{
    HeaderImage image = headerWith(VMC_AT(longUserText), std::string(256, 'L'), VMC_AT(extraFloatValue), 1.5f);
    image.setBytes(VMC_AT(shortText), {0xFF, 'A', 0}); // only all 0xFF is unwritten
    Decoded d = decode(image);
    EXPECT_EQ(textOf(d.c.longUserText), std::string(256, 'L')); // fills the field, no NUL
    EXPECT_STREQ(textOf(d.c.shortText), "\xFF" "A");
    EXPECT_EQ(valueOf(d.c.extraFloatValue), 1.5f);

    d = decode(headerWith(VMC_AT(longUserText), "", VMC_AT(extraFloatValue), std::nanf("7"))); // any NaN
    EXPECT_FALSE(d.c.longUserText.defined || d.c.shortText.defined || d.c.extraFloatValue.defined);
}

TEST(ProductionTexts, RecorderTexts)
{
    const struct { const char *header, *manufacturer, *model, *identifier, *details; } cases[] = {
        {"Codex Digital;X;1.SIM2.3", "Codex Digital", "SIM2", "X", "1.SIM2.3"},
        {"Codex Digital;;7", "Codex Digital", kEarlier, kEarlier, "7"}, // empty parts: untouched
        {"Other Maker;X;1.SIM2.3", kEarlier, kEarlier, kEarlier, kEarlier},
        {"Codex Digital;ID;0123.SIM2.56789", "Codex Digital", "SIM2", "ID", "0123.SIM2.56789"}, // 32 bytes
        {kAbsent, kEarlier, kEarlier, kEarlier, kEarlier},
    };
    for (const auto& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        setUnlessAbsent(image, VMC_AT(recorderInfo), k.header);
        const Decoded d = decode(image, earlier());
        EXPECT_STREQ(d.c.recorderManufacturer.text, k.manufacturer);
        EXPECT_STREQ(d.c.recorderModel.text, k.model);
        EXPECT_STREQ(d.c.recorderIdentifier.text, k.identifier);
        EXPECT_STREQ(d.c.recorderDetails.text, k.details);
    }
}

TEST(ProductionTexts, HardwareIdentifierAndUuid)
{
    // The identifier's bytes from the field's start; the rest stays 0xFF.
    const struct {
        std::uint32_t high, low;
        std::initializer_list<unsigned char> uuid;
        const char *hardwareId, *uuidText;
    } cases[] = {
        {0x0012ABCD, 0x00000001, {0x12, 0x34, 0xAB, 0xCD, 0xEF, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0x01,
                                  0x23, 0x45}, "0012ABCD00000001", "1234ABCD-EF01-2345-6789-ABCDEF012345"},
        {0, 0, {0x41, 0x00}, "0000000000000000", "4100FFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF"}, // a later NUL counts not
        {kUnwritten, 1, {0x00, 0x12}, kEarlier, kEarlier}, // a leading 0 byte: no identifier
        {1, kUnwritten, {}, kEarlier, kEarlier},
    };
    for (const auto& k : cases) {
        HeaderImage image = headerWith(VMC_AT(hardwareIdHigh), k.high, VMC_AT(hardwareIdLow), k.low);
        image.setBytes(VMC_AT(uuidBytes), k.uuid);
        const Decoded d = decode(image, earlier());
        EXPECT_STREQ(d.c.hardwareId.text, k.hardwareId);
        EXPECT_STREQ(d.c.uuid.text, k.uuidText);
    }
}

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
