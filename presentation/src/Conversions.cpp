// SPDX-License-Identifier: Apache-2.0
// The typed conversions behind the values for people and the interchange
// formats: shutter angle and window size.
#include <vellmeta/Values.h>

#include <cmath>

namespace vellmeta {

std::optional<double> shutterAngle(float exposureSeconds, const Vmc::Rational& frameRate)
{
    if (!(exposureSeconds > 0.0f) || frameRate.numerator <= 0 || frameRate.denominator == 0)
        return std::nullopt;
    const double rate = static_cast<double>(frameRate.numerator) / static_cast<double>(frameRate.denominator);
    const double angle = 360.0 * static_cast<double>(exposureSeconds) * rate;
    if (!std::isfinite(angle))
        return std::nullopt;
    return angle;
}

std::optional<WindowSize> windowSize(const Vmc::ImageWindow& window)
{
    const double width = static_cast<double>(window.second.x) - window.first.x + 1.0;
    const double height = static_cast<double>(window.second.y) - window.first.y + 1.0;
    if (!std::isfinite(width) || !std::isfinite(height) || !(width > 0) || !(height > 0))
        return std::nullopt;
    return WindowSize{width, height};
}

} // namespace vellmeta
