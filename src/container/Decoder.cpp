// initFromHeader: the header's field groups, decoded one after another in a
// fixed order until the end or the first failure that stops decoding.
#include <VellMetadataContainer/MetadataContainer.h>

#include "Decoding.h"

namespace Vmc {

using namespace decoding;

namespace {

// The order matters only for which fields a stopping failure leaves stored:
// everything decoded before it.
//
// Steps whose group is not built yet are left out (commented).
constexpr Step kSequence[] = {
    decodeColorPrimaries,                         // may stop: 100
    decodeLensIris,
    decodeCameraIdentity,                         // may stop: 200, 300, 400
    decodeCaptureTimeZoneAndSensorRate,
    decodeLongUserText,
    decodeImageInfoWindowsAndExposure,
    decodeFocalLengthAndFocusDistance,
    decodeProjectFrameRate,
    decodeFixedZeroValue,
    decodeExposureIndex,
    decodeLatitude,
    decodeLensNameSerialAndLongitude,
    decodeProductionTextsRecorderAndHardwareId,
    decodeTimeCodeAndRoundedRate,
    decodeUuid,
    decodeWhiteBalanceAndColor,                   // may stop: 500; flip/flop goes on
    decodeLook,                                   // may stop: 700, 800
    decodeBayerAndTimeCodes,                      // may stop: 1400
    decodeIdentifierAndStatus,
    decodeNdFilterAndSwitches,                    // may stop: 900, 1000, 1100
    decodeEncoders,
    decodeScaledValuesAndChannels,                // master/slave and channel setup go on
    decodeTextFieldsAndTimeCode8,
    decodeNamedRecords,
};

} // namespace

ErrorValue VellMetadataContainer::initFromHeader(VellRawMeta::VellFileHeaderV3 const* header, ColorSpace colorSpace)
{
    ErrorValue result = noFailure();
    Decoding decoding{HeaderView(header), *this, result, colorSpace};
    for (Step step : kSequence) {
        if (step(decoding) == Next::Stop)
            break;
    }
    return result;
}

} // namespace Vmc
