// SPDX-License-Identifier: Apache-2.0
/// @file
/// The production catalog's table of clips, as the field description makes
/// it: the columns of every container field (composite values in columns a
/// query can use, such as whiteBalanceRgb_r or fullImageWindow_width), their
/// values for a decoded container, and the SQL that creates the catalog. The
/// tool writes the catalog with SQLite; any other host (a Python script, a
/// cluster of workers) builds the same table from these.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <VellMetadataContainer/MetadataContainer.h>

#include "Export.h"

namespace vellmeta {

/// The schema version the catalog's PRAGMA user_version holds.
inline constexpr int kCatalogSchemaVersion = 1;
/// The page size of a catalog's database: a clip's row is some 1.7 KB, and
/// pages of 16 KiB hold nine with little left over where 4 KiB pages hold
/// two and leave a fifth unused.
inline constexpr int kCatalogPageSize = 16384;

/// The SQL storage class of a catalog column.
enum class SqlType : std::uint8_t { Integer, Real, Text };
/// "INTEGER", "REAL" or "TEXT".
VELLMETA_EXPORT const char* sqlTypeName(SqlType type);

/// One column of a container field.
struct CatalogColumn {
    std::string name;  ///< such as "whiteBalanceRgb_r"; a field of one column has the field's name
    SqlType type;      ///< the column's SQL type
    int field;         ///< container index of the field
};

/// The columns of every container field, in container order, each field's in
/// the order of its parts.
VELLMETA_EXPORT const std::vector<CatalogColumn>& catalogFieldColumns();

/// A value for a column: NULL where the header leaves the field undefined (or
/// a part cannot be worked out, a window's width when a corner is NaN); a
/// float that is not a number is the text "NaN", which SQL cannot hold as a
/// number.
struct CatalogValue {
    /// The kinds of SQL value: NULL, or one held in `integer`, `real` or `text`.
    enum class Kind : std::uint8_t { Null, Integer, Real, Text } kind = Kind::Null; ///< the value's kind
    std::int64_t integer = 0; ///< the value of an Integer
    double real = 0;          ///< the value of a Real
    std::string text;         ///< the value of a Text, valid UTF-8
};

/// The values of the field columns of `container`, in the order of
/// catalogFieldColumns().
VELLMETA_EXPORT std::vector<CatalogValue> catalogFieldValues(const Vmc::VellMetadataContainer& container);
/// The same, written over `values` (a host writing row after row): the texts
/// keep their storage.
VELLMETA_EXPORT void catalogFieldValues(const Vmc::VellMetadataContainer& container,
                                        std::vector<CatalogValue>& values);

/// The SQL that creates an empty catalog of schema version
/// kCatalogSchemaVersion (its page size first, for a new database): the
/// tables `clips` (one row per file, keyed by its path), `catalog` (the
/// schema and library versions), `scans` and `scan_roots` (what each scan
/// read), the view `clip_report` (the clip report's columns under their
/// people's labels) and the indexes.
VELLMETA_EXPORT std::string catalogSchema();

/// The columns of `clips` before the field columns, in order.
VELLMETA_EXPORT const std::vector<std::string_view>& catalogFileColumns();

/// A fingerprint of a header's 2480 bytes: their xxHash64 (seed 0) as 16
/// hexadecimal digits, the same for the same bytes on every surface and as
/// `xxhsum -H64` prints it.
VELLMETA_EXPORT std::string headerFingerprint(const unsigned char* header);

} // namespace vellmeta
