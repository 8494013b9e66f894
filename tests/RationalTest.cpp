// SPDX-License-Identifier: Apache-2.0
#include <VellMetadataContainer/Rational.h>

#include <color/RationalApproximation.h>

#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

std::string shown(double value)
{
    std::ostringstream out;
    out.precision(17);
    out << value;
    return out.str();
}
std::string shown(const Vmc::Rational& r) { return std::to_string(r.numerator) + "/" + std::to_string(r.denominator); }

// The denominator recursion exactly as defined, the reference that the
// library's expansion must agree with. Its work grows like the Fibonacci
// numbers, so it gives up past a call budget and the input counts as
// unchecked rather than costing seconds.
constexpr long kCallBudget = 20000;
long literalCalls = 0;

double literalExpand(double x, double e)
{
    if (++literalCalls > kCallBudget)
        return 0.0;
    if (e > Vmc::frac(x, e))
        return 1.0;
    const double r = 1.0 / x;
    const double a = std::floor(r + e);
    const double f = r - a;
    if (e > f)
        return a;
    return literalExpand(Vmc::frac(1.0 / f, e), e / Vmc::square(f * x)) + a * literalExpand(f, e / Vmc::square(x));
}

// Inputs on which sharing sub-expansions goes wrong. The recursion reaches
// the tail x1 = frac(1/f) twice: directly, with the tolerance e / ((f x)(f x)),
// and through f, with (e / (x x)) / (f f). The two differ in rounding; a
// tolerance for which x1 lies between them makes the two visits end
// differently, and an expansion that answers both from one gets a different
// denominator.
std::vector<std::pair<double, double>> tolerancesOnTheEdge(std::mt19937_64& random, int wanted)
{
    std::vector<std::pair<double, double>> found;
    for (int attempt = 0; attempt < 100 * wanted && static_cast<int>(found.size()) < wanted; ++attempt) {
        const double x = std::uniform_real_distribution<double>(0.01, 0.99)(random);
        const double f = 1.0 / x - std::floor(1.0 / x);
        const double x1 = 1.0 / f - std::floor(1.0 / f);
        const double middle = x1 * Vmc::square(f * x);
        for (double toward : {0.0, 1.0}) {
            double e = toward == 0.0 ? middle : std::nextafter(middle, toward);
            for (int step = 0; step < 16; ++step, e = std::nextafter(e, toward)) {
                if ((e / Vmc::square(f * x) > x1) != (e / Vmc::square(x) / Vmc::square(f) > x1)) {
                    found.emplace_back(x, e);
                    break;
                }
            }
        }
    }
    return found;
}

// Values with the fraction each stands for.
const std::pair<double, Vmc::Rational> kExamples[] = {
    {0.5, {1, 2}}, {0.1, {1, 10}}, {1.0 / 3.0, {1, 3}}, {25.0, {25, 1}}, {0.0, {0, 1}}, {-0.0, {0, 1}},
    {-0.75, {-3, 4}}, {30000.0 / 1001.0, {30000, 1001}}, {23.976, {2997, 125}}, {1e-9, {1, 1000000000}},
    {24000.0 / 1001.0, {24000, 1001}},
    {3.141592653589793, {104348, 33215}}, {1.4142135623730951, {66922, 47321}}, {1e-12, {0, 1}}, {-1e-12, {0, 1}},
    {2147483647.4, {2147483647, 1}}, {-2147483647.4, {-2147483647, 1}}, {2147483647.5, {1, 0}}, {2.5e9, {1, 0}},
    {-2.5e9, {-1, 0}}, {kInf, {1, 0}}, {-kInf, {-1, 0}}, {kNaN, {0, 0}},
    // Above 32768 the fractional part carries the denominator.
    {40000.5, {80001, 2}}, {-32768.75, {-131075, 4}}, {100000000.25, {400000001, 4}},
    {1073741824.5, {1073741825, 1}}, // the tolerance reaches 1: an integer
};

} // namespace

TEST(Rational, Examples)
{
    for (const auto& [value, expected] : kExamples)
        EXPECT_EQ(shown(Vmc::Rational(value)), shown(expected)) << shown(value);
}

TEST(Denominator, EndlessExpansionsAndSmallTolerances)
{
    EXPECT_NEAR(Vmc::frac(2.9999999999, 1e-6), -1e-10, 1e-15); // within the tolerance below 3: negative
    EXPECT_DOUBLE_EQ(Vmc::frac(-0.25, 1e-6), 0.75);
    // NaN where the expansion never ends.
    for (const auto& [x, e] : {std::pair{kNaN, 1e-6}, {0.3, 0.0}, {0.3, -1e-6}, {0.3, kNaN}, {0.0, 0.0}, {kNaN, kInf}})
        EXPECT_TRUE(std::isnan(Vmc::denom(x, e))) << shown(x) << ", " << shown(e);

    // The golden ratio has every partial quotient 1: the widest recursion for
    // its depth, and Fibonacci denominators. Subnormal tolerances outgrow the
    // bound on the work.
    const double goldenFraction = (std::sqrt(5.0) - 1.0) / 2.0;
    EXPECT_EQ(Vmc::denom(goldenFraction, 1e-9), 28657.0);
    EXPECT_EQ(Vmc::denom(goldenFraction, 1e-15), 24157817.0);
    EXPECT_TRUE(std::isfinite(Vmc::denom(goldenFraction, 1e-300)));
    EXPECT_TRUE(std::isnan(Vmc::denom(goldenFraction, 1e-320)));
}

TEST(Denominator, MatchesTheRecursionAsWritten)
{
    long checked = 0;
    long skipped = 0;
    std::string mismatches;
    // Counts the input unless the recursion gave up; a mismatch is listed.
    const auto compare = [&](const std::string& what, const std::string& ours, const std::string& reference) {
        ++(literalCalls > kCallBudget ? skipped : checked);
        if (literalCalls <= kCallBudget && ours != reference && mismatches.size() < 2000)
            mismatches += "\n  " + what + " = " + ours + ", recursion " + reference;
    };
    const auto checkDenom = [&](double x, double e) { // a bare denominator at a chosen tolerance
        literalCalls = 0;
        const double reference = literalExpand(x, e);
        compare("denom(" + shown(x) + ", " + shown(e) + ")", shown(Vmc::denom(x, e)), shown(reference));
    };
    // A value as a bare denominator at the constructor's tolerance, and as
    // the whole fraction.
    const auto check = [&](double value) {
        if (!std::isnan(value))
            checkDenom(std::fabs(value), Vmc::approximation::toleranceFor(std::fabs(value)));
        literalCalls = 0;
        const Vmc::Rational reference = Vmc::approximation::rationalFrom(value, literalExpand);
        compare("Rational(" + shown(value) + ")", shown(Vmc::Rational(value)), shown(reference));
    };

    for (const auto& example : kExamples)
        check(example.first);
    for (double rate : {23.976, 24000.0 / 1001.0, 24.0, 25.0, 29.97, 30000.0 / 1001.0, 30.0, 47.952, 48000.0 / 1001.0,
                        48.0, 50.0, 59.94, 60000.0 / 1001.0, 60.0, 72.0, 90.0, 96.0, 100.0, 119.88, 120000.0 / 1001.0,
                        120.0, 144.0, 240.0, 1.0 / 24.0, 1001.0 / 24000.0, 1001.0 / 30000.0, 1.0 / 25.0}) {
        check(rate);
        check(-rate);
    }

    std::mt19937_64 random(20240601);
    const auto uniform = [&](double low, double high) { return std::uniform_real_distribution(low, high)(random); };
    const auto anySign = [&](double magnitude) { return random() % 2 == 0 ? -magnitude : magnitude; };
    const double tolerances[] = {1e-3, 1e-6, 1e-9, 1e-12};
    for (int i = 0; i < 2000; ++i) {
        check(anySign(std::exp2(uniform(-40.0, 34.0)))); // across magnitudes
        // About the absolute tolerance 2^-30, and above 32768 where the fractional part decides.
        check(anySign(i % 2 == 0 ? std::exp2(uniform(-32.0, -28.0)) : uniform(32768.0, 1073741824.0)));
        const double n = std::floor(uniform(0.0, i % 2 == 0 ? 100.0 : 1e6)); // near integers
        const double offset = std::exp2(uniform(-50.0, -10.0)) * (i % 3 == 0 ? 1.0 : std::max(n, 1.0));
        check(anySign(random() % 2 == 0 ? n + offset : n - offset));
        check(anySign(i % 2 == 0 ? 2147483647.5 + uniform(-3.0, 3.0) // near 2^31
                                 : std::nextafter(2147483647.5, i % 4 == 1 ? 0.0 : kInf)));
        check(anySign(static_cast<double>(random() % 100000) / static_cast<double>(1 + random() % 100000)));
        checkDenom(uniform(0.0, 1.0), tolerances[i % 4]);
        checkDenom(uniform(0.0, 1.0), tolerances[(i + 1) % 4]);
    }
    const auto edges = tolerancesOnTheEdge(random, 200);
    EXPECT_GE(edges.size(), 100u);
    for (const auto& [x, tolerance] : edges)
        checkDenom(x, tolerance);
    for (const auto& [x, tolerance] : {std::pair{kInf, 1e-6}, {-0.3, 1e-6}, {0.3, kInf}})
        checkDenom(x, tolerance);
    EXPECT_TRUE(mismatches.empty()) << mismatches;
    EXPECT_GT(checked, 20000);
    EXPECT_LT(skipped, checked / 20);
}
