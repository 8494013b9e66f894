// SPDX-License-Identifier: Apache-2.0
// The container's field model (construction, text ownership, the field walk),
// the decoding driver's result, and the full header, which defines every
// field the field groups read.
#include <container/Failures.h>

#include "support/FieldChecks.h"

using namespace Vmc::testing;
using Vmc::VellMetadataContainer;

// Fields visited, defined flags and non-null texts over the whole container.
static std::array<int, 3> census(const VellMetadataContainer& c)
{
    std::array<int, 3> n{};
    Vmc::forEachField(c, [&](const Vmc::FieldInfo&, const auto& field) {
        n[0] += 1;
        n[1] += field.defined != 0;
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, MetaString>)
            n[2] += field.text != nullptr;
    });
    return n;
}

// The names of the fields whose flag is (or is not) set.
static std::vector<std::string> fieldNames(const VellMetadataContainer& c, bool defined)
{
    std::vector<std::string> names;
    Vmc::forEachField(c, [&](const Vmc::FieldInfo& info, const auto& field) {
        if ((field.defined != 0) == defined)
            names.push_back(info.name);
    });
    return names;
}

TEST(Container, NewContainerHoldsNothing)
{
    const VellMetadataContainer c;
    EXPECT_EQ(census(c), (std::array<int, 3>{203, 0, 0}));
    EXPECT_EQ(c.reserved, nullptr);
}

TEST(Container, TextsCopiedAfreshUnlessTheSamePointerMovedWithTheirOwner)
{
    MetaString s;
    s = "Corva LT";
    char* held = s.text;
    s.defined = 0;
    s = held; // its own text: nothing is copied, the flag is set
    EXPECT_EQ(s.text, held);
    EXPECT_TRUE(s.defined);
    EXPECT_STREQ(textOf(s), "Corva LT");
    const char other[] = "Corva LT";
    s = other; // an equal text in another buffer is copied afresh
    EXPECT_TRUE(s.text != other && s.text != held);
    EXPECT_STREQ(s.text, "Corva LT");
    held = s.text;
    s = held + 6; // part of its own text: copied before the held text is released
    EXPECT_NE(s.text, held);
    EXPECT_STREQ(s.text, "LT");
    s = static_cast<const char*>(nullptr);
    EXPECT_TRUE(s.text == nullptr && s.defined);

    VellMetadataContainer original;
    Vmc::forEachField(original, [](const Vmc::FieldInfo& info, auto& field) {
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, MetaString>)
            field = info.name; // every text field holds its own name
    });
    original.whiteBalanceCct.set(5600);
    const VellMetadataContainer copy(original);
    EXPECT_NE(copy.cameraModel.text, original.cameraModel.text);
    EXPECT_STREQ(copy.cameraModel.text, "cameraModel");
    EXPECT_EQ(copy.whiteBalanceCct.value, 5600u);
    EXPECT_EQ(census(copy), census(original));
    VellMetadataContainer assigned;
    assigned.lensName = "to be replaced";
    assigned = original;
    EXPECT_NE(assigned.lensName.text, original.lensName.text);
    EXPECT_STREQ(assigned.lensName.text, "lensName");

    char* model = original.cameraModel.text;
    VellMetadataContainer moved(std::move(original));
    EXPECT_EQ(moved.cameraModel.text, model);
    EXPECT_EQ(census(original)[2], 0); // NOLINT(bugprone-use-after-move): the source is emptied
    assigned = std::move(moved);
    EXPECT_EQ(assigned.cameraModel.text, model);
    VellMetadataContainer& alias = assigned;
    assigned = alias;
    assigned = std::move(alias);
    EXPECT_STREQ(assigned.uuid.text, "uuid");
}

TEST(Driver, FailureMessagesAndWhichFailuresStop)
{
    // The one failure no header in these tests reaches; the others are
    // checked where their field group is decoded.
    Vmc::ErrorValue result = Vmc::decoding::noFailure();
    Vmc::decoding::recordFailure(result, Vmc::decoding::Failure::EmptyCameraModel);
    EXPECT_TRUE(result.isError);
    EXPECT_EQ(result.code, 200u);
    EXPECT_STREQ(result.message, "VELLRAW header camera model field is defined, but is empty");
    std::free(result.message);
    for (const auto& info : Vmc::decoding::kFailures) // code 0: recorded, and decoding goes on
        EXPECT_EQ(info.stops, info.code != 0) << info.text;
}

TEST(FullHeader, DefinesEveryFieldButTheSpareOnesAlikeOnEveryDecoding)
{
    using ColorSpace = VellMetadataContainer::ColorSpace;
    const std::vector<std::string> spare = {"spareWord",   "spareFloatA", "spareVec3A",  "spareVec3B", "spareFloatB",
                                            "spareTextA",  "spareFloatC", "spareTextB",  "spareTextC", "sparePair",
                                            "spareFloatD", "spareTextD",  "spareFlag"};
    for (ColorSpace space : {ColorSpace::AcesAP0, ColorSpace::CameraNative, ColorSpace::WideGamut}) {
        const Decoded once = decode(fullHeader(), VellMetadataContainer(), space);
        EXPECT_FALSE(once.isError || once.code != 0) << once.message;
        if (space == ColorSpace::AcesAP0) {
            EXPECT_EQ(fieldNames(once.c, false), spare);
        }
        // Decoded again into the container it filled: the same container.
        const Decoded twice = decode(fullHeader(), once.c, space);
        EXPECT_TRUE(once.c == twice.c && twice.c == once.c);
        EXPECT_EQ(fieldNames(once.c, true), fieldNames(twice.c, true));
    }
}
