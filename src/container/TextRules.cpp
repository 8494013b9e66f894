#include "TextRules.h"

#include <cstring>

#include <VellMetadataContainer/StringHelpers.h>

namespace Vmc::decoding {

HeapText boundedCopy(Bytes field)
{
    return HeapText(strdupNullOrBoundsTerminatedCString(field.data, field.size));
}

HeapText copyUnlessFirstByteUnwritten(Bytes field)
{
    if (field.size == 0 || field.data[0] == 0xFF)
        return HeapText();
    return HeapText(strndup(reinterpret_cast<const char*>(field.data), field.size));
}

void assignBoundedText(MetaString& target, Bytes field)
{
    const HeapText text = boundedCopy(field);
    if (text.usable())
        target = text.get();
}

std::string fourCharacters(std::uint32_t word)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
        text += static_cast<char>((word >> shift) & 0xFFu);
    return text;
}

} // namespace Vmc::decoding
