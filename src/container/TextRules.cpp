// SPDX-License-Identifier: Apache-2.0
#include "TextRules.h"

#include <cstring>

#include <VellMetadataContainer/VellFileHeaderV3.h>

namespace Vmc::decoding {

static_assert(sizeof(VellRawMeta::VellFileHeaderV3::longUserText) == kWidestText, "the widest text field");

void FieldText::terminate(std::size_t width)
{
    width = width < kWidestText ? width : kWidestText;
    if (std::memchr(text_, '\0', width) != nullptr)
        return;
    std::memcpy(filled_, text_, width);
    filled_[width] = '\0';
    text_ = filled_;
}

} // namespace Vmc::decoding
