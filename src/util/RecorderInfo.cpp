// SPDX-License-Identifier: Apache-2.0
#include <VellMetadataContainer/RecorderInfo.h>

#include <string_view>

namespace Vmc {

namespace {

constexpr std::string_view kMakerPrefix = "Codex Digital;";

} // namespace

RecorderInfo parseRecorderInfo(std::string text)
{
    // The parts are found as views into the text, then copied once.
    const std::string_view view(text);
    std::string_view manufacturer, model, identifier, details;
    if (view.substr(0, kMakerPrefix.size()) == kMakerPrefix) {
        manufacturer = kMakerPrefix.substr(0, kMakerPrefix.size() - 1);
        const std::size_t firstSemicolon = kMakerPrefix.size() - 1;
        const std::size_t secondSemicolon = view.find(';', firstSemicolon + 1);
        if (secondSemicolon != std::string_view::npos) {
            identifier = view.substr(firstSemicolon + 1, secondSemicolon - firstSemicolon - 1);
            details = view.substr(secondSemicolon + 1);
            // Dots inside the identifier do not count: the search starts in
            // the details.
            const std::size_t firstDot = view.find('.', secondSemicolon + 1);
            const std::size_t secondDot =
                firstDot == std::string_view::npos ? firstDot : view.find('.', firstDot + 1);
            if (secondDot != std::string_view::npos)
                model = view.substr(firstDot + 1, secondDot - firstDot - 1) == "SIM2" ? "SIM2" : "Outboard";
        }
    }
    return RecorderInfo{std::string(manufacturer), std::string(model), std::string(identifier),
                        std::string(details)};
}

} // namespace Vmc
