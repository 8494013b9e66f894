// SPDX-License-Identifier: Apache-2.0
// Texts built in a buffer of fixed size, for the texts whose longest form is
// known in advance: numbers, hexadecimal digits, labels joined together. They
// replace string streams and temporary strings where a text is only built to
// be copied into a container field.
//
//   FixedText<20> serial;
//   serial.appendDecimal(8950u);
//   field = serial.c_str();            // "8950"
#pragma once

#include <charconv>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <system_error>
#include <type_traits>

namespace Vmc::text {

// The two upper-case hexadecimal digits of every byte value, high nibble
// first.
struct HexPairs {
    char digits[256][2];

    constexpr HexPairs() : digits()
    {
        constexpr char kDigits[] = "0123456789ABCDEF";
        for (int b = 0; b < 256; ++b) {
            digits[b][0] = kDigits[b >> 4];
            digits[b][1] = kDigits[b & 0x0F];
        }
    }
};
inline constexpr HexPairs kHexPairs;

// Writes two upper-case hexadecimal digits per byte, high nibble first, to
// `out` (2 * count characters, no terminator).
inline void writeHex(char* out, const unsigned char* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i, out += 2)
        std::memcpy(out, kHexPairs.digits[bytes[i]], 2);
}

// A NUL-terminated text of at most Capacity characters. Appending beyond the
// capacity keeps what fits; callers size the buffer for their longest text.
template <std::size_t Capacity>
class FixedText {
public:
    FixedText() { text_[0] = '\0'; }

    FixedText& append(std::string_view s)
    {
        const std::size_t n = s.size() < room() ? s.size() : room();
        std::memcpy(text_ + size_, s.data(), n);
        return grown(n);
    }

    FixedText& append(char c)
    {
        if (room() == 0)
            return *this;
        text_[size_] = c;
        return grown(1);
    }

    // An integer as the default stream formatting writes it: decimal, a minus
    // sign for negative values, nothing else. A number that does not fit is
    // left out.
    template <class Integer>
    FixedText& appendDecimal(Integer value)
    {
        static_assert(std::is_integral_v<Integer>, "integers only");
        const std::to_chars_result written = std::to_chars(text_ + size_, text_ + Capacity, value);
        if (written.ec != std::errc())
            return grown(0);
        return grown(static_cast<std::size_t>(written.ptr - (text_ + size_)));
    }

    // As appendDecimal, with a leading '0' for the values 0 to 9: what a
    // stream writes with fill '0' and width 2.
    FixedText& appendTwoDigits(int value)
    {
        if (value < 0 || value > 99 || room() < 2)
            return appendDecimal(value);
        text_[size_] = static_cast<char>('0' + value / 10);
        text_[size_ + 1] = static_cast<char>('0' + value % 10);
        return grown(2);
    }

    // Two upper-case hexadecimal digits per byte.
    FixedText& appendHex(const unsigned char* bytes, std::size_t count)
    {
        if (count > room() / 2)
            count = room() / 2;
        writeHex(text_ + size_, bytes, count);
        return grown(2 * count);
    }

    const char* c_str() const { return text_; }
    std::size_t size() const { return size_; }
    std::string_view view() const { return {text_, size_}; }
    char* begin() { return text_; }
    char* end() { return text_ + size_; }

private:
    std::size_t room() const { return Capacity - size_; }

    FixedText& grown(std::size_t n)
    {
        size_ += n;
        text_[size_] = '\0';
        return *this;
    }

    char text_[Capacity + 1];
    std::size_t size_ = 0;
};

} // namespace Vmc::text
