// SPDX-License-Identifier: Apache-2.0
// initFromHeader: the header's field groups, decoded one after another in a
// fixed order until the end or the first failure that stops decoding.
#include <VellMetadataContainer/MetadataContainer.h>

#include "Decoding.h"

namespace Vmc {

using namespace decoding;

namespace {

template <Step... steps>
struct Steps {
    static void run(Decoding& d) { (void)((steps(d) == Next::Continue) && ...); }
};

// The order matters only for which fields a stopping failure leaves stored:
// everything decoded before it.
//
// Each step is called directly (no table of pointers to call through), and
// the first that says stop ends the sequence: the && fold runs left to right
// and stops at the first false.
using Sequence = Steps<
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
    decodeNamedRecords>;

} // namespace

ErrorValue VellMetadataContainer::initFromHeader(VellRawMeta::VellFileHeaderV3 const* header, ColorSpace colorSpace)
{
    ErrorValue result = noFailure();
    Decoding decoding{HeaderView(header), *this, result, colorSpace};
    Sequence::run(decoding);
    return result;
}

} // namespace Vmc
