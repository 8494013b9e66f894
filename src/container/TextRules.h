// How fixed-width header texts and numbers become container texts.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include <VellMetadataContainer/FieldTypes.h>

#include "HeaderView.h"

namespace Vmc::decoding {

// A text on the C heap, released when it goes out of scope.
class HeapText {
public:
    explicit HeapText(char* text = nullptr) : text_(text) {}
    HeapText(const HeapText&) = delete;
    HeapText& operator=(const HeapText&) = delete;
    HeapText(HeapText&& other) noexcept : text_(other.text_) { other.text_ = nullptr; }
    ~HeapText() { std::free(text_); }

    const char* get() const { return text_; }
    explicit operator bool() const { return text_ != nullptr; }
    // A copy that exists and is not empty.
    bool usable() const { return text_ != nullptr && text_[0] != '\0'; }

private:
    char* text_;
};

// The field's text up to its first NUL, or null when every byte is 0xFF or
// the copy fails.
HeapText boundedCopy(Bytes field);

// The field's text up to its first NUL, or null when its first byte is 0xFF
// or the copy fails.
HeapText copyUnlessFirstByteUnwritten(Bytes field);

// The bounded-text rule: a field that is all 0xFF, or whose text is empty,
// leaves `target` untouched; any other text is assigned.
void assignBoundedText(MetaString& target, Bytes field);

// A word's four bytes as characters, most significant byte first; NUL bytes
// are kept, so the text's C view ends at the first of them.
std::string fourCharacters(std::uint32_t word);

// Assigns a number written at default stream formatting.
template <class Number>
void assignDecimal(MetaString& target, Number value)
{
    std::ostringstream text;
    text << value;
    target = text.str().c_str();
}

} // namespace Vmc::decoding
