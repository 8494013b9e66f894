#include <VellMetadataContainer/Rational.h>

#include <color/RationalApproximation.h>

#include <cmath>
#include <cstdint>
#include <iostream>
#include <limits>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

std::string shown(const Vmc::Rational& r)
{
    return std::to_string(r.numerator) + "/" + std::to_string(r.denominator);
}

std::string shown(double value)
{
    std::ostringstream out;
    out.precision(17);
    out << value;
    return out.str();
}

bool sameDouble(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

// The denominator recursion exactly as defined, the reference that the
// library's expansion must agree with. Its work grows like the Fibonacci
// numbers, so it gives up past a call budget and the input counts as
// unchecked rather than costing seconds.
constexpr long kCallBudget = 20000;
long literalCalls = 0;
bool literalGaveUp = false;

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

double literalDenom(double x, double e)
{
    literalCalls = 0;
    const double d = literalExpand(x, e);
    if (literalCalls > kCallBudget)
        literalGaveUp = true;
    return d;
}

// Compares one value through both expansions, as a bare denominator at the
// constructor's tolerance and as the whole fraction. Returns false when the
// reference gave up.
class OracleRun {
public:
    void check(double value)
    {
        literalGaveUp = false;
        const Vmc::Rational reference = Vmc::approximation::rationalFrom(value, literalDenom);
        const double magnitude = std::fabs(value);
        double referenceDenom = 0.0;
        if (!std::isnan(value))
            referenceDenom = literalDenom(magnitude, Vmc::approximation::toleranceFor(magnitude));
        if (literalGaveUp) {
            ++skipped_;
            return;
        }
        ++checked_;
        const Vmc::Rational ours(value);
        if (!std::isnan(value)) {
            const double ourDenom = Vmc::denom(magnitude, Vmc::approximation::toleranceFor(magnitude));
            if (!sameDouble(ourDenom, referenceDenom))
                mismatch("denom(" + shown(magnitude) + ") = " + shown(ourDenom) + ", recursion " + shown(referenceDenom));
        }
        if (ours.numerator != reference.numerator || ours.denominator != reference.denominator)
            mismatch("Rational(" + shown(value) + ") = " + shown(ours) + ", recursion " + shown(reference));
    }

    // A bare denominator at a chosen tolerance.
    void checkDenom(double x, double e)
    {
        literalGaveUp = false;
        const double reference = literalDenom(x, e);
        if (literalGaveUp) {
            ++skipped_;
            return;
        }
        ++checked_;
        const double ours = Vmc::denom(x, e);
        if (!sameDouble(ours, reference))
            mismatch("denom(" + shown(x) + ", " + shown(e) + ") = " + shown(ours) + ", recursion " + shown(reference));
    }

    long checked() const { return checked_; }
    long skipped() const { return skipped_; }
    const std::vector<std::string>& mismatches() const { return mismatches_; }

private:
    void mismatch(std::string text)
    {
        if (mismatches_.size() < 20)
            mismatches_.push_back(std::move(text));
        else
            mismatches_.back() = "...";
    }

    long checked_ = 0;
    long skipped_ = 0;
    std::vector<std::string> mismatches_;
};

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
        const double r = 1.0 / x;
        const double f = r - std::floor(r);
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

} // namespace

TEST(Rational, Examples)
{
    struct Case {
        double value;
        std::int32_t numerator;
        std::uint32_t denominator;
    };
    const Case cases[] = {
        {0.5, 1, 2},
        {0.1, 1, 10},
        {1.0 / 3.0, 1, 3},
        {25.0, 25, 1},
        {0.0, 0, 1},
        {-0.0, 0, 1},
        {-0.75, -3, 4},
        {30000.0 / 1001.0, 30000, 1001},
        {24000.0 / 1001.0, 24000, 1001},
        {23.976, 2997, 125},
        {3.141592653589793, 104348, 33215},
        {1.4142135623730951, 66922, 47321},
        {1e-9, 1, 1000000000},
        {1e-12, 0, 1},
        {-1e-12, 0, 1},
        {2147483647.4, 2147483647, 1},
        {-2147483647.4, -2147483647, 1},
        {2147483647.5, 1, 0},
        {2.5e9, 1, 0},
        {-2.5e9, -1, 0},
        {kInf, 1, 0},
        {-kInf, -1, 0},
        {kNaN, 0, 0},
        // Above 32768 the fractional part carries the denominator.
        {40000.5, 80001, 2},
        {-32768.75, -131075, 4},
        {100000000.25, 400000001, 4},
        {1073741824.5, 1073741825, 1}, // the tolerance reaches 1: an integer
    };
    for (const Case& c : cases) {
        const Vmc::Rational r(c.value);
        EXPECT_EQ(r.numerator, c.numerator) << shown(c.value) << " gave " << shown(r);
        EXPECT_EQ(r.denominator, c.denominator) << shown(c.value) << " gave " << shown(r);
    }
}

TEST(Rational, RecoversSimpleFractionsInLowestTerms)
{
    // Each range keeps neighbouring fractions of its denominators further
    // apart than twice the tolerance, so the fraction itself is the simplest.
    struct Range {
        std::int64_t wholeLow, wholeHigh, maxDenominator;
    };
    const Range ranges[] = {
        {0, 1, 10000},         // below 1: absolute tolerance 2^-30
        {1, 100, 1000},        // relative tolerance, direct expansion
        {32768, 1 << 20, 16},  // above 32768: expansion of the fractional part
    };
    std::mt19937_64 random(17);
    for (const Range& range : ranges) {
        for (int i = 0; i < 1000; ++i) {
            const std::int64_t q = 1 + static_cast<std::int64_t>(random() % range.maxDenominator);
            const std::int64_t whole =
                range.wholeLow + static_cast<std::int64_t>(random() % (range.wholeHigh - range.wholeLow));
            const std::int64_t p = whole * q + static_cast<std::int64_t>(random() % q);
            const std::int64_t g = std::gcd(p, q);
            const std::int64_t sign = random() % 2 == 0 ? -1 : 1;
            const double value = static_cast<double>(sign * p) / static_cast<double>(q);
            const Vmc::Rational r(value);
            EXPECT_EQ(r.numerator, sign * p / g) << shown(value) << " gave " << shown(r);
            EXPECT_EQ(r.denominator, static_cast<std::uint32_t>(q / g)) << shown(value) << " gave " << shown(r);
        }
    }
}

TEST(RationalHelpers, FracAndSquare)
{
    EXPECT_DOUBLE_EQ(Vmc::frac(2.25, 1e-6), 0.25);
    EXPECT_NEAR(Vmc::frac(2.9999999999, 1e-6), -1e-10, 1e-15);
    EXPECT_LT(Vmc::frac(2.9999999999, 1e-6), 0.0);
    EXPECT_DOUBLE_EQ(Vmc::frac(-0.25, 1e-6), 0.75);
    EXPECT_EQ(Vmc::frac(7.0, 0.0), 0.0);

    EXPECT_EQ(Vmc::square(3.0), 9.0);
    EXPECT_EQ(Vmc::square(-1.5), 2.25);
    EXPECT_EQ(Vmc::square(1e200), kInf);
}

TEST(Denominator, NaNWhereTheExpansionNeverEnds)
{
    const struct {
        double x;
        double tolerance;
    } cases[] = {
        {kNaN, 1e-6}, {0.3, 0.0}, {0.3, -1e-6}, {0.3, kNaN}, {0.0, 0.0}, {kNaN, kInf},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(std::isnan(Vmc::denom(c.x, c.tolerance))) << shown(c.x) << ", " << shown(c.tolerance);
}

TEST(Denominator, SmallTolerancesStayCheap)
{
    // The golden ratio has every partial quotient 1: the widest recursion for
    // its depth, and Fibonacci denominators.
    const double goldenFraction = (std::sqrt(5.0) - 1.0) / 2.0;
    EXPECT_EQ(Vmc::denom(goldenFraction, 1e-9), 28657.0);
    EXPECT_EQ(Vmc::denom(goldenFraction, 1e-15), 24157817.0);
    EXPECT_TRUE(std::isfinite(Vmc::denom(goldenFraction, 1e-300)));
    // Subnormal tolerances outgrow the bound on the work.
    EXPECT_TRUE(std::isnan(Vmc::denom(goldenFraction, 1e-320)));
}

TEST(Denominator, MatchesTheRecursionAsWritten)
{
    OracleRun run;

    const double examples[] = {0.5, 0.1, 1.0 / 3.0, 25.0, 0.0, -0.0, -0.75, 30000.0 / 1001.0,
                               24000.0 / 1001.0, 23.976, 3.141592653589793, 1.4142135623730951,
                               1e-9, 1e-12, 2147483647.4, 2.5e9, -2.5e9, kInf, -kInf, kNaN};
    for (double value : examples)
        run.check(value);

    const double frameRates[] = {23.976, 24000.0 / 1001.0, 24.0, 25.0, 29.97, 30000.0 / 1001.0, 30.0,
                                 47.952, 48000.0 / 1001.0, 48.0, 50.0, 59.94, 60000.0 / 1001.0, 60.0,
                                 72.0, 90.0, 96.0, 100.0, 119.88, 120000.0 / 1001.0, 120.0, 144.0,
                                 240.0, 1.0 / 24.0, 1001.0 / 24000.0, 1001.0 / 30000.0, 1.0 / 25.0};
    for (double rate : frameRates) {
        run.check(rate);
        run.check(-rate);
    }

    std::mt19937_64 random(20240601);
    auto uniform = [&random](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    auto signed_ = [&random](double magnitude) { return random() % 2 == 0 ? -magnitude : magnitude; };

    for (int i = 0; i < 4000; ++i) // across magnitudes, 2^-40 to 2^34
        run.check(signed_(std::exp2(uniform(-40.0, 34.0))));
    for (int i = 0; i < 1000; ++i) // tiny, around the absolute tolerance 2^-30
        run.check(signed_(std::exp2(uniform(-32.0, -28.0))));
    for (int i = 0; i < 2000; ++i) { // near integers
        const double n = std::floor(uniform(0.0, i % 2 == 0 ? 100.0 : 1e6));
        const double offset = std::exp2(uniform(-50.0, -10.0)) * (i % 3 == 0 ? 1.0 : std::max(n, 1.0));
        run.check(signed_(random() % 2 == 0 ? n + offset : n - offset));
    }
    for (int i = 0; i < 1000; ++i) { // near 2^31
        const double limit = 2147483647.5;
        run.check(signed_(i % 2 == 0 ? limit + uniform(-3.0, 3.0)
                                     : std::nextafter(limit, i % 4 == 1 ? 0.0 : kInf)));
    }
    for (int i = 0; i < 2000; ++i) // above 32768, where the fractional part decides
        run.check(signed_(i % 2 == 0 ? uniform(32768.0, 1073741824.0) : std::exp2(uniform(15.0, 30.0))));
    for (int i = 0; i < 2000; ++i) { // fractions of modest terms
        const double p = static_cast<double>(random() % 100000);
        const double q = static_cast<double>(1 + random() % 100000);
        run.check(signed_(p / q));
    }

    // Bare denominators at other tolerances.
    const double tolerances[] = {1e-3, 1e-6, 1e-9, 1e-12};
    for (double tolerance : tolerances)
        for (int i = 0; i < 1000; ++i)
            run.checkDenom(uniform(0.0, 1.0), tolerance);
    const auto edges = tolerancesOnTheEdge(random, 200);
    EXPECT_GE(edges.size(), 100u);
    for (const auto& [x, tolerance] : edges)
        run.checkDenom(x, tolerance);
    run.checkDenom(kInf, 1e-6);
    run.checkDenom(-0.3, 1e-6);
    run.checkDenom(0.3, kInf);

    std::cout << "[ recursion] checked " << run.checked() << " inputs against the recursion as written, "
              << run.skipped() << " over its budget of " << kCallBudget << " calls\n";
    std::string mismatches;
    for (const std::string& text : run.mismatches())
        mismatches += "\n  " + text;
    EXPECT_TRUE(run.mismatches().empty()) << mismatches;
    EXPECT_GT(run.checked(), 15000);
    EXPECT_LT(run.skipped(), run.checked() / 20);
}
