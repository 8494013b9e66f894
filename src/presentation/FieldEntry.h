// A field's value written into a TextBuffer, as the views inside the
// library write it: only when the field is defined, which the functions
// return, so that a view asks each field once.
#pragma once

#include <VellMetadataContainer/FieldPresentation.h>

#include "TextBuffer.h"

#include <array>

namespace Vmc {

// Each field's operations. The writers write a defined field's value and
// say whether it was defined: every field tests its flag at a branch of its
// own, which the processor learns to predict clip after clip.
struct FieldOps {
    bool (*defined)(const VellMetadataContainer&);
    bool (*text)(TextBuffer&, const VellMetadataContainer&, const FieldPresentation&, TextStyle);
    bool (*json)(TextBuffer&, const VellMetadataContainer&);
};
extern const FieldOps kFieldOps[kFieldCount];

inline bool appendFieldTextIfDefined(TextBuffer& out, const VellMetadataContainer& container, int index,
                                     TextStyle style)
{
    return kFieldOps[index].text(out, container, kFieldPresentations[index], style);
}

inline bool appendFieldJsonIfDefined(TextBuffer& out, const VellMetadataContainer& container, int index)
{
    return kFieldOps[index].json(out, container);
}

// Whether field `p` of `container` is the tint that the people's view shows
// within the white balance rather than on a line of its own.
inline bool tintInWhiteBalance(const VellMetadataContainer& container, const FieldPresentation& p)
{
    return p.reading == FieldReading::Tint && container.whiteBalanceCct.defined;
}

// A JSON object: `members()` writes each member after a comma, and the
// first one's comma becomes the opening brace, so that no member needs to
// know whether it comes first.
template <class Members>
void appendJsonObject(TextBuffer& out, Members&& members)
{
    const std::size_t start = out.size();
    members();
    if (out.size() == start)
        out += '{';
    else
        out[start] = '{';
    out += '}';
}

// Which fields a view shows, by container index.
using FieldMask = std::array<bool, kFieldCount>;

// {"name":value,...} of the fields `wanted` marks, in container order: the
// defined ones, or with `all` every one (null when undefined). Each field is
// written by code of its own, with its key as a constant, rather than
// through a table: the JSON view of a full header is some two hundred of
// them.
void appendFieldsJsonObject(TextBuffer& out, const VellMetadataContainer& container, const FieldMask& wanted, bool all);

} // namespace Vmc
