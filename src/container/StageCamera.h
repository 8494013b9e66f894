// SPDX-License-Identifier: Apache-2.0
// Whether the camera is a CORVA Stage camera, which names its ND filters
// from its own label table.
#pragma once

#include <VellMetadataContainer/MetadataContainer.h>

namespace Vmc::decoding {

// True when `cameraModel` is exactly "CORVA Stage" or "CORVA Stage NX", or
// else when `cameraFamilyCode` is 4 and `cameraVariantCode` is 0 or 4 (both
// defined). Reads the fields as they stand, values from an earlier header
// included.
bool isStageCamera(const VellMetadataContainer& c);

// True when `cameraModel` is defined and its text is exactly `model`.
bool modelIs(const VellMetadataContainer& c, const char* model);

} // namespace Vmc::decoding
