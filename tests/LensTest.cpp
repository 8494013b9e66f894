// SPDX-License-Identifier: Apache-2.0
#include "support/FieldChecks.h"

using namespace Vmc::testing;

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kUntouched = -1.0f;

TEST(Lens, IrisApertureAndFocalLength)
{
    const struct { std::uint32_t header; float iris, aperture, focalLength; } cases[] = {
        {2800, 2.8f, 1.4142135f, 2.8f},
        {3000, 3.0f, 2.0f, 3.0f},
        {4500, 4.5f, 2.828427f, 4.5f},                    // the half stop is dropped
        {500, 0.5f, kInfinity, 0.5f},                     // whole stops 0: n - 1 wraps
        {kUnwritten, kUntouched, kUntouched, 4294967.5f}, // focal length: only 0 is absent
        {0, kUntouched, kUntouched, kUntouched},
    };
    for (const auto& k : cases) {
        const Decoded d = decode(headerWith(VMC_AT(lensIris), k.header, VMC_AT(lensFocalLength), k.header), earlier());
        EXPECT_FLOAT_EQ(d.c.lensIrisValue.value, k.iris) << k.header;
        EXPECT_FLOAT_EQ(d.c.lensAperture.value, k.aperture) << k.header;
        EXPECT_FLOAT_EQ(d.c.lensFocalLength.value, k.focalLength) << k.header;
    }
}

TEST(Lens, FocusDistanceImperialAndMetric)
{
    const struct { std::uint32_t units, distance; const char* unitsText; float metres; } cases[] = {
        {1, kUnwritten, "Metric", kInfinity}, {0, kUnwritten, "Imperial", kInfinity},
        {0, 1000, "Imperial", 0.0254f}, // one inch
        {7, 2500, "Metric", 2.5f},      // any unit word but 0 is metric
        {1, 0, "earlier", kUntouched},        {kUnwritten, 2500, "earlier", kUntouched},
    };
    for (const auto& k : cases) {
        const Decoded d = decode(headerWith(VMC_AT(lensDistanceUnits), k.units, VMC_AT(lensFocusDistance), k.distance),
                                 earlier());
        EXPECT_STREQ(d.c.lensDistanceUnits.text, k.unitsText) << k.units << " " << k.distance;
        EXPECT_FLOAT_EQ(d.c.lensFocusDistance.value, k.metres) << k.units << " " << k.distance;
    }
}

TEST(Lens, NameWithAndWithoutMaker)
{
    const struct { std::string bytes; const char *name, *maker, *model; } cases[] = { // NUL-padded
        {"ZEISS  Wide Angle\t", "ZEISS  Wide Angle\t", "ZEISS", "Wide Angle"},
        {"fujinon\tHK 25-300", "fujinon\tHK 25-300", "fujinon", "HK 25-300"},
        {"Zeiss", "Zeiss", "earlier", "Zeiss"}, // a maker needs a word after it
        {"Zeissy  85mm\tT1.5", "Zeissy  85mm\tT1.5", "earlier", "Zeissy 85mm T1.5"},
        {"\xC9" "clair 50", "\xC9" "clair 50", "earlier", "\xC9" "clair 50"},
        {"   ", "   ", "earlier", "earlier"},
        {"", "", "earlier", "earlier"},
        {"Cooke ABCDEFGHIJKLMNOPQRSTUVWXYZ", "Cooke ABCDEFGHIJKLMNOPQRSTUVWXYZ", "Cooke",
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ"}, // 32 bytes, no NUL
        {"\xFF" "Cooke S4", "earlier", "earlier", "earlier"},
    };
    for (const auto& k : cases) {
        const Decoded d = decode(headerWith(VMC_AT(lensName), k.bytes), earlier());
        EXPECT_STREQ(d.c.lensName.text, k.name) << k.bytes;
        EXPECT_STREQ(d.c.lensMaker.text, k.maker) << k.bytes;
        EXPECT_STREQ(d.c.lensModel.text, k.model) << k.bytes;
    }
}

TEST(Lens, SerialNumberLocationAndFixedValues)
{
    const struct { std::uint32_t hemisphere, magnitude; float degrees; const char* serial; } cases[] = {
        {2, 123456789, static_cast<float>(-12.3456789), "123456789"},
        {1, 515074000, 51.5074005f, "515074000"}, // double arithmetic, rounded once
        {3, 333333333, -33.3333321f, "333333333"},
        {kUnwritten, 0, kUntouched, "earlier"},
        {1, kUnwritten, kUntouched, "earlier"},
    };
    for (const auto& k : cases) {
        HeaderImage image = headerWith(VMC_AT(lensSerialNumber), k.magnitude); // the magnitude as serial number
        image.set(VMC_AT(latitude), k.hemisphere, k.magnitude);
        image.set(VMC_AT(longitude), k.hemisphere, k.magnitude);
        const Decoded d = decode(image, earlier());
        EXPECT_EQ(d.c.latitude.value, k.degrees) << k.magnitude;
        EXPECT_EQ(d.c.longitude.value, k.degrees) << k.magnitude;
        EXPECT_STREQ(d.c.lensSerialNumber.text, k.serial);
        // Stored on every decoding, lens data or not.
        EXPECT_EQ(valueOf(d.c.fixedZeroValue), 0.0f);
        EXPECT_EQ(valueOf(d.c.fixedZeroWord), 0u);
        EXPECT_EQ(valueOf(d.c.fixedOneWord), 1u);
    }
}
