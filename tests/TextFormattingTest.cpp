// Texts that decoding builds in fixed buffers are the same characters that a
// string stream at default formatting writes.
#include <VellMetadataContainer/TimeCode.h>

#include <climits>
#include <cstdint>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "util/DateTimeText.h"
#include "util/FixedText.h"

using Vmc::DateTime;
using Vmc::text::FixedText;

namespace {

template <class T>
std::string streamed(const T& value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

template <class Integer>
std::string fixed(Integer value)
{
    FixedText<24> text;
    text.appendDecimal(value);
    return text.c_str();
}

std::string fixed(const DateTime& t)
{
    FixedText<Vmc::text::kDateTimeCapacity> text;
    Vmc::text::appendDateTime(text, t);
    return text.c_str();
}

} // namespace

TEST(TextFormatting, IntegersAsTheStreamWritesThem)
{
    for (std::uint32_t v : {0u, 9u, 10u, 1234u, 8950u, 4294967295u})
        EXPECT_EQ(fixed(v), streamed(v));
    for (std::int32_t v : {0, -1, 7, INT32_MIN, INT32_MAX})
        EXPECT_EQ(fixed(v), streamed(v));
    for (long long v : {0LL, -1LL, 65534LL, 4294967295LL, LLONG_MIN, LLONG_MAX})
        EXPECT_EQ(fixed(v), streamed(v));
}

TEST(TextFormatting, DateTimesAsTheStreamWritesThem)
{
    // Every value that four or two BCD digits can give, one field at a time,
    // and values no BCD field can hold.
    DateTime t{2023, 12, 31, 23, 59, 59, 0};
    for (int year = 0; year <= 16665; ++year) {
        t.year = year;
        ASSERT_EQ(fixed(t), streamed(t)) << year;
    }
    for (int DateTime::*field : {&DateTime::month, &DateTime::day, &DateTime::hour, &DateTime::minute, &DateTime::second}) {
        DateTime u{2014, 3, 7, 9, 5, 1, 0};
        for (int v = 0; v <= 165; ++v) {
            u.*field = v;
            ASSERT_EQ(fixed(u), streamed(u)) << v;
        }
        for (int v : {-1, -9, -10, -100, 100, 1000, INT_MIN, INT_MAX}) {
            u.*field = v;
            ASSERT_EQ(fixed(u), streamed(u)) << v;
        }
    }
    EXPECT_EQ(fixed(DateTime{INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, 0}),
              streamed(DateTime{INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, 0}));
}

TEST(TextFormatting, KeepsWhatFitsAndStaysTerminated)
{
    FixedText<6> text;
    text.append("VELL-").append("Corva").append('x');
    EXPECT_STREQ(text.c_str(), "VELL-C");
    text.appendDecimal(12345u);
    EXPECT_STREQ(text.c_str(), "VELL-C");

    FixedText<8> hex;
    const unsigned char bytes[] = {0x00, 0x0F, 0xA5, 0xFF, 0x12};
    hex.appendHex(bytes, 5);
    EXPECT_STREQ(hex.c_str(), "000FA5FF");
}
