// SPDX-License-Identifier: Apache-2.0
// Camera identity: manufacturer, model, serial number, index character,
// number triple and the unique camera identifier.
//
//   cameraNumber        364  u32      decimal text, untested
//   cameraSerialNumber  368  u32      decimal text, untested
//   cameraSerialCode    372  u32      four characters, MSB first, untested
//   cameraIndex         376  u8       one character, untested
//   cameraModelText     760  20 bytes text; all 0xFF: model from camera type and serial range
//   cameraType          356  u32      1 older generation, 2 CORVA family (read only without model text)
//   cameraTripleA/B/C   1100 u32 x3   stored as floats when none is 0xFFFFFFFF
#include <algorithm>


#include "Decoding.h"
#include "Unwritten.h"
#include "TextRules.h"

namespace Vmc::decoding {

namespace {

constexpr const char* kManufacturer = "VELL";
constexpr const char* kOlderGenerationModel = "K-40";

// "VELL-", the model (no longer than the model text field), "-SN_" and four
// characters.
constexpr std::size_t kUniqueIdCapacity = 5 + sizeof(VellRawMeta::VellFileHeaderV3::cameraModelText) + 4 + 4;

// CORVA models by serial number, bounds inclusive; the ranges do not overlap.
struct SerialRange {
    std::uint32_t first;
    std::uint32_t last;
    const char* model;
};

constexpr SerialRange kCorvaSerialRanges[] = {
    {2001, 3999, "Corva LT"},
    {7001, 7999, "Corva LT"},
    {4001, 5999, "Corva Pro"},
    {1001, 1999, "Corva Pro 4:3"},
    {6001, 6499, "Corva Stage"},
    {8001, 8499, "Corva R"},
    {9001, 9499, "Corva HR"},
    {9501, 9999, "Corva HR Pro"},
    {6501, 6899, "Corva NX"},
    {8501, 8899, "Corva NX Pro"},
    {6901, 6999, "Corva NX R"},
    {8901, 8999, "Corva NX Stage"},
};

// The model of the range holding `serial`, or null.
const char* corvaModelForSerial(std::uint32_t serial)
{
    for (const SerialRange& range : kCorvaSerialRanges) {
        if (serial >= range.first && serial <= range.last)
            return range.model;
    }
    return nullptr;
}

} // namespace

Next decodeCameraIdentity(Decoding& d)
{
    const HeaderView& h = d.header;
    VellMetadataContainer& c = d.out;
    const std::uint32_t serialNumber = h.read(VMC_AT(cameraSerialNumber));

    assignDecimal(c.cameraNumberText, h.read(VMC_AT(cameraNumber)));
    const char index[2] = {static_cast<char>(h.read(VMC_AT(cameraIndex))), '\0'};
    assignText(c.cameraIndex, index);
    assignText(c.cameraManufacturer, kManufacturer);

    // The model text when the camera wrote it, else the label of its type.
    const FieldText modelText = boundedText(h.read(VMC_AT(cameraModelText)));
    const char* model = nullptr;
    if (modelText.exists()) {
        model = modelText.c_str();
    } else {
        const std::uint32_t type = h.read(VMC_AT(cameraType));
        if (type == 1) {
            model = kOlderGenerationModel;
        } else if (type == 2) {
            model = corvaModelForSerial(serialNumber);
            if (model == nullptr)
                return d.fail(Failure::SerialNumberInNoRange);
        } else {
            return d.fail(Failure::UnknownCameraType, type);
        }
    }
    assignText(c.cameraModel, model);

    const std::uint32_t triple[3] = {h.read(VMC_AT(cameraTripleA)), h.read(VMC_AT(cameraTripleB)),
                                     h.read(VMC_AT(cameraTripleC))};
    if (!unwritten(triple[0]) && !unwritten(triple[1]) && !unwritten(triple[2])) {
        c.cameraTriple.set({static_cast<float>(triple[0]), static_cast<float>(triple[1]),
                            static_cast<float>(triple[2]), 0});
    }

    assignDecimal(c.cameraSerialNumber, serialNumber);

    // Manufacturer, model with its spaces made underscores, serial code. The
    // serial code's bytes are written raw; a NUL among them ends the text.
    FixedText<kUniqueIdCapacity> uniqueId;
    uniqueId.append(kManufacturer).append('-');
    char* const modelStart = uniqueId.end();
    uniqueId.append(model);
    std::replace(modelStart, uniqueId.end(), ' ', '_');
    uniqueId.append("-SN_");
    appendFourCharacters(uniqueId, h.read(VMC_AT(cameraSerialCode)));
    assignText(c.cameraUniqueId, uniqueId.c_str());
    return Next::Continue;
}

} // namespace Vmc::decoding
