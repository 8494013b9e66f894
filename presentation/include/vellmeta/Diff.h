// SPDX-License-Identifier: Apache-2.0
/// @file
/// What differs between two clips: the fields whose values differ or that
/// only one clip defines, compared by the library's own rules (fractions by
/// quotient, floats by IEEE comparison, texts byte for byte), as text or JSON.
///
/// ~~~
///   Text:  a line per field, marked as diff marks lines: "~" values differ,
///          "-" only in the first clip, "+" only in the second, "  " equal
///          (shown with `all`).
///   JSON:  {"a": path, "b": path, "fields": [{"field", "label", "comparison",
///          "a", "b"}, ...]}, the values typed as in the JSON view.
/// ~~~
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <VellMetadataContainer/MetadataContainer.h>

#include "Export.h"
#include "Report.h"

namespace vellmeta {

/// How a field compares between two clips: equal, different, or defined in
/// only the first (A) or only the second (B).
enum class Comparison : std::uint8_t { Equal, Differs, OnlyInA, OnlyInB };

/// "equal", "differs", "onlyInA", "onlyInB".
VELLMETA_EXPORT const char* comparisonName(Comparison comparison);

/// How one field compares between two clips.
struct FieldComparison {
    int field;             ///< container index
    Comparison comparison; ///< how the clips compare in it
};

/// The fields that either clip defines, of those the text view would list
/// with `options` (presentation order; spare and fixed ones with `all`; the
/// chosen fields or headings), each with how the clips compare.
VELLMETA_EXPORT std::vector<FieldComparison> compareClips(const Vmc::VellMetadataContainer& a,
                                                          const Vmc::VellMetadataContainer& b,
                                                          const ReportOptions& options);

/// Appends the diff of two clips, as JSON when options.format is Json and as
/// text otherwise; equal fields only with options.all. Returns whether some
/// field differs.
VELLMETA_EXPORT bool appendDiff(std::string& out, std::string_view pathA, const Vmc::VellMetadataContainer& a,
                                std::string_view pathB, const Vmc::VellMetadataContainer& b,
                                const ReportOptions& options);

} // namespace vellmeta
