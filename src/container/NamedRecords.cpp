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

struct RecordFields {
    MetaString& name;
    MetaField<std::uint32_t>& valuesPresent;
    MetaField<std::uint32_t>* values[6];
};

template <class Record>
void decodeRecord(const HeaderView& h, At<Record> record, const RecordFields& out)
{
    const std::size_t base = record.offset;
    const std::uint32_t kind = h.u32(base + offsetof(VellRawMeta::NamedValuesRecord, kind));
    if (kind != 1 && kind != 2)
        return;

    const At<unsigned char[32]> name{base + offsetof(VellRawMeta::NamedValuesRecord, name)};
    assignBoundedText(out.name, h.read(name));

    std::uint16_t values[6];
    for (int i = 0; i < 6; ++i) {
        values[i] = h.u16(base + offsetof(VellRawMeta::NamedValuesRecord, values) + 2 * i);
        if (values[i] == 0xFFFF)
            return;
    }
    out.valuesPresent.set(1);
    for (int i = 0; i < 6; ++i)
        out.values[i]->set(values[i]);
}

#define VMC_RECORD_FIELDS(c, n)                                                                            \
    RecordFields                                                                                           \
    {                                                                                                      \
        c.record##n##Name, c.record##n##ValuesPresent,                                                     \
        {                                                                                                  \
            &c.record##n##Value1, &c.record##n##Value2, &c.record##n##Value3, &c.record##n##Value4,        \
                &c.record##n##Value5, &c.record##n##Value6                                                 \
        }                                                                                                  \
    }

} // namespace

Next decodeNamedRecords(Decoding& d)
{
    const HeaderView& h = d.header;
    VellMetadataContainer& c = d.out;

    assignBoundedText(c.groupName1, h.read(VMC_AT(groupName1)));
    decodeRecord(h, VMC_AT(record1), VMC_RECORD_FIELDS(c, 1));
    decodeRecord(h, VMC_AT(record2), VMC_RECORD_FIELDS(c, 2));
    decodeRecord(h, VMC_AT(record3), VMC_RECORD_FIELDS(c, 3));
    assignBoundedText(c.groupName2, h.read(VMC_AT(groupName2)));
    decodeRecord(h, VMC_AT(record4), VMC_RECORD_FIELDS(c, 4));
    decodeRecord(h, VMC_AT(record5), VMC_RECORD_FIELDS(c, 5));
    decodeRecord(h, VMC_AT(record6), VMC_RECORD_FIELDS(c, 6));
    return Next::Continue;
}

} // namespace Vmc::decoding
