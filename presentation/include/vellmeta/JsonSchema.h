// SPDX-License-Identifier: Apache-2.0
/// @file
/// The JSON Schema (draft 2020-12) of the JSON view, generated from the field
/// description beside the writer it describes: every field under its container
/// name with its JSON type, its label as title, its heading and unit as
/// description, null allowed (the view with every field).
#pragma once

#include <string>

#include "Export.h"

namespace vellmeta {

/// The JSON view's schema, as one JSON document.
VELLMETA_EXPORT std::string jsonViewSchema();

} // namespace vellmeta
