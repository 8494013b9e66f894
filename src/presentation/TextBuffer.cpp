#include "TextBuffer.h"

#include <algorithm>

namespace Vmc {

// Past the stack, the text moves to the heap, doubling as it grows.
void TextBuffer::grow(std::size_t length)
{
    const std::size_t capacity = std::max(2 * capacity_, size_ + length);
    char* data = new char[capacity];
    std::memcpy(data, data_, size_);
    if (data_ != inline_)
        delete[] data_;
    data_ = data;
    capacity_ = capacity;
}

} // namespace Vmc
