// SPDX-License-Identifier: Apache-2.0
/// @file
/// Two- and three-component float vectors for colour arithmetic.
///
/// Vec2 holds a CIE xy chromaticity, Vec3 an RGB or XYZ triple. Both are
/// polymorphic value types (an empty virtual destructor) whose components
/// start at zero.
#pragma once

#include "Export.h"

namespace Vmc {

/// Two floats: a CIE xy chromaticity, or an image window's corner.
class VMC_EXPORT Vec2 {
public:
    ///@{
    /// The components: a chromaticity's x and y, or a corner's column and row.
    float x = 0.0f;
    float y = 0.0f;
    ///@}

    /// (0, 0).
    Vec2() = default;
    /// (x_, y_).
    Vec2(float x_, float y_) : x(x_), y(y_) {}
    ///@{
    /// A polymorphic value type: copyable, with an empty virtual destructor.
    Vec2(const Vec2&) = default;
    Vec2& operator=(const Vec2&) = default;
    virtual ~Vec2() {}
    ///@}
};

/// Three floats: an RGB or XYZ triple.
class VMC_EXPORT Vec3 {
public:
    ///@{
    /// The components: red, green and blue, or X, Y and Z.
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    ///@}

    /// (0, 0, 0).
    Vec3() = default;
    /// (x_, y_, z_).
    Vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    ///@{
    /// A polymorphic value type: copyable, with an empty virtual destructor.
    Vec3(const Vec3&) = default;
    Vec3& operator=(const Vec3&) = default;
    virtual ~Vec3() {}
    ///@}
};

} // namespace Vmc
