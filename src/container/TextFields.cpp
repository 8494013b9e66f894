// SPDX-License-Identifier: Apache-2.0
// Text fields, a switch and the eighth time code, in decoding order.
//
//   switchWord4     1268  u32        0xFFFFFFFF     1 on, anything else off
//   auxiliaryText2  1280  16 bytes   all 0xFF       bounded text
//   auxiliaryText3  1296   8 bytes   all 0xFF       bounded text
//   auxiliaryText4  1688  24 bytes   all 0xFF       bounded text; "NONE" becomes "None"
//   timeCode8       1820  TC_Struct  BCD word 0xFFFFFFFF
//   longText1..5    1836  32 bytes each, back to back; all 0xFF; bounded text


#include "Decoding.h"
#include "Unwritten.h"
#include "TextRules.h"

namespace Vmc::decoding {

Next decodeTextFieldsAndTimeCode8(Decoding& d)
{
    const HeaderView& h = d.header;
    VellMetadataContainer& c = d.out;

    const std::uint32_t switchWord = h.read(VMC_AT(switchWord4));
    if (!unwritten(switchWord))
        c.switch4.set(switchWord == 1);

    assignBoundedText(c.auxiliaryText2, h.read(VMC_AT(auxiliaryText2)));
    assignBoundedText(c.auxiliaryText3, h.read(VMC_AT(auxiliaryText3)));

    // Only the exact upper-case word is rewritten.
    const FieldText text4 = boundedText(h.read(VMC_AT(auxiliaryText4)));
    if (text4.usable())
        assignText(c.auxiliaryText4, text4.view() == "NONE" ? "None" : text4.c_str());

    const VellRawMeta::TC_Struct timeCode = h.read(VMC_AT(timeCode8));
    if (!unwritten(timeCode))
        c.timeCode8.set(timeCode);

    assignBoundedText(c.longText1, h.read(VMC_AT(longText1)));
    assignBoundedText(c.longText2, h.read(VMC_AT(longText2)));
    assignBoundedText(c.longText3, h.read(VMC_AT(longText3)));
    assignBoundedText(c.longText4, h.read(VMC_AT(longText4)));
    assignBoundedText(c.longText5, h.read(VMC_AT(longText5)));
    return Next::Continue;
}

} // namespace Vmc::decoding
