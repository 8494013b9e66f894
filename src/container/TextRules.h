// SPDX-License-Identifier: Apache-2.0
// How fixed-width header texts and numbers become container texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include <VellMetadataContainer/FieldTypes.h>

#include "AssignText.h"
#include "HeaderView.h"
#include "Unwritten.h"
#include "util/FixedText.h"

namespace Vmc::decoding {

using text::FixedText;

// The widest text field of the header: the long user text.
constexpr std::size_t kWidestText = 256;

// A fixed-width header text: its bytes up to the first NUL, or all of them
// when there is none; or no text at all when the field counts as never
// written. A text that ends inside its field is read in place (cameras pad
// their texts with NUL bytes, so most fields end in one); one that fills the
// field is copied into a buffer of its own to be terminated. Either way it is
// only valid while the header is.
class FieldText {
public:
    // No text.
    FieldText() = default;

    explicit FieldText(Bytes field) : text_(reinterpret_cast<const char*>(field.data))
    {
        if (field.size == 0 || text_[field.size - 1] != '\0')
            terminate(field.size);
    }

    FieldText(const FieldText&) = delete;
    FieldText& operator=(const FieldText&) = delete;

    bool exists() const { return text_ != nullptr; }
    // A text that exists and is not empty.
    bool usable() const { return text_ != nullptr && text_[0] != '\0'; }
    const char* c_str() const { return text_; }
    std::string_view view() const { return text_; }

private:
    // Points the text at a terminated copy unless a NUL ends it in its field.
    void terminate(std::size_t width);

    const char* text_ = nullptr;
    char filled_[kWidestText + 1];
};

// The field's text, or none when every byte is 0xFF. Only a field whose first
// byte is 0xFF needs the whole test.
inline FieldText boundedText(Bytes field)
{
    if (field.size == 0 || (field.data[0] == 0xFF && unwritten(field.data, field.size)))
        return FieldText();
    return FieldText(field);
}

// The field's text, or none when its first byte is 0xFF.
inline FieldText textUnlessFirstByteUnwritten(Bytes field)
{
    if (field.size == 0 || field.data[0] == 0xFF)
        return FieldText();
    return FieldText(field);
}

// The bounded-text rule: a field that is all 0xFF, or whose text is empty,
// leaves `target` untouched; any other text is assigned.
inline void assignBoundedText(MetaString& target, Bytes field)
{
    const FieldText text = boundedText(field);
    if (text.usable())
        assignText(target, text.c_str());
}

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
    assignText(target, text.c_str());
}

} // namespace Vmc::decoding
