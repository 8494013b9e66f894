// SPDX-License-Identifier: Apache-2.0
// Internal view of the calibration lists, for checking their once-only
// filling.
#pragma once

namespace Vmc::color {

// How many calibration lists have been filled in this process so far: 0 before
// the first call of noNDMatrices() or NDMatrices(), at most 2 ever.
int calibrationListsFilled();

} // namespace Vmc::color
