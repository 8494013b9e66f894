// SPDX-License-Identifier: Apache-2.0
// Enumeration values of the header and their fixed English labels.
//
//   constexpr Label kOrders[] = {{0x52474742, "RGGB"}, ...};
//   const char* label = labelFor(kOrders, value); // null: no label
#pragma once

#include <cstddef>
#include <cstdint>

namespace Vmc::decoding {

struct Label {
    std::uint32_t value;
    const char* text; // never empty
};

// A view of a constant label table.
class LabelTable {
public:
    template <std::size_t N>
    constexpr LabelTable(const Label (&labels)[N]) : labels_(labels), count_(N) {}

    // The label of `value`, or null when the table has none.
    constexpr const char* find(std::uint32_t value) const
    {
        for (std::size_t i = 0; i < count_; ++i) {
            if (labels_[i].value == value)
                return labels_[i].text;
        }
        return nullptr;
    }

private:
    const Label* labels_;
    std::size_t count_;
};

constexpr const char* labelFor(LabelTable table, std::uint32_t value)
{
    return table.find(value);
}

} // namespace Vmc::decoding
