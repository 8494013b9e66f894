#include <VellMetadataContainer/FieldTypes.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {

char* duplicate(const char* s)
{
    if (s == nullptr)
        return nullptr;
    char* copy = strdup(s);
    if (copy == nullptr)
        throw std::bad_alloc();
    return copy;
}

} // namespace

MetaString::MetaString(const MetaString& other) : text(duplicate(other.text)), defined(other.defined) {}

MetaString::MetaString(MetaString&& other) noexcept : text(other.text), defined(other.defined)
{
    other.text = nullptr;
    other.defined = 0;
}

MetaString& MetaString::operator=(const MetaString& other)
{
    if (this != &other) {
        char* copy = duplicate(other.text);
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
    // The pointer test only guards against assigning a field its own text;
    // any other source, equal or not, is copied.
    if (text != s) {
        char* copy = duplicate(s);
        std::free(text);
        text = copy;
    }
    defined = 1;
    return *this;
}
