// Storing a text in a container field: a copy on the heap, the field's
// earlier text released, the field marked defined. A full header stores some
// sixty texts, so the decoders use this inline form instead of a call into
// MetaString's exported assignment, which is the C-string form here. Texts
// whose length is known come as string views and are not scanned again.
#pragma once

#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>

#include <VellMetadataContainer/FieldTypes.h>

namespace Vmc::decoding {

// A strdup copy of `s`, or null for null. Throws std::bad_alloc when the copy
// fails.
inline char* duplicateText(const char* s)
{
    if (s == nullptr)
        return nullptr;
    char* copy = strdup(s);
    if (copy == nullptr)
        throw std::bad_alloc();
    return copy;
}

// A heap copy of `text` with a NUL after it, releasable with free. The
// length is already known, so the text is not scanned again as strdup would.
// Throws std::bad_alloc when the copy fails.
inline char* duplicateText(std::string_view text)
{
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy == nullptr)
        throw std::bad_alloc();
    if (!text.empty()) // an empty view may have no data pointer at all
        std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

// Unless `s` is the very pointer the field holds, releases the held text and
// holds a copy of `s` instead; the field is defined either way. The pointer
// test only guards against assigning a field its own text: any other source,
// equal or not, is copied.
inline void assignText(MetaString& target, const char* s)
{
    if (target.text != s) {
        char* copy = duplicateText(s);
        std::free(target.text);
        target.text = copy;
    }
    target.defined = 1;
}

// Releases the held text and holds a copy of `text` instead, marking the
// field defined: for texts built outside the container (numbers, labels,
// parts of a header text) whose length is known and which hold no NUL.
inline void assignText(MetaString& target, std::string_view text)
{
    char* copy = duplicateText(text);
    std::free(target.text);
    target.text = copy;
    target.defined = 1;
}

} // namespace Vmc::decoding
