// SPDX-License-Identifier: Apache-2.0
// The writers every view uses inside the library: texts made safe, numbers,
// and each field's value, written into an Out.
#pragma once

#include <string_view>
#include <vector>

#include <vellmeta/Report.h>
#include <vellmeta/Values.h>

#include "Out.h"

namespace vellmeta {

void appendValidUtf8(Out& out, std::string_view bytes);
void appendPrintable(Out& out, std::string_view bytes);
void appendJsonString(Out& out, std::string_view bytes);
bool isUsableName(std::string_view bytes);

// The number texts of Text.h; true when the text is all digits (a whole
// number, which JSON follows with ".0").
bool appendShortest(Out& out, float value);
bool appendShortest(Out& out, double value);

// `value` with at most `decimals` decimals, trailing zeros (and a bare point)
// dropped, and no "-0": 23.976, 25, 29.97; from 1e16 on (and for NaN and the
// infinities) the shortest form.
void appendRounded(Out& out, double value, int decimals);

// HH:MM:SS:FF, or HH:MM:SS;FF for drop-frame counting.
void appendTimeCode(Out& out, const TimeCodeParts& parts);

// Field `index` of `container`, written when it is defined (which they
// return): its text in `style`, or its JSON value.
bool appendFieldText(Out& out, const Vmc::VellMetadataContainer& container, int index, TextStyle style);
class JsonWriter;
bool writeFieldJson(JsonWriter& json, const Vmc::VellMetadataContainer& container, int index);
// "name":value of field `index`, when it is defined.
bool writeFieldMember(JsonWriter& json, const Vmc::VellMetadataContainer& container, int index);

// {"name":value,...} of the fields `indexes` names, in that order: the
// defined ones, or with `all` every one (null when undefined).
void writeFieldsObject(JsonWriter& json, const Vmc::VellMetadataContainer& container,
                       const std::vector<int>& indexes, bool all);

void writeOpenTrackIoSample(JsonWriter& json, const Vmc::VellMetadataContainer& container);
void appendTableCell(Out& out, std::string_view text, ReportFormat format, bool untrusted);

} // namespace vellmeta
