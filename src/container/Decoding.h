// SPDX-License-Identifier: Apache-2.0
// What one call of initFromHeader works on, and the decoding steps in the
// order they run. Each step lives in the source of its field group.
#pragma once

#include <VellMetadataContainer/MetadataContainer.h>

#include "AssignText.h"
#include "Failures.h"
#include "HeaderView.h"

namespace Vmc::decoding {

enum class Next { Continue, Stop };

struct Decoding {
    HeaderView header;
    VellMetadataContainer& out;
    ErrorValue& result;
    VellMetadataContainer::ColorSpace colorSpace;

    // Records a failure and says whether decoding goes on after it.
    Next fail(Failure failure, long long value = 0)
    {
        recordFailure(result, failure, value);
        return failureInfo(failure).stops ? Next::Stop : Next::Continue;
    }
};

using Step = Next (*)(Decoding&);

// ColorPrimaries.cpp
Next decodeColorPrimaries(Decoding&);
// Lens.cpp
Next decodeLensIris(Decoding&);
Next decodeFocalLengthAndFocusDistance(Decoding&);
Next decodeFixedZeroValue(Decoding&);
Next decodeLatitude(Decoding&);
Next decodeLensNameSerialAndLongitude(Decoding&);
// CameraIdentity.cpp
Next decodeCameraIdentity(Decoding&);
// CaptureTime.cpp
Next decodeCaptureTimeZoneAndSensorRate(Decoding&);
Next decodeImageInfoWindowsAndExposure(Decoding&);
Next decodeProjectFrameRate(Decoding&);
Next decodeExposureIndex(Decoding&);
Next decodeTimeCodeAndRoundedRate(Decoding&);
// ProductionTexts.cpp
Next decodeLongUserText(Decoding&);
Next decodeProductionTextsRecorderAndHardwareId(Decoding&);
Next decodeUuid(Decoding&);
// WhiteBalance.cpp
Next decodeWhiteBalanceAndColor(Decoding&);
// Look.cpp
Next decodeLook(Decoding&);
// BayerAndTimeCodes.cpp
Next decodeBayerAndTimeCodes(Decoding&);
// StatusFields.cpp
Next decodeIdentifierAndStatus(Decoding&);
// NdFilter.cpp
Next decodeNdFilterAndSwitches(Decoding&);
// Encoders.cpp
Next decodeEncoders(Decoding&);
// ScaledValues.cpp
Next decodeScaledValuesAndChannels(Decoding&);
// TextFields.cpp
Next decodeTextFieldsAndTimeCode8(Decoding&);
// NamedRecords.cpp
Next decodeNamedRecords(Decoding&);

} // namespace Vmc::decoding
