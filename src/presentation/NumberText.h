// Numbers as the views write them: floats as their shortest round-trip
// decimal, rounded numbers without trailing zeros.
#pragma once

#include <cstddef>

namespace Vmc {

// Room a number's text may take.
constexpr std::size_t kNumberTextSize = 64;

// The shortest decimal that reads back as `value`, as appendFloat writes it,
// into `buffer` (at least kNumberTextSize bytes); returns its end.
char* formatFloat(char* buffer, float value);

// formatFloat, remembering the texts of the floats it wrote last on this
// thread: a value met clip after clip (a camera's primaries, a lens's focal
// length) is worked out once. Into `buffer` (at least kNumberTextSize
// bytes); returns its end.
char* formatRecentFloat(char* buffer, float value);

// `value` with at most `decimals` decimals, trailing zeros (and a bare
// point) dropped, and no "-0": 23.976, 25, 29.97. Into `buffer` (at least
// kNumberTextSize bytes); returns its end.
char* formatRounded(char* buffer, double value, int decimals);

} // namespace Vmc
