// SPDX-License-Identifier: Apache-2.0
/// @file
/// The recorder description that a header may carry, split into its parts.
#pragma once

#include <string>

#include "Export.h"

namespace Vmc {

/// The parts of a recorder text; a part the text does not supply is empty.
struct RecorderInfo {
    std::string manufacturer; ///< "Codex Digital" when the text is understood
    std::string model;        ///< "SIM2" or "Outboard"
    std::string identifier;   ///< between the first and the second ';'
    std::string details;      ///< everything after the second ';'
};

/// Splits a recorder text of the form
///
/// ~~~
///   Codex Digital;<identifier>;<details>
/// ~~~
///
/// The model comes from the details: the text between their first two dots is
/// "SIM2" for a SIM2 recorder, anything else is an outboard recorder; without
/// two dots the model is left empty. A text that does not begin with
/// "Codex Digital;" (byte for byte, case-sensitive) gives four empty parts.
VMC_EXPORT RecorderInfo parseRecorderInfo(std::string text);

} // namespace Vmc
