// SPDX-License-Identifier: Apache-2.0
// The text of a view as it is written: a clip's entry, a field's value. A
// JSON entry is some two hundred members, each a handful of small appends, so
// appends are inline and the first 8 KiB (a whole entry, usually) live on the
// stack; the text reaches the caller's string in one append at the end.
// Numbers are formatted by {fmt} into a few bytes of their own first.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include <fmt/compile.h>
#include <fmt/format.h>

namespace vellmeta {

class Out {
public:
    Out() = default;
    Out(const Out&) = delete;
    Out& operator=(const Out&) = delete;

    void append(const char* text, std::size_t length)
    {
        if (capacity_ - size_ < length)
            grow(length);
        if (length != 0) // an empty view may come without a pointer
            std::memcpy(data_ + size_, text, length);
        size_ += length;
    }
    Out& operator+=(std::string_view text)
    {
        append(text.data(), text.size());
        return *this;
    }
    Out& operator+=(char c)
    {
        if (size_ == capacity_)
            grow(1);
        data_[size_++] = c;
        return *this;
    }

    // An integer's decimal digits.
    template <class Integer>
    void integer(Integer value)
    {
        const fmt::format_int digits(value);
        append(digits.data(), digits.size());
    }

    // Formatted text; `format` is a FMT_COMPILE string, parsed when compiled,
    // whose text takes at most kMostFormatted bytes (a number or two).
    static constexpr std::size_t kMostFormatted = 64;
    template <class Format, class... Args>
    void format(const Format& format, Args&&... args)
    {
        if (capacity_ - size_ < kMostFormatted)
            grow(kMostFormatted);
        size_ = static_cast<std::size_t>(fmt::format_to(data_ + size_, format, std::forward<Args>(args)...) - data_);
    }

    // Room for `length` more bytes, written in place and then kept with
    // grownTo: a few bytes written at once with one test of the room.
    char* room(std::size_t length)
    {
        if (capacity_ - size_ < length)
            grow(length);
        return data_ + size_;
    }
    void grownTo(const char* end) { size_ = static_cast<std::size_t>(end - data_); }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear() { size_ = 0; }
    // Drops what was appended since the size was `size`.
    void truncate(std::size_t size) { size_ = size; }
    char operator[](std::size_t at) const { return data_[at]; }
    std::string_view view() const { return {data_, size_}; }
    void appendTo(std::string& out) const { out.append(data_, size_); }

private:
    void grow(std::size_t length)
    {
        std::size_t capacity = 2 * capacity_;
        while (capacity - size_ < length)
            capacity *= 2;
        std::unique_ptr<char[]> larger(new char[capacity]);
        std::memcpy(larger.get(), data_, size_);
        heap_ = std::move(larger);
        data_ = heap_.get();
        capacity_ = capacity;
    }

    char inline_[8192];
    std::unique_ptr<char[]> heap_;
    char* data_ = inline_;
    std::size_t size_ = 0;
    std::size_t capacity_ = sizeof inline_;
};

// Appends to `out` what `write(Out&)` writes, in one append: how the
// library's forms that take a std::string reach it.
template <class Write>
void appendBuilt(std::string& out, Write&& write)
{
    Out text;
    write(text);
    text.appendTo(out);
}

} // namespace vellmeta
