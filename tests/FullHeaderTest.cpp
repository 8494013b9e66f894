// The whole header: every field group decoded from one header that defines
// every field the groups read.
#include <VellMetadataContainer/FieldDescription.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "support/FullHeader.h"

using Vmc::VellMetadataContainer;
using ColorSpace = Vmc::VellMetadataContainer::ColorSpace;

namespace {

std::vector<std::string> fieldNames(const VellMetadataContainer& c, bool defined)
{
    std::vector<std::string> names;
    Vmc::forEachField(c, [&](const Vmc::FieldInfo& info, const auto& field) {
        if ((field.defined != 0) == defined)
            names.push_back(info.name);
    });
    return names;
}

} // namespace

TEST(FullHeader, DefinesEveryFieldButTheSpareOnes)
{
    const Vmc::testing::HeaderImage image = Vmc::testing::fullHeader();
    VellMetadataContainer c;
    Vmc::ErrorValue result = c.initFromHeader(image.header(), ColorSpace::AcesAP0);
    EXPECT_FALSE(result.isError) << result.message;
    EXPECT_EQ(result.code, 0u);
    std::free(result.message);

    EXPECT_EQ(fieldNames(c, true).size(), 190u);
    const std::vector<std::string> spare = {"spareWord",   "spareFloatA", "spareVec3A",  "spareVec3B", "spareFloatB",
                                            "spareTextA",  "spareFloatC", "spareTextB",  "spareTextC", "sparePair",
                                            "spareFloatD", "spareTextD",  "spareFlag"};
    EXPECT_EQ(fieldNames(c, false), spare);
}

TEST(FullHeader, DecodingTwiceGivesTheSameContainer)
{
    const Vmc::testing::HeaderImage image = Vmc::testing::fullHeader();
    for (ColorSpace space : {ColorSpace::AcesAP0, ColorSpace::CameraNative, ColorSpace::WideGamut}) {
        VellMetadataContainer once;
        std::free(once.initFromHeader(image.header(), space).message);
        VellMetadataContainer twice = once;
        std::free(twice.initFromHeader(image.header(), space).message);
        EXPECT_TRUE(once == twice);
        EXPECT_TRUE(twice == once);
        EXPECT_EQ(fieldNames(once, true), fieldNames(twice, true));
    }
}
