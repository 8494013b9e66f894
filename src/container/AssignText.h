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

// A heap copy of `text` with a NUL after it, releasable with free. Throws
// std::bad_alloc when the copy fails.
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

// A strdup copy of `s` (measured and copied in one call into the C library),
// or null for null. Throws std::bad_alloc when the copy fails.
inline char* duplicateText(const char* s)
{
    if (s == nullptr)
        return nullptr;
    char* copy = strdup(s);
    if (copy == nullptr)
        throw std::bad_alloc();
    return copy;
}

// Releases the field's text, holds `copy` instead and marks the field defined.
inline void holdText(MetaString& target, char* copy)
{
    std::free(target.text);
    target.text = copy;
    target.defined = 1;
}

// Unless `s` is the very pointer the field holds, releases the held text and
// holds a copy of `s` instead; the field is defined either way. The pointer
// test only guards against assigning a field its own text: any other source,
// equal or not, is copied.
inline void assignText(MetaString& target, const char* s)
{
    if (target.text == s)
        target.defined = 1;
    else
        holdText(target, duplicateText(s));
}

// As above, for a text whose length is known (a number, a label, part of a
// header text) and which holds no NUL: it is copied without being scanned
// again.
inline void assignText(MetaString& target, std::string_view text)
{
    holdText(target, duplicateText(text));
}

} // namespace Vmc::decoding
