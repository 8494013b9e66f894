// SPDX-License-Identifier: Apache-2.0
// Identifier, status fields, camera family and variant codes, and the two
// status flags.
//
//   identifierBytes    636  32 bytes  all 0xFF: untouched; else 64 hex digits
//   cameraStatusBits   708  u8        bit 1 always; bit 0 for stage cameras only
//   statusFloat        712  f32       NaN
//   statusWord         716  u32       0xFFFFFFFF
//   auxiliaryText      736  24 bytes  bounded text
//   cameraFamilyCode   780  u16       0xFFFF
//   cameraVariantCode  782  u16       0xFFFF

#include "Decoding.h"
#include "Unwritten.h"
#include "StageCamera.h"
#include "TextRules.h"

namespace Vmc::decoding {

Next decodeIdentifierAndStatus(Decoding& d)
{
    const HeaderView& h = d.header;
    VellMetadataContainer& c = d.out;

    const Bytes identifier = h.read(VMC_AT(identifierBytes));
    if (!unwritten(identifier.data, identifier.size)) {
        FixedText<2 * sizeof(VellRawMeta::VellFileHeaderV3::identifierBytes)> hex;
        hex.appendHex(identifier.data, identifier.size);
        assignText(c.identifierHex, hex.c_str());
    }

    const float statusFloat = h.read(VMC_AT(statusFloat));
    if (!unwritten(statusFloat))
        c.statusFloat.set(statusFloat);
    const std::uint32_t statusWord = h.read(VMC_AT(statusWord));
    if (!unwritten(statusWord))
        c.statusWord.set(statusWord);

    const std::uint8_t statusBits = h.read(VMC_AT(cameraStatusBits));
    c.cameraStatusBit1.set((statusBits & 0x02) != 0);

    assignBoundedText(c.auxiliaryText, h.read(VMC_AT(auxiliaryText)));

    const std::uint16_t family = h.read(VMC_AT(cameraFamilyCode));
    if (!unwritten(family))
        c.cameraFamilyCode.set(family);
    const std::uint16_t variant = h.read(VMC_AT(cameraVariantCode));
    if (!unwritten(variant))
        c.cameraVariantCode.set(variant);

    if (isStageCamera(c))
        c.cameraStatusBit0.set((statusBits & 0x01) != 0);
    return Next::Continue;
}

} // namespace Vmc::decoding
