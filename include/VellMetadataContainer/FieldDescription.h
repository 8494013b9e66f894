// Walking the container's fields in container order, driven by the one field
// list in ContainerFields.def.
//
//   Vmc::forEachField(container, [](const Vmc::FieldInfo& info, auto& field) { ... });
//   Vmc::forEachFieldMember([](const Vmc::FieldInfo& info, auto member) { ... });
//
// The visitor is called once per field with its description and a reference
// to the field (a MetaField<T> or a MetaString); overload or use `if
// constexpr` on the field's type to handle each kind.
#pragma once

#include <cstddef>
#include <utility>

#include "MetadataContainer.h"

namespace Vmc {

// The heading under which tools show a field.
enum class FieldGroup {
    Camera,
    Capture,
    Lens,
    Color,
    Look,
    Sensor,
    Encoders,
    Texts,
    Records,
    Spare,
};

struct FieldInfo {
    const char* name; // the container member's name
    FieldGroup group;
    int index;        // position in container order, from 0
};

// Every field's description, in container order.
constexpr FieldInfo kFieldInfos[] = {
#define VMC_FIELD(name, Type, group, ...) {#name, FieldGroup::group, 0},
#include "ContainerFields.def"
#undef VMC_FIELD
};

constexpr int kFieldCount = static_cast<int>(sizeof(kFieldInfos) / sizeof(kFieldInfos[0]));

namespace detail {
constexpr FieldInfo fieldInfo(int index)
{
    return {kFieldInfos[index].name, kFieldInfos[index].group, index};
}
} // namespace detail

// Calls visitor(info, member) for every field in order, with `member` a
// pointer to the container member (e.g. &VellMetadataContainer::cameraModel):
// for code that binds fields once and reads them from many containers later.
template <class Visitor>
void forEachFieldMember(Visitor&& visitor)
{
    int index = 0;
#define VMC_FIELD(name, ...) visitor(detail::fieldInfo(index++), &VellMetadataContainer::name);
#include "ContainerFields.def"
#undef VMC_FIELD
}

// Calls visitor(info, field) for every field of `container` (a
// VellMetadataContainer, const or not), in order.
template <class Container, class Visitor>
void forEachField(Container& container, Visitor&& visitor)
{
    forEachFieldMember([&](const FieldInfo& info, auto member) { visitor(info, container.*member); });
}

// Calls visitor(info, fieldOfA, fieldOfB) for every field in order while the
// visitor returns true; returns false as soon as it returns false.
template <class Visitor>
bool allFieldPairs(const VellMetadataContainer& a, const VellMetadataContainer& b, Visitor&& visitor)
{
    int index = 0;
#define VMC_FIELD(name, ...)                                  \
    if (!visitor(detail::fieldInfo(index++), a.name, b.name)) \
        return false;
#include "ContainerFields.def"
#undef VMC_FIELD
    return true;
}

// Name of a heading, in lower case ("camera", "capture", ...).
constexpr const char* fieldGroupName(FieldGroup group)
{
    switch (group) {
    case FieldGroup::Camera: return "camera";
    case FieldGroup::Capture: return "capture";
    case FieldGroup::Lens: return "lens";
    case FieldGroup::Color: return "color";
    case FieldGroup::Look: return "look";
    case FieldGroup::Sensor: return "sensor";
    case FieldGroup::Encoders: return "encoders";
    case FieldGroup::Texts: return "texts";
    case FieldGroup::Records: return "records";
    case FieldGroup::Spare: return "spare";
    }
    return "";
}

// Heading under which a person reads the group's fields ("Camera", "Capture
// and time codes", ...).
constexpr const char* fieldGroupTitle(FieldGroup group)
{
    switch (group) {
    case FieldGroup::Camera: return "Camera";
    case FieldGroup::Capture: return "Capture and time codes";
    case FieldGroup::Lens: return "Lens and location";
    case FieldGroup::Color: return "Colour and white balance";
    case FieldGroup::Look: return "Look";
    case FieldGroup::Sensor: return "Sensor and ND";
    case FieldGroup::Encoders: return "Encoders";
    case FieldGroup::Texts: return "Production and recorder texts";
    case FieldGroup::Records: return "Named records";
    case FieldGroup::Spare: return "Spare";
    }
    return "";
}

// Number of groups; FieldGroup values run from 0 to kFieldGroupCount - 1.
constexpr int kFieldGroupCount = static_cast<int>(FieldGroup::Spare) + 1;

} // namespace Vmc
