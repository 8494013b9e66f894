// The decoding driver: the result value and its failure messages.
#include <VellMetadataContainer/FieldDescription.h>
#include <container/Failures.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "support/HeaderImage.h"

using Vmc::VellMetadataContainer;
using ColorSpace = Vmc::VellMetadataContainer::ColorSpace;

TEST(Driver, CleanHeaderReturnsNoFailureAndEmptyMessage)
{
    const Vmc::testing::HeaderImage image = Vmc::testing::HeaderImage::decodable();
    VellMetadataContainer c;
    Vmc::ErrorValue result = c.initFromHeader(image.header(), ColorSpace::WideGamut);
    EXPECT_FALSE(result.isError);
    EXPECT_EQ(result.code, 0u);
    ASSERT_NE(result.message, nullptr);
    EXPECT_STREQ(result.message, "");
    std::free(result.message);
}

TEST(Failures, MessagesAndCodes)
{
    using Vmc::decoding::Failure;
    struct Case {
        Failure failure;
        long long value;
        std::uint32_t code;
        const char* message;
    };
    const Case cases[] = {
        {Failure::UnknownColorSpace, -1, 100, "Unknown colorspace value in VELLRAW header; enumeration value is `-1'"},
        {Failure::EmptyCameraModel, 0, 200, "VELLRAW header camera model field is defined, but is empty"},
        {Failure::SerialNumberInNoRange, 0, 300,
         "VELLRAW header camera model field is undefined, and camera serial number lands in no known range"},
        {Failure::UnknownCameraType, 4294967295ll, 400,
         "Unknown camera type value in VELLRAW header; enumeration value is `4294967295'"},
        {Failure::UnknownFlipState, 4, 0, "Unknown flip/flop value in VELLRAW header; enumeration value is `4'"},
        {Failure::UnknownQxNdFilterType, 65534, 1100,
         "Unknown CORVA QX filter type in VELLRAW header; enumeration value is `65534'"},
        {Failure::UnknownChannelSetup, 9, 0,
         "Unknown channel setup configuration in VELLRAW header; enumeration value is `9'"},
    };
    for (const Case& c : cases) {
        Vmc::ErrorValue result = Vmc::decoding::noFailure();
        Vmc::decoding::recordFailure(result, c.failure, c.value);
        EXPECT_TRUE(result.isError);
        EXPECT_EQ(result.code, c.code);
        EXPECT_STREQ(result.message, c.message);
        std::free(result.message);
    }
}

TEST(Failures, StoppingKinds)
{
    int continuing = 0;
    for (const auto& info : Vmc::decoding::kFailures) {
        EXPECT_EQ(info.stops, info.code != 0) << info.text;
        continuing += !info.stops;
    }
    EXPECT_EQ(continuing, 3);
}

TEST(Failures, LaterFailureReplacesEarlier)
{
    using Vmc::decoding::Failure;
    Vmc::ErrorValue result = Vmc::decoding::noFailure();
    Vmc::decoding::recordFailure(result, Failure::UnknownFlipState, 3);
    Vmc::decoding::recordFailure(result, Failure::UnknownLookLutType, 7);
    EXPECT_EQ(result.code, 700u);
    EXPECT_STREQ(result.message, "Unknown Look LUT type in VELLRAW header; enumeration value is `7'");
    std::free(result.message);
}
