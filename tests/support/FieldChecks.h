// SPDX-License-Identifier: Apache-2.0
// Checks on decoded containers: headers built from the smallest decodable
// one, a container holding values of an earlier header, a field's text or
// value (or nothing when undefined), an enumeration's label or its failure,
// and the fields that differ between two containers, found by the field walk.
//
//   const Decoded d = decode(headerWith(VMC_AT(cameraType), 2u, VMC_AT(lensName), "Zeiss"), earlier());
//   EXPECT_STREQ(textOf(d.c.cameraModel), "Corva LT");   // null when undefined
//   expectLabel(d, d.c.bayerPattern, {0x52474742, "RGGB"}, 1400, "Unknown Bayer ...`");
//   changedFields(before.c, after.c)                     // names of the fields that differ
#pragma once

#include <VellMetadataContainer/FieldDescription.h>
#include <VellMetadataContainer/TimeCode.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <type_traits>
#include <utility>

#include <gtest/gtest.h>

#include "ContainerProbe.h"
#include "FullHeader.h"

namespace Vmc::testing {

constexpr std::uint32_t kUnwritten = 0xFFFFFFFF;
constexpr std::uint16_t kUnwritten16 = 0xFFFF;

namespace detail {
inline void setFields(HeaderImage&) {}
template <class T, class V, class... Rest>
void setFields(HeaderImage& image, decoding::At<T> at, const V& value, const Rest&... rest)
{
    if constexpr (std::is_array_v<T> && std::is_same_v<std::remove_extent_t<T>, unsigned char>)
        image.setText(at, value);
    else
        image.set(at, value);
    setFields(image, rest...);
}
} // namespace detail

// The smallest decodable header with some fields written: pairs of a field
// and its value, a text for a text field.
template <class... FieldsAndValues>
HeaderImage headerWith(const FieldsAndValues&... fieldsAndValues)
{
    HeaderImage image = HeaderImage::decodable();
    detail::setFields(image, fieldsAndValues...);
    return image;
}

// A container as an earlier header left it: every text "earlier", every
// float -1 and every 32-bit word 77, so that a field a decoding leaves alone
// shows it.
inline VellMetadataContainer earlier()
{
    VellMetadataContainer c;
    forEachField(c, [](const FieldInfo&, auto& field) {
        using Field = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<Field, MetaString>)
            field = "earlier";
        else if constexpr (std::is_same_v<Field, MetaField<float>>)
            field.set(-1.0f);
        else if constexpr (std::is_same_v<Field, MetaField<std::uint32_t>>)
            field.set(77);
    });
    return c;
}

// A field's text or value, or nothing when it is undefined.
inline const char* textOf(const MetaString& field) { return field.defined ? field.text : nullptr; }
template <class T>
std::optional<T> valueOf(const MetaField<T>& field)
{
    return field.defined ? std::optional<T>(field.value) : std::nullopt;
}

// One value of a header enumeration and its label; a null label marks a
// value that decoding reports as unknown.
struct EnumCase {
    std::uint32_t value;
    const char* label;
};

// `field` holds the case's label and nothing failed, or else the result is
// failure `code` with `messageHead`, the value and "'", and `field` is
// undefined.
inline void expectLabel(const Decoded& d, const MetaString& field, const EnumCase& k, std::uint32_t code,
                        const std::string& messageHead)
{
    EXPECT_STREQ(textOf(field), k.label) << k.value;
    EXPECT_EQ(d.isError, k.label == nullptr) << k.value << ": " << d.message;
    EXPECT_EQ(d.code, k.label ? 0u : code) << k.value;
    EXPECT_EQ(d.message, k.label ? "" : messageHead + std::to_string(k.value) + "'");
}

// Names of the fields whose flag, value or text differ between a and b.
inline std::set<std::string> changedFields(const VellMetadataContainer& a, const VellMetadataContainer& b)
{
    std::set<std::string> names;
    allFieldPairs(a, b, [&](const FieldInfo& info, const auto& left, const auto& right) {
        if (!probe::sameField(left, right))
            names.insert(info.name);
        return true;
    });
    return names;
}

} // namespace Vmc::testing
