#include <VellMetadataContainer/MetadataContainer.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

TEST(Version, BuiltInValues)
{
    const Vmc::Version version;
    EXPECT_EQ(version.major, 1);
    EXPECT_EQ(version.minor, 0);
    EXPECT_EQ(version.patch, 0);
    EXPECT_STREQ(version.build, "1");
    EXPECT_STREQ(version.versionString, "1.0.0b1 79886 Vostrabeck ");
    EXPECT_EQ(std::strlen(version.versionString), 25u);
}

TEST(Version, TextOutlivesTheCallThatMadeIt)
{
    const char* first = Vmc::VellMetadataContainer::VellMetadataContainerVersion().versionString;
    const Vmc::Version second = Vmc::VellMetadataContainer::VellMetadataContainerVersion();
    EXPECT_STREQ(first, second.versionString);
    EXPECT_EQ(std::string(first), "1.0.0b1 79886 Vostrabeck ");
}
