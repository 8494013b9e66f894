// SPDX-License-Identifier: Apache-2.0
/// @file
/// The xy chromaticities of three primaries and a white point.
#pragma once

#include "Export.h"
#include "Vec.h"

namespace Vmc {

/// The CIE xy chromaticities of a colour space's red, green and blue
/// primaries and its white point. Every coordinate starts at zero.
class VMC_EXPORT Chromaticities {
public:
    Vec2 red;   ///< xy of the red primary
    Vec2 green; ///< xy of the green primary
    Vec2 blue;  ///< xy of the blue primary
    Vec2 white; ///< xy of the white point

    /// All eight coordinates zero.
    Chromaticities() = default;
    /// The three primaries and the white point.
    Chromaticities(const Vec2& red_, const Vec2& green_, const Vec2& blue_, const Vec2& white_)
        : red(red_), green(green_), blue(blue_), white(white_) {}
    ///@{
    /// A polymorphic value type: copyable, with an empty virtual destructor.
    Chromaticities(const Chromaticities&) = default;
    Chromaticities& operator=(const Chromaticities&) = default;
    virtual ~Chromaticities() {}
    ///@}

    /// Equal when all eight coordinates compare equal as floats, in the order
    /// red.x, red.y, green.x, ... white.y. A NaN makes the values unequal.
    bool operator==(const Chromaticities& other) const;
};

} // namespace Vmc
