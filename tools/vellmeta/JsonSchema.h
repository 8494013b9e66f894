// The JSON Schema (draft 2020-12) of the `--json` view: an array with one
// object per clip, its `fields` object holding every container field under
// its container name, typed by its value type, with the field's label as
// `title` and its heading and unit in `description`. Built from the
// presentation table, so it describes every field the library decodes.
#pragma once

#include <string>

namespace vellmeta {

std::string jsonViewSchema();

} // namespace vellmeta
