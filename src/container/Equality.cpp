// SPDX-License-Identifier: Apache-2.0
// Container equality: the fields compared in container order, stopping at
// the first difference.
//
// The first two fields must agree in definedness (both-sided rule). Every
// other field is compared only where the left-hand container defines it
// (one-sided rule), so a == b and b == a may differ.
#include <VellMetadataContainer/FieldDescription.h>
#include <VellMetadataContainer/TimeCode.h>

#include <cstring>
#include <type_traits>

namespace Vmc {

namespace {

// Fields at these positions use the both-sided rule: spareWord and
// acesContainerFlag.
constexpr int kBothSidedFieldCount = 2;

bool sameValue(std::uint32_t a, std::uint32_t b) { return a == b; }
bool sameValue(std::int32_t a, std::int32_t b) { return a == b; }
bool sameValue(float a, float b) { return a == b; } // IEEE: NaN equals nothing, +0 equals -0

// The flags' bytes are compared as stored, read without loading them as bool:
// a host may have put any byte there.
bool sameValue(const bool& a, const bool& b)
{
    unsigned char byteA;
    unsigned char byteB;
    std::memcpy(&byteA, &a, 1);
    std::memcpy(&byteB, &b, 1);
    return byteA == byteB;
}

bool sameValue(const Vec2& a, const Vec2& b) { return sameValue(a.x, b.x) && sameValue(a.y, b.y); }

bool sameValue(const Vec3& a, const Vec3& b)
{
    return sameValue(a.x, b.x) && sameValue(a.y, b.y) && sameValue(a.z, b.z);
}

bool sameValue(const ImageWindow& a, const ImageWindow& b)
{
    return sameValue(a.first, b.first) && sameValue(a.second, b.second);
}

bool sameValue(const Chromaticities& a, const Chromaticities& b) { return a == b; }

bool sameValue(const CameraTriple& a, const CameraTriple& b)
{
    return sameValue(a.a, b.a) && sameValue(a.b, b.b) && sameValue(a.c, b.c) && a.extra == b.extra;
}

// Fractions are equal by quotient: 1/2 equals 2/4; n/0 is an infinity and
// 0/0 a NaN that equals nothing.
bool sameValue(const Rational& a, const Rational& b)
{
    const double quotientA = static_cast<double>(a.numerator) / static_cast<double>(a.denominator);
    const double quotientB = static_cast<double>(b.numerator) / static_cast<double>(b.denominator);
    return quotientA == quotientB;
}

bool sameValue(const VellRawMeta::TC_Struct& a, const VellRawMeta::TC_Struct& b) { return a == b; }

bool sameValue(const char* a, const char* b)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    return std::strcmp(a, b) == 0;
}

template <class Field>
bool sameDefinedValue(const Field& left, const Field& right)
{
    if (!left.defined || !right.defined)
        return false;
    if constexpr (std::is_same_v<Field, MetaString>)
        return sameValue(left.text, right.text);
    else
        return sameValue(left.value, right.value);
}

template <class Field>
bool equalField(const FieldInfo& info, const Field& left, const Field& right)
{
    if (info.index < kBothSidedFieldCount) {
        if ((left.defined != 0) != (right.defined != 0))
            return false;
        if (!left.defined)
            return true;
    } else {
        if (!left.defined)
            return true;
        if (!right.defined)
            return false;
    }
    return sameDefinedValue(left, right);
}

} // namespace

bool VellMetadataContainer::operator==(const VellMetadataContainer& other) const
{
    return allFieldPairs(*this, other, [](const FieldInfo& info, const auto& left, const auto& right) {
        return equalField(info, left, right);
    });
}

} // namespace Vmc
