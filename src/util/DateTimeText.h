// SPDX-License-Identifier: Apache-2.0
// A date and time as text without a stream: the same characters that
// `stream << dateTime` writes into a stream at default formatting.
#pragma once

#include <cstddef>

#include <VellMetadataContainer/TimeCode.h>

#include "FixedText.h"

namespace Vmc::text {

// Year, "-", month, "-", day, " ", hour, ":", minute, ":", second; every
// field after the year with a leading zero when it is a single digit.
constexpr std::size_t kDateTimeCapacity = 6 * 11 + 5; // six 32-bit numbers and five separators

template <std::size_t N>
void appendDateTime(FixedText<N>& text, const DateTime& t)
{
    static_assert(N >= kDateTimeCapacity, "room for the longest date and time");
    text.appendDecimal(t.year).append('-');
    text.appendTwoDigits(t.month).append('-');
    text.appendTwoDigits(t.day).append(' ');
    text.appendTwoDigits(t.hour).append(':');
    text.appendTwoDigits(t.minute).append(':');
    text.appendTwoDigits(t.second);
}

} // namespace Vmc::text
