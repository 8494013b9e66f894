// SPDX-License-Identifier: Apache-2.0
// The look the camera applied: name, look-up table type and the colour
// decision list (CDL). A header without a look name, or with the name
// "None", leaves every field of the look untouched.
//
//   lookName            204  32 bytes  first byte 0xFF: no look; "None": no look
//   lookLutType         236  u32       label; unknown stops (700)
//   cdlSaturation       252  f32       NaN
//   cdlSlope            256  3 x f32   NaN in the first float decides for slope,
//   cdlOffset           268  3 x f32     offset and power; the other eight are
//   cdlPower            280  3 x f32     copied as they are
//   lookRgb             292  3 x f32   NaN in the first float only
//   cdlApplicationMode  304  u32       label; unknown stops (800)


#include "Decoding.h"
#include "Unwritten.h"
#include "Labels.h"
#include "TextRules.h"

namespace Vmc::decoding {

namespace {

constexpr Label kLookLutTypes[] = {
    {0, "No Look LUT"},
    {1, "Monochromatic Look LUT"},
    {2, "3D Look LUT"},
};

// Some cameras write the video look mode (1) with its bytes swapped; that
// one swapped value is accepted as well.
constexpr Label kCdlApplicationModes[] = {
    {0, "No Look"},
    {1, "Corva Look Video"},
    {0x01000000, "Corva Look Video"},
    {2, "CDL Video"},
    {3, "CDL LogK"},
};

} // namespace

Next decodeLook(Decoding& d)
{
    const HeaderView& h = d.header;
    VellMetadataContainer& c = d.out;

    const FieldText name = textUnlessFirstByteUnwritten(h.read(VMC_AT(lookName)));
    if (!name.exists() || name.view() == "None")
        return Next::Continue;
    assignText(c.lookName, name.c_str());

    const std::uint32_t lutType = h.read(VMC_AT(lookLutType));
    const char* lut = labelFor(kLookLutTypes, lutType);
    if (lut == nullptr)
        return d.fail(Failure::UnknownLookLutType, lutType);
    assignText(c.lookLutType, lut);

    const float saturation = h.read(VMC_AT(cdlSaturation));
    if (!unwritten(saturation))
        c.cdlSaturation.set(saturation);

    if (!unwritten(h.read(VMC_AT(cdlSlope[0])))) {
        c.cdlSlope.set(h.read(VMC_AT(cdlSlope)));
        c.cdlOffset.set(h.read(VMC_AT(cdlOffset)));
        c.cdlPower.set(h.read(VMC_AT(cdlPower)));
    }

    const VellRawMeta::R32Rgb rgb = h.read(VMC_AT(lookRgb));
    if (!unwritten(rgb.red))
        c.lookRgb.set({rgb.red, rgb.green, rgb.blue});

    const std::uint32_t mode = h.read(VMC_AT(cdlApplicationMode));
    const char* modeLabel = labelFor(kCdlApplicationModes, mode);
    if (modeLabel == nullptr)
        return d.fail(Failure::UnknownCdlApplicationMode, mode);
    assignText(c.cdlApplicationMode, modeLabel);
    return Next::Continue;
}

} // namespace Vmc::decoding
