// SPDX-License-Identifier: Apache-2.0
/// @file
/// BCD conversion, time-code records, date/time and time-zone text, and frame
/// rates as fractions.
#pragma once

#include <cstdint>
#include <ostream>

#include "Export.h"
#include "Rational.h"
#include "VellFileHeaderV3.h"

/// All four words equal, in word order; no normalisation.
VMC_EXPORT bool operator==(const VellRawMeta::TC_Struct& a, const VellRawMeta::TC_Struct& b);

/// Prints HH:MM:SS:FF, one decimal number per BCD nibble, with ';' before the
/// frames when the drop-frame bit (bit 31 of rateAndDropFrame) is set.
VMC_EXPORT std::ostream& operator<<(std::ostream& os, const VellRawMeta::TC_Struct& timeCode);

namespace Vmc {

/// Four BCD digits (nibbles taken as they are; 0xFFFF gives 16665).
VMC_EXPORT int intFromBCD(unsigned short value);
/// Two BCD digits (0xFF gives 165).
VMC_EXPORT int intFromBCD(unsigned char value);

/// A capture date and time, as the header's BCD words give it.
struct DateTime {
    ///@{
    /// Calendar date and clock time, each part as a plain number.
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::int32_t day = 0;
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t second = 0;
    ///@}
    std::int32_t subSecond = 0; ///< carried, never printed
};

/// A time zone's offset from UTC and its daylight-saving offset.
struct TimeZone {
    ///@{
    /// The offset from UTC, and the daylight-saving offset on top of it.
    std::int32_t hours = 0;
    std::int32_t minutes = 0;
    std::int32_t dstHours = 0;
    std::int32_t dstMinutes = 0;
    ///@}
};

/// "yyyy-mm-dd hh:mm:ss"; leaves the stream's fill character at '0'.
VMC_EXPORT std::ostream& operator<<(std::ostream& os, const DateTime& dateTime);
/// "UTC +h:+m", with "(plus +h:+m DST)" when daylight saving is set; leaves
/// showpos on.
VMC_EXPORT std::ostream& operator<<(std::ostream& os, const TimeZone& timeZone);

/// The rate in thousandths of a frame per second as `rate`/1000, unreduced,
/// the numerator being the rate's bits read as signed.
VMC_EXPORT Rational frameRateAsRational(unsigned int rate);

} // namespace Vmc
