// Container equality: definedness rules, value comparison by type, and a
// difference in any one field, walked over the whole field list.
#include <VellMetadataContainer/FieldDescription.h>
#include <VellMetadataContainer/TimeCode.h>

#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/Decode.h"
#include "support/HeaderImage.h"

using Vmc::VellMetadataContainer;
using C = VellMetadataContainer;

namespace {

// For each value type: a base value first, then values that each differ from
// it in exactly one component (or, for fractions, in quotient).
std::vector<std::uint32_t> variants(std::uint32_t) { return {7, 8, 0}; }
std::vector<std::int32_t> variants(std::int32_t) { return {-7, 7}; }
std::vector<float> variants(float) { return {1.5f, 2.5f}; }
std::vector<bool> variants(bool) { return {true, false}; }
std::vector<Vmc::Rational> variants(const Vmc::Rational&) { return {{24, 1}, {25, 1}, {24, 2}, {-24, 1}}; }

std::vector<Vmc::Vec2> variants(const Vmc::Vec2&) { return {{0.1f, 0.2f}, {0.9f, 0.2f}, {0.1f, 0.9f}}; }

std::vector<Vmc::Vec3> variants(const Vmc::Vec3&)
{
    return {{0.1f, 0.2f, 0.3f}, {0.9f, 0.2f, 0.3f}, {0.1f, 0.9f, 0.3f}, {0.1f, 0.2f, 0.9f}};
}

std::vector<Vmc::ImageWindow> variants(const Vmc::ImageWindow&)
{
    std::vector<Vmc::ImageWindow> values(5, {{0.0f, 1.0f}, {2.0f, 3.0f}});
    values[1].first.x = 9.0f;
    values[2].first.y = 9.0f;
    values[3].second.x = 9.0f;
    values[4].second.y = 9.0f;
    return values;
}

std::vector<Vmc::Chromaticities> variants(const Vmc::Chromaticities&)
{
    const Vmc::Chromaticities base({0.64f, 0.33f}, {0.3f, 0.6f}, {0.15f, 0.06f}, {0.3127f, 0.329f});
    std::vector<Vmc::Chromaticities> values(9, base);
    for (int i = 0; i < 8; ++i) {
        Vmc::Chromaticities& c = values[i + 1];
        Vmc::Vec2* points[] = {&c.red, &c.green, &c.blue, &c.white};
        float& coordinate = i % 2 == 0 ? points[i / 2]->x : points[i / 2]->y;
        coordinate = 0.5f;
    }
    return values;
}

std::vector<Vmc::CameraTriple> variants(const Vmc::CameraTriple&)
{
    return {{1, 2, 3, 4}, {9, 2, 3, 4}, {1, 9, 3, 4}, {1, 2, 9, 4}, {1, 2, 3, 9}};
}

std::vector<VellRawMeta::TC_Struct> variants(const VellRawMeta::TC_Struct&)
{
    return {{1, 2, 3, 4}, {9, 2, 3, 4}, {1, 9, 3, 4}, {1, 2, 9, 4}, {1, 2, 3, 9}};
}

std::vector<std::string> variants(const MetaString&) { return {"Text", "text", "Tex", "Text "}; }

template <class T>
auto variantsOf(const MetaField<T>& field)
{
    return variants(field.value);
}
auto variantsOf(const MetaString& field) { return variants(field); }

template <class T, class V>
void store(MetaField<T>& field, const V& value)
{
    field.set(value);
}
void store(MetaString& field, const std::string& value) { field = value.c_str(); }

// A container with every field defined at its base value.
C everyFieldAtBase()
{
    C c;
    Vmc::forEachField(c, [](const Vmc::FieldInfo&, auto& field) { store(field, variantsOf(field)[0]); });
    return c;
}

bool isBothSided(const Vmc::FieldInfo& info)
{
    return info.index < 2;
}

} // namespace

TEST(Equality, ADifferenceInAnySingleFieldIsFound)
{
    const C left = everyFieldAtBase();
    C right = everyFieldAtBase();
    ASSERT_TRUE(left == right);

    int visited = 0;
    Vmc::forEachField(right, [&](const Vmc::FieldInfo& info, auto& field) {
        ++visited;
        const auto values = variantsOf(field);
        for (std::size_t k = 1; k < values.size(); ++k) {
            store(field, values[k]);
            EXPECT_FALSE(left == right) << info.name << " variant " << k;
            EXPECT_FALSE(right == left) << info.name << " variant " << k;
        }
        store(field, values[0]);

        // Undefined on the right only: unequal. Undefined on the left only:
        // skipped, except for the first two fields.
        field.defined = 0;
        EXPECT_FALSE(left == right) << info.name;
        EXPECT_EQ(right == left, !isBothSided(info)) << info.name;
        field.defined = 1;
        EXPECT_TRUE(left == right) << info.name;
    });
    EXPECT_EQ(visited, Vmc::kFieldCount);
}

TEST(Equality, NewContainerOnTheLeftSkipsAllButTheFirstTwoFields)
{
    const C empty;
    C decoded = Vmc::testing::decode(Vmc::testing::HeaderImage::decodable()).c;
    EXPECT_TRUE(empty == empty);
    EXPECT_TRUE(empty == decoded);
    EXPECT_FALSE(decoded == empty);

    // The last field alone is enough to make the reverse unequal.
    C lastOnly;
    lastOnly.whiteBalanceRgb.set({1.0f, 1.0f, 1.0f});
    EXPECT_TRUE(empty == lastOnly);
    EXPECT_FALSE(lastOnly == empty);

    // The two first fields count both ways.
    for (MetaField<std::uint32_t> C::*field : {&C::spareWord, &C::acesContainerFlag}) {
        C one;
        (one.*field).set(1);
        EXPECT_FALSE(empty == one);
        EXPECT_FALSE(one == empty);
        C same;
        (same.*field).set(1);
        EXPECT_TRUE(one == same);
    }
}

TEST(Equality, SelfComparisonFailsOnlyOnNaNOrZeroOverZero)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        const char* what;
        std::function<void(C&)> change;
        bool equal;
    } cases[] = {
        {"as built", [](C&) {}, true},
        {"infinite float", [&](C& c) { c.lensAperture.set(inf); }, true},
        {"n/0 fraction", [](C& c) { c.sensorFrameRate.set({5, 0}); }, true},
        {"NaN float", [&](C& c) { c.lensAperture.set(nan); }, false},
        {"NaN in a vector", [&](C& c) { c.cdlSlope.set({1.0f, nan, 1.0f}); }, false},
        {"NaN in chromaticities", [&](C& c) { c.chromaticities.value.white.y = nan; }, false},
        {"NaN in the triple", [&](C& c) { c.cameraTriple.value.c = nan; }, false},
        {"0/0 fraction", [](C& c) { c.projectFrameRate.set({0, 0}); }, false},
        {"NaN, but undefined", [&](C& c) { c.lensAperture.set(nan); c.lensAperture.defined = 0; }, true},
    };
    for (const auto& k : cases) {
        C c = everyFieldAtBase();
        k.change(c);
        EXPECT_EQ(c == c, k.equal) << k.what;
    }
}

TEST(Equality, FractionsCompareByQuotient)
{
    const struct {
        Vmc::Rational a;
        Vmc::Rational b;
        bool equal;
    } cases[] = {
        {{24000, 1000}, {24, 1}, true},
        {{1, 2}, {2, 4}, true},
        {{-30, 2}, {-15, 1}, true},
        {{30000, 1001}, {2997, 100}, false},
        {{1, 0}, {7, 0}, true},   // both +infinity
        {{1, 0}, {-1, 0}, false}, // opposite infinities
        {{0, 0}, {0, 0}, false},  // NaN equals nothing
        {{0, 1}, {0, 5}, true},
        {{1, 1}, {-1, 4294967295u}, false}, // a denominator is unsigned, not -1
    };
    for (const auto& k : cases) {
        C a;
        C b;
        a.sensorFrameRate.set(k.a);
        b.sensorFrameRate.set(k.b);
        const std::string context = std::to_string(k.a.numerator) + "/" + std::to_string(k.a.denominator) + " vs " +
                                    std::to_string(k.b.numerator) + "/" + std::to_string(k.b.denominator);
        EXPECT_EQ(a == b, k.equal) << context;
        EXPECT_EQ(b == a, k.equal) << context;
    }
}

TEST(Equality, TextsCompareByContent)
{
    const struct {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {
        {"Corva NX", "Corva NX", true}, {"Corva NX", "corva nx", false}, {"", "", true},
        {"Corva NX", "Corva NX ", false}, {"", "x", false},
    };
    for (const auto& k : cases) {
        C a;
        C b;
        a.cameraModel = k.a;
        b.cameraModel = k.b;
        ASSERT_NE(a.cameraModel.text, b.cameraModel.text);
        EXPECT_EQ(a == b, k.equal) << '"' << k.a << "\" vs \"" << k.b << '"';
    }
}

TEST(Equality, SignedZerosAreEqual)
{
    C a;
    C b;
    a.exposureTime.set(0.0f);
    b.exposureTime.set(-0.0f);
    a.whitePoint.set({0.0f, -0.0f});
    b.whitePoint.set({-0.0f, 0.0f});
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(b == a);
}

TEST(Equality, FlagBytesCompareAsStored)
{
    C a;
    C b;
    a.switch1.set(true);
    b.switch1.set(true);
    const unsigned char two = 2;
    std::memcpy(&b.switch1.value, &two, 1);
    EXPECT_FALSE(a == b);
}
