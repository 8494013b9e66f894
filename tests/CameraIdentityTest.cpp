// SPDX-License-Identifier: Apache-2.0
#include "support/FieldChecks.h"

using namespace Vmc::testing;

TEST(CameraIdentity, SerialRangesAndTheGapsBetweenThem)
{
    const struct { std::uint32_t first, last; const char* model; } ranges[] = {
        {1001, 1999, "Corva Pro 4:3"},  {2001, 3999, "Corva LT"}, {4001, 5999, "Corva Pro"},
        {6001, 6499, "Corva Stage"},    {6501, 6899, "Corva NX"}, {6901, 6999, "Corva NX R"},
        {7001, 7999, "Corva LT"},       {8001, 8499, "Corva R"},  {8501, 8899, "Corva NX Pro"},
        {8901, 8999, "Corva NX Stage"}, {9001, 9499, "Corva HR"}, {9501, 9999, "Corva HR Pro"},
    };
    // Every range's first and last serial and the serial before it (a gap).
    std::vector<std::pair<std::uint32_t, const char*>> cases = {{0, nullptr}, {10000, nullptr}, {kUnwritten, nullptr}};
    for (const auto& r : ranges)
        cases.insert(cases.end(), {{r.first - 1, nullptr}, {r.first, r.model}, {r.last, r.model}});
    for (const auto& [serial, model] : cases) {
        const Decoded d = decode(headerWith(VMC_AT(cameraType), 2u, VMC_AT(cameraSerialNumber), serial));
        EXPECT_STREQ(textOf(d.c.cameraModel), model) << serial;
        EXPECT_EQ(d.code, model ? 0u : 300u) << serial;
        EXPECT_EQ(d.message, model ? "" : "VELLRAW header camera model field is undefined, and camera serial "
                                          "number lands in no known range") << serial;
    }
}

TEST(CameraIdentity, CameraTypeOnlyWithoutModelText)
{
    EXPECT_STREQ(decode(HeaderImage::decodable()).c.cameraModel.text, "K-40"); // type 1
    const Decoded unknown = decode(headerWith(VMC_AT(cameraType), kUnwritten));
    EXPECT_EQ(unknown.code, 400u);
    EXPECT_EQ(unknown.message, "Unknown camera type value in VELLRAW header; enumeration value is `4294967295'");
    const Decoded withText = decode(headerWith(VMC_AT(cameraType), kUnwritten, VMC_AT(cameraModelText), "Corva NX"));
    EXPECT_FALSE(withText.isError);
    EXPECT_STREQ(withText.c.cameraModel.text, "Corva NX");
}

TEST(CameraIdentity, ModelTextAndUniqueId)
{
    // An empty model: one NUL byte, the rest of the field 0xFF.
    const struct { const char* model; std::uint32_t serialCode; const char* uniqueId; } cases[] = {
        {"Corva NX Stage", 0x4B313035, "VELL-Corva_NX_Stage-SN_K105"},
        {"ABCDEFGHIJKLMNOPQRST", 0x4B313035, "VELL-ABCDEFGHIJKLMNOPQRST-SN_K105"}, // fills the field, no NUL
        {"", 0x4B313035, "VELL--SN_K105"},
        {"Corva LT", 0x41000000, "VELL-Corva_LT-SN_A"}, // a NUL ends the serial code
    };
    for (const auto& k : cases) {
        HeaderImage image = headerWith(VMC_AT(cameraSerialCode), k.serialCode);
        *k.model ? image.setText(VMC_AT(cameraModelText), k.model) : image.setBytes(VMC_AT(cameraModelText), {0});
        const Decoded d = decode(image);
        EXPECT_FALSE(d.isError) << d.message;
        EXPECT_STREQ(d.c.cameraModel.text, k.model);
        EXPECT_STREQ(d.c.cameraUniqueId.text, k.uniqueId);
        EXPECT_STREQ(d.c.cameraManufacturer.text, "VELL");
    }
}

TEST(CameraIdentity, UntestedNumbersIndexAndTriple)
{
    Decoded d = decode(headerWith(VMC_AT(cameraNumber), kUnwritten, VMC_AT(cameraSerialNumber), 7042u,
                                  VMC_AT(cameraIndex), 'A', VMC_AT(cameraTripleA), 16777217u,
                                  VMC_AT(cameraTripleB), 2u));
    EXPECT_STREQ(d.c.cameraNumberText.text, "4294967295");
    EXPECT_STREQ(d.c.cameraSerialNumber.text, "7042");
    EXPECT_STREQ(d.c.cameraIndex.text, "A");
    EXPECT_FALSE(d.c.cameraTriple.defined); // needs all three words

    d = decode(headerWith(VMC_AT(cameraIndex), 0, VMC_AT(cameraTripleA), 16777217u, VMC_AT(cameraTripleB), 2u,
                          VMC_AT(cameraTripleC), 0xFFFFFFFEu));
    EXPECT_STREQ(textOf(d.c.cameraIndex), "");
    ASSERT_TRUE(d.c.cameraTriple.defined);
    EXPECT_EQ(d.c.cameraTriple.value.a, 16777216.0f); // the nearest float
    EXPECT_EQ(d.c.cameraTriple.value.b, 2.0f);
    EXPECT_EQ(d.c.cameraTriple.value.c, 4294967296.0f);
    EXPECT_EQ(d.c.cameraTriple.value.extra, 0u);
}

TEST(CameraIdentity, FailureKeepsWhatCameBeforeAndWritesNothingAfter)
{
    // Every field written, but a CORVA serial number in a gap: only the
    // primaries and the lens iris (decoded first) and the identity fields
    // before the model change.
    HeaderImage image = fullHeader();
    image.fill(VMC_AT(cameraModelText), 0xFF);
    image.set(VMC_AT(cameraSerialNumber), 6900u);
    const Decoded d = decode(image, earlier());
    EXPECT_EQ(d.code, 300u);
    const std::set<std::string> changed = {"chromaticities", "whitePoint",  "lensIrisValue",     "lensAperture",
                                           "cameraNumberText", "cameraIndex", "cameraManufacturer"};
    EXPECT_EQ(changedFields(earlier(), d.c), changed);
}
