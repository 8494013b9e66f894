// The text helpers of FieldPresentation.h, writing into a TextBuffer: what
// the views use inside the library.
#pragma once

#include <string_view>

#include "TextBuffer.h"

namespace Vmc {

void appendValidUtf8(TextBuffer& out, std::string_view bytes);
void appendPrintable(TextBuffer& out, std::string_view bytes);
void appendJsonString(TextBuffer& out, std::string_view bytes);
void appendFloat(TextBuffer& out, float value);

} // namespace Vmc
