#include "Failures.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <sstream>
#include <string>

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

char* heapCopy(const char* text)
{
    char* copy = strdup(text);
    if (copy == nullptr)
        throw std::bad_alloc();
    return copy;
}

} // namespace

void recordFailure(ErrorValue& result, Failure failure, long long value)
{
    const FailureInfo& info = failureInfo(failure);
    char* message;
    if (info.printsValue) {
        std::ostringstream text;
        text << info.text << value << "'";
        message = heapCopy(text.str().c_str());
    } else {
        message = heapCopy(info.text);
    }
    std::free(result.message);
    result = ErrorValue(true, info.code, message);
}

ErrorValue noFailure()
{
    return ErrorValue(false, 0, heapCopy(""));
}

} // namespace Vmc::decoding
