// SPDX-License-Identifier: Apache-2.0
// The text of a view as it is written: a clip's entry, a field's value. It
// lives in a buffer whose first 8 KiB are on the stack (a whole entry,
// usually), is appended to inline, and reaches the caller's string in one
// append at the end.
#pragma once

#include <cstddef>
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

    Out& operator+=(std::string_view text)
    {
        buffer_.append(text.data(), text.data() + text.size());
        return *this;
    }
    Out& operator+=(char c)
    {
        buffer_.push_back(c);
        return *this;
    }

    // An integer's decimal digits.
    template <class Integer>
    void integer(Integer value)
    {
        const fmt::format_int digits(value);
        buffer_.append(digits.data(), digits.data() + digits.size());
    }

    // Formatted text; `format` is a FMT_COMPILE string, parsed when compiled.
    template <class Format, class... Args>
    void format(const Format& format, Args&&... args)
    {
        fmt::format_to(fmt::appender(buffer_), format, std::forward<Args>(args)...);
    }

    std::size_t size() const { return buffer_.size(); }
    bool empty() const { return buffer_.size() == 0; }
    void clear() { buffer_.clear(); }
    // Drops what was appended since the size was `size`.
    void truncate(std::size_t size) { buffer_.resize(size); }
    char& operator[](std::size_t at) { return buffer_[at]; }
    std::string_view view() const { return {buffer_.data(), buffer_.size()}; }
    void appendTo(std::string& out) const { out.append(buffer_.data(), buffer_.size()); }
    fmt::memory_buffer::value_type* data() { return buffer_.data(); }
    fmt::basic_memory_buffer<char, 8192>& buffer() { return buffer_; }

private:
    fmt::basic_memory_buffer<char, 8192> buffer_;
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
