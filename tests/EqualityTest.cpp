// SPDX-License-Identifier: Apache-2.0
// Container equality: definedness rules, value comparison by type, and a
// difference in any one field, walked over the whole field list.
#include <functional>

#include "support/FieldChecks.h"

using C = Vmc::VellMetadataContainer;
using Vmc::Vec2;

namespace {

// For each value type: a base value first, then values that each differ from
// it in exactly one component (or, for fractions, in quotient).
std::vector<std::uint32_t> variants(std::uint32_t) { return {7, 8, 0}; }
std::vector<std::int32_t> variants(std::int32_t) { return {-7, 7}; }
std::vector<float> variants(float) { return {1.5f, 2.5f}; }
std::vector<bool> variants(bool) { return {true, false}; }
std::vector<Vmc::Rational> variants(const Vmc::Rational&) { return {{24, 1}, {25, 1}, {24, 2}, {-24, 1}}; }
std::vector<Vec2> variants(const Vec2&) { return {{0.1f, 0.2f}, {0.9f, 0.2f}, {0.1f, 0.9f}}; }
std::vector<Vmc::Vec3> variants(const Vmc::Vec3&) { return {{1, 2, 3}, {9, 2, 3}, {1, 9, 3}, {1, 2, 9}}; }
template <class T, class = std::enable_if_t<std::is_same_v<T, Vmc::CameraTriple> ||
                                          std::is_same_v<T, VellRawMeta::TC_Struct>>>
std::vector<T> variants(const T&) { return {{1, 2, 3, 4}, {9, 2, 3, 4}, {1, 9, 3, 4}, {1, 2, 9, 4}, {1, 2, 3, 9}}; }
std::vector<Vmc::ImageWindow> variants(const Vmc::ImageWindow&)
{
    return {{{0, 1}, {2, 3}}, {{9, 1}, {2, 3}}, {{0, 9}, {2, 3}}, {{0, 1}, {9, 3}}, {{0, 1}, {2, 9}}};
}
std::vector<Vmc::Chromaticities> variants(const Vmc::Chromaticities&)
{
    std::vector<Vmc::Chromaticities> values(9, {{0.64f, 0.33f}, {0.3f, 0.6f}, {0.15f, 0.06f}, {0.3127f, 0.329f}});
    for (int i = 0; i < 8; ++i) {
        Vec2* points[] = {&values[i + 1].red, &values[i + 1].green, &values[i + 1].blue, &values[i + 1].white};
        (i % 2 == 0 ? points[i / 2]->x : points[i / 2]->y) = 0.5f;
    }
    return values;
}
std::vector<std::string> variants(const MetaString&) { return {"Text", "text", "Tex", "Text "}; }

template <class T>
auto variantsOf(const MetaField<T>& field) { return variants(field.value); }
auto variantsOf(const MetaString& field) { return variants(field); }

template <class T, class V>
void store(MetaField<T>& field, const V& value) { field.set(value); }
void store(MetaString& field, const std::string& value) { field = value.c_str(); }

// A container with every field defined at its base value.
C everyFieldAtBase()
{
    C c;
    Vmc::forEachField(c, [](const Vmc::FieldInfo&, auto& field) { store(field, variantsOf(field)[0]); });
    return c;
}

// Whether a == b and b == a, for containers holding only `field`, at `x` and at `y`.
template <class F, class V>
std::pair<bool, bool> bothWays(F C::*field, const V& x, const V& y)
{
    C a, b;
    store(a.*field, x);
    store(b.*field, y);
    return {a == b, b == a};
}

} // namespace

TEST(Equality, ADifferenceInAnySingleFieldIsFound)
{
    const C left = everyFieldAtBase();
    C right = everyFieldAtBase();
    ASSERT_TRUE(left == right);
    Vmc::forEachField(right, [&](const Vmc::FieldInfo& info, auto& field) {
        const auto values = variantsOf(field);
        for (std::size_t k = 1; k < values.size(); ++k) {
            store(field, values[k]);
            EXPECT_FALSE(left == right || right == left) << info.name << " variant " << k;
        }
        store(field, values[0]);
        // Undefined on the right only: unequal. Undefined on the left only:
        // skipped, except for the first two fields.
        field.defined = 0;
        EXPECT_FALSE(left == right) << info.name;
        EXPECT_EQ(right == left, info.index >= 2) << info.name;
        field.defined = 1;
        EXPECT_TRUE(left == right) << info.name;
    });

    const C decoded = Vmc::testing::decode(Vmc::testing::HeaderImage::decodable()).c;
    EXPECT_TRUE(C() == C());
    EXPECT_TRUE(C() == decoded) << "a new container on the left skips all but the first two fields";
    EXPECT_FALSE(decoded == C());
}

TEST(Equality, SelfComparisonFailsOnlyOnNaNOrZeroOverZero)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<std::function<void(C&)>, bool> cases[] = {
        {[](C& c) { c.sensorFrameRate.set({5, 0}); }, true}, // an infinity equals itself
        {[&](C& c) { c.lensAperture.set(nan); }, false},
        {[&](C& c) { c.cdlSlope.set({1.0f, nan, 1.0f}); }, false},
        {[&](C& c) { c.chromaticities.value.white.y = nan; }, false},
        {[](C& c) { c.projectFrameRate.set({0, 0}); }, false},
        {[&](C& c) { c.lensAperture.set(nan); c.lensAperture.defined = 0; }, true}, // NaN, but undefined
    };
    for (const auto& k : cases) {
        C c = everyFieldAtBase();
        k.first(c);
        EXPECT_EQ(c == c, k.second) << "row " << &k - cases;
    }
}

TEST(Equality, FractionsByQuotientTextsByContentZerosBySignFlagsAsStored)
{
    const struct { Vmc::Rational a, b; bool equal; } fractions[] = {
        {{24000, 1000}, {24, 1}, true}, {{-30, 2}, {-15, 1}, true}, {{0, 1}, {0, 5}, true},
        {{30000, 1001}, {2997, 100}, false}, {{1, 0}, {7, 0}, true}, {{1, 0}, {-1, 0}, false},
        {{0, 0}, {0, 0}, false},            // NaN equals nothing
        {{1, 1}, {-1, 4294967295u}, false}, // a denominator is unsigned, not -1
    };
    for (const auto& k : fractions)
        EXPECT_EQ(bothWays(&C::sensorFrameRate, k.a, k.b), std::pair(k.equal, k.equal))
            << k.a.numerator << "/" << k.a.denominator << " vs " << k.b.numerator << "/" << k.b.denominator;

    // Texts in distinct buffers compare by content (differences in case,
    // length and trailing blanks are walked above), the empty one too.
    EXPECT_EQ(bothWays(&C::cameraModel, "", ""), std::pair(true, true));

    EXPECT_EQ(bothWays(&C::exposureTime, 0.0f, -0.0f), std::pair(true, true));
    EXPECT_EQ(bothWays(&C::whitePoint, Vec2{0.0f, -0.0f}, Vec2{-0.0f, 0.0f}), std::pair(true, true));

    C a, b; // a flag byte other than 1 differs from true
    a.switch1.set(true);
    b.switch1.set(true);
    const unsigned char two = 2;
    std::memcpy(&b.switch1.value, &two, 1);
    EXPECT_FALSE(a == b);
}
