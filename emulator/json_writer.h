#pragma once
// A small JSON writer for the scenario report: objects, arrays, texts, numbers. Numbers keep
// six significant digits (plenty for a map and a badge view) and are written the same on
// every build; one that is not finite is written as null.
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "emulator/vec3.h"

class JsonWriter {
  public:
    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    // The member name of the next value in an object.
    JsonWriter& key(std::string_view name);

    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(double number);
    void value(std::int64_t number);
    template <typename T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool>) void value(T number) {
        value(static_cast<std::int64_t>(number));
    }
    void value(bool flag);
    void value(Vec3 v);  // [x, y, z]

    template <typename T>
    void field(std::string_view name, const T& v) {
        key(name);
        value(v);
    }

    const std::string& text() const { return out_; }

  private:
    void open(char bracket);
    void close(char bracket);
    void separate();

    std::string out_;
    std::vector<bool> empty_;  // per open bracket: nothing written in it yet
    bool afterKey_ = false;
};

// The text as a JSON string, quotes included: quotes, backslashes and control characters
// escaped, and < > & as \u escapes, so that the text may stand inside an HTML script element.
std::string jsonQuoted(std::string_view text);
