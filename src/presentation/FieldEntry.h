// A field's entry in a view: what goes before its value (the key of a JSON
// member, the label of a text line) and the value, appended together: in
// one append for every value but header texts.
#pragma once

#include <VellMetadataContainer/FieldPresentation.h>

#include <string>
#include <string_view>

namespace Vmc {

// `prefix` and the field's JSON (null when undefined).
void appendFieldJsonEntry(std::string& out, std::string_view prefix, const VellMetadataContainer& container, int index);
// `prefix` and the field's text (nothing after the prefix when undefined).
void appendFieldTextEntry(std::string& out, std::string_view prefix, const VellMetadataContainer& container, int index,
                          TextStyle style);

} // namespace Vmc
