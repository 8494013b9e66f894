// The text helpers of FieldPresentation.h, and integers, writing into a
// TextBuffer: what the views use inside the library.
#pragma once

#include <cstdint>
#include <string_view>

#include "NumberText.h"
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
    out.grownTo(writeInteger(out.room(kIntegerTextSize), value));
}

} // namespace Vmc
