// SPDX-License-Identifier: Apache-2.0
// Scaled values, master/slave and channel setup.
//
//   integralWord      1112  u32   0xFFFFFFFF   nearest float, unscaled
//   tenthsWord1       1116  u32   0xFFFFFFFF   low 16 bits, signed, / 10
//   tenthsWord2       1120  u32   0xFFFFFFFF   as tenthsWord1
//   masterSlaveSetup  1124  u32   0xFFFFFFFF   OFF, MASTER, SLAVE; other values recorded, decoding goes on
//   channelSetup      1128  u32   0xFFFFFFFF   SINGLE, LEFT, RIGHT, MULTI; other values recorded, decoding goes on
//   channelTagWord    1132  u32   0xFFFFFFFF   four characters, most significant byte first;
//                                              left and right channels only

#include "Decoding.h"
#include "Labels.h"
#include "Unwritten.h"
#include "TextRules.h"

namespace Vmc::decoding {

namespace {

constexpr Label kMasterSlaveLabels[] = {
    {0, "OFF"},
    {1, "MASTER"},
    {2, "SLAVE"},
};
constexpr Label kChannelLabels[] = {
    {0, "SINGLE"},
    {1, "LEFT"},
    {2, "RIGHT"},
    {3, "MULTI"},
};
constexpr std::uint32_t kLeftChannel = 1;
constexpr std::uint32_t kRightChannel = 2;

// Signed tenths in the low 16 bits of a word; the upper bits take no part.
float tenths(std::uint32_t word)
{
    const std::int32_t low = static_cast<std::int32_t>(word & 0xFFFFu);
    const std::int32_t value = low >= 0x8000 ? low - 0x10000 : low;
    return static_cast<float>(value) / 10.0f;
}

void decodeTenths(std::uint32_t word, MetaField<float>& out)
{
    if (!unwritten(word))
        out.set(tenths(word));
}

// Assigns the label of a known value; an unwritten field is left untouched.
// Returns false for a value without a label.
bool assignLabel(MetaString& out, std::uint32_t value, LabelTable labels)
{
    if (unwritten(value))
        return true;
    const char* label = labels.find(value);
    if (label == nullptr)
        return false;
    assignText(out, label);
    return true;
}

} // namespace

Next decodeScaledValuesAndChannels(Decoding& d)
{
    const HeaderView& h = d.header;
    VellMetadataContainer& c = d.out;

    const std::uint32_t integral = h.read(VMC_AT(integralWord));
    if (!unwritten(integral))
        c.integralValue.set(static_cast<float>(integral));
    decodeTenths(h.read(VMC_AT(tenthsWord1)), c.tenthsValue1);
    decodeTenths(h.read(VMC_AT(tenthsWord2)), c.tenthsValue2);

    const std::uint32_t masterSlave = h.read(VMC_AT(masterSlaveSetup));
    if (!assignLabel(c.masterSlaveSetup, masterSlave, kMasterSlaveLabels))
        d.fail(Failure::UnknownMasterSlaveSetup, static_cast<long long>(masterSlave));

    const std::uint32_t channel = h.read(VMC_AT(channelSetup));
    if (!assignLabel(c.channelSetup, channel, kChannelLabels))
        d.fail(Failure::UnknownChannelSetup, static_cast<long long>(channel));

    const std::uint32_t tag = h.read(VMC_AT(channelTagWord));
    if ((channel == kLeftChannel || channel == kRightChannel) && !unwritten(tag)) {
        // A NUL among the bytes ends the tag early; an empty tag still counts.
        FixedText<4> text;
        appendFourCharacters(text, tag);
        assignText(c.channelTag, text.c_str());
    }
    return Next::Continue;
}

} // namespace Vmc::decoding
