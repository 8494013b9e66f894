// The text helpers of FieldPresentation.h, and integers, writing into a
// TextBuffer: what the views use inside the library.
#pragma once

#include <charconv>
#include <cstdint>
#include <string_view>

#include "TextBuffer.h"

namespace Vmc {

void appendValidUtf8(TextBuffer& out, std::string_view bytes);
void appendPrintable(TextBuffer& out, std::string_view bytes);
void appendJsonString(TextBuffer& out, std::string_view bytes);
void appendFloat(TextBuffer& out, float value);

// An integer's decimal digits.
template <class Integer>
void appendInteger(TextBuffer& out, Integer value)
{
    char* text = out.room(24);
    if (static_cast<std::uint64_t>(value) < 10) { // most header numbers: counts, flags, small codes (not below 0)
        *text = static_cast<char>('0' + value);
        out.grownTo(text + 1);
        return;
    }
    out.grownTo(std::to_chars(text, text + 24, value).ptr);
}

} // namespace Vmc
