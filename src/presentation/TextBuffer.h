// The text of a view as it is written: a clip's entry, a field's value; with
// the recent float texts of the thread that writes it.
//
// A JSON entry is some two hundred members, each a handful of small appends;
// on a std::string every append is an out-of-line call that checks the
// capacity and copies. Here appends are inline, the first 8 KiB (a whole
// entry, usually) live on the stack, and the text reaches the caller's
// string in one append at the end.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "NumberText.h"

namespace Vmc {

// A short text that every field of a view begins with (a JSON key, a
// "    Label: " line start), kept in a fixed-size slot so that it is appended
// by copying the whole slot, a few vector moves without a call.
class SlotText {
public:
    static constexpr std::size_t kSlotSize = 48;

    // `text` must fit the slot (the views check theirs when compiled).
    explicit SlotText(std::string_view text) : length_(std::min(text.size(), kSlotSize))
    {
        if (length_ != 0)
            std::memcpy(slot_, text.data(), length_);
    }

private:
    friend class TextBuffer;
    char slot_[kSlotSize] = {};
    std::size_t length_ = 0;
};

class TextBuffer {
public:
    TextBuffer() = default;
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;
    ~TextBuffer()
    {
        if (data_ != inline_)
            delete[] data_;
    }

    void append(const char* text, std::size_t length)
    {
        if (length != 0) // an empty text may come without a pointer
            std::memcpy(room(length), text, length);
        size_ += length;
    }
    void append(std::string_view text) { append(text.data(), text.size()); }
    TextBuffer& operator+=(std::string_view text)
    {
        append(text.data(), text.size());
        return *this;
    }
    TextBuffer& operator+=(const SlotText& text)
    {
        std::memcpy(room(SlotText::kSlotSize), text.slot_, SlotText::kSlotSize);
        size_ += text.length_;
        return *this;
    }
    TextBuffer& operator+=(char c)
    {
        *room(1) = c;
        ++size_;
        return *this;
    }
    // Room for `length` more bytes, written in place and then kept with
    // `grownTo`: numbers are formatted straight into the text.
    char* room(std::size_t length)
    {
        if (capacity_ - size_ < length)
            grow(length);
        return data_ + size_;
    }
    void grownTo(const char* end) { size_ = static_cast<std::size_t>(end - data_); }

    void pop_back() { --size_; }
    void clear() { size_ = 0; }
    // Drops what was appended since the size was `size`.
    void truncate(std::size_t size) { size_ = size; }
    char& operator[](std::size_t at) { return data_[at]; }
    std::size_t size() const { return size_; }
    const char* data() const { return data_; }
    std::string_view view() const { return {data_, size_}; }
    void appendTo(std::string& out) const { out.append(data_, size_); }

    // The thread's recent float texts, looked up once per buffer.
    RecentFloats& recentFloats() { return recentFloats_; }

private:
    void grow(std::size_t length);

    char inline_[8192];
    char* data_ = inline_;
    std::size_t size_ = 0;
    std::size_t capacity_ = sizeof inline_;
    RecentFloats& recentFloats_ = RecentFloats::ofThisThread();
};

// Appends to `out` what `write(TextBuffer&)` writes, in one append: how the
// library's forms that take a std::string reach it.
template <class Write>
void appendBuilt(std::string& out, Write&& write)
{
    TextBuffer text;
    write(text);
    text.appendTo(out);
}

} // namespace Vmc
