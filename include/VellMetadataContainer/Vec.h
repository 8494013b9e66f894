// SPDX-License-Identifier: Apache-2.0
// Two- and three-component float vectors for colour arithmetic.
//
// Vec2 holds a CIE xy chromaticity, Vec3 an RGB or XYZ triple. Both are
// polymorphic value types (an empty virtual destructor) whose components
// start at zero.
#pragma once

#include "Export.h"

namespace Vmc {

class VMC_EXPORT Vec2 {
public:
    float x = 0.0f;
    float y = 0.0f;

    Vec2() = default;
    Vec2(float x_, float y_) : x(x_), y(y_) {}
    Vec2(const Vec2&) = default;
    Vec2& operator=(const Vec2&) = default;
    virtual ~Vec2() {}
};

class VMC_EXPORT Vec3 {
public:
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vec3() = default;
    Vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    Vec3(const Vec3&) = default;
    Vec3& operator=(const Vec3&) = default;
    virtual ~Vec3() {}
};

} // namespace Vmc
