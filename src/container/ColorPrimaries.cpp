// SPDX-License-Identifier: Apache-2.0
// Colour primaries: the primaries and white point of the colour space that
// the host asked for. The first group to touch the container; an unknown
// colour space stops decoding before any field is written.
//
//   colour space 2  wide gamut      fixed primaries, D65 white
//   colour space 1  camera native   from the white balance and ND state:
//     whiteBalanceCct  92   u32  low 16 bits are the CCT, untested
//     ndFilterType     904  u16  1: through the ND filter, anything else: not; untested
//   colour space 0  ACES AP0        fixed primaries, ACES white; acesContainerFlag = 1
//   anything else   failure 100, the value printed signed
#include <cstdint>

#include <VellMetadataContainer/ColorCorrectionMatrix.h>

#include "Decoding.h"

namespace Vmc::decoding {

namespace {

struct FixedPrimaries {
    float redX, redY, greenX, greenY, blueX, blueY, whiteX, whiteY;

    Chromaticities chromaticities() const
    {
        return Chromaticities(Vec2(redX, redY), Vec2(greenX, greenY), Vec2(blueX, blueY), Vec2(whiteX, whiteY));
    }
};

//                                    red              green            blue              white
constexpr FixedPrimaries kWideGamut = {0.684f,  0.313f,  0.221f, 0.848f, 0.0861f, -0.102f, 0.3127f,  0.329f};
constexpr FixedPrimaries kAcesAP0 =   {0.7347f, 0.2653f, 0.0f,   1.0f,   0.0001f, -0.077f, 0.32168f, 0.33767f};

constexpr std::uint16_t kNdFilterIn = 1;

} // namespace

Next decodeColorPrimaries(Decoding& d)
{
    using ColorSpace = VellMetadataContainer::ColorSpace;
    VellMetadataContainer& c = d.out;

    Chromaticities primaries;
    if (d.colorSpace == ColorSpace::WideGamut) {
        primaries = kWideGamut.chromaticities();
    } else if (d.colorSpace == ColorSpace::CameraNative) {
        const auto cct = static_cast<unsigned short>(d.header.read(VMC_AT(whiteBalanceCct)) & 0xFFFFu);
        const bool ndIn = d.header.read(VMC_AT(ndFilterType)) == kNdFilterIn;
        primaries = ColorCorrectionMatrixTable::cameraNativeChromaticities(cct, ndIn);
    } else if (d.colorSpace == ColorSpace::AcesAP0) {
        c.acesContainerFlag.set(1);
        primaries = kAcesAP0.chromaticities();
    } else {
        return d.fail(Failure::UnknownColorSpace, static_cast<std::int32_t>(d.colorSpace));
    }

    c.chromaticities.set(primaries);
    c.whitePoint.set(primaries.white);
    return Next::Continue;
}

} // namespace Vmc::decoding
