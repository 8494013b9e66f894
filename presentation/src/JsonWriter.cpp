// SPDX-License-Identifier: Apache-2.0
#include "JsonWriter.h"

#include <cmath>

#include "Writing.h"

namespace vellmeta {

void JsonWriter::lineBreak()
{
    if (indent_ > 0)
        newLine(depth_);
    else
        out_ += '\n';
}

void JsonWriter::newLine(int depth)
{
    out_ += '\n';
    for (int i = 0; i < depth * indent_; ++i)
        out_ += ' ';
}

void JsonWriter::open(char bracket, Layout layout)
{
    separate();
    out_ += bracket;
    ++depth_;
    empty_[depth_] = true;
    lines_[depth_] = layout == Layout::LinePerMember;
}

void JsonWriter::close(char bracket)
{
    const bool empty = empty_[depth_];
    const bool lines = lines_[depth_];
    --depth_;
    if (!empty && indent_ > 0)
        newLine(depth_);
    else if (!empty && lines)
        out_ += '\n';
    out_ += bracket;
}

void JsonWriter::string(std::string_view bytes)
{
    separate();
    appendJsonString(out_, bytes);
}

void JsonWriter::boolean(bool value)
{
    separate();
    out_ += value ? "true" : "false";
}

void JsonWriter::integer(std::int64_t value)
{
    separate();
    out_.integer(value);
}

void JsonWriter::unsignedInteger(std::uint64_t value)
{
    separate();
    out_.integer(value);
}

template <class Number>
void JsonWriter::writeNumber(Number value)
{
    separate();
    if (!std::isfinite(value)) {
        out_ += '"';
        appendShortest(out_, value);
        out_ += '"';
        return;
    }
    if (appendShortest(out_, value))
        out_ += ".0";
}

void JsonWriter::number(float value) { writeNumber(value); }
void JsonWriter::number(double value) { writeNumber(value); }

void JsonWriter::null()
{
    separate();
    out_ += "null";
}


} // namespace vellmeta
