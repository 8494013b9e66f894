#include <VellMetadataContainer/StringHelpers.h>

#include <cstring>

namespace Vmc {

std::vector<std::string> tokenize(const std::string& text, const std::string& delimiters)
{
    std::vector<std::string> tokens;
    std::string::size_type start = text.find_first_not_of(delimiters);
    while (start != std::string::npos) {
        const std::string::size_type end = text.find_first_of(delimiters, start);
        if (end == std::string::npos) {
            tokens.push_back(text.substr(start));
            break;
        }
        tokens.push_back(text.substr(start, end - start));
        start = text.find_first_not_of(delimiters, end);
    }
    return tokens;
}

std::string spacesToUnderscores(const std::string& text)
{
    std::string result = text;
    for (char& c : result) {
        if (c == ' ')
            c = '_';
    }
    return result;
}

char* strdupNullOrBoundsTerminatedCString(const unsigned char* bytes, unsigned long length)
{
    unsigned long i = 0;
    while (i < length && bytes[i] == 0xFF)
        ++i;
    if (i == length) // also a length of 0
        return nullptr;
    return strndup(reinterpret_cast<const char*>(bytes), length);
}

std::string hexStringFromU8Array(const unsigned char* bytes, int count)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    if (count <= 0)
        return text;
    text.reserve(2 * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

} // namespace Vmc
