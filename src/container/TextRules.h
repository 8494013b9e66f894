// How fixed-width header texts and numbers become container texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include <VellMetadataContainer/FieldTypes.h>

#include "HeaderView.h"
#include "util/FixedText.h"

namespace Vmc::decoding {

using text::FixedText;

// The widest text field of the header: the long user text.
constexpr std::size_t kWidestText = 256;

// A fixed-width header text: its bytes up to the first NUL, or all of them
// when there is none. A text that ends inside its field is read in place; one
// that fills the field is copied into a buffer of its own to be terminated.
// Either way it is only valid while the header is.
class FieldText {
public:
    explicit FieldText(Bytes field);
    FieldText(const FieldText&) = delete;
    FieldText& operator=(const FieldText&) = delete;

    const char* c_str() const { return text_; }
    std::string_view view() const { return {text_, size_}; }
    bool empty() const { return size_ == 0; }

private:
    const char* text_;
    std::size_t size_;
    char filled_[kWidestText + 1];
};

// A text that exists and is not empty.
inline bool usable(const std::optional<FieldText>& text)
{
    return text.has_value() && !text->empty();
}

// The field's text, or nothing when every byte is 0xFF.
std::optional<FieldText> boundedText(Bytes field);

// The field's text, or nothing when its first byte is 0xFF.
std::optional<FieldText> textUnlessFirstByteUnwritten(Bytes field);

// The bounded-text rule: a field that is all 0xFF, or whose text is empty,
// leaves `target` untouched; any other text is assigned.
void assignBoundedText(MetaString& target, Bytes field);

// Appends a word's four bytes as characters, most significant byte first; a
// NUL among them ends the text's C view there.
template <std::size_t N>
void appendFourCharacters(FixedText<N>& text, std::uint32_t word)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        text.append(static_cast<char>((word >> shift) & 0xFFu));
}

// Assigns an integer as the default stream formatting writes it.
template <class Integer>
void assignDecimal(MetaString& target, Integer value)
{
    FixedText<24> text;
    text.appendDecimal(value);
    target = text.c_str();
}

} // namespace Vmc::decoding
