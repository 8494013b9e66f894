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
#include <type_traits>

namespace Vmc::text {

// Upper-case hexadecimal digits, by the value of a nibble.
inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// Writes two upper-case hexadecimal digits per byte, high nibble first, to
// `out` (2 * count characters, no terminator).
inline void writeHex(char* out, const unsigned char* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        *out++ = kHexDigits[bytes[i] >> 4];
        *out++ = kHexDigits[bytes[i] & 0x0F];
    }
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

    FixedText& append(char c) { return append(std::string_view(&c, 1)); }

    // An integer as the default stream formatting writes it: decimal, a minus
    // sign for negative values, nothing else.
    template <class Integer>
    FixedText& appendDecimal(Integer value)
    {
        static_assert(std::is_integral_v<Integer>, "integers only");
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        return append(std::string_view(digits, static_cast<std::size_t>(end - digits)));
    }

    // As appendDecimal, with a leading '0' for the values 0 to 9: what a
    // stream writes with fill '0' and width 2.
    FixedText& appendTwoDigits(int value)
    {
        if (value >= 0 && value <= 9)
            append('0');
        return appendDecimal(value);
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
