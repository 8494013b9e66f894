// The header field table: every field decoding reads, in header order,
// inside the header and not overlapping (each row's offset is checked at
// build time); and a mutation rewrites bytes of one field only.
#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "support/FullHeader.h"
#include "support/HeaderFieldMap.h"

using Vmc::testing::HeaderField;
using Vmc::testing::headerFields;

TEST(HeaderFieldMap, FieldsAreOrderedDisjointAndInsideTheHeader)
{
    std::size_t end = 20; // bytes 0 to 19 are never read
    std::size_t covered = 0;
    for (const HeaderField& field : headerFields()) {
        SCOPED_TRACE(field.name);
        EXPECT_GE(field.offset, end);
        end = field.offset + field.width;
        covered += field.width;
    }
    EXPECT_EQ(end, VellRawMeta::kVellFileHeaderV3Size) << "the last record's values end the header";
    // Every member, with latitude, longitude and the six records split into their parts.
    EXPECT_EQ(headerFields().size(), 133u);
    EXPECT_EQ(covered, 1674u) << "a field's width changed";
}

TEST(HeaderFieldMap, MutationStaysInsideOneField)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        const Vmc::testing::HeaderImage before = Vmc::testing::fullHeader();
        Vmc::testing::HeaderImage after = before;
        Vmc::testing::mutateField(after.data(), rng);
        const unsigned char* b = before.data();
        const unsigned char* a = after.data();
        const std::size_t size = VellRawMeta::kVellFileHeaderV3Size;
        const std::size_t first = static_cast<std::size_t>(std::mismatch(b, b + size, a).first - b);
        if (first == size)
            continue; // the new value happened to equal the old one
        std::size_t last = size - 1;
        while (a[last] == b[last])
            --last;
        const bool inOneField = std::any_of(headerFields().begin(), headerFields().end(), [&](const HeaderField& f) {
            return first >= f.offset && last < f.offset + f.width;
        });
        EXPECT_TRUE(inOneField) << "bytes " << first << " to " << last << " in round " << round;
    }
}
