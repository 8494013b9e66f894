// SPDX-License-Identifier: Apache-2.0
// Encoder value and limit sets: three encoders A, B, C, each with one reading
// and a pair of limits in each of two sets.
//
//   rawEncoderA/B/C        952  two u16 each   word 0: set-1 reading, word 1: set-2 reading
//   encoderLimitsA1/B1/C1  964  two u16 each   set-1 limits: first, second
//   encoderLimitsA2/B2/C2  976  two u16 each   set-2 limits: first, second
//   encoderModeByte1       988  u8             0xFF: set 1 absent
//   encoderParameterByte1  989  u8             stored untested
//   encoderModeByte2       990  u8             0xFF: set 2 absent
//   encoderParameterByte2  991  u8             stored untested
//
// Set 2 is present only when, besides its mode byte, at least one of its six
// limit words is written. In both sets an encoder counts only when its set-1
// reading is written; its limits and its set-2 reading are stored as read,
// 0xFFFF included.

#include "Decoding.h"
#include "Unwritten.h"

namespace Vmc::decoding {

namespace {

using Number = MetaField<std::uint32_t> VellMetadataContainer::*;
using C = VellMetadataContainer;

// Where one encoder's limits of one set come from and go to.
struct EncoderInSet {
    At<VellRawMeta::EncoderLimits> limits;
    Number raw;
    Number limitFirst;
    Number limitSecond;
};

struct Encoder {
    At<VellRawMeta::RawEncoderValue> readings;
    EncoderInSet sets[2];
};

constexpr Encoder kEncoders[] = {
    {VMC_AT(rawEncoderA),
     {{VMC_AT(encoderLimitsA1), &C::encoderA1Raw, &C::encoderA1LimitFirst, &C::encoderA1LimitSecond},
      {VMC_AT(encoderLimitsA2), &C::encoderA2Raw, &C::encoderA2LimitFirst, &C::encoderA2LimitSecond}}},
    {VMC_AT(rawEncoderB),
     {{VMC_AT(encoderLimitsB1), &C::encoderB1Raw, &C::encoderB1LimitFirst, &C::encoderB1LimitSecond},
      {VMC_AT(encoderLimitsB2), &C::encoderB2Raw, &C::encoderB2LimitFirst, &C::encoderB2LimitSecond}}},
    {VMC_AT(rawEncoderC),
     {{VMC_AT(encoderLimitsC1), &C::encoderC1Raw, &C::encoderC1LimitFirst, &C::encoderC1LimitSecond},
      {VMC_AT(encoderLimitsC2), &C::encoderC2Raw, &C::encoderC2LimitFirst, &C::encoderC2LimitSecond}}},
};

// The mode and parameter bytes of one set.
struct EncoderSet {
    At<std::uint8_t> modeByte;
    At<std::uint8_t> parameterByte;
    MetaString C::*mode;
    Number parameter;
};

constexpr EncoderSet kSets[2] = {
    {VMC_AT(encoderModeByte1), VMC_AT(encoderParameterByte1), &C::encoderMode1, &C::encoderParameter1},
    {VMC_AT(encoderModeByte2), VMC_AT(encoderParameterByte2), &C::encoderMode2, &C::encoderParameter2},
};

const char* modeLabel(std::uint8_t mode)
{
    switch (mode) {
    case 0: return "NONE";
    case 1: return "CONSTANT";
    default: return "UNKNOWN";
    }
}

// Decodes set 0 (set 1 of the header) or set 1 (set 2), once the set is
// known to be present.
void decodeSet(const HeaderView& h, VellMetadataContainer& c, int set)
{
    const EncoderSet& bytes = kSets[set];
    assignText(c.*bytes.mode, modeLabel(h.read(bytes.modeByte)));
    (c.*bytes.parameter).set(h.read(bytes.parameterByte));

    for (const Encoder& encoder : kEncoders) {
        const VellRawMeta::RawEncoderValue readings = h.read(encoder.readings);
        if (unwritten(readings.reading1))
            continue;
        const EncoderInSet& fields = encoder.sets[set];
        const VellRawMeta::EncoderLimits limits = h.read(fields.limits);
        (c.*fields.raw).set(set == 0 ? readings.reading1 : readings.reading2);
        (c.*fields.limitSecond).set(limits.second);
        (c.*fields.limitFirst).set(limits.first);
    }
}

bool anySet2LimitWritten(const HeaderView& h)
{
    for (const Encoder& encoder : kEncoders) {
        const VellRawMeta::EncoderLimits limits = h.read(encoder.sets[1].limits);
        if (!unwritten(limits.first) || !unwritten(limits.second))
            return true;
    }
    return false;
}

} // namespace

Next decodeEncoders(Decoding& d)
{
    const HeaderView& h = d.header;
    if (!unwritten(h.read(kSets[0].modeByte)))
        decodeSet(h, d.out, 0);
    if (!unwritten(h.read(kSets[1].modeByte)) && anySet2LimitWritten(h))
        decodeSet(h, d.out, 1);
    return Next::Continue;
}

} // namespace Vmc::decoding
