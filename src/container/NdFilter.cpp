// SPDX-License-Identifier: Apache-2.0
// ND filter label and value, and three switch flags.
//
//   ndDataLevel         880  u32  below 25: no ND data (compared unsigned)
//   ndFilterType        904  u16  0xFFFF or 0: no ND filter
//   ndFilterMilliValue  906  u16  0xFFFF: no ND filter; else thousandths to float
//   switchWord1..3      908  u32 each; 0xFFFFFFFF untouched, else flag "word is 1"
//
// The label depends on the camera: stage cameras first (by model text or by
// family and variant codes), then the CORVA Compact and CORVA QX model
// texts. Other cameras get the value but no label. A filter type that the
// camera's table does not know stops decoding (900, 1000, 1100).

#include "Decoding.h"
#include "Unwritten.h"
#include "Labels.h"
#include "StageCamera.h"

namespace Vmc::decoding {

namespace {

constexpr std::uint32_t kLowestNdDataLevel = 25;

constexpr Label kStageNdLabels[] = {
    {1, "CORVA Stage ND Type 1"},
};
constexpr Label kCompactNdLabels[] = {
    {1, "CORVA Compact camera ND Type 1 Filter 1"},
    {2, "CORVA Compact camera ND Type 1 Filter 2"},
    {3, "CORVA Compact camera ND Type 1 Filter 3"},
};
constexpr Label kQxNdLabels[] = {
    {1, "CORVA QX camera ND Type 1 Filter 1"},
    {2, "CORVA QX camera ND Type 1 Filter 2"},
    {3, "CORVA QX camera ND Type 1 Filter 3"},
};

struct NdCamera {
    LabelTable labels;
    Failure unknownType;
};

constexpr NdCamera kStageCamera{kStageNdLabels, Failure::UnknownStageNdFilterType};
constexpr NdCamera kCompactCamera{kCompactNdLabels, Failure::UnknownCompactNdFilterType};
constexpr NdCamera kQxCamera{kQxNdLabels, Failure::UnknownQxNdFilterType};

// The camera whose label table names the filter, or null when it has none.
const NdCamera* ndCamera(const VellMetadataContainer& c)
{
    if (isStageCamera(c))
        return &kStageCamera;
    if (modelIs(c, "CORVA Compact"))
        return &kCompactCamera;
    if (modelIs(c, "CORVA QX"))
        return &kQxCamera;
    return nullptr;
}

struct SwitchField {
    At<std::uint32_t> at;
    MetaField<bool> VellMetadataContainer::*field;
};

constexpr SwitchField kSwitches[] = {
    {VMC_AT(switchWord1), &VellMetadataContainer::switch1},
    {VMC_AT(switchWord2), &VellMetadataContainer::switch2},
    {VMC_AT(switchWord3), &VellMetadataContainer::switch3},
};

} // namespace

Next decodeNdFilterAndSwitches(Decoding& d)
{
    const HeaderView& h = d.header;
    VellMetadataContainer& c = d.out;

    const std::uint16_t type = h.read(VMC_AT(ndFilterType));
    const std::uint16_t milliValue = h.read(VMC_AT(ndFilterMilliValue));
    const bool ndPresent = h.read(VMC_AT(ndDataLevel)) >= kLowestNdDataLevel &&
                           !unwritten(VellRawMeta::ND_Filter{type, milliValue}) && type != 0;
    if (ndPresent) {
        if (const NdCamera* camera = ndCamera(c)) {
            const char* label = camera->labels.find(type);
            if (label == nullptr)
                return d.fail(camera->unknownType, type);
            assignText(c.ndFilter, label);
        }
        c.ndFilterValue.set(static_cast<float>(milliValue) / 1000.0f);
    }

    for (const SwitchField& s : kSwitches) {
        const std::uint32_t word = h.read(s.at);
        if (!unwritten(word))
            (c.*s.field).set(word == 1);
    }
    return Next::Continue;
}

} // namespace Vmc::decoding
