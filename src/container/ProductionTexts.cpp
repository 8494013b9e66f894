// Production texts, recorder information and identifiers.
//
//   longUserText     1432  256 bytes  all 0xFF or empty: absent
//   productionTextA  1304  32 bytes   each all 0xFF or empty: absent; stored
//   productionTextB  1336  32 bytes   unchanged, and chosen from for the
//   productionTextC  1368  32 bytes   primary text (first of C, D, B) and the
//   productionTextD  1400  32 bytes   secondary text (first of B, A, D)
//   extraFloatValue  196   f32        NaN: absent
//   recorderInfo     676   32 bytes   all 0xFF or empty: absent; split into four parts
//   shortText        1272  8 bytes    all 0xFF or empty: absent
//   hardwareIdLow    616   u32        \ either 0xFFFFFFFF: absent;
//   hardwareIdHigh   620   u32        / 16 hex digits, high word first
//   uuidBytes        720   16 bytes   all 0xFF, or first byte 0: absent; 8-4-4-4-12 hex text
#include <cstdint>
#include <string>

#include <VellMetadataContainer/RecorderInfo.h>
#include <VellMetadataContainer/Sentinels.h>
#include <VellMetadataContainer/StringHelpers.h>

#include "Decoding.h"
#include "TextRules.h"

namespace Vmc::decoding {

namespace {

// The first usable text of the three, in order, or null.
const HeapText* firstUsable(const HeapText& a, const HeapText& b, const HeapText& c)
{
    for (const HeapText* text : {&a, &b, &c}) {
        if (text->usable())
            return text;
    }
    return nullptr;
}

void assignIfUsable(MetaString& target, const HeapText* text)
{
    if (text != nullptr && text->usable())
        target = text->get();
}

void assignIfNotEmpty(MetaString& target, const std::string& text)
{
    if (!text.empty())
        target = text.c_str();
}

} // namespace

Next decodeLongUserText(Decoding& d)
{
    assignBoundedText(d.out.longUserText, d.header.read(VMC_AT(longUserText)));
    return Next::Continue;
}

Next decodeProductionTextsRecorderAndHardwareId(Decoding& d)
{
    const HeaderView& h = d.header;
    VellMetadataContainer& c = d.out;

    const HeapText textA = boundedCopy(h.read(VMC_AT(productionTextA)));
    const HeapText textB = boundedCopy(h.read(VMC_AT(productionTextB)));
    const HeapText textC = boundedCopy(h.read(VMC_AT(productionTextC)));
    const HeapText textD = boundedCopy(h.read(VMC_AT(productionTextD)));
    assignIfUsable(c.primaryProductionText, firstUsable(textC, textD, textB));
    assignIfUsable(c.productionTextB, &textB);
    assignIfUsable(c.productionTextA, &textA);
    assignIfUsable(c.productionTextD, &textD);
    assignIfUsable(c.productionTextC, &textC);
    assignIfUsable(c.secondaryProductionText, firstUsable(textB, textA, textD));

    const float extra = h.read(VMC_AT(extraFloatValue));
    if (!uninitializedField(extra))
        c.extraFloatValue.set(extra);

    const HeapText recorder = boundedCopy(h.read(VMC_AT(recorderInfo)));
    if (recorder.usable()) {
        const RecorderInfo info = parseRecorderInfo(recorder.get());
        assignIfNotEmpty(c.recorderManufacturer, info.manufacturer);
        assignIfNotEmpty(c.recorderModel, info.model);
        assignIfNotEmpty(c.recorderIdentifier, info.identifier);
        assignIfNotEmpty(c.recorderDetails, info.details);
    }

    assignBoundedText(c.shortText, h.read(VMC_AT(shortText)));

    const std::uint32_t low = h.read(VMC_AT(hardwareIdLow));
    const std::uint32_t high = h.read(VMC_AT(hardwareIdHigh));
    if (!uninitializedField(low) && !uninitializedField(high)) {
        const std::string bytes = fourCharacters(high) + fourCharacters(low);
        c.hardwareId = hexStringFromU8Array(reinterpret_cast<const unsigned char*>(bytes.data()), 8).c_str();
    }
    return Next::Continue;
}

Next decodeUuid(Decoding& d)
{
    // Written only when its bytes, read as a text, are neither unwritten nor
    // empty: a leading 0 byte means no identifier.
    const Bytes field = d.header.read(VMC_AT(uuidBytes));
    if (!boundedCopy(field).usable())
        return Next::Continue;
    const unsigned char* u = field.data;
    const std::string text = hexStringFromU8Array(u, 4) + "-" + hexStringFromU8Array(u + 4, 2) + "-" +
                             hexStringFromU8Array(u + 6, 2) + "-" + hexStringFromU8Array(u + 8, 2) + "-" +
                             hexStringFromU8Array(u + 10, 6);
    d.out.uuid = text.c_str();
    return Next::Continue;
}

} // namespace Vmc::decoding
