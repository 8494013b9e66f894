// SPDX-License-Identifier: Apache-2.0
// The C interface returns, for every field of the samples and of a few
// hundred composed headers, exactly what the C++ container holds; every
// getter but the field's own reports a type mismatch. What a careless host
// passes is the C consumer's part (tests/consumer).
#include <vellmeta/vmc.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include <VellMetadataContainer/TimeCode.h>
#include <vellmeta/Report.h>
#include <vellmeta/Values.h>

#include "support/ContainerProbe.h"
#include "support/HeaderFieldMap.h"

namespace {

using Vmc::testing::HeaderImage;
using Vmc::testing::probe::same;
using ColorSpace = Vmc::VellMetadataContainer::ColorSpace;

struct Handle {
    vmc_container* c = nullptr;
    Handle() { EXPECT_EQ(vmc_create(&c), VMC_OK); }
    ~Handle() { vmc_destroy(c); }
};

Vmc::Vec2 fromC(const vmc_vec2& v) { return {v.x, v.y}; }

// Calls every typed getter on field `index`; the one that matches the
// field's type stores its value, as C++, in `value` (when defined).
template <class Value>
void expectGetters(const vmc_container* c, int index, bool defined, const Value& expected)
{
    const vmc_status own = defined ? VMC_OK : VMC_UNDEFINED;
    auto statusFor = [&](bool mine) { return mine ? own : VMC_TYPE_MISMATCH; };
    const char* name = vmc_field_name(index);

    std::int64_t integer = 0;
    constexpr bool isInteger = std::is_same_v<Value, std::uint32_t> || std::is_same_v<Value, std::int32_t>;
    EXPECT_EQ(vmc_get_integer(c, index, &integer), statusFor(isInteger)) << name;
    float f = 0;
    EXPECT_EQ(vmc_get_float(c, index, &f), statusFor(std::is_same_v<Value, float>)) << name;
    int b = 0;
    EXPECT_EQ(vmc_get_bool(c, index, &b), statusFor(std::is_same_v<Value, bool>)) << name;
    vmc_vec2 v2{};
    EXPECT_EQ(vmc_get_vec2(c, index, &v2), statusFor(std::is_same_v<Value, Vmc::Vec2>)) << name;
    vmc_vec3 v3{};
    EXPECT_EQ(vmc_get_vec3(c, index, &v3), statusFor(std::is_same_v<Value, Vmc::Vec3>)) << name;
    vmc_window w{};
    EXPECT_EQ(vmc_get_window(c, index, &w), statusFor(std::is_same_v<Value, Vmc::ImageWindow>)) << name;
    vmc_chromaticities ch{};
    EXPECT_EQ(vmc_get_chromaticities(c, index, &ch), statusFor(std::is_same_v<Value, Vmc::Chromaticities>)) << name;
    vmc_camera_triple t{};
    EXPECT_EQ(vmc_get_camera_triple(c, index, &t), statusFor(std::is_same_v<Value, Vmc::CameraTriple>)) << name;
    vmc_fraction r{};
    EXPECT_EQ(vmc_get_fraction(c, index, &r), statusFor(std::is_same_v<Value, Vmc::Rational>)) << name;
    constexpr bool isTimeCode = std::is_same_v<Value, VellRawMeta::TC_Struct>;
    vmc_time_code tc{};
    EXPECT_EQ(vmc_get_time_code(c, index, &tc), statusFor(isTimeCode)) << name;
    const char* tcText = nullptr;
    EXPECT_EQ(vmc_get_time_code_text(c, index, &tcText), statusFor(isTimeCode)) << name;
    const char* text = nullptr;
    EXPECT_EQ(vmc_get_text(c, index, &text), statusFor(std::is_same_v<Value, MetaString>)) << name;
    if (!defined)
        return;

    if constexpr (isInteger) {
        EXPECT_EQ(integer, static_cast<std::int64_t>(expected)) << name;
    } else if constexpr (std::is_same_v<Value, float>) {
        EXPECT_TRUE(same(f, expected)) << name;
    } else if constexpr (std::is_same_v<Value, bool>) {
        EXPECT_EQ(b != 0, expected) << name;
    } else if constexpr (std::is_same_v<Value, Vmc::Vec2>) {
        EXPECT_TRUE(same(fromC(v2), expected)) << name;
    } else if constexpr (std::is_same_v<Value, Vmc::Vec3>) {
        EXPECT_TRUE(same(Vmc::Vec3(v3.x, v3.y, v3.z), expected)) << name;
    } else if constexpr (std::is_same_v<Value, Vmc::ImageWindow>) {
        EXPECT_TRUE(same(Vmc::ImageWindow(fromC(w.min), fromC(w.max)), expected)) << name;
    } else if constexpr (std::is_same_v<Value, Vmc::Chromaticities>) {
        EXPECT_TRUE(same(Vmc::Chromaticities(fromC(ch.red), fromC(ch.green), fromC(ch.blue), fromC(ch.white)),
                         expected)) << name;
    } else if constexpr (std::is_same_v<Value, Vmc::CameraTriple>) {
        EXPECT_TRUE(same(Vmc::CameraTriple{t.a, t.b, t.c, t.extra}, expected)) << name;
    } else if constexpr (std::is_same_v<Value, Vmc::Rational>) {
        EXPECT_TRUE(same(Vmc::Rational(r.numerator, r.denominator), expected)) << name;
    } else if constexpr (isTimeCode) {
        EXPECT_TRUE(same(VellRawMeta::TC_Struct{tc.bcdTime, tc.word1, tc.rateAndDropFrame, tc.word3}, expected))
            << name;
        std::ostringstream printed;
        ::operator<<(printed, expected);
        EXPECT_EQ(tcText, printed.str()) << name;
    } else {
        EXPECT_STREQ(text, expected.text) << name;
    }
}

TEST(CInterface, EveryFieldAsTheContainerHoldsIt)
{
    const int spaces[] = {VMC_COLOR_SPACE_ACES_AP0, VMC_COLOR_SPACE_CAMERA_NATIVE, VMC_COLOR_SPACE_WIDE_GAMUT, 7};
    Handle handle; // reused: each decode replaces what the last one left
    int decoded = 0;
    for (const HeaderImage& image : Vmc::testing::variedHeaders(VMC_SAMPLES_DIR, 300, 17)) {
        const int space = spaces[decoded++ % 4];
        const Vmc::testing::Decoded expected =
            Vmc::testing::decode(image, Vmc::VellMetadataContainer(), static_cast<ColorSpace>(space));
        EXPECT_EQ(vmc_decode(handle.c, image.data(), VMC_HEADER_SIZE, space),
                  expected.isError ? VMC_DECODE_FAILURE : VMC_OK);
        int isError = -1;
        std::uint32_t code = 1;
        const char* message = nullptr;
        ASSERT_EQ(vmc_result(handle.c, &isError, &code, &message), VMC_OK);
        EXPECT_EQ(isError != 0, expected.isError);
        EXPECT_EQ(code, expected.code);
        EXPECT_EQ(message, expected.message);

        Vmc::forEachField(expected.c, [&](const Vmc::FieldInfo& info, const auto& field) {
            int defined = -1;
            EXPECT_EQ(vmc_field_defined(handle.c, info.index, &defined), VMC_OK);
            EXPECT_EQ(defined, field.defined) << info.name;
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, MetaString>)
                expectGetters(handle.c, info.index, field.defined, field);
            else
                expectGetters(handle.c, info.index, field.defined, field.value);

            const char* text = nullptr;
            if (field.defined) {
                EXPECT_EQ(vmc_field_text(handle.c, info.index, VMC_TEXT_NUMERIC, &text), VMC_OK);
                EXPECT_EQ(text, vellmeta::fieldText(expected.c, info.index, vellmeta::TextStyle::Numeric)) << info.name;
            } else {
                EXPECT_EQ(vmc_field_text(handle.c, info.index, VMC_TEXT_PEOPLE, &text), VMC_UNDEFINED);
            }
        });

        for (const int all : {0, 1}) {
            std::string json;
            vellmeta::appendContainerJson(json, expected.c, all != 0);
            std::size_t needed = 0;
            ASSERT_EQ(vmc_container_json(handle.c, all, nullptr, 0, &needed), VMC_OK);
            ASSERT_EQ(needed, json.size() + 1);
            std::vector<char> buffer(needed, 'x');
            ASSERT_EQ(vmc_container_json(handle.c, all, buffer.data(), needed - 1, nullptr), VMC_BUFFER_TOO_SMALL);
            EXPECT_EQ(buffer[0], '\0');
            ASSERT_EQ(vmc_container_json(handle.c, all, buffer.data(), buffer.size(), &needed), VMC_OK);
            EXPECT_EQ(buffer.data(), json);
        }
    }
    EXPECT_GT(decoded, 300);
}

TEST(CInterface, DescribesEveryFieldFromThePresentationTable)
{
    ASSERT_EQ(vmc_field_count(), Vmc::kFieldCount);
    std::vector<int> seen(static_cast<std::size_t>(Vmc::kFieldCount), 0);
    for (int i = 0; i < Vmc::kFieldCount; ++i) {
        const vellmeta::FieldPresentation& p = vellmeta::kFields[i];
        EXPECT_EQ(vmc_field_index(p.name.data()), i);
        EXPECT_STREQ(vmc_field_label(i), p.label.data());
        EXPECT_STREQ(vmc_field_unit(i), p.unit.data());
        EXPECT_STREQ(vmc_field_heading(i), vellmeta::headingTitle(p.heading));
        EXPECT_EQ(static_cast<int>(vmc_field_type(i)), static_cast<int>(p.type) + 1) << p.name;
        EXPECT_EQ(static_cast<int>(vmc_field_kind_of(i)), static_cast<int>(p.kind) + 1) << p.name;
        EXPECT_EQ(vmc_presentation_order(i), vellmeta::kPresentationOrder[static_cast<std::size_t>(i)]);
        ++seen[static_cast<std::size_t>(vmc_presentation_order(i))];
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), Vmc::kFieldCount);
    EXPECT_STREQ(vmc_version(), Vmc::VellMetadataContainer::VellMetadataContainerVersion().versionString);
}

} // namespace
