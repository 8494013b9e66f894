// SPDX-License-Identifier: Apache-2.0
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

#include "Decoding.h"
#include "TextRules.h"
#include "Unwritten.h"

namespace Vmc::decoding {

namespace {

// The first usable text of the three, in order, or null.
const FieldText* firstUsable(const FieldText& a, const FieldText& b, const FieldText& c)
{
    for (const FieldText* text : {&a, &b, &c}) {
        if (text->usable())
            return text;
    }
    return nullptr;
}

void assignIfUsable(MetaString& target, const FieldText* text)
{
    if (text != nullptr && text->usable())
        assignText(target, text->c_str());
}

void assignIfNotEmpty(MetaString& target, const std::string& part)
{
    if (!part.empty())
        assignText(target, part.c_str());
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

    const FieldText textA = boundedText(h.read(VMC_AT(productionTextA)));
    const FieldText textB = boundedText(h.read(VMC_AT(productionTextB)));
    const FieldText textC = boundedText(h.read(VMC_AT(productionTextC)));
    const FieldText textD = boundedText(h.read(VMC_AT(productionTextD)));
    assignIfUsable(c.primaryProductionText, firstUsable(textC, textD, textB));
    assignIfUsable(c.productionTextB, &textB);
    assignIfUsable(c.productionTextA, &textA);
    assignIfUsable(c.productionTextD, &textD);
    assignIfUsable(c.productionTextC, &textC);
    assignIfUsable(c.secondaryProductionText, firstUsable(textB, textA, textD));

    const float extra = h.read(VMC_AT(extraFloatValue));
    if (!unwritten(extra))
        c.extraFloatValue.set(extra);

    const FieldText recorder = boundedText(h.read(VMC_AT(recorderInfo)));
    if (recorder.usable()) {
        const RecorderInfo parts = parseRecorderInfo(std::string(recorder.view()));
        assignIfNotEmpty(c.recorderManufacturer, parts.manufacturer);
        assignIfNotEmpty(c.recorderModel, parts.model);
        assignIfNotEmpty(c.recorderIdentifier, parts.identifier);
        assignIfNotEmpty(c.recorderDetails, parts.details);
    }

    assignBoundedText(c.shortText, h.read(VMC_AT(shortText)));

    // The high word's bytes, then the low word's, each from the most
    // significant byte down.
    const std::uint32_t low = h.read(VMC_AT(hardwareIdLow));
    const std::uint32_t high = h.read(VMC_AT(hardwareIdHigh));
    if (!unwritten(low) && !unwritten(high)) {
        unsigned char bytes[8];
        for (int i = 0; i < 4; ++i) {
            bytes[i] = static_cast<unsigned char>(high >> (24 - 8 * i));
            bytes[4 + i] = static_cast<unsigned char>(low >> (24 - 8 * i));
        }
        FixedText<16> hex;
        hex.appendHex(bytes, sizeof bytes);
        assignText(c.hardwareId, hex.c_str());
    }
    return Next::Continue;
}

Next decodeUuid(Decoding& d)
{
    // Written only when its bytes, read as a text, are neither unwritten nor
    // empty: a leading 0 byte means no identifier.
    const Bytes field = d.header.read(VMC_AT(uuidBytes));
    if (unwritten(field.data, field.size) || field.data[0] == 0)
        return Next::Continue;

    // 8-4-4-4-12 hexadecimal digits: the bytes in groups of 4, 2, 2, 2 and 6.
    const unsigned char* u = field.data;
    FixedText<36> text;
    text.appendHex(u, 4).append('-').appendHex(u + 4, 2).append('-').appendHex(u + 6, 2).append('-');
    text.appendHex(u + 8, 2).append('-').appendHex(u + 10, 6);
    assignText(d.out.uuid, text.c_str());
    return Next::Continue;
}

} // namespace Vmc::decoding
