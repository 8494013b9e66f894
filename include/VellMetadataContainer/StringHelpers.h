// SPDX-License-Identifier: Apache-2.0
/// @file
/// Text helpers that turn raw header bytes into text.
#pragma once

#include <string>
#include <vector>

#include "Export.h"

namespace Vmc {

/// Splits `text` into the maximal runs of bytes that are not in `delimiters`
/// (a set of single characters). Never yields an empty token; an empty
/// delimiter set yields the whole non-empty text.
VMC_EXPORT std::vector<std::string> tokenize(const std::string& text, const std::string& delimiters);

/// A copy of `text` with every space (0x20) replaced by an underscore.
VMC_EXPORT std::string spacesToUnderscores(const std::string& text);

/// Copies a fixed-width header text field to the C heap: at most `length`
/// bytes, ending at the first NUL, always NUL-terminated. Returns null when
/// `length` is 0, when every byte is 0xFF (never written), or when the
/// allocation fails. The caller releases the copy with `free`.
VMC_EXPORT char* strdupNullOrBoundsTerminatedCString(const unsigned char* bytes, unsigned long length);

/// Two upper-case hexadecimal digits per byte, high nibble first, no
/// separators; empty for a count of 0 or less.
VMC_EXPORT std::string hexStringFromU8Array(const unsigned char* bytes, int count);

} // namespace Vmc
