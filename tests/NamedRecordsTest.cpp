// SPDX-License-Identifier: Apache-2.0
#include "support/FieldChecks.h"

using namespace Vmc::testing;
using Vmc::decoding::At;

// Writes one record: its kind, its name unless null, and six values.
static void setRecord(HeaderImage& image, At<VellRawMeta::NamedValuesRecord> record, std::uint32_t kind,
                      const char* name, std::initializer_list<std::uint16_t> values = {1, 2, 3, 4, 5, 6})
{
    image.set(At<std::uint32_t>{record.offset}, kind);
    if (name != nullptr)
        image.setText(At<unsigned char[32]>{record.offset + 4}, name);
    std::size_t offset = record.offset + 36;
    for (std::uint16_t v : values) {
        image.set(At<std::uint16_t>{offset}, v);
        offset += 2;
    }
}

TEST(NamedRecords, KindsNamesAndValueGaps)
{
    HeaderImage image = headerWith(VMC_AT(groupName1), "", VMC_AT(groupName2), "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
    setRecord(image, VMC_AT(record1), 2, "Focus", {10, 20, 30, 40, 50, 60});
    setRecord(image, VMC_AT(record2), 3, "Ignored");                      // unknown kind: absent
    setRecord(image, VMC_AT(record3), 1, "");                             // an empty name is not stored
    setRecord(image, VMC_AT(record4), 1, nullptr, {7, 8, 9, 10, 11, 12}); // no name, values stored
    setRecord(image, VMC_AT(record5), 1, "Zoom", {1, 2, 3, 4, 5, 0xFFFF}); // a missing value: name only
    setRecord(image, VMC_AT(record6), kUnwritten, "Never");               // absent
    const Decoded d = decode(image);
    EXPECT_FALSE(d.isError) << d.message;
    const Vmc::VellMetadataContainer& c = d.c;
    EXPECT_STREQ(textOf(c.record1Name), "Focus");
    EXPECT_EQ(valueOf(c.record1ValuesPresent), 1u);
    const MetaField<std::uint32_t>* values[] = {&c.record1Value1, &c.record1Value2, &c.record1Value3,
                                                &c.record1Value4, &c.record1Value5, &c.record1Value6};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(valueOf(*values[i]), 10u * (i + 1));
    EXPECT_FALSE(c.record2Name.defined || c.record2ValuesPresent.defined || c.record2Value1.defined);
    EXPECT_FALSE(c.record3Name.defined);
    EXPECT_EQ(valueOf(c.record3Value6), 6u);
    EXPECT_FALSE(c.record4Name.defined);
    EXPECT_EQ(valueOf(c.record4ValuesPresent), 1u);
    EXPECT_EQ(valueOf(c.record4Value1), 7u);
    EXPECT_STREQ(textOf(c.record5Name), "Zoom");
    EXPECT_FALSE(c.record5ValuesPresent.defined || c.record5Value1.defined);
    EXPECT_FALSE(c.record6Name.defined || c.groupName1.defined); // fills the field, no NUL
    EXPECT_STREQ(textOf(c.groupName2), "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
}

TEST(NamedRecords, OnlyKindsOneAndTwoArePresent)
{
    for (std::uint32_t kind : {0u, 1u, 2u, 3u, 0x101u, 0x10001u, 0x01000000u, kUnwritten}) {
        // The second group's name is stored with or without any record before it.
        HeaderImage image = headerWith(VMC_AT(groupName2), "Two");
        setRecord(image, VMC_AT(record6), kind, "Last");
        const Decoded d = decode(image);
        const bool present = kind == 1 || kind == 2;
        EXPECT_STREQ(textOf(d.c.groupName2), "Two");
        EXPECT_STREQ(textOf(d.c.record6Name), present ? "Last" : nullptr) << kind;
        EXPECT_EQ(d.c.record6ValuesPresent.defined != 0, present) << kind;
        EXPECT_EQ(valueOf(d.c.record6Value6), present ? std::optional(6u) : std::nullopt) << kind;
    }
}
