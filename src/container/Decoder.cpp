// initFromHeader: the header's field groups, decoded one after another in a
// fixed order until the end or the first failure that stops decoding.
#include <VellMetadataContainer/MetadataContainer.h>

#include "Decoding.h"

namespace Vmc {

using namespace decoding;

namespace {

// The order matters only for which fields a stopping failure leaves stored:
// everything decoded before it.
constexpr Step kSequence[] = {
    decodeNamedRecords,
};

} // namespace

ErrorValue VellMetadataContainer::initFromHeader(VellRawMeta::VellFileHeaderV3 const* header, ColorSpace colorSpace)
{
    ErrorValue result = noFailure();
    Decoding decoding{HeaderView(header), *this, result, colorSpace};
    for (Step step : kSequence) {
        if (step(decoding) == Next::Stop)
            break;
    }
    return result;
}

} // namespace Vmc
