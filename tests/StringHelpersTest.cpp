#include <VellMetadataContainer/StringHelpers.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using Strings = std::vector<std::string>;

TEST(Tokenize, Cases)
{
    struct Case {
        std::string text;
        std::string delimiters;
        Strings tokens;
    };
    const Case cases[] = {
        {"  alpha   beta\tgamma ", " \t", {"alpha", "beta", "gamma"}},
        {"", " \t", {}},
        {" \t \t", " \t", {}},
        {"abc", "", {"abc"}},
        {"a,;b", ",;", {"a", "b"}},
        {"Zeiss", " \t", {"Zeiss"}},
        {"ABCBA", "B", {"A", "C", "A"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Vmc::tokenize(c.text, c.delimiters), c.tokens) << "text '" << c.text << "'";
}

TEST(SpacesToUnderscores, ReplacesEverySpaceOnly)
{
    EXPECT_EQ(Vmc::spacesToUnderscores("a b  c\td"), "a_b__c\td");
    EXPECT_EQ(Vmc::spacesToUnderscores("Corva NX Stage"), "Corva_NX_Stage");
    EXPECT_EQ(Vmc::spacesToUnderscores(""), "");
}

namespace {

// The bounded copy as a std::string, or "<null>".
std::string bounded(const std::vector<unsigned char>& bytes, unsigned long length)
{
    char* copy = Vmc::strdupNullOrBoundsTerminatedCString(bytes.data(), length);
    if (copy == nullptr)
        return "<null>";
    std::string text(copy);
    std::free(copy);
    return text;
}

} // namespace

TEST(StrdupNullOrBoundsTerminatedCString, Cases)
{
    EXPECT_EQ(bounded(std::vector<unsigned char>(8, 0xFF), 8), "<null>");
    EXPECT_EQ(bounded({0xFF, 0x41, 0, 0, 0, 0, 0, 0}, 8), "\xFF" "A");
    EXPECT_EQ(bounded({'W', 'X', 'Y', 'Z', 'Q'}, 4), "WXYZ");
    EXPECT_EQ(bounded({'A', 'B'}, 0), "<null>");
    EXPECT_EQ(bounded({0, 0xFF, 0xFF}, 3), "");
    EXPECT_EQ(bounded({'A', 0, 'B'}, 3), "A");
}

TEST(HexStringFromU8Array, Cases)
{
    const unsigned char bytes[] = {0x00, 0x0F, 0xA5, 0xFF};
    EXPECT_EQ(Vmc::hexStringFromU8Array(bytes, 4), "000FA5FF");
    EXPECT_EQ(Vmc::hexStringFromU8Array(bytes, 0), "");
    EXPECT_EQ(Vmc::hexStringFromU8Array(bytes, -3), "");
}
