// SPDX-License-Identifier: Apache-2.0
// Named value records: two groups of three records, each with a kind, a
// name and six 16-bit values.
//
//   groupName1  2128  32 bytes   bounded text
//   groupName2  2160  32 bytes   bounded text
//   record1..6  2192  48 bytes each: kind u32 (1 or 2: present),
//                     name 32 bytes (bounded text), six u16 values
//                     (0xFFFF in any: no values)
#include "Decoding.h"
#include "TextRules.h"

namespace Vmc::decoding {

namespace {

using C = VellMetadataContainer;
using Value = MetaField<std::uint32_t> C::*;

struct RecordFields {
    At<VellRawMeta::NamedValuesRecord> at;
    MetaString C::*name;
    Value valuesPresent;
    Value values[6];
};

#define VMC_RECORD(n)                                                                                      \
    RecordFields                                                                                           \
    {                                                                                                      \
        VMC_AT(record##n), &C::record##n##Name, &C::record##n##ValuesPresent,                              \
        {                                                                                                  \
            &C::record##n##Value1, &C::record##n##Value2, &C::record##n##Value3, &C::record##n##Value4,    \
                &C::record##n##Value5, &C::record##n##Value6                                               \
        }                                                                                                  \
    }

constexpr RecordFields kFirstGroup[] = {VMC_RECORD(1), VMC_RECORD(2), VMC_RECORD(3)};
constexpr RecordFields kSecondGroup[] = {VMC_RECORD(4), VMC_RECORD(5), VMC_RECORD(6)};

#undef VMC_RECORD

void decodeRecord(const HeaderView& h, const RecordFields& record, C& c)
{
    const std::size_t base = record.at.offset;
    const std::uint32_t kind = h.u32(base + offsetof(VellRawMeta::NamedValuesRecord, kind));
    if (kind != 1 && kind != 2)
        return;

    const At<unsigned char[32]> name{base + offsetof(VellRawMeta::NamedValuesRecord, name)};
    assignBoundedText(c.*record.name, h.read(name));

    std::uint16_t values[6];
    for (int i = 0; i < 6; ++i) {
        values[i] = h.u16(base + offsetof(VellRawMeta::NamedValuesRecord, values) + 2 * i);
        if (values[i] == 0xFFFF)
            return;
    }
    (c.*record.valuesPresent).set(1);
    for (int i = 0; i < 6; ++i)
        (c.*record.values[i]).set(values[i]);
}

} // namespace

Next decodeNamedRecords(Decoding& d)
{
    const HeaderView& h = d.header;
    VellMetadataContainer& c = d.out;

    assignBoundedText(c.groupName1, h.read(VMC_AT(groupName1)));
    for (const RecordFields& record : kFirstGroup)
        decodeRecord(h, record, c);
    assignBoundedText(c.groupName2, h.read(VMC_AT(groupName2)));
    for (const RecordFields& record : kSecondGroup)
        decodeRecord(h, record, c);
    return Next::Continue;
}

} // namespace Vmc::decoding
