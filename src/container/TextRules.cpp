#include "TextRules.h"

#include <cstring>

#include <VellMetadataContainer/Sentinels.h>
#include <VellMetadataContainer/VellFileHeaderV3.h>

namespace Vmc::decoding {

static_assert(sizeof(VellRawMeta::VellFileHeaderV3::longUserText) == kWidestText, "the widest text field");

FieldText::FieldText(Bytes field)
{
    const std::size_t width = field.size < kWidestText ? field.size : kWidestText;
    const char* bytes = reinterpret_cast<const char*>(field.data);
    const void* nul = std::memchr(bytes, '\0', width);
    if (nul != nullptr) {
        text_ = bytes;
        size_ = static_cast<std::size_t>(static_cast<const char*>(nul) - bytes);
    } else {
        std::memcpy(filled_, bytes, width);
        filled_[width] = '\0';
        text_ = filled_;
        size_ = width;
    }
}

std::optional<FieldText> boundedText(Bytes field)
{
    if (uninitializedField(field.data, field.size))
        return std::nullopt;
    return std::optional<FieldText>(std::in_place, field);
}

std::optional<FieldText> textUnlessFirstByteUnwritten(Bytes field)
{
    if (field.size == 0 || field.data[0] == 0xFF)
        return std::nullopt;
    return std::optional<FieldText>(std::in_place, field);
}

void assignBoundedText(MetaString& target, Bytes field)
{
    const std::optional<FieldText> text = boundedText(field);
    if (usable(text))
        target = text->c_str();
}

} // namespace Vmc::decoding
