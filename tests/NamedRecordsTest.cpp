#include <VellMetadataContainer/FieldDescription.h>

#include <gtest/gtest.h>

#include "support/Decode.h"
#include "support/HeaderImage.h"

using Vmc::VellMetadataContainer;
using Vmc::testing::HeaderImage;

namespace {

void setRecord(HeaderImage& image, Vmc::decoding::At<VellRawMeta::NamedValuesRecord> record, std::uint32_t kind,
               const char* name, std::initializer_list<std::uint16_t> values)
{
    image.set(Vmc::decoding::At<std::uint32_t>{record.offset}, kind);
    if (name != nullptr)
        image.setText(Vmc::decoding::At<unsigned char[32]>{record.offset + 4}, name);
    std::size_t offset = record.offset + 36;
    for (std::uint16_t v : values) {
        image.set(Vmc::decoding::At<std::uint16_t>{offset}, v);
        offset += 2;
    }
}

VellMetadataContainer decodeClean(const HeaderImage& image)
{
    const Vmc::testing::Decoded d = Vmc::testing::decode(image);
    EXPECT_FALSE(d.isError) << d.message;
    return d.c;
}

} // namespace

TEST(NamedRecords, PresentRecordStoresNameAndValues)
{
    HeaderImage image = HeaderImage::decodable();
    setRecord(image, VMC_AT(record1), 2, "Focus", {10, 20, 30, 40, 50, 60});
    const VellMetadataContainer c = decodeClean(image);
    EXPECT_STREQ(c.record1Name.text, "Focus");
    ASSERT_TRUE(c.record1ValuesPresent.defined);
    EXPECT_EQ(c.record1ValuesPresent.value, 1u);
    const MetaField<std::uint32_t>* values[] = {&c.record1Value1, &c.record1Value2, &c.record1Value3,
                                                &c.record1Value4, &c.record1Value5, &c.record1Value6};
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(values[i]->defined);
        EXPECT_EQ(values[i]->value, 10u * (i + 1));
    }
}

TEST(NamedRecords, KindsNamesAndValueGaps)
{
    HeaderImage image = HeaderImage::decodable();
    setRecord(image, VMC_AT(record2), 3, "Ignored", {1, 2, 3, 4, 5, 6});      // unknown kind: absent
    setRecord(image, VMC_AT(record3), 1, "Iris", {1, 2, 3, 4, 5, 6});
    setRecord(image, VMC_AT(record4), 1, nullptr, {7, 8, 9, 10, 11, 12});     // no name, values stored
    setRecord(image, VMC_AT(record5), 1, "Zoom", {1, 2, 3, 4, 5, 0xFFFF});    // a missing value: name only
    setRecord(image, VMC_AT(record6), 0xFFFFFFFF, "Never", {1, 2, 3, 4, 5, 6}); // absent
    image.setText(VMC_AT(groupName2), "Second group");                          // groupName1 stays unwritten

    const VellMetadataContainer c = decodeClean(image);
    EXPECT_FALSE(c.record2Name.defined);
    EXPECT_FALSE(c.record2ValuesPresent.defined);
    EXPECT_FALSE(c.record2Value1.defined);
    EXPECT_STREQ(c.record3Name.text, "Iris");
    EXPECT_EQ(c.record3Value6.value, 6u);
    EXPECT_FALSE(c.record4Name.defined);
    EXPECT_TRUE(c.record4ValuesPresent.defined);
    EXPECT_EQ(c.record4Value1.value, 7u);
    EXPECT_STREQ(c.record5Name.text, "Zoom");
    EXPECT_FALSE(c.record5ValuesPresent.defined);
    EXPECT_FALSE(c.record5Value1.defined);
    EXPECT_FALSE(c.record6Name.defined);
    EXPECT_FALSE(c.groupName1.defined);
    EXPECT_STREQ(c.groupName2.text, "Second group");
}

TEST(NamedRecords, EmptyNameIsNotStored)
{
    HeaderImage image = HeaderImage::decodable();
    setRecord(image, VMC_AT(record1), 1, "", {1, 2, 3, 4, 5, 6});
    image.setText(VMC_AT(groupName1), "");
    const VellMetadataContainer c = decodeClean(image);
    EXPECT_FALSE(c.record1Name.defined);
    EXPECT_FALSE(c.groupName1.defined);
    EXPECT_TRUE(c.record1ValuesPresent.defined);
}

TEST(NamedRecords, OnlyKindsOneAndTwoArePresent)
{
    const struct {
        std::uint32_t kind;
        bool present;
    } cases[] = {{0, false},         {1, true},           {2, true},          {3, false},
                 {0x101, false},     {0x10001, false},    {0x01000000, false}, {0xFFFFFFFF, false}};
    for (const auto& k : cases) {
        HeaderImage image = HeaderImage::decodable();
        setRecord(image, VMC_AT(record6), k.kind, "Last", {1, 2, 3, 4, 5, 6});
        const VellMetadataContainer c = decodeClean(image);
        EXPECT_EQ(c.record6Name.defined != 0, k.present) << k.kind;
        EXPECT_EQ(c.record6ValuesPresent.defined != 0, k.present) << k.kind;
        EXPECT_EQ(c.record6Value6.defined != 0, k.present) << k.kind;
    }
}

TEST(NamedRecords, SecondGroupNameWithoutAnythingBeforeIt)
{
    HeaderImage image = HeaderImage::decodable();
    image.setText(VMC_AT(groupName2), "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"); // fills the field, no NUL
    const VellMetadataContainer c = decodeClean(image);
    EXPECT_FALSE(c.groupName1.defined);
    EXPECT_FALSE(c.record1Name.defined);
    EXPECT_FALSE(c.record3ValuesPresent.defined);
    EXPECT_STREQ(c.groupName2.text, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
}
