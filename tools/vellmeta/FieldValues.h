// How vellmeta shows one value of each container field type: as text for a
// person and as a typed JSON value. There is one formatter per value type,
// never one per field; the views walk the fields through Vmc::forEachField.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include <VellMetadataContainer/VellMetadataContainer.h>

// Floats in JSON are written as the shortest decimal that reads back as the
// same float, as std::to_chars finds it. nlohmann/json's own writer leaves a
// digit too many where the shortest form lies exactly on the float's rounding
// boundary, so its float writer is replaced here, where Json is declared.
NLOHMANN_JSON_NAMESPACE_BEGIN
namespace detail {
template <>
__attribute__((nonnull(1, 2), returns_nonnull))
char* to_chars<float>(char* first, const char* last, float value);
} // namespace detail
NLOHMANN_JSON_NAMESPACE_END

namespace vellmeta {

// A JSON value whose numbers with a fraction are 32-bit floats, so that
// writing one gives the shortest decimal that reads back as the same float
// (0.3127, not 0.31270000338554382). Objects keep the order of insertion,
// which is container order for the fields.
using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, std::int64_t,
                                  std::uint64_t, float>;

// The bytes as UTF-8: every maximal ill-formed subsequence becomes one
// U+FFFD replacement character, valid sequences pass unchanged.
std::string validUtf8(std::string_view bytes);

// validUtf8, with control characters written as escapes (\n, \t, \xNN), so
// that a header text always stays on its one line of output.
std::string printable(std::string_view bytes);

// The shortest decimal that reads back as the same float, in plain digits
// from 0.0001 up to 1e16 and in scientific notation outside; non-finite
// values as "NaN", "Infinity" and "-Infinity". JSON numbers are written the
// same way, with ".0" after integral values.
std::string floatText(float value);
char* writeShortest(char* first, char* last, float value); // finite values only

// Text for a person.
std::string textValue(std::uint32_t value);
std::string textValue(std::int32_t value);
std::string textValue(bool value);
std::string textValue(float value);
std::string textValue(const Vmc::Vec2& value);
std::string textValue(const Vmc::Vec3& value);
std::string textValue(const Vmc::ImageWindow& value);
std::string textValue(const Vmc::Chromaticities& value);
std::string textValue(const Vmc::CameraTriple& value);
std::string textValue(const Vmc::Rational& value);
std::string textValue(const VellRawMeta::TC_Struct& value);
std::string textValue(const MetaString& value);

// Typed JSON.
Json jsonValue(std::uint32_t value);
Json jsonValue(std::int32_t value);
Json jsonValue(bool value);
Json jsonValue(float value);
Json jsonValue(const Vmc::Vec2& value);
Json jsonValue(const Vmc::Vec3& value);
Json jsonValue(const Vmc::ImageWindow& value);
Json jsonValue(const Vmc::Chromaticities& value);
Json jsonValue(const Vmc::CameraTriple& value);
Json jsonValue(const Vmc::Rational& value);
Json jsonValue(const VellRawMeta::TC_Struct& value);
Json jsonValue(const MetaString& value);

// A numeric field's value; the text field is its own value.
template <class T>
std::string textValue(const MetaField<T>& field)
{
    return textValue(field.value);
}
template <class T>
Json jsonValue(const MetaField<T>& field)
{
    return jsonValue(field.value);
}

} // namespace vellmeta
