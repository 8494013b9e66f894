// A short text built on the stack, then appended to a string at once.
//
// Formatting one value (a window, a time code, a rational as JSON) takes a
// dozen small appends; on a std::string each is an out-of-line call, which
// made up a quarter of a JSON view's time. Values other than header texts
// are bounded (the longest, a set of chromaticities for people, is under 200
// bytes), so they are built here and reach the string in one append.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace Vmc {

class ShortText {
public:
    static constexpr std::size_t kCapacity = 512;

    // Past the capacity, text is dropped rather than written out of bounds.
    void append(const char* text, std::size_t length)
    {
        length = std::min(length, kCapacity - size_);
        std::memcpy(data_ + size_, text, length);
        size_ += length;
    }
    ShortText& operator+=(std::string_view text)
    {
        append(text.data(), text.size());
        return *this;
    }
    ShortText& operator+=(char c)
    {
        if (size_ < kCapacity)
            data_[size_++] = c;
        return *this;
    }

    std::size_t size() const { return size_; }
    std::string_view view() const { return {data_, size_}; }
    void appendTo(std::string& out) const { out.append(data_, size_); }

private:
    char data_[kCapacity];
    std::size_t size_ = 0;
};

// The shortest decimal of a float as appendFloat writes it, into `buffer`
// (at least kFloatTextSize bytes); returns its length.
constexpr std::size_t kFloatTextSize = 64;
std::size_t formatFloat(char* buffer, float value);

inline void appendFloat(ShortText& out, float value)
{
    char buffer[kFloatTextSize];
    out.append(buffer, formatFloat(buffer, value));
}

} // namespace Vmc
