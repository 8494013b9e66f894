// Stand-ins for the presentation layer and clip report until their
// implementation is merged: the command-line tool's own formatting of
// values, under the declared interface. Delete this file then.
#include <VellMetadataContainer/ClipReport.h>
#include <VellMetadataContainer/FieldPresentation.h>

#include "Dump.h"
#include "FieldValues.h"

namespace Vmc {

bool fieldDefined(const VellMetadataContainer& container, int index)
{
    bool defined = false;
    forEachField(container, [&](const FieldInfo& info, const auto& field) {
        if (info.index == index)
            defined = field.defined;
    });
    return defined;
}

bool listedForPeople(const VellMetadataContainer& container, int index)
{
    return fieldDefined(container, index);
}

std::string fieldText(const VellMetadataContainer& container, int index, TextStyle)
{
    std::string text;
    forEachField(container, [&](const FieldInfo& info, const auto& field) {
        if (info.index == index && field.defined)
            text = vellmeta::textValue(field);
    });
    return text;
}

std::string printable(std::string_view bytes)
{
    return vellmeta::printable(bytes);
}

ClipReport::ClipReport(ReportOptions options) : options_(std::move(options)) {}

void ClipReport::begin(std::string& out)
{
    if (options_.format == ReportFormat::Json)
        out += '[';
    else if (options_.format != ReportFormat::Text)
        out += "path\n";
}

void ClipReport::clip(std::string& out, const VellMetadataContainer& container, const ClipResult& result)
{
    const std::string path(result.path);
    if (options_.format == ReportFormat::Json) {
        const vellmeta::Decoded decoded{path, container, result.isError, result.code, std::string(result.message)};
        out += first_ ? "\n" : ",\n";
        out += vellmeta::jsonEntry(decoded, options_.all).dump();
    } else if (options_.format == ReportFormat::Text) {
        out += printable(path) + "\n  result\n    isError: " + (result.isError ? "true" : "false") +
               "\n    code: " + std::to_string(result.code) + "\n    message: " + printable(result.message) + "\n";
    } else {
        out += printable(path) + "\n";
    }
    first_ = false;
}

void ClipReport::end(std::string& out)
{
    if (options_.format == ReportFormat::Json)
        out += first_ ? "]\n" : "\n]\n";
}

} // namespace Vmc

namespace Vmc {
void appendJsonString(std::string& out, std::string_view bytes)
{
    out += vellmeta::Json(vellmeta::validUtf8(bytes)).dump();
}
} // namespace Vmc
