// SPDX-License-Identifier: Apache-2.0
#include <VellMetadataContainer/StringHelpers.h>

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
    return strndup(reinterpret_cast<const char*>(bytes), length);
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
