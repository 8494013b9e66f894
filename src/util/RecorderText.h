// Splitting a recorder text into its parts without copying it: what
// parseRecorderInfo returns, as views into the text.
#pragma once

#include <string_view>

namespace Vmc::text {

struct RecorderParts {
    std::string_view manufacturer;
    std::string_view model;
    std::string_view identifier;
    std::string_view details;
};

// The parts of `text` by the rules of parseRecorderInfo; a part the text
// does not supply is empty.
RecorderParts splitRecorderText(std::string_view text);

} // namespace Vmc::text
