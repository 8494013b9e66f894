#include <VellMetadataContainer/RecorderInfo.h>

#include <string_view>

namespace Vmc {

namespace {

constexpr std::string_view kMakerPrefix = "Codex Digital;";

} // namespace

RecorderInfo parseRecorderInfo(std::string text)
{
    RecorderInfo info;
    const std::string_view view(text);
    if (view.substr(0, kMakerPrefix.size()) != kMakerPrefix)
        return info;
    info.manufacturer = kMakerPrefix.substr(0, kMakerPrefix.size() - 1);

    const std::size_t firstSemicolon = kMakerPrefix.size() - 1;
    const std::size_t secondSemicolon = view.find(';', firstSemicolon + 1);
    if (secondSemicolon == std::string_view::npos)
        return info;
    info.identifier = view.substr(firstSemicolon + 1, secondSemicolon - firstSemicolon - 1);
    info.details = view.substr(secondSemicolon + 1);

    // Dots inside the identifier do not count: the search starts in the details.
    const std::size_t firstDot = view.find('.', secondSemicolon + 1);
    if (firstDot == std::string_view::npos)
        return info;
    const std::size_t secondDot = view.find('.', firstDot + 1);
    if (secondDot == std::string_view::npos)
        return info;
    info.model = view.substr(firstDot + 1, secondDot - firstDot - 1) == "SIM2" ? "SIM2" : "Outboard";
    return info;
}

} // namespace Vmc
