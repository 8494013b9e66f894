// Stand-ins for the library's text helpers of FieldPresentation.h until their
// implementations land; delete this file then.
#include <VellMetadataContainer/FieldPresentation.h>

#include <nlohmann/json.hpp>

#include "FieldValues.h"

namespace Vmc {

std::string validUtf8(std::string_view bytes) { return vellmeta::validUtf8(bytes); }
std::string printable(std::string_view bytes) { return vellmeta::printable(bytes); }
void appendJsonString(std::string& out, std::string_view bytes) { out += nlohmann::json(vellmeta::validUtf8(bytes)).dump(); }
void appendFloat(std::string& out, float value) { out += vellmeta::floatText(value); }

} // namespace Vmc
