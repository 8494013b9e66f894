// Checks on decoded containers: an enumeration's label or its failure, and
// the fields that differ between two containers, found by the field walk.
//
//   expectLabel(d, d.c.bayerPattern, {0x52474742, "RGGB"}, 1400, "Unknown Bayer ...`");
//   changedFields(before.c, after.c)   // names of the fields that differ
#pragma once

#include <VellMetadataContainer/FieldDescription.h>

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "ContainerProbe.h"
#include "Decode.h"

namespace Vmc::testing {

// One value of a header enumeration and its label; a null label marks a
// value that decoding reports as unknown.
struct EnumCase {
    std::uint32_t value;
    const char* label;
};

// `field` holds the case's label and nothing failed, or else the result is
// failure `code` with `messageHead`, the value and "'", and `field` is
// undefined.
inline void expectLabel(const Decoded& d, const MetaString& field, const EnumCase& k, std::uint32_t code,
                        const std::string& messageHead)
{
    if (k.label != nullptr) {
        EXPECT_FALSE(d.isError) << k.value << ": " << d.message;
        EXPECT_STREQ(field.text, k.label) << k.value;
    } else {
        EXPECT_TRUE(d.isError) << k.value;
        EXPECT_EQ(d.code, code) << k.value;
        EXPECT_EQ(d.message, messageHead + std::to_string(k.value) + "'");
        EXPECT_FALSE(field.defined) << k.value;
    }
}


// Names of the fields whose flag, value or text differ between a and b.
inline std::set<std::string> changedFields(const VellMetadataContainer& a, const VellMetadataContainer& b)
{
    std::set<std::string> names;
    allFieldPairs(a, b, [&](const FieldInfo& info, const auto& left, const auto& right) {
        if (!probe::sameField(left, right))
            names.insert(info.name);
        return true;
    });
    return names;
}

} // namespace Vmc::testing
