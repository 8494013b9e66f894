// The container's field model: construction, text ownership and the field
// walk.
#include <VellMetadataContainer/FieldDescription.h>

#include <cstring>
#include <set>
#include <string>
#include <type_traits>
#include <utility>

#include <gtest/gtest.h>

using Vmc::VellMetadataContainer;

namespace {

// Counts defined flags and non-null texts over the whole container.
struct Census {
    int fields = 0;
    int defined = 0;
    int texts = 0;
    int nonNullTexts = 0;
};

Census census(const VellMetadataContainer& c)
{
    Census result;
    Vmc::forEachField(c, [&](const Vmc::FieldInfo&, const auto& field) {
        ++result.fields;
        result.defined += field.defined != 0;
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, MetaString>) {
            ++result.texts;
            result.nonNullTexts += field.text != nullptr;
        }
    });
    return result;
}

// Gives every text field a distinct text.
void fillTexts(VellMetadataContainer& c)
{
    Vmc::forEachField(c, [](const Vmc::FieldInfo& info, auto& field) {
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, MetaString>)
            field = info.name;
    });
}

} // namespace

TEST(Container, NewContainerHasNothingDefined)
{
    const VellMetadataContainer c;
    const Census n = census(c);
    EXPECT_EQ(n.fields, 203);
    EXPECT_EQ(Vmc::kFieldCount, 203);
    EXPECT_EQ(n.defined, 0);
    EXPECT_EQ(n.nonNullTexts, 0);
    EXPECT_EQ(c.reserved, nullptr);
}

TEST(Container, FieldDescriptionIsInContainerOrder)
{
    EXPECT_STREQ(Vmc::kFieldInfos[0].name, "spareWord");
    EXPECT_STREQ(Vmc::kFieldInfos[1].name, "acesContainerFlag");
    EXPECT_STREQ(Vmc::kFieldInfos[Vmc::kFieldCount - 1].name, "whiteBalanceRgb");

    // The walk visits members at strictly increasing addresses, each once.
    VellMetadataContainer c;
    const char* previous = reinterpret_cast<const char*>(&c.reserved);
    int index = 0;
    std::set<std::string> names;
    Vmc::forEachField(c, [&](const Vmc::FieldInfo& info, const auto& field) {
        const char* here = reinterpret_cast<const char*>(&field);
        EXPECT_GT(here, previous) << info.name;
        EXPECT_EQ(info.index, index++);
        EXPECT_STREQ(info.name, Vmc::kFieldInfos[info.index].name);
        names.insert(info.name);
        previous = here;
    });
    EXPECT_EQ(names.size(), 203u);
}

TEST(MetaString, AssignmentCopiesUnlessSamePointer)
{
    MetaString s;
    s = "Corva LT";
    ASSERT_NE(s.text, nullptr);
    EXPECT_STREQ(s.text, "Corva LT");
    EXPECT_EQ(s.defined, 1);

    char* held = s.text;
    s.defined = 0;
    s = held; // its own text: nothing is copied, the flag is set
    EXPECT_EQ(s.text, held);
    EXPECT_EQ(s.defined, 1);

    const char other[] = "Corva LT";
    s = other; // an equal text in another buffer is copied afresh
    EXPECT_NE(s.text, other);
    EXPECT_STREQ(s.text, "Corva LT");
}

TEST(Container, CopyDuplicatesTexts)
{
    VellMetadataContainer original;
    fillTexts(original);
    original.whiteBalanceCct.set(5600);

    const VellMetadataContainer copy(original);
    EXPECT_NE(copy.cameraModel.text, original.cameraModel.text);
    EXPECT_STREQ(copy.cameraModel.text, "cameraModel");
    EXPECT_EQ(copy.whiteBalanceCct.value, 5600u);
    EXPECT_EQ(census(copy).defined, census(original).defined);

    VellMetadataContainer assigned;
    assigned.lensName = "to be replaced";
    assigned = original;
    EXPECT_NE(assigned.lensName.text, original.lensName.text);
    EXPECT_STREQ(assigned.lensName.text, "lensName");
}

TEST(Container, MoveTransfersTexts)
{
    VellMetadataContainer original;
    fillTexts(original);
    char* model = original.cameraModel.text;

    VellMetadataContainer moved(std::move(original));
    EXPECT_EQ(moved.cameraModel.text, model);
    EXPECT_EQ(census(original).nonNullTexts, 0); // NOLINT(bugprone-use-after-move): the source is emptied

    VellMetadataContainer target;
    target.cameraModel = "old";
    target = std::move(moved);
    EXPECT_EQ(target.cameraModel.text, model);
}

TEST(Container, SelfAssignmentKeepsTexts)
{
    VellMetadataContainer c;
    fillTexts(c);
    VellMetadataContainer& alias = c;
    c = alias;
    EXPECT_STREQ(c.uuid.text, "uuid");
    c = std::move(alias);
    EXPECT_STREQ(c.uuid.text, "uuid");
}
