// SPDX-License-Identifier: Apache-2.0
#include <vellmeta/Diff.h>

#include "JsonWriter.h"
#include "Writing.h"

namespace vellmeta {

const char* comparisonName(Comparison comparison)
{
    switch (comparison) {
    case Comparison::Equal: return "equal";
    case Comparison::Differs: return "differs";
    case Comparison::OnlyInA: return "onlyInA";
    case Comparison::OnlyInB: return "onlyInB";
    }
    return "";
}

std::vector<FieldComparison> compareClips(const Vmc::VellMetadataContainer& a, const Vmc::VellMetadataContainer& b,
                                          const ReportOptions& options)
{
    ReportOptions text = options;
    text.format = ReportFormat::Text;
    const ClipReport listed(text);
    std::vector<FieldComparison> comparisons;
    for (int index : listed.columns()) {
        const bool inA = fieldDefined(a, index);
        const bool inB = fieldDefined(b, index);
        if (inA && inB)
            comparisons.push_back(
                {index, sameFieldValue(a, b, index) ? Comparison::Equal : Comparison::Differs});
        else if (inA || inB)
            comparisons.push_back({index, inA ? Comparison::OnlyInA : Comparison::OnlyInB});
    }
    return comparisons;
}

bool appendDiff(std::string& out, std::string_view pathA, const Vmc::VellMetadataContainer& a,
                std::string_view pathB, const Vmc::VellMetadataContainer& b, const ReportOptions& options)
{
    const std::vector<FieldComparison> comparisons = compareClips(a, b, options);
    bool differs = false;
    for (const FieldComparison& c : comparisons)
        differs = differs || c.comparison != Comparison::Equal;
    const auto shown = [&](const FieldComparison& c) { return options.all || c.comparison != Comparison::Equal; };

    Out text;
    if (options.format == ReportFormat::Json) {
        JsonWriter json(text);
        json.beginObject();
        json.member("a", pathA);
        json.member("b", pathB);
        json.key("fields");
        json.beginArray(JsonWriter::Layout::LinePerMember);
        for (const FieldComparison& c : comparisons) {
            if (!shown(c))
                continue;
            const FieldPresentation& p = kFields[c.field];
            json.beginObject();
            json.member("field", p.name);
            json.member("label", p.label);
            json.member("comparison", comparisonName(c.comparison));
            for (const auto& [key, clip] : {std::pair{"a", &a}, std::pair{"b", &b}}) {
                json.key(key);
                if (!writeFieldJson(json, *clip, c.field))
                    json.null();
            }
            json.endObject();
        }
        json.endArray();
        json.endObject();
        text += '\n';
    } else {
        const TextStyle style = options.numeric ? TextStyle::Numeric : TextStyle::People;
        text += "--- ";
        appendPrintable(text, pathA);
        text += "\n+++ ";
        appendPrintable(text, pathB);
        text += '\n';
        static constexpr const char* kMarks[] = {"  ", "~ ", "- ", "+ "};
        for (const FieldComparison& c : comparisons) {
            if (!shown(c))
                continue;
            const FieldPresentation& p = kFields[c.field];
            text += kMarks[static_cast<int>(c.comparison)];
            text += options.names ? p.name : p.label;
            text += ": ";
            appendFieldText(text, c.comparison == Comparison::OnlyInB ? b : a, c.field, style);
            if (c.comparison == Comparison::Differs) {
                text += " \xE2\x86\x92 "; // rightwards arrow
                appendFieldText(text, b, c.field, style);
            }
            text += '\n';
        }
        if (!differs)
            text += "no field differs\n";
    }
    text.appendTo(out);
    return differs;
}

} // namespace vellmeta
