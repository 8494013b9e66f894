// Enumeration values of the header and their fixed English labels.
//
//   constexpr Label kOrders[] = {{0x52474742, "RGGB"}, ...};
//   std::string_view label = labelFor(kOrders, value); // empty: no label
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Vmc::decoding {

struct Label {
    std::uint32_t value;
    std::string_view text; // never empty
};

// A view of a constant label table.
class LabelTable {
public:
    template <std::size_t N>
    constexpr LabelTable(const Label (&labels)[N]) : labels_(labels), count_(N) {}

    // The label of `value`, or an empty text when the table has none.
    constexpr std::string_view find(std::uint32_t value) const
    {
        for (std::size_t i = 0; i < count_; ++i) {
            if (labels_[i].value == value)
                return labels_[i].text;
        }
        return {};
    }

private:
    const Label* labels_;
    std::size_t count_;
};

constexpr std::string_view labelFor(LabelTable table, std::uint32_t value)
{
    return table.find(value);
}

} // namespace Vmc::decoding
