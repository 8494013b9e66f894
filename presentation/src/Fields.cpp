// SPDX-License-Identifier: Apache-2.0
#include <vellmeta/Fields.h>

namespace vellmeta {

int fieldIndex(std::string_view name)
{
    for (int i = 0; i < kFieldCount; ++i)
        if (name == kFields[i].name)
            return i;
    return -1;
}

const char* headingName(Heading heading)
{
    switch (heading) {
    case Heading::Camera: return "camera";
    case Heading::Capture: return "capture";
    case Heading::Lens: return "lens";
    case Heading::Color: return "color";
    case Heading::Look: return "look";
    case Heading::Sensor: return "sensor";
    case Heading::Encoders: return "encoders";
    case Heading::Texts: return "texts";
    case Heading::Records: return "records";
    case Heading::Spare: return "spare";
    }
    return "";
}

const char* headingTitle(Heading heading)
{
    switch (heading) {
    case Heading::Camera: return "Camera";
    case Heading::Capture: return "Capture and time codes";
    case Heading::Lens: return "Lens and location";
    case Heading::Color: return "Colour and white balance";
    case Heading::Look: return "Look";
    case Heading::Sensor: return "Sensor and ND";
    case Heading::Encoders: return "Encoders";
    case Heading::Texts: return "Production and recorder texts";
    case Heading::Records: return "Named records";
    case Heading::Spare: return "Spare";
    }
    return "";
}

const char* kindName(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Shown: return "shown";
    case FieldKind::Spare: return "spare";
    case FieldKind::Fixed: return "fixed";
    }
    return "";
}

} // namespace vellmeta
