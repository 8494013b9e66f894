// A clip's camera, lens and time code as an OpenTrackIO sample (protocol
// "OpenTrackIO" 1.0.0), the JSON that virtual-production and VFX pipelines
// exchange camera and lens metadata in.
//
//   std::string sample;
//   vellmeta::appendOpenTrackIoSample(sample, container); // {"protocol":{...},"static":{...},...}
//
// A member is written only when the header defines its source and the value
// lies within what the OpenTrackIO schema allows; anything else (a zero
// frame rate, an infinite focus distance, a blank text, a time code with
// digits out of range) leaves that one member out, never writes it invalid.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include <VellMetadataContainer/VellMetadataContainer.h>

namespace vellmeta {

// Appends one sample as a JSON object on a single line.
void appendOpenTrackIoSample(std::string& out, const Vmc::VellMetadataContainer& container);

// Decodes every file and writes one sample per file that could be read: a
// JSON array, or with `jsonLines` one sample per line. A file that cannot be
// read gets one line on `err`. Returns the exit status (as runBatch).
int writeOpenTrackIoSamples(const std::vector<std::string>& paths,
                            Vmc::VellMetadataContainer::ColorSpace colorSpace, bool jsonLines, std::ostream& out,
                            std::ostream& err);

} // namespace vellmeta
