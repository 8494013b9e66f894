// Storing a text in a container field: over the field's earlier text when
// that has room, otherwise a copy on the heap with the earlier text
// released; the field is marked defined. A full header stores some
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

// Copies `length` bytes of `text` and a NUL over the text the field holds,
// when that is at least as long (its memory then has room), and marks the
// field defined; false when it has no such text. A container decoded clip
// after clip so stores most texts where the last clip's were, without
// allocating. The bytes may lie within the held text itself.
inline bool storeInPlace(MetaString& target, const char* text, std::size_t length)
{
    if (target.text == nullptr || std::strlen(target.text) < length)
        return false;
    if (length != 0) // an empty view may have no data pointer at all
        std::memmove(target.text, text, length);
    target.text[length] = '\0';
    target.defined = 1;
    return true;
}

// Unless `s` is the very pointer the field holds, stores a copy of `s` in
// the field (null for null); the field is defined either way. The pointer
// test only guards against assigning a field its own text: any other source,
// equal or not, is copied.
inline void assignText(MetaString& target, const char* s)
{
    if (target.text == s) {
        target.defined = 1;
        return;
    }
    if (s == nullptr)
        return holdText(target, nullptr);
    const std::string_view text(s);
    if (!storeInPlace(target, text.data(), text.size()))
        holdText(target, duplicateText(text));
}

// As above, for a text whose length is known (a number, a label, part of a
// header text) and which holds no NUL: it is copied without being scanned
// again.
inline void assignText(MetaString& target, std::string_view text)
{
    if (!storeInPlace(target, text.data(), text.size()))
        holdText(target, duplicateText(text));
}

} // namespace Vmc::decoding
