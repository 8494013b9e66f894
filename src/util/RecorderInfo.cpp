#include <VellMetadataContainer/RecorderInfo.h>

namespace Vmc {

namespace {

constexpr char kMakerPrefix[] = "Codex Digital;";
constexpr std::string::size_type kMakerPrefixLength = sizeof(kMakerPrefix) - 1;

} // namespace

RecorderInfo parseRecorderInfo(std::string text)
{
    RecorderInfo info;
    if (text.size() < kMakerPrefixLength || text.find(kMakerPrefix) != 0)
        return info;
    info.manufacturer.assign(kMakerPrefix, kMakerPrefixLength - 1);

    const std::string::size_type firstSemicolon = kMakerPrefixLength - 1;
    const std::string::size_type secondSemicolon = text.find(';', firstSemicolon + 1);
    if (secondSemicolon == std::string::npos)
        return info;
    info.identifier = text.substr(firstSemicolon + 1, secondSemicolon - firstSemicolon - 1);
    info.details = text.substr(secondSemicolon + 1);

    // Dots inside the identifier do not count: the search starts in the details.
    const std::string::size_type firstDot = text.find('.', secondSemicolon + 1);
    if (firstDot == std::string::npos)
        return info;
    const std::string::size_type secondDot = text.find('.', firstDot + 1);
    if (secondDot == std::string::npos)
        return info;
    info.model = text.compare(firstDot + 1, secondDot - firstDot - 1, "SIM2") == 0 ? "SIM2" : "Outboard";
    return info;
}

} // namespace Vmc
