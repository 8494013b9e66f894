// Numbers as the views write them: floats as their shortest round-trip
// decimal, rounded numbers without trailing zeros.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Vmc {

// Room a number's text may take.
constexpr std::size_t kNumberTextSize = 64;

// The shortest decimal that reads back as `value`, as appendFloat writes it,
// into `buffer` (at least kNumberTextSize bytes); returns its end.
char* formatFloat(char* buffer, float value);

// The texts of the floats written last on a thread, so that a value met clip
// after clip (a camera's primaries, a lens's focal length) is worked out
// once. Each text is kept in the slot its bits hash to.
class RecentFloats {
public:
    static RecentFloats& ofThisThread();

    // formatFloat's text of `value`, into `buffer` (at least
    // kNumberTextSize bytes); returns its end.
    char* format(char* buffer, float value);

private:
    struct Slot {
        std::uint32_t bits;
        std::uint8_t length; // 0: empty (a thread's slots start zeroed)
        char text[11];       // longer texts are not kept
    };
    static_assert(sizeof(Slot) == 16, "a slot is copied whole");
    Slot slots_[512];
};

// `value` with at most `decimals` decimals, trailing zeros (and a bare
// point) dropped, and no "-0": 23.976, 25, 29.97. Into `buffer` (at least
// kNumberTextSize bytes); returns its end.
char* formatRounded(char* buffer, double value, int decimals);

} // namespace Vmc
