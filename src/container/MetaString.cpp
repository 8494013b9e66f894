// SPDX-License-Identifier: Apache-2.0
#include <VellMetadataContainer/FieldTypes.h>

#include <cstdlib>
#include <utility>

#include "AssignText.h"

using Vmc::decoding::assignText;
using Vmc::decoding::duplicateText;

MetaString::MetaString(const MetaString& other) : text(duplicateText(other.text)), defined(other.defined) {}

MetaString::MetaString(MetaString&& other) noexcept : text(other.text), defined(other.defined)
{
    other.text = nullptr;
    other.defined = 0;
}

MetaString& MetaString::operator=(const MetaString& other)
{
    if (this != &other) {
        char* copy = duplicateText(other.text);
        std::free(text);
        text = copy;
        defined = other.defined;
    }
    return *this;
}

MetaString& MetaString::operator=(MetaString&& other) noexcept
{
    if (this != &other) {
        std::free(text);
        text = std::exchange(other.text, nullptr);
        defined = std::exchange(other.defined, std::uint8_t{0});
    }
    return *this;
}

MetaString::~MetaString()
{
    std::free(text);
}

MetaString& MetaString::operator=(const char* s)
{
    assignText(*this, s);
    return *this;
}
