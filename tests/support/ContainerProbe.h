// SPDX-License-Identifier: Apache-2.0
// Decoding composed header images in tests, and checks over whole
// containers and results, shared by the fuzzer and the tests:
//
//   decode(image)             the container and the result, the message
//                             copied and released
//   firstDifference(a, b)     the first field whose flag, value bits or text
//                             differ (nullptr when none): exact sameness, NaNs
//                             included, unlike operator==; probe::sameField
//                             is that test for one field
//   firstLostField(before, after)  the first field defined before, undefined after
//   holdsUnorderedValue(c)    a defined float NaN or 0/0 fraction, which makes
//                             the container unequal to itself under operator==
//   resultProblem(result, colorSpace)  why a result breaks the failure table
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>

#include <VellMetadataContainer/FieldDescription.h>
#include <VellMetadataContainer/MetadataContainer.h>
#include <container/Failures.h>

#include "HeaderImage.h"

namespace Vmc::testing {

struct Decoded {
    VellMetadataContainer c;
    bool isError = false;
    std::uint32_t code = 0;
    std::string message;
};

// Decodes `image` into `start` (a new container unless given) with the
// primaries of `colorSpace` (wide gamut unless given).
inline Decoded decode(const HeaderImage& image, VellMetadataContainer start = VellMetadataContainer(),
                      VellMetadataContainer::ColorSpace colorSpace = VellMetadataContainer::ColorSpace::WideGamut)
{
    Decoded d;
    d.c = std::move(start);
    ErrorValue result = d.c.initFromHeader(image.header(), colorSpace);
    d.isError = result.isError;
    d.code = result.code;
    d.message = result.message != nullptr ? result.message : "";
    std::free(result.message);
    return d;
}

namespace probe {

// Bit-exact sameness of stored values (padding is never compared).
inline bool same(std::uint32_t a, std::uint32_t b) { return a == b; }
inline bool same(std::int32_t a, std::int32_t b) { return a == b; }
inline bool same(bool a, bool b) { return a == b; }
inline bool same(float a, float b) { return floatBits(a) == floatBits(b); }
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

// Values that compare unequal to themselves.
inline bool unordered(float f) { return std::isnan(f); }
inline bool unordered(const Vec2& v) { return unordered(v.x) || unordered(v.y); }
inline bool unordered(const Vec3& v) { return unordered(v.x) || unordered(v.y) || unordered(v.z); }
inline bool unordered(const ImageWindow& w) { return unordered(w.first) || unordered(w.second); }
inline bool unordered(const Chromaticities& c)
{
    return unordered(c.red) || unordered(c.green) || unordered(c.blue) || unordered(c.white);
}
inline bool unordered(const CameraTriple& t) { return unordered(t.a) || unordered(t.b) || unordered(t.c); }
inline bool unordered(const Rational& r) { return r.numerator == 0 && r.denominator == 0; }
template <class T>
bool unordered(const T&)
{
    return false;
}

inline bool sameField(const MetaString& a, const MetaString& b)
{
    if (a.defined != b.defined || (a.text == nullptr) != (b.text == nullptr))
        return false;
    return a.text == nullptr || std::strcmp(a.text, b.text) == 0;
}
// Values of undefined fields take no part: only the flag says anything then.
template <class T>
bool sameField(const MetaField<T>& a, const MetaField<T>& b)
{
    return a.defined == b.defined && (!a.defined || same(a.value, b.value));
}

} // namespace probe

// The name of the first field, in container order, for which
// `holds(fieldOfA, fieldOfB)` is true; nullptr when there is none.
template <class Predicate>
const char* firstFieldWhere(const VellMetadataContainer& a, const VellMetadataContainer& b, Predicate holds)
{
    const char* name = nullptr;
    allFieldPairs(a, b, [&](const FieldInfo& info, const auto& fa, const auto& fb) {
        name = holds(fa, fb) ? info.name : nullptr;
        return name == nullptr;
    });
    return name;
}

inline const char* firstDifference(const VellMetadataContainer& a, const VellMetadataContainer& b)
{
    return firstFieldWhere(a, b, [](const auto& fa, const auto& fb) { return !probe::sameField(fa, fb); });
}

inline const char* firstLostField(const VellMetadataContainer& before, const VellMetadataContainer& after)
{
    return firstFieldWhere(before, after, [](const auto& fb, const auto& fa) { return fb.defined && !fa.defined; });
}

inline bool holdsUnorderedValue(const VellMetadataContainer& c)
{
    return firstFieldWhere(c, c, [](const auto& field, const auto&) {
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, MetaString>)
            return false;
        else
            return field.defined && probe::unordered(field.value);
    }) != nullptr;
}

// Every defined text is a readable C string, and a field with a text never
// lost its flag: null while undefined is the only allowed combination.
inline const char* firstBrokenText(const VellMetadataContainer& c)
{
    return firstFieldWhere(c, c, [](const auto& field, const auto&) {
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, MetaString>) {
            if (field.text != nullptr)
                (void)std::strlen(field.text);
            return field.defined ? field.text == nullptr : field.text != nullptr;
        }
        return false;
    });
}

// Why `result` is not one the failure table allows (nullptr when it is):
// no failure means code 0 and an empty message; a failure carries one of the
// table's codes with that row's message, and an enumeration message ends in
// a decimal number and "'". The colour space failure names the value passed.
inline const char* resultProblem(const ErrorValue& result, std::int32_t colorSpace)
{
    if (result.message == nullptr)
        return "null message";
    if (!result.isError)
        return result.code == 0 && result.message[0] == '\0' ? nullptr : "no failure, but a code or message";
    for (const decoding::FailureInfo& row : decoding::kFailures) {
        const std::size_t length = std::strlen(row.text);
        if (std::strncmp(result.message, row.text, length) != 0)
            continue;
        if (result.code != row.code)
            return "message and code of different failures";
        const char* rest = result.message + length;
        if (!row.printsValue)
            return *rest == '\0' ? nullptr : "text after a fixed message";
        const bool isSigned = row.failure == decoding::Failure::UnknownColorSpace;
        const char* digits = rest + (isSigned && *rest == '-' ? 1 : 0);
        const std::size_t count = std::strspn(digits, "0123456789");
        if (count == 0 || count > 10 || std::strcmp(digits + count, "'") != 0)
            return "enumeration message without a decimal number and apostrophe";
        const long long value = std::strtoll(rest, nullptr, 10);
        if (isSigned && value != colorSpace)
            return "colour space failure names another value";
        if (!isSigned && value > 0xFFFFFFFFLL)
            return "enumeration value out of 32-bit range";
        return nullptr;
    }
    return "message of no failure in the table";
}

} // namespace Vmc::testing
