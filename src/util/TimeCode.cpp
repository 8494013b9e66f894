// SPDX-License-Identifier: Apache-2.0
#include <VellMetadataContainer/TimeCode.h>

#include <iomanip>

#include "Bcd.h"

bool operator==(const VellRawMeta::TC_Struct& a, const VellRawMeta::TC_Struct& b)
{
    return a.bcdTime == b.bcdTime && a.word1 == b.word1 && a.rateAndDropFrame == b.rateAndDropFrame &&
           a.word3 == b.word3;
}

std::ostream& operator<<(std::ostream& os, const VellRawMeta::TC_Struct& timeCode)
{
    // One nibble per digit, from hours tens (bits 31-28) down to frames units.
    const std::uint32_t bcd = timeCode.bcdTime;
    auto digit = [bcd](int index) { return static_cast<unsigned>((bcd >> (28 - 4 * index)) & 0xFu); };
    const bool dropFrame = (timeCode.rateAndDropFrame & 0x80000000u) != 0; // negative as a signed word
    os << digit(0) << digit(1) << ":" << digit(2) << digit(3) << ":" << digit(4) << digit(5)
       << (dropFrame ? ";" : ":") << digit(6) << digit(7);
    return os;
}

namespace Vmc {

int intFromBCD(unsigned short value)
{
    return bcd::fourDigits(value);
}

int intFromBCD(unsigned char value)
{
    return bcd::twoDigits(value);
}

std::ostream& operator<<(std::ostream& os, const DateTime& dateTime)
{
    os << dateTime.year << "-";
    os << std::setfill('0') << std::setw(2) << dateTime.month << "-";
    os << std::setfill('0') << std::setw(2) << dateTime.day << " ";
    os << std::setfill('0') << std::setw(2) << dateTime.hour << ":";
    os << std::setfill('0') << std::setw(2) << dateTime.minute << ":";
    os << std::setfill('0') << std::setw(2) << dateTime.second;
    return os;
}

std::ostream& operator<<(std::ostream& os, const TimeZone& timeZone)
{
    // The sign counts towards the width of 2, so no leading zero is added.
    os << "UTC ";
    os << std::showpos;
    os << std::setfill('0') << std::setw(2) << timeZone.hours << ":";
    os << std::setfill('0') << std::setw(2) << timeZone.minutes;
    if (timeZone.dstHours != 0 || timeZone.dstMinutes != 0) {
        os << "(plus ";
        os << std::setfill('0') << std::setw(2) << timeZone.dstHours << ":";
        os << std::setfill('0') << std::setw(2) << timeZone.dstMinutes;
        os << " DST)";
    }
    return os;
}

Rational frameRateAsRational(unsigned int rate)
{
    return Rational(static_cast<std::int32_t>(rate), 1000);
}

} // namespace Vmc
