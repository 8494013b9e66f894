// SPDX-License-Identifier: Apache-2.0
// How each container value type looks from Python: the annotation that the
// type stubs and the attribute docstrings show. The module's converters turn
// a value of each type into exactly what its annotation here describes, so
// the two are kept side by side in review: one entry per value TYPE, never
// per field.
//
// A value type without an entry here does not compile: adding one to the
// field list means saying how Python sees it.
#pragma once

#include <cstdint>
#include <string>

#include <VellMetadataContainer/VellMetadataContainer.h>

namespace Vmc::python {

template <class T>
struct PythonType; // deliberately undefined

template <>
struct PythonType<std::uint32_t> {
    static constexpr const char* annotation = "int";
};
template <>
struct PythonType<std::int32_t> {
    static constexpr const char* annotation = "int";
};
template <>
struct PythonType<float> {
    static constexpr const char* annotation = "float";
};
template <>
struct PythonType<bool> {
    static constexpr const char* annotation = "bool";
};
template <>
struct PythonType<Vec2> {
    static constexpr const char* annotation = "Tuple[float, float]";
};
template <>
struct PythonType<Vec3> {
    static constexpr const char* annotation = "Tuple[float, float, float]";
};
// Minimum corner, then maximum corner.
template <>
struct PythonType<ImageWindow> {
    static constexpr const char* annotation = "Tuple[Tuple[float, float], Tuple[float, float]]";
};
// Red, green, blue, white.
template <>
struct PythonType<Chromaticities> {
    static constexpr const char* annotation =
        "Tuple[Tuple[float, float], Tuple[float, float], Tuple[float, float], Tuple[float, float]]";
};
// a, b, c, extra.
template <>
struct PythonType<CameraTriple> {
    static constexpr const char* annotation = "Tuple[float, float, float, int]";
};
template <>
struct PythonType<Rational> {
    static constexpr const char* annotation = "Rational";
};
template <>
struct PythonType<VellRawMeta::TC_Struct> {
    static constexpr const char* annotation = "TimeCode";
};
template <>
struct PythonType<MetaString> {
    static constexpr const char* annotation = "str";
};
template <class T>
struct PythonType<MetaField<T>> : PythonType<T> {};

// The field type behind a container member pointer.
template <class Member>
struct FieldOfMember;
template <class Field>
struct FieldOfMember<Field VellMetadataContainer::*> {
    using type = Field;
};
template <class Member>
using FieldOf = typename FieldOfMember<Member>::type;

// The annotation of a container field: its value type, or None while the
// header left it undefined.
template <class Member>
std::string fieldAnnotation(Member)
{
    return std::string("Optional[") + PythonType<FieldOf<Member>>::annotation + "]";
}

} // namespace Vmc::python
