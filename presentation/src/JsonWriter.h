// SPDX-License-Identifier: Apache-2.0
// The one JSON writer of the project: every JSON document a view, a surface
// or the schema emits is written through it, so that strings are escaped,
// numbers written and separators placed in one way.
//
//   JsonWriter json(out);
//   json.beginObject();
//   json.key("path"); json.string(path);
//   json.key("fields"); json.beginObject(); ... json.endObject();
//   json.endObject();
//
// Compact by default; an object or array may put each of its members on a
// line of its own (the lines of a diff), and a writer made with an indent
// lays out the whole document (the schema).
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "Out.h"

namespace vellmeta {

class JsonWriter {
public:
    // `indent`: 0 for compact JSON; otherwise spaces per level of a laid-out
    // document, with ": " after keys.
    explicit JsonWriter(Out& out, int indent = 0) : out_(out), indent_(indent) {}

    enum class Layout { Compact, LinePerMember };

    void beginObject(Layout layout = Layout::Compact) { open('{', layout); }
    void endObject() { close('}'); }
    void beginArray(Layout layout = Layout::Compact) { open('[', layout); }
    void endArray() { close(']'); }

    // A member's key; its value follows. Keys are names of ours (field
    // names, member names of a format): plain ASCII with nothing to escape.
    void key(std::string_view name)
    {
        separate();
        char* at = out_.room(name.size() + 4);
        *at++ = '"';
        std::memcpy(at, name.data(), name.size());
        at += name.size();
        *at++ = '"';
        *at++ = ':';
        if (indent_ > 0)
            *at++ = ' ';
        out_.grownTo(at);
        afterKey_ = true;
    }

    // Values. A string is any bytes, made valid UTF-8 and escaped.
    void string(std::string_view bytes);
    // A string of ours, written by `write(Out&)`, with nothing to escape (a
    // time code's digits, say).
    template <class Write>
    void plainString(Write&& write)
    {
        separate();
        out_ += '"';
        write(out_);
        out_ += '"';
    }
    void boolean(bool value);
    void integer(std::int64_t value);
    void unsignedInteger(std::uint64_t value);
    // The shortest decimal, ".0" after a whole number written with integer
    // digits (so that it reads back as a number with a fraction); JSON has no
    // NaN or infinity, so those are the strings "NaN", "Infinity" and
    // "-Infinity".
    void number(float value);
    void number(double value);
    void null();
    // A member: its key, then its value.
    void member(std::string_view name, std::string_view text)
    {
        key(name);
        string(text);
    }
    void member(std::string_view name, const char* text) { member(name, std::string_view(text)); }
    void member(std::string_view name, bool value)
    {
        key(name);
        boolean(value);
    }
    template <class Integer, std::enable_if_t<std::is_integral_v<Integer> && !std::is_same_v<Integer, bool>, int> = 0>
    void member(std::string_view name, Integer value)
    {
        key(name);
        if constexpr (std::is_signed_v<Integer>)
            integer(value);
        else
            unsignedInteger(value);
    }

    Out& out() { return out_; }

private:
    void open(char bracket, Layout layout);
    void close(char bracket);
    // Before a value or a key: the comma after the previous one, and the line
    // break of a laid-out container.
    void separate()
    {
        if (afterKey_) {
            afterKey_ = false;
            return;
        }
        if (depth_ == 0)
            return;
        if (!empty_[depth_])
            out_ += ',';
        empty_[depth_] = false;
        if (indent_ > 0 || lines_[depth_])
            lineBreak();
    }
    void lineBreak();
    void newLine(int depth);
    template <class Number>
    void writeNumber(Number value);

    // The documents of the project nest a few levels deep.
    static constexpr int kMostDepth = 16;
    Out& out_;
    int indent_;
    int depth_ = 0;
    bool afterKey_ = false;
    bool empty_[kMostDepth + 1] = {true};
    bool lines_[kMostDepth + 1] = {false};
};

} // namespace vellmeta
