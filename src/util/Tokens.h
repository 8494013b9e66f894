// SPDX-License-Identifier: Apache-2.0
// Splitting a text into words without copying it.
#pragma once

#include <cstddef>
#include <string_view>

namespace Vmc::text {

// Calls visit(token) for every maximal run of characters for which
// isDelimiter(character) is false, in order. Leading, trailing and repeated
// delimiters yield no empty tokens.
template <class IsDelimiter, class Visitor>
void forEachToken(std::string_view text, IsDelimiter&& isDelimiter, Visitor&& visit)
{
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isDelimiter(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !isDelimiter(text[i]))
            ++i;
        if (i > start)
            visit(text.substr(start, i - start));
    }
}

} // namespace Vmc::text
