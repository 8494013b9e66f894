// SPDX-License-Identifier: Apache-2.0
#include <VellMetadataContainer/StringHelpers.h>

#include <cstdlib>
#include <cstring>

#include "FixedText.h"
#include "container/Unwritten.h"
#include "Tokens.h"

namespace Vmc {

std::vector<std::string> tokenize(const std::string& text, const std::string& delimiters)
{
    bool isDelimiter[256] = {};
    for (char c : delimiters)
        isDelimiter[static_cast<unsigned char>(c)] = true;
    std::vector<std::string> tokens;
    text::forEachToken(
        text, [&](char c) { return isDelimiter[static_cast<unsigned char>(c)]; },
        [&](std::string_view token) { tokens.emplace_back(token); });
    return tokens;
}

std::string spacesToUnderscores(const std::string& text)
{
    std::string result = text;
    for (char& c : result) {
        if (c == ' ')
            c = '_';
    }
    return result;
}

char* strdupNullOrBoundsTerminatedCString(const unsigned char* bytes, unsigned long length)
{
    if (decoding::unwritten(bytes, length)) // also a length of 0
        return nullptr;
    // The text ends at its first zero byte or at the end of the field; the
    // copy is freed with free(), as strdup's are.
    const void* const zero = std::memchr(bytes, 0, length);
    const std::size_t size = zero != nullptr ? static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - bytes)
                                             : static_cast<std::size_t>(length);
    char* const copy = static_cast<char*>(std::malloc(size + 1));
    if (copy == nullptr)
        return nullptr;
    std::memcpy(copy, bytes, size);
    copy[size] = '\0';
    return copy;
}

std::string hexStringFromU8Array(const unsigned char* bytes, int count)
{
    if (count <= 0)
        return std::string();
    std::string text(2 * static_cast<std::size_t>(count), '\0');
    text::writeHex(text.data(), bytes, static_cast<std::size_t>(count));
    return text;
}

} // namespace Vmc
