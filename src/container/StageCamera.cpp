// SPDX-License-Identifier: Apache-2.0
#include "StageCamera.h"

#include <cstring>

namespace Vmc::decoding {

bool modelIs(const VellMetadataContainer& c, const char* model)
{
    return c.cameraModel.defined && c.cameraModel.text != nullptr && std::strcmp(c.cameraModel.text, model) == 0;
}

bool isStageCamera(const VellMetadataContainer& c)
{
    if (modelIs(c, "CORVA Stage") || modelIs(c, "CORVA Stage NX"))
        return true;
    // Cameras that report no stage model text are known by their codes.
    const bool stageFamily = c.cameraFamilyCode.defined && c.cameraFamilyCode.value == 4;
    const bool stageVariant =
        c.cameraVariantCode.defined && (c.cameraVariantCode.value == 0 || c.cameraVariantCode.value == 4);
    return stageFamily && stageVariant;
}

} // namespace Vmc::decoding
