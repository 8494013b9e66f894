// A field's value written into a TextBuffer, as the views inside the
// library write it: only when the field is defined, which the functions
// return, so that a view asks each field once.
#pragma once

#include <VellMetadataContainer/FieldPresentation.h>

#include "TextBuffer.h"

namespace Vmc {

bool appendFieldTextIfDefined(TextBuffer& out, const VellMetadataContainer& container, int index, TextStyle style);
bool appendFieldJsonIfDefined(TextBuffer& out, const VellMetadataContainer& container, int index);

} // namespace Vmc
