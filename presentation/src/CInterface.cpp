// SPDX-License-Identifier: Apache-2.0
// The C interface (vmc.h) over the container and the presentation library.
// Every entry point runs its work through `guarded`, so no C++ exception
// reaches a C caller.
#include <vellmeta/vmc.h>

#include <cstring>
#include <new>
#include <string>
#include <type_traits>

#include <VellMetadataContainer/FieldDescription.h>
#include <vellmeta/Decode.h>
#include <vellmeta/Fields.h>
#include <vellmeta/Report.h>
#include <vellmeta/Values.h>

struct vmc_container {
    vellmeta::Decoded decoded;
    // The text most recently handed out that the handle had to build.
    mutable std::string scratch;
};

namespace {

using vellmeta::kFieldCount;
using vellmeta::kFields;
using vellmeta::ValueType;

template <class Work>
vmc_status guarded(Work&& work) noexcept
{
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return VMC_OUT_OF_MEMORY;
    } catch (...) {
        return VMC_INTERNAL_ERROR;
    }
}

bool validIndex(int index) { return index >= 0 && index < kFieldCount; }

// Calls visit(field) with the container's field number `index`.
template <class Visit>
void visitField(const Vmc::VellMetadataContainer& container, int index, Visit&& visit)
{
    Vmc::forEachField(container, [&](const Vmc::FieldInfo& info, const auto& field) {
        if (info.index == index)
            visit(field);
    });
}

// Checks the arguments every reader of field `index` takes, then runs read().
template <class Out, class Read>
vmc_status readField(const vmc_container* handle, int index, Out* out, Read&& read)
{
    if (handle == nullptr || out == nullptr)
        return VMC_NULL_ARGUMENT;
    if (!validIndex(index))
        return VMC_INDEX_OUT_OF_RANGE;
    return guarded(read);
}

// Reads field `index` when it is a MetaField of one of the `Values`, storing
// convert(value) in *out.
template <class... Values, class Out, class Convert>
vmc_status readValue(const vmc_container* handle, int index, Out* out, Convert convert)
{
    return readField(handle, index, out, [&] {
        vmc_status status = VMC_TYPE_MISMATCH;
        visitField(handle->decoded.container, index, [&](const auto& field) {
            using Field = std::decay_t<decltype(field)>;
            if constexpr ((std::is_same_v<Field, MetaField<Values>> || ...)) {
                if (!field.defined) {
                    status = VMC_UNDEFINED;
                } else {
                    *out = convert(field.value);
                    status = VMC_OK;
                }
            }
        });
        return status;
    });
}

vmc_vec2 toC(const Vmc::Vec2& v) { return {v.x, v.y}; }

template <class Value>
Value same(const Value& value)
{
    return value;
}

} // namespace

extern "C" {

// The version record builds its text once, on first use; even that
// allocation failing must not escape to C.
const char* vmc_version(void)
{
    try {
        return Vmc::VellMetadataContainer::VellMetadataContainerVersion().versionString;
    } catch (...) {
        return "";
    }
}

int vmc_version_number(void)
{
    try {
        const Vmc::Version version = Vmc::VellMetadataContainer::VellMetadataContainerVersion();
        return version.major * 10000 + version.minor * 100 + version.patch;
    } catch (...) {
        return 0;
    }
}

const char* vmc_status_text(int status)
{
    switch (status) {
    case VMC_OK: return "no failure";
    case VMC_DECODE_FAILURE: return "the header reported a failure";
    case VMC_NULL_ARGUMENT: return "a required argument is null";
    case VMC_SHORT_HEADER: return "a header needs 2480 bytes";
    case VMC_INDEX_OUT_OF_RANGE: return "no field has this index";
    case VMC_TYPE_MISMATCH: return "the field holds another type of value";
    case VMC_UNDEFINED: return "the field is undefined";
    case VMC_BUFFER_TOO_SMALL: return "the buffer is too small";
    case VMC_OUT_OF_MEMORY: return "out of memory";
    case VMC_INTERNAL_ERROR: return "internal error";
    }
    return "unknown status";
}

vmc_status vmc_create(vmc_container** out)
{
    if (out == nullptr)
        return VMC_NULL_ARGUMENT;
    *out = nullptr;
    return guarded([&] {
        *out = new vmc_container();
        return VMC_OK;
    });
}

void vmc_destroy(vmc_container* container) { delete container; }

vmc_status vmc_decode(vmc_container* handle, const void* bytes, size_t length, int colorSpace)
{
    if (handle == nullptr || bytes == nullptr)
        return VMC_NULL_ARGUMENT;
    if (length < VMC_HEADER_SIZE)
        return VMC_SHORT_HEADER;
    static_assert(VMC_HEADER_SIZE == sizeof(VellRawMeta::VellFileHeaderV3), "one header size");
    return guarded([&] {
        handle->decoded = vellmeta::decode(static_cast<const unsigned char*>(bytes),
                                           static_cast<vellmeta::ColorSpace>(colorSpace));
        return handle->decoded.isError ? VMC_DECODE_FAILURE : VMC_OK;
    });
}

vmc_status vmc_result(const vmc_container* handle, int* isError, uint32_t* code, const char** message)
{
    if (handle == nullptr)
        return VMC_NULL_ARGUMENT;
    if (isError != nullptr)
        *isError = handle->decoded.isError ? 1 : 0;
    if (code != nullptr)
        *code = handle->decoded.code;
    if (message != nullptr)
        *message = handle->decoded.message.c_str();
    return VMC_OK;
}

int vmc_field_count(void) { return kFieldCount; }

int vmc_field_index(const char* name)
{
    if (name == nullptr)
        return -1;
    return vellmeta::fieldIndex(name);
}

int vmc_presentation_order(int position)
{
    return validIndex(position) ? vellmeta::kPresentationOrder[static_cast<std::size_t>(position)] : -1;
}

const char* vmc_field_name(int index) { return validIndex(index) ? kFields[index].name.data() : nullptr; }
const char* vmc_field_label(int index) { return validIndex(index) ? kFields[index].label.data() : nullptr; }
const char* vmc_field_unit(int index) { return validIndex(index) ? kFields[index].unit.data() : nullptr; }

const char* vmc_field_heading(int index)
{
    return validIndex(index) ? vellmeta::headingTitle(kFields[index].heading) : nullptr;
}

vmc_value_type vmc_field_type(int index)
{
    if (!validIndex(index))
        return VMC_TYPE_NONE;
    switch (kFields[index].type) {
    case ValueType::UInt32: return VMC_TYPE_UINT32;
    case ValueType::Int32: return VMC_TYPE_INT32;
    case ValueType::Float: return VMC_TYPE_FLOAT;
    case ValueType::Bool: return VMC_TYPE_BOOL;
    case ValueType::Vec2: return VMC_TYPE_VEC2;
    case ValueType::Vec3: return VMC_TYPE_VEC3;
    case ValueType::ImageWindow: return VMC_TYPE_IMAGE_WINDOW;
    case ValueType::Chromaticities: return VMC_TYPE_CHROMATICITIES;
    case ValueType::CameraTriple: return VMC_TYPE_CAMERA_TRIPLE;
    case ValueType::Rational: return VMC_TYPE_FRACTION;
    case ValueType::TimeCode: return VMC_TYPE_TIME_CODE;
    case ValueType::Text: return VMC_TYPE_TEXT;
    }
    return VMC_TYPE_NONE;
}

vmc_field_kind vmc_field_kind_of(int index)
{
    if (!validIndex(index))
        return VMC_KIND_NONE;
    switch (kFields[index].kind) {
    case vellmeta::FieldKind::Shown: return VMC_KIND_SHOWN;
    case vellmeta::FieldKind::Spare: return VMC_KIND_SPARE;
    case vellmeta::FieldKind::Fixed: return VMC_KIND_FIXED;
    }
    return VMC_KIND_NONE;
}

vmc_status vmc_field_defined(const vmc_container* handle, int index, int* defined)
{
    return readField(handle, index, defined, [&] {
        *defined = vellmeta::fieldDefined(handle->decoded.container, index) ? 1 : 0;
        return VMC_OK;
    });
}

vmc_status vmc_field_listed(const vmc_container* handle, int index, int* listed)
{
    return readField(handle, index, listed, [&] {
        *listed = vellmeta::listedForPeople(handle->decoded.container, index) ? 1 : 0;
        return VMC_OK;
    });
}

vmc_status vmc_field_set_by_camera(const vmc_container* handle, int index, int* set)
{
    return readField(handle, index, set, [&] {
        *set = vellmeta::setByCamera(handle->decoded.container, index) ? 1 : 0;
        return VMC_OK;
    });
}

vmc_status vmc_get_integer(const vmc_container* handle, int index, int64_t* out)
{
    return readValue<std::uint32_t, std::int32_t>(handle, index, out, [](auto v) { return std::int64_t{v}; });
}

vmc_status vmc_get_float(const vmc_container* handle, int index, float* out)
{
    return readValue<float>(handle, index, out, same<float>);
}

vmc_status vmc_get_bool(const vmc_container* handle, int index, int* out)
{
    return readValue<bool>(handle, index, out, [](bool v) { return v ? 1 : 0; });
}

vmc_status vmc_get_vec2(const vmc_container* handle, int index, vmc_vec2* out)
{
    return readValue<Vmc::Vec2>(handle, index, out, toC);
}

vmc_status vmc_get_vec3(const vmc_container* handle, int index, vmc_vec3* out)
{
    return readValue<Vmc::Vec3>(handle, index, out, [](const Vmc::Vec3& v) { return vmc_vec3{v.x, v.y, v.z}; });
}

vmc_status vmc_get_window(const vmc_container* handle, int index, vmc_window* out)
{
    return readValue<Vmc::ImageWindow>(handle, index, out, [](const Vmc::ImageWindow& w) {
        return vmc_window{toC(w.first), toC(w.second)};
    });
}

vmc_status vmc_get_chromaticities(const vmc_container* handle, int index, vmc_chromaticities* out)
{
    return readValue<Vmc::Chromaticities>(handle, index, out, [](const Vmc::Chromaticities& c) {
        return vmc_chromaticities{toC(c.red), toC(c.green), toC(c.blue), toC(c.white)};
    });
}

vmc_status vmc_get_camera_triple(const vmc_container* handle, int index, vmc_camera_triple* out)
{
    return readValue<Vmc::CameraTriple>(handle, index, out, [](const Vmc::CameraTriple& t) {
        return vmc_camera_triple{t.a, t.b, t.c, t.extra};
    });
}

vmc_status vmc_get_fraction(const vmc_container* handle, int index, vmc_fraction* out)
{
    return readValue<Vmc::Rational>(handle, index, out, [](const Vmc::Rational& r) {
        return vmc_fraction{r.numerator, r.denominator};
    });
}

vmc_status vmc_get_time_code(const vmc_container* handle, int index, vmc_time_code* out)
{
    return readValue<VellRawMeta::TC_Struct>(handle, index, out, [](const VellRawMeta::TC_Struct& tc) {
        return vmc_time_code{tc.bcdTime, tc.word1, tc.rateAndDropFrame, tc.word3};
    });
}

vmc_status vmc_get_time_code_text(const vmc_container* handle, int index, const char** out)
{
    return readValue<VellRawMeta::TC_Struct>(handle, index, out, [&](const VellRawMeta::TC_Struct& tc) {
        handle->scratch = vellmeta::timeCodeText(tc);
        return handle->scratch.c_str();
    });
}

vmc_status vmc_get_text(const vmc_container* handle, int index, const char** out)
{
    return readField(handle, index, out, [&] {
        vmc_status status = VMC_TYPE_MISMATCH;
        visitField(handle->decoded.container, index, [&](const auto& field) {
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, MetaString>) {
                status = field.defined && field.text != nullptr ? VMC_OK : VMC_UNDEFINED;
                if (status == VMC_OK)
                    *out = field.text;
            }
        });
        return status;
    });
}

vmc_status vmc_field_text(const vmc_container* handle, int index, int style, const char** out)
{
    return readField(handle, index, out, [&] {
        if (!vellmeta::fieldDefined(handle->decoded.container, index))
            return VMC_UNDEFINED;
        handle->scratch.clear();
        vellmeta::appendFieldText(handle->scratch, handle->decoded.container, index,
                                  style == VMC_TEXT_NUMERIC ? vellmeta::TextStyle::Numeric
                                                            : vellmeta::TextStyle::People);
        *out = handle->scratch.c_str();
        return VMC_OK;
    });
}

vmc_status vmc_container_json(const vmc_container* handle, int all, char* buffer, size_t capacity, size_t* needed)
{
    return guarded([&] {
        if (handle == nullptr || (buffer == nullptr && capacity != 0))
            return VMC_NULL_ARGUMENT;
        handle->scratch.clear();
        vellmeta::appendContainerJson(handle->scratch, handle->decoded.container, all != 0);
        const std::size_t size = handle->scratch.size() + 1;
        if (needed != nullptr)
            *needed = size;
        if (buffer == nullptr)
            return VMC_OK;
        if (capacity < size) {
            buffer[0] = '\0';
            return VMC_BUFFER_TOO_SMALL;
        }
        std::memcpy(buffer, handle->scratch.c_str(), size);
        return VMC_OK;
    });
}

} // extern "C"
