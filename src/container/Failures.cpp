// SPDX-License-Identifier: Apache-2.0
#include "Failures.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "AssignText.h"
#include "util/FixedText.h"

namespace Vmc::decoding {

namespace {

constexpr bool tableFollowsEnumeration()
{
    int index = 0;
    for (const FailureInfo& info : kFailures) {
        if (static_cast<int>(info.failure) != index++)
            return false;
    }
    return index == static_cast<int>(Failure::UnknownChannelSetup) + 1;
}
static_assert(tableFollowsEnumeration(), "kFailures holds one row per Failure, in enumeration order");

// The longest message: the longest text, a 64-bit number and the apostrophe.
constexpr std::size_t longestText()
{
    std::size_t longest = 0;
    for (const FailureInfo& info : kFailures)
        longest = std::max(longest, std::string_view(info.text).size());
    return longest;
}
constexpr std::size_t kLongestMessage = longestText() + 20 + 1;

} // namespace

void recordFailure(ErrorValue& result, Failure failure, long long value)
{
    const FailureInfo& info = failureInfo(failure);
    char* message;
    if (info.printsValue) {
        text::FixedText<kLongestMessage> text;
        text.append(info.text).appendDecimal(value).append('\'');
        message = duplicateText(text.c_str());
    } else {
        message = duplicateText(info.text);
    }
    std::free(result.message);
    result = ErrorValue(true, info.code, message);
}

ErrorValue noFailure()
{
    return ErrorValue(false, 0, duplicateText(""));
}

} // namespace Vmc::decoding
