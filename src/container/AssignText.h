// SPDX-License-Identifier: Apache-2.0
// Storing a text in a container field. Unless the text is the very one the
// field holds, a fresh strdup copy replaces the held text, which is then
// released; the field is marked defined either way. The copy is made before
// the release, so the field always ends up with a new pointer, and a text
// that lies inside the held one is still whole when it is copied.
#pragma once

#include <cstdlib>
#include <cstring>
#include <new>

#include <VellMetadataContainer/FieldTypes.h>

namespace Vmc::decoding {

// A strdup copy of `s`, or null for null. Throws std::bad_alloc when the
// copy fails.
inline char* duplicateText(const char* s)
{
    if (s == nullptr)
        return nullptr;
    char* copy = strdup(s);
    if (copy == nullptr)
        throw std::bad_alloc();
    return copy;
}

// The pointer test only guards against assigning a field its own text: any
// other source, equal or not, is copied.
inline void assignText(MetaString& target, const char* s)
{
    if (target.text != s) {
        char* copy = duplicateText(s);
        std::free(target.text);
        target.text = copy;
    }
    target.defined = 1;
}

} // namespace Vmc::decoding
