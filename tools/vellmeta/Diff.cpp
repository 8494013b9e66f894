#include "Diff.h"

namespace vellmeta {

namespace {

enum class Comparison { Equal, Differs, OnlyInA, OnlyInB };

Comparison compare(const DecodedClip& a, const DecodedClip& b, int index)
{
    const bool inA = Vmc::fieldDefined(a.container, index);
    const bool inB = Vmc::fieldDefined(b.container, index);
    if (inA && inB)
        return Vmc::sameFieldValue(a.container, b.container, index) ? Comparison::Equal : Comparison::Differs;
    return inA ? Comparison::OnlyInA : Comparison::OnlyInB;
}

const char* comparisonName(Comparison c)
{
    switch (c) {
    case Comparison::Equal: return "equal";
    case Comparison::Differs: return "differs";
    case Comparison::OnlyInA: return "onlyInA";
    case Comparison::OnlyInB: return "onlyInB";
    }
    return "";
}

// The fields compared: those chosen, else every field the text view would
// list (presentation order, spare and fixed ones only with --all).
std::vector<int> comparedFields(const Vmc::ReportOptions& options)
{
    Vmc::ReportOptions text = options;
    text.format = Vmc::ReportFormat::Text;
    return Vmc::ClipReport(text).columns();
}

void appendText(std::string& out, const DecodedClip& clip, int index, Vmc::TextStyle style)
{
    Vmc::appendFieldText(out, clip.container, index, style);
}

} // namespace

// Text: a line per field, marked as diff marks lines: "~" values differ,
// "-" only in the first file, "+" only in the second, " " equal (--all).
// JSON: {"a": path, "b": path, "fields": [{"field", "label", "comparison",
// "a", "b"}, ...]} with the values typed as in the JSON view.
int diffFiles(const std::string& pathA, const std::string& pathB, const Options& options, std::ostream& out,
              std::ostream& err)
{
    DecodedClip a, b;
    for (auto [path, clip] : {std::pair{&pathA, &a}, std::pair{&pathB, &b}}) {
        const std::string problem = decodeFile(*path, options.colorSpace, *clip);
        if (!problem.empty()) {
            err << "vellmeta: " << Vmc::printable(*path) << ": " << problem << '\n';
            return kUnusable;
        }
    }

    const Vmc::ReportOptions& report = options.report;
    const Vmc::TextStyle style = report.numeric ? Vmc::TextStyle::Numeric : Vmc::TextStyle::People;
    const bool json = report.format == Vmc::ReportFormat::Json;
    std::string text;
    if (json) {
        text += "{\"a\":";
        Vmc::appendJsonString(text, pathA);
        text += ",\"b\":";
        Vmc::appendJsonString(text, pathB);
        text += ",\"fields\":[";
    } else {
        text += "--- ";
        Vmc::appendPrintable(text, pathA);
        text += "\n+++ ";
        Vmc::appendPrintable(text, pathB);
        text += '\n';
    }

    bool differs = false;
    bool firstEntry = true;
    for (int index : comparedFields(report)) {
        if (!Vmc::fieldDefined(a.container, index) && !Vmc::fieldDefined(b.container, index))
            continue;
        const Comparison c = compare(a, b, index);
        differs = differs || c != Comparison::Equal;
        if (c == Comparison::Equal && !report.all)
            continue;
        const Vmc::FieldPresentation& p = Vmc::kFieldPresentations[index];
        if (json) {
            text += firstEntry ? "\n" : ",\n";
            text += "{\"field\":";
            Vmc::appendJsonString(text, p.name);
            text += ",\"label\":";
            Vmc::appendJsonString(text, p.label);
            text += ",\"comparison\":\"";
            text += comparisonName(c);
            text += "\",\"a\":";
            Vmc::appendFieldJson(text, a.container, index);
            text += ",\"b\":";
            Vmc::appendFieldJson(text, b.container, index);
            text += '}';
        } else {
            static constexpr const char* kMarks[] = {"  ", "~ ", "- ", "+ "};
            text += kMarks[static_cast<int>(c)];
            text += report.names ? p.name : p.label;
            text += ": ";
            appendText(text, c == Comparison::OnlyInB ? b : a, index, style);
            if (c == Comparison::Differs) {
                text += " \xE2\x86\x92 "; // rightwards arrow
                appendText(text, b, index, style);
            }
            text += '\n';
        }
        firstEntry = false;
    }
    if (json)
        text += firstEntry ? "]}\n" : "\n]}\n";
    else if (!differs)
        text += "no field differs\n";
    out << text;
    out.flush();
    return differs ? kHeaderFailed : kAllDecoded;
}

} // namespace vellmeta
