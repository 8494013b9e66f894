// Checks on decoded containers: an enumeration's label or its failure, and
// the fields that differ between two containers, found by the field walk.
//
//   expectLabel(d, d.c.bayerPattern, {0x52474742, "RGGB"}, 1400, "Unknown Bayer ...`");
//   changedFields(before.c, after.c)   // names of the fields that differ
#pragma once

#include <VellMetadataContainer/FieldDescription.h>

#include <cstring>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "Decode.h"

namespace Vmc::testing {

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
    if (k.label != nullptr) {
        EXPECT_FALSE(d.isError) << k.value << ": " << d.message;
        EXPECT_STREQ(field.text, k.label) << k.value;
    } else {
        EXPECT_TRUE(d.isError) << k.value;
        EXPECT_EQ(d.code, code) << k.value;
        EXPECT_EQ(d.message, messageHead + std::to_string(k.value) + "'");
        EXPECT_FALSE(field.defined) << k.value;
    }
}

namespace detail {
// Floats compare bit for bit, so that a stored NaN matches itself.
inline bool same(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }
inline bool same(std::uint32_t a, std::uint32_t b) { return a == b; }
inline bool same(std::int32_t a, std::int32_t b) { return a == b; }
inline bool same(bool a, bool b) { return a == b; }
inline bool same(const Vec2& a, const Vec2& b) { return same(a.x, b.x) && same(a.y, b.y); }
inline bool same(const Vec3& a, const Vec3& b) { return same(a.x, b.x) && same(a.y, b.y) && same(a.z, b.z); }
inline bool same(const ImageWindow& a, const ImageWindow& b)
{
    return same(a.first, b.first) && same(a.second, b.second);
}
inline bool same(const Chromaticities& a, const Chromaticities& b)
{
    return same(a.red, b.red) && same(a.green, b.green) && same(a.blue, b.blue) && same(a.white, b.white);
}
inline bool same(const CameraTriple& a, const CameraTriple& b)
{
    return same(a.a, b.a) && same(a.b, b.b) && same(a.c, b.c) && a.extra == b.extra;
}
inline bool same(const Rational& a, const Rational& b)
{
    return a.numerator == b.numerator && a.denominator == b.denominator;
}
inline bool same(const VellRawMeta::TC_Struct& a, const VellRawMeta::TC_Struct& b)
{
    return a.bcdTime == b.bcdTime && a.word1 == b.word1 && a.rateAndDropFrame == b.rateAndDropFrame &&
           a.word3 == b.word3;
}
inline bool same(const MetaString& a, const MetaString& b)
{
    if (a.text == nullptr || b.text == nullptr)
        return a.defined == b.defined && a.text == b.text;
    return a.defined == b.defined && std::strcmp(a.text, b.text) == 0;
}
template <class T>
bool same(const MetaField<T>& a, const MetaField<T>& b)
{
    return a.defined == b.defined && (!a.defined || same(a.value, b.value));
}
} // namespace detail

// Names of the fields whose flag, value or text differ between a and b.
inline std::set<std::string> changedFields(const VellMetadataContainer& a, const VellMetadataContainer& b)
{
    std::set<std::string> names;
    allFieldPairs(a, b, [&](const FieldInfo& info, const auto& left, const auto& right) {
        if (!detail::same(left, right))
            names.insert(info.name);
        return true;
    });
    return names;
}

} // namespace Vmc::testing
