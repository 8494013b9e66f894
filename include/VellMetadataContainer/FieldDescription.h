// SPDX-License-Identifier: Apache-2.0
/// @file
/// Walking the container's fields in container order, driven by the one field
/// list in ContainerFields.def.
///
/// @code
///   Vmc::forEachField(container, [](const Vmc::FieldInfo& info, auto& field) { ... });
///   Vmc::forEachFieldMember([](const Vmc::FieldInfo& info, auto member) { ... });
/// @endcode
///
/// The visitor is called once per field with its description and a reference
/// to the field (a `MetaField<T>` or a MetaString); overload or use `if
/// constexpr` on the field's type to handle each kind.
#pragma once

#include "MetadataContainer.h"

namespace Vmc {

/// A container field's name and place.
struct FieldInfo {
    const char* name; ///< the container member's name
    int index;        ///< position in container order, from 0
};

/// Every field's description, in container order. (Its `index` members are
/// 0; the walks below pass each field's own index.)
constexpr FieldInfo kFieldInfos[] = {
#define VMC_FIELD(name, Type) {#name, 0},
#include "ContainerFields.def"
#undef VMC_FIELD
};

/// The number of container fields.
constexpr int kFieldCount = static_cast<int>(sizeof(kFieldInfos) / sizeof(kFieldInfos[0]));

namespace detail {
constexpr FieldInfo fieldInfo(int index)
{
    return {kFieldInfos[index].name, index};
}
} // namespace detail

/// Calls visitor(info, member) for every field in order, with `member` a
/// pointer to the container member (such as &VellMetadataContainer::cameraModel):
/// for code that binds fields once and reads them from many containers later.
template <class Visitor>
void forEachFieldMember(Visitor&& visitor)
{
    int index = 0;
#define VMC_FIELD(name, Type) visitor(detail::fieldInfo(index++), &VellMetadataContainer::name);
#include "ContainerFields.def"
#undef VMC_FIELD
}

/// Calls visitor(info, field) for every field of `container` (a
/// VellMetadataContainer, const or not), in order.
template <class Container, class Visitor>
void forEachField(Container& container, Visitor&& visitor)
{
    forEachFieldMember([&](const FieldInfo& info, auto member) { visitor(info, container.*member); });
}

/// Calls visitor(info, fieldOfA, fieldOfB) for every field in order while the
/// visitor returns true; returns false as soon as it returns false.
template <class Visitor>
bool allFieldPairs(const VellMetadataContainer& a, const VellMetadataContainer& b, Visitor&& visitor)
{
    int index = 0;
#define VMC_FIELD(name, Type)                                 \
    if (!visitor(detail::fieldInfo(index++), a.name, b.name)) \
        return false;
#include "ContainerFields.def"
#undef VMC_FIELD
    return true;
}

} // namespace Vmc
