#include <VellMetadataContainer/RecorderInfo.h>

#include "RecorderText.h"

namespace Vmc {

namespace text {

namespace {

constexpr std::string_view kMakerPrefix = "Codex Digital;";

} // namespace

RecorderParts splitRecorderText(std::string_view text)
{
    RecorderParts parts;
    if (text.substr(0, kMakerPrefix.size()) != kMakerPrefix)
        return parts;
    parts.manufacturer = kMakerPrefix.substr(0, kMakerPrefix.size() - 1);

    const std::string_view::size_type firstSemicolon = kMakerPrefix.size() - 1;
    const std::string_view::size_type secondSemicolon = text.find(';', firstSemicolon + 1);
    if (secondSemicolon == std::string_view::npos)
        return parts;
    parts.identifier = text.substr(firstSemicolon + 1, secondSemicolon - firstSemicolon - 1);
    parts.details = text.substr(secondSemicolon + 1);

    // Dots inside the identifier do not count: the search starts in the details.
    const std::string_view::size_type firstDot = text.find('.', secondSemicolon + 1);
    if (firstDot == std::string_view::npos)
        return parts;
    const std::string_view::size_type secondDot = text.find('.', firstDot + 1);
    if (secondDot == std::string_view::npos)
        return parts;
    parts.model = text.substr(firstDot + 1, secondDot - firstDot - 1) == "SIM2" ? "SIM2" : "Outboard";
    return parts;
}

} // namespace text

RecorderInfo parseRecorderInfo(std::string text)
{
    const text::RecorderParts parts = text::splitRecorderText(text);
    return RecorderInfo{std::string(parts.manufacturer), std::string(parts.model), std::string(parts.identifier),
                        std::string(parts.details)};
}

} // namespace Vmc
