// The fuzzing field table: fields in header order, inside the header, not
// overlapping; and a mutation rewrites bytes of one field only.
#include <random>

#include <gtest/gtest.h>

#include "support/FullHeader.h"
#include "support/HeaderFieldMap.h"

using Vmc::testing::HeaderField;
using Vmc::testing::headerFields;

TEST(HeaderFieldMap, FieldsAreOrderedDisjointAndInsideTheHeader)
{
    std::size_t end = 20; // bytes 0 to 19 are never read
    for (const HeaderField& field : headerFields()) {
        SCOPED_TRACE(field.name);
        EXPECT_GE(field.offset, end);
        EXPECT_GT(field.width, 0u);
        end = field.offset + field.width;
        EXPECT_LE(end, VellRawMeta::kVellFileHeaderV3Size);
    }
    EXPECT_EQ(end, VellRawMeta::kVellFileHeaderV3Size) << "the last record's values end the header";
}

TEST(HeaderFieldMap, MutationStaysInsideOneField)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        const Vmc::testing::HeaderImage before = Vmc::testing::fullHeader();
        Vmc::testing::HeaderImage after = before;
        Vmc::testing::mutateField(after.data(), rng);
        std::size_t first = VellRawMeta::kVellFileHeaderV3Size;
        std::size_t last = 0;
        for (std::size_t i = 0; i < VellRawMeta::kVellFileHeaderV3Size; ++i) {
            if (before.data()[i] != after.data()[i]) {
                first = std::min(first, i);
                last = i;
            }
        }
        if (first > last)
            continue; // the new value happened to equal the old one
        bool inOneField = false;
        for (const HeaderField& field : headerFields())
            inOneField = inOneField || (first >= field.offset && last < field.offset + field.width);
        EXPECT_TRUE(inOneField) << "bytes " << first << " to " << last << " in round " << round;
    }
}
