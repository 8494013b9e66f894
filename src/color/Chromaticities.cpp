// SPDX-License-Identifier: Apache-2.0
#include <VellMetadataContainer/Chromaticities.h>

namespace Vmc {

bool Chromaticities::operator==(const Chromaticities& other) const
{
    return red.x == other.red.x && red.y == other.red.y && green.x == other.green.x && green.y == other.green.y &&
           blue.x == other.blue.x && blue.y == other.blue.y && white.x == other.white.x && white.y == other.white.y;
}

} // namespace Vmc
