// SPDX-License-Identifier: Apache-2.0
// The xy chromaticities of three primaries and a white point.
#pragma once

#include "Export.h"
#include "Vec.h"

namespace Vmc {

class VMC_EXPORT Chromaticities {
public:
    Vec2 red;
    Vec2 green;
    Vec2 blue;
    Vec2 white;

    Chromaticities() = default;
    Chromaticities(const Vec2& red_, const Vec2& green_, const Vec2& blue_, const Vec2& white_)
        : red(red_), green(green_), blue(blue_), white(white_) {}
    Chromaticities(const Chromaticities&) = default;
    Chromaticities& operator=(const Chromaticities&) = default;
    virtual ~Chromaticities() {}

    // Equal when all eight coordinates compare equal as floats, in the order
    // red.x, red.y, green.x, ... white.y. A NaN makes the values unequal.
    bool operator==(const Chromaticities& other) const;
};

} // namespace Vmc
