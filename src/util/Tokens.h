// Splitting a text into words without copying it.
#pragma once

#include <string_view>

namespace Vmc::text {

// Calls visit(token) for every maximal run of characters that are not in
// `delimiters` (a set of single characters), in order. Leading, trailing and
// repeated delimiters yield no empty tokens; an empty delimiter set yields
// the whole text, when it is not empty, as one token.
template <class Visitor>
void forEachToken(std::string_view text, std::string_view delimiters, Visitor&& visit)
{
    std::string_view::size_type start = text.find_first_not_of(delimiters);
    while (start != std::string_view::npos) {
        const std::string_view::size_type end = text.find_first_of(delimiters, start);
        visit(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            break;
        start = text.find_first_not_of(delimiters, end);
    }
}

} // namespace Vmc::text
