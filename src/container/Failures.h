// SPDX-License-Identifier: Apache-2.0
// Every failure that decoding records: its code, message text and whether
// decoding stops after it.
#pragma once

#include <cstdint>

#include <VellMetadataContainer/ErrorValue.h>

namespace Vmc::decoding {

enum class Failure {
    UnknownColorSpace,
    EmptyCameraModel,
    SerialNumberInNoRange,
    UnknownCameraType,
    UnknownTargetColorSpace,
    UnknownFlipState,
    UnknownLookLutType,
    UnknownCdlApplicationMode,
    UnknownStageNdFilterType,
    UnknownCompactNdFilterType,
    UnknownQxNdFilterType,
    UnknownBayerColorOrder,
    UnknownMasterSlaveSetup,
    UnknownChannelSetup,
};

struct FailureInfo {
    Failure failure;
    std::uint32_t code;
    // The message; for enumeration failures, the text before the value.
    const char* text;
    bool printsValue; // the value, then "'", follows the text
    bool stops;       // decoding ends at this failure
};

constexpr FailureInfo kFailures[] = {
    {Failure::UnknownColorSpace, 100, "Unknown colorspace value in VELLRAW header; enumeration value is `", true, true},
    {Failure::EmptyCameraModel, 200, "VELLRAW header camera model field is defined, but is empty", false, true},
    {Failure::SerialNumberInNoRange, 300,
     "VELLRAW header camera model field is undefined, and camera serial number lands in no known range", false, true},
    {Failure::UnknownCameraType, 400, "Unknown camera type value in VELLRAW header; enumeration value is `", true, true},
    {Failure::UnknownTargetColorSpace, 500, "Unknown target colorspace value in VELLRAW header; enumeration value is `",
     true, true},
    {Failure::UnknownFlipState, 0, "Unknown flip/flop value in VELLRAW header; enumeration value is `", true, false},
    {Failure::UnknownLookLutType, 700, "Unknown Look LUT type in VELLRAW header; enumeration value is `", true, true},
    {Failure::UnknownCdlApplicationMode, 800, "Unknown CDL application mode in VELLRAW header; enumeration value is `",
     true, true},
    {Failure::UnknownStageNdFilterType, 900,
     "Unknown CORVA Stage ND filter type in VELLRAW header; enumeration value is `", true, true},
    {Failure::UnknownCompactNdFilterType, 1000,
     "Unknown CORVA Compact filter type in VELLRAW header; enumeration value is `", true, true},
    {Failure::UnknownQxNdFilterType, 1100, "Unknown CORVA QX filter type in VELLRAW header; enumeration value is `",
     true, true},
    {Failure::UnknownBayerColorOrder, 1400, "Unknown Bayer color order in VELLRAW header; enumeration value is `", true,
     true},
    {Failure::UnknownMasterSlaveSetup, 0,
     "Unknown Master/Slave setup configuration in VELLRAW header; enumeration value is `", true, false},
    {Failure::UnknownChannelSetup, 0, "Unknown channel setup configuration in VELLRAW header; enumeration value is `",
     true, false},
};

constexpr const FailureInfo& failureInfo(Failure failure)
{
    return kFailures[static_cast<int>(failure)];
}

// Replaces `result` with the failure; `value` is printed for enumeration
// failures (callers pass it with the signedness and width the message
// wants). The replaced message is released.
void recordFailure(ErrorValue& result, Failure failure, long long value = 0);

// The initial result: no failure, an empty heap message.
ErrorValue noFailure();

} // namespace Vmc::decoding
