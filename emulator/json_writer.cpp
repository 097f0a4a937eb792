#include "emulator/json_writer.h"

#include <cmath>
#include <cstdio>

void JsonWriter::separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!empty_.empty()) {
        if (!empty_.back()) {
            out_ += ',';
        }
        empty_.back() = false;
    }
}

void JsonWriter::open(char bracket) {
    separate();
    out_ += bracket;
    empty_.push_back(true);
}

void JsonWriter::close(char bracket) {
    out_ += bracket;
    empty_.pop_back();
}

JsonWriter& JsonWriter::key(std::string_view name) {
    separate();
    out_ += jsonQuoted(name);
    out_ += ':';
    afterKey_ = true;
    return *this;
}

void JsonWriter::value(std::string_view text) {
    separate();
    out_ += jsonQuoted(text);
}

void JsonWriter::value(double number) {
    separate();
    if (!std::isfinite(number)) {
        out_ += "null";
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", number == 0.0 ? 0.0 : number);  // no "-0"
    out_ += text;
}

void JsonWriter::value(std::int64_t number) {
    separate();
    out_ += std::to_string(number);
}

void JsonWriter::value(bool flag) {
    separate();
    out_ += flag ? "true" : "false";
}

void JsonWriter::value(Vec3 v) {
    beginArray();
    value(static_cast<double>(v.x));
    value(static_cast<double>(v.y));
    value(static_cast<double>(v.z));
    endArray();
}

std::string jsonQuoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20 || c == '<' || c == '>' || c == '&') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}
