// SPDX-License-Identifier: Apache-2.0
// A clip's catalog row, made on a worker thread so that the thread writing
// the catalog only binds it: the header's fingerprint, then each field
// column's value, a kind byte and its bytes.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <vellmeta/Catalog.h>
#include <vellmeta/Scan.h>

namespace vellmeta::cli {

// Writes the row of `input` to `row`.
inline void encodeRow(const Scanned& input, std::string& row)
{
    std::vector<CatalogValue> values;
    catalogFieldValues(input.clip.container, values);
    std::size_t size = 16 + values.size() * 9;
    for (const CatalogValue& value : values)
        size += value.kind == CatalogValue::Kind::Text ? 4 + value.text.size() : 0;
    row.resize(size);
    char* at = row.data();
    const auto put = [&](const void* bytes, std::size_t count) {
        std::memcpy(at, bytes, count);
        at += count;
    };
    put(headerFingerprint(input.header.data()).data(), 16);
    for (const CatalogValue& value : values) {
        *at++ = static_cast<char>(value.kind);
        switch (value.kind) {
        case CatalogValue::Kind::Null: break;
        case CatalogValue::Kind::Integer: put(&value.integer, 8); break;
        case CatalogValue::Kind::Real: put(&value.real, 8); break;
        case CatalogValue::Kind::Text: {
            const auto length = static_cast<std::uint32_t>(value.text.size());
            put(&length, 4);
            put(value.text.data(), value.text.size());
            break;
        }
        }
    }
    row.resize(static_cast<std::size_t>(at - row.data()));
}

// Reads a row encodeRow made, in its order.
class RowReader {
public:
    explicit RowReader(std::string_view row) : row_(row) {}

    std::string_view fingerprint() { return take(16); }
    CatalogValue::Kind kind() { return static_cast<CatalogValue::Kind>(take(1)[0]); }
    std::int64_t integer() { return number<std::int64_t>(); }
    double real() { return number<double>(); }
    std::string_view text() { return take(number<std::uint32_t>()); }

private:
    std::string_view take(std::size_t size)
    {
        const std::string_view part = row_.substr(0, size);
        row_.remove_prefix(size);
        return part;
    }
    template <class Number>
    Number number()
    {
        Number value{};
        std::memcpy(&value, take(sizeof value).data(), sizeof value);
        return value;
    }

    std::string_view row_;
};

} // namespace vellmeta::cli
