// SPDX-License-Identifier: Apache-2.0
#include "FieldChoice.h"

#include <algorithm>
#include <cctype>

#include <vellmeta/Text.h>

namespace vellmeta::cli {

namespace {

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Edit distance (insertions, deletions, substitutions), ignoring case.
std::size_t distance(std::string_view a, std::string_view b)
{
    const std::string x = lower(a), y = lower(b);
    std::vector<std::size_t> row(y.size() + 1);
    for (std::size_t j = 0; j <= y.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= x.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= y.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[y.size()];
}

// Field names close to `name`: a few edits away, or containing it.
std::string closeMatches(std::string_view name)
{
    std::vector<std::pair<std::size_t, std::string_view>> near;
    const std::string wanted = lower(name);
    for (const FieldPresentation& p : kFields) {
        const std::size_t d = distance(name, p.name);
        const bool contains = wanted.size() >= 3 && lower(p.name).find(wanted) != std::string::npos;
        if (d <= std::max<std::size_t>(2, (name.size() + 2) / 3) || contains)
            near.emplace_back(contains ? 0 : d, p.name);
    }
    std::stable_sort(near.begin(), near.end(), [](const auto& l, const auto& r) { return l.first < r.first; });
    if (near.empty())
        return "";
    std::string text = "; did you mean ";
    for (std::size_t i = 0; i < near.size() && i < 8; ++i)
        text += (i == 0 ? "" : ", ") + std::string(near[i].second);
    return text + "?";
}

} // namespace

std::string chooseFields(const std::string& list, std::vector<int>& fields)
{
    fields.clear();
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        std::string name = list.substr(start, comma - start);
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        if (!name.empty()) {
            const int index = fieldIndex(name);
            if (index < 0)
                return "unknown field '" + printable(name) + "'" + closeMatches(name) +
                       " (the field names are the container's, as `vellmeta -s --all FILE` lists them)";
            fields.push_back(index);
        }
        start = comma + 1;
    }
    if (fields.empty())
        return "--fields needs at least one field name";
    return {};
}

std::string chooseHeadings(const std::vector<std::string>& names, std::vector<Heading>& headings)
{
    headings.clear();
    for (const std::string& name : names) {
        bool found = false;
        for (int g = 0; g < kHeadingCount; ++g) {
            const auto heading = static_cast<Heading>(g);
            if (lower(name) == headingName(heading)) {
                headings.push_back(heading);
                found = true;
            }
        }
        if (!found)
            return "unknown heading '" + printable(name) + "'; the headings are " + headingNames();
    }
    return {};
}

std::string headingNames()
{
    std::string text;
    for (int g = 0; g < kHeadingCount; ++g)
        text += (g == 0 ? "" : ", ") + std::string(headingName(static_cast<Heading>(g)));
    return text;
}

} // namespace vellmeta::cli
