// SPDX-License-Identifier: Apache-2.0
/// @file
/// Texts and numbers as every view writes them. Header texts are bytes as a
/// camera (or anyone with a hex editor) wrote them: they are made valid UTF-8,
/// and escaped wherever they could break the line, the format or a reader.
#pragma once

#include <string>
#include <string_view>

#include "Export.h"

namespace vellmeta {

///@{
/// The bytes as UTF-8: every maximal ill-formed subsequence becomes one
/// U+FFFD replacement character; valid sequences pass unchanged. The append
/// form adds them to `out`.
VELLMETA_EXPORT void appendValidUtf8(std::string& out, std::string_view bytes);
VELLMETA_EXPORT std::string validUtf8(std::string_view bytes);
///@}

///@{
/// appendValidUtf8, with control characters written as escapes (`\n`, `\t`,
/// `\r`, `\xNN`, and `\u0080` to `\u009F`), so that a header text always
/// stays on its one line and sends a terminal nothing to act on.
VELLMETA_EXPORT void appendPrintable(std::string& out, std::string_view bytes);
VELLMETA_EXPORT std::string printable(std::string_view bytes);
///@}

/// Appends a JSON string literal of the bytes made valid UTF-8, quotes
/// included.
VELLMETA_EXPORT void appendJsonString(std::string& out, std::string_view bytes);

///@{
/// A number as every view writes it: the shortest decimal that reads back as
/// the same value, whole numbers below 1e16 as their integer digits, plain
/// digits from 0.0001 up to 1e16 and scientific notation outside ("1e-05",
/// "3.4028235e+38"); "NaN", "Infinity" and "-Infinity" for values that are
/// not finite.
VELLMETA_EXPORT std::string floatText(float value);
VELLMETA_EXPORT std::string floatText(double value);
///@}

} // namespace vellmeta
