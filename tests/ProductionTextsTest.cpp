#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "support/Decode.h"

using Vmc::testing::decode;
using Vmc::testing::Decoded;
using Vmc::testing::HeaderImage;

namespace {

constexpr std::uint32_t kUnwritten = 0xFFFFFFFF;
const char* const kAbsent = nullptr; // the header field stays all 0xFF
const char* const kEarlier = "earlier";

// Texts from an earlier header, to see what a decoding leaves untouched.
Vmc::VellMetadataContainer used()
{
    Vmc::VellMetadataContainer c;
    for (MetaString* text :
         {&c.longUserText, &c.primaryProductionText, &c.secondaryProductionText, &c.productionTextA,
          &c.productionTextB, &c.productionTextC, &c.productionTextD, &c.recorderManufacturer, &c.recorderModel,
          &c.recorderIdentifier, &c.recorderDetails, &c.shortText, &c.hardwareId, &c.uuid})
        *text = kEarlier;
    return c;
}

template <std::size_t N>
void setUnlessAbsent(HeaderImage& image, Vmc::decoding::At<unsigned char[N]> at, const char* text)
{
    if (text != kAbsent)
        image.setText(at, text);
}

} // namespace

TEST(ProductionTexts, StoredUnchangedAndChosenByFallback)
{
    const struct {
        const char *a, *b, *c, *d;
        const char* primary;   // first usable of C, D, B
        const char* secondary; // first usable of B, A, D
    } cases[] = {
        {"A", "B", kAbsent, kAbsent, "B", "B"},
        {"A", kAbsent, kAbsent, kAbsent, kEarlier, "A"},
        {kAbsent, kAbsent, "", "D", "D", "D"},
        {"A", "B", "C", "D", "C", "B"},
        {kAbsent, "B", kAbsent, "D", "D", "B"},
        {"A", "", kAbsent, "D", "D", "A"},
        {"", "", "", "", kEarlier, kEarlier},
    };
    const auto stored = [](const char* header) { return header == kAbsent || !*header ? kEarlier : header; };
    for (const auto& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        setUnlessAbsent(image, VMC_AT(productionTextA), k.a);
        setUnlessAbsent(image, VMC_AT(productionTextB), k.b);
        setUnlessAbsent(image, VMC_AT(productionTextC), k.c);
        setUnlessAbsent(image, VMC_AT(productionTextD), k.d);
        const Decoded d = decode(image, used());
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
    HeaderImage image = HeaderImage::decodable();
    image.setText(VMC_AT(longUserText), std::string(256, 'L')); // no NUL
    image.setBytes(VMC_AT(shortText), {0xFF, 'A', 0});          // only all 0xFF is unwritten
    image.set(VMC_AT(extraFloatValue), 1.5f);
    Decoded d = decode(image, used());
    EXPECT_EQ(std::string(d.c.longUserText.text), std::string(256, 'L'));
    EXPECT_STREQ(d.c.shortText.text, "\xFF" "A");
    EXPECT_EQ(d.c.extraFloatValue.value, 1.5f);

    image.setText(VMC_AT(longUserText), ""); // empty: untouched
    image.fill(VMC_AT(shortText), 0xFF);
    image.set(VMC_AT(extraFloatValue), std::nanf("7"));
    d = decode(image, used());
    EXPECT_STREQ(d.c.longUserText.text, kEarlier);
    EXPECT_STREQ(d.c.shortText.text, kEarlier);
    EXPECT_FALSE(d.c.extraFloatValue.defined);
}

TEST(ProductionTexts, RecorderTexts)
{
    const struct {
        const char* header;
        const char *manufacturer, *model, *identifier, *details;
    } cases[] = {
        {"Codex Digital;X;1.SIM2.3", "Codex Digital", "SIM2", "X", "1.SIM2.3"},
        {"Codex Digital;;7", "Codex Digital", kEarlier, kEarlier, "7"}, // empty parts: untouched
        {"Other Maker;X;1.SIM2.3", kEarlier, kEarlier, kEarlier, kEarlier},
        {"Codex Digital;ID;0123.SIM2.56789", "Codex Digital", "SIM2", "ID", "0123.SIM2.56789"}, // 32 bytes
        {kAbsent, kEarlier, kEarlier, kEarlier, kEarlier},
    };
    for (const auto& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        setUnlessAbsent(image, VMC_AT(recorderInfo), k.header);
        const Decoded d = decode(image, used());
        EXPECT_STREQ(d.c.recorderManufacturer.text, k.manufacturer);
        EXPECT_STREQ(d.c.recorderModel.text, k.model);
        EXPECT_STREQ(d.c.recorderIdentifier.text, k.identifier);
        EXPECT_STREQ(d.c.recorderDetails.text, k.details);
    }
}

TEST(ProductionTexts, HardwareIdentifierAndUuid)
{
    const struct {
        std::uint32_t high, low;
        std::initializer_list<unsigned char> uuid; // from the field's start; the rest stays 0xFF
        const char* hardwareId;
        const char* uuidText;
    } cases[] = {
        {0x0012ABCD, 0x00000001, {0x12, 0x34, 0xAB, 0xAB, 0xAB, 0xAB, 0xAB, 0xAB, 0xAB, 0xAB, 0xAB, 0xAB, 0xAB, 0xAB,
                                  0xAB, 0xAB},
         "0012ABCD00000001", "1234ABAB-ABAB-ABAB-ABAB-ABABABABABAB"},
        // A NUL after the first byte does not shorten the identifier.
        {0, 0, {0x41, 0x00}, "0000000000000000", "4100FFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF"},
        {kUnwritten, 1, {0x00, 0x12}, kEarlier, kEarlier}, // a leading 0 byte: no identifier
        {1, kUnwritten, {}, kEarlier, kEarlier},
    };
    for (const auto& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        image.set(VMC_AT(hardwareIdHigh), k.high);
        image.set(VMC_AT(hardwareIdLow), k.low);
        image.setBytes(VMC_AT(uuidBytes), k.uuid);
        const Decoded d = decode(image, used());
        EXPECT_STREQ(d.c.hardwareId.text, k.hardwareId);
        EXPECT_STREQ(d.c.uuid.text, k.uuidText);
    }
}
