// SPDX-License-Identifier: Apache-2.0
// Time-code records read as a person and an interchange format read them:
// their BCD digits, drop-frame mark and rate.
#include <vellmeta/Values.h>

#include "Writing.h"

namespace vellmeta {

TimeCodeParts timeCodeParts(const VellRawMeta::TC_Struct& timeCode)
{
    // One nibble per digit, from the hours' tens (bits 31-28) down to the
    // frames' units; bit 31 of the rate word marks drop-frame counting.
    TimeCodeParts parts{};
    const std::uint32_t bcd = timeCode.bcdTime;
    for (int i = 0; i < 8; ++i)
        parts.digits[i] = (bcd >> (28 - 4 * i)) & 0xFu;
    const std::uint32_t rate = timeCode.rateAndDropFrame;
    parts.dropFrame = (rate & 0x80000000u) != 0;
    parts.milliRate = rate & 0x7FFFFFFFu;
    return parts;
}

std::optional<TimeCodeParts::TimeOfDay> TimeCodeParts::timeOfDay() const
{
    int pairs[4];
    for (int i = 0; i < 4; ++i) {
        if (digits[2 * i] > 9 || digits[2 * i + 1] > 9)
            return std::nullopt;
        pairs[i] = static_cast<int>(10 * digits[2 * i] + digits[2 * i + 1]);
    }
    if (pairs[0] > 23 || pairs[1] > 59 || pairs[2] > 59)
        return std::nullopt;
    return TimeOfDay{pairs[0], pairs[1], pairs[2], pairs[3]};
}

void appendTimeCode(Out& out, const TimeCodeParts& parts)
{
    for (int i = 0; i < 8; ++i) {
        if (i == 2 || i == 4)
            out += ':';
        else if (i == 6)
            out += parts.dropFrame ? ';' : ':';
        if (parts.digits[i] < 10)
            out += static_cast<char>('0' + parts.digits[i]);
        else // a damaged header's nibble, written as its value
            out.integer(parts.digits[i]);
    }
}

std::string timeCodeText(const VellRawMeta::TC_Struct& timeCode)
{
    std::string text;
    appendBuilt(text, [&](Out& out) { appendTimeCode(out, timeCodeParts(timeCode)); });
    return text;
}

} // namespace vellmeta
