// SPDX-License-Identifier: Apache-2.0
// Bayer colour order, two auxiliary words and time codes 1 to 7.
//
//   bayerColorOrder      316  u32        0xFFFFFFFF: untouched; label; unknown stops (1400)
//   auxiliaryCameraWord  360  u32        copied, untested
//   auxiliaryMilliValue  400  u32        thousandths to float, untested
//   timeCode1..7         440  16 bytes each, back to back; stored whole unless
//                                        the BCD word is 0xFFFFFFFF

#include "Decoding.h"
#include "Unwritten.h"
#include "Labels.h"

namespace Vmc::decoding {

namespace {

// The label spells the code's bytes from the most significant down; in the
// little-endian file they lie in the opposite order ("RGGB" in the file
// reads as "BGGR").
constexpr Label kBayerColorOrders[] = {
    {0x42474752, "BGGR"},
    {0x47425247, "GBRG"},
    {0x47524247, "GRBG"},
    {0x52474742, "RGGB"},
};

struct TimeCodeField {
    At<VellRawMeta::TC_Struct> at;
    MetaField<VellRawMeta::TC_Struct> VellMetadataContainer::*field;
};

constexpr TimeCodeField kTimeCodes[] = {
    {VMC_AT(timeCode1), &VellMetadataContainer::timeCode1},
    {VMC_AT(timeCode2), &VellMetadataContainer::timeCode2},
    {VMC_AT(timeCode3), &VellMetadataContainer::timeCode3},
    {VMC_AT(timeCode4), &VellMetadataContainer::timeCode4},
    {VMC_AT(timeCode5), &VellMetadataContainer::timeCode5},
    {VMC_AT(timeCode6), &VellMetadataContainer::timeCode6},
    {VMC_AT(timeCode7), &VellMetadataContainer::timeCode7},
};

} // namespace

Next decodeBayerAndTimeCodes(Decoding& d)
{
    const HeaderView& h = d.header;
    VellMetadataContainer& c = d.out;

    const std::uint32_t order = h.read(VMC_AT(bayerColorOrder));
    if (!unwritten(order)) {
        const char* label = labelFor(kBayerColorOrders, order);
        if (label == nullptr)
            return d.fail(Failure::UnknownBayerColorOrder, order);
        assignText(c.bayerPattern, label);
    }

    c.auxiliaryCameraWord.set(h.read(VMC_AT(auxiliaryCameraWord)));
    // Double-precision quotient, then rounded once to single precision.
    const double milli = h.read(VMC_AT(auxiliaryMilliValue));
    c.auxiliaryValue.set(static_cast<float>(milli / 1000.0));

    for (const TimeCodeField& timeCode : kTimeCodes) {
        const VellRawMeta::TC_Struct value = h.read(timeCode.at);
        if (!unwritten(value))
            (c.*timeCode.field).set(value);
    }
    return Next::Continue;
}

} // namespace Vmc::decoding
