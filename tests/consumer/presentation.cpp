// SPDX-License-Identifier: Apache-2.0
// A host of the presentation library: decodes a never-written header and
// writes its JSON entry, as the tool would; decoding stops at the camera
// identity, whose type is unknown (code 400).
#include <vellmeta/Decode.h>
#include <vellmeta/Report.h>

#include <cstdio>
#include <string>
#include <vector>

int main()
{
    const std::vector<unsigned char> bytes(vellmeta::kHeaderSize, 0xFF);
    const vellmeta::Decoded decoded = vellmeta::decode(bytes.data(), vellmeta::ColorSpace::WideGamut);
    vellmeta::ReportOptions options;
    options.format = vellmeta::ReportFormat::Json;
    options.lines = true;
    vellmeta::ClipReport report(options);
    std::string out;
    report.clip(out, decoded.container, decoded.result("never-written"));
    std::fputs(out.c_str(), stdout);
    return decoded.code == 400 ? 0 : 1;
}
