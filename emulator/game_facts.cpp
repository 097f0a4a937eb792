#include "emulator/game_facts.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iterator>

namespace {

// Each type's text, one word without spaces: whole numbers in decimal, a yes/no as 1 or 0, a
// list with a comma between its items.
void put(std::string& out, bool value) {
    out += value ? '1' : '0';
}

template <typename Number>
void put(std::string& out, Number value) {
    char text[24];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void put(std::string& out, const std::string& value) {
    out += value;
}

void put(std::string& out, const FactGreeting& greeting) {
    char text[64];
    std::snprintf(text, sizeof text, "%d:%u:%.9g", greeting.ped, greeting.greetings,
                  static_cast<double>(greeting.distance));
    out += text;
}

template <typename Item>
void put(std::string& out, const std::vector<Item>& items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += i == 0 ? "" : ",";
        put(out, items[i]);
    }
}

template <typename Number>
bool take(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool take(std::string_view text, bool& value) {
    value = text == "1";
    return text == "1" || text == "0";
}

bool take(std::string_view text, std::string& value) {
    value = text;
    return true;
}

bool take(std::string_view text, FactGreeting& greeting) {
    const auto first = text.find(':');
    const auto second = text.find(':', first + 1);
    return first != std::string_view::npos && second != std::string_view::npos &&
           take(text.substr(0, first), greeting.ped) &&
           take(text.substr(first + 1, second - first - 1), greeting.greetings) &&
           take(text.substr(second + 1), greeting.distance);
}

template <typename Item>
bool take(std::string_view text, std::vector<Item>& items) {
    items.clear();
    while (!text.empty()) {
        const auto comma = text.find(',');
        if (!take(text.substr(0, comma), items.emplace_back())) {
            return false;
        }
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return true;
}

struct FactField {
    std::string_view name;
    bool (*read)(std::string_view text, GameFacts& facts);
};

// clang-format off
constexpr FactField FIELDS[] = {
#define TSW_FACT(Type, name, about) \
    {#name, [](std::string_view text, GameFacts& facts) { return take(text, facts.name); }},
#include "emulator/game_facts.inc"
#undef TSW_FACT
};
// clang-format on

// Looked for from where the last one was found: the answer names them in the list's order.
const FactField* findField(std::string_view name, std::size_t& next) {
    for (std::size_t tried = 0; tried < std::size(FIELDS); ++tried) {
        const std::size_t at = (next + tried) % std::size(FIELDS);
        if (FIELDS[at].name == name) {
            next = at + 1;
            return &FIELDS[at];
        }
    }
    return nullptr;
}

// Put together by appending: GCC 12 misreads "\"" + a new string as an overlapping copy.
std::string quoted(std::string_view word) {
    std::string text(1, '"');
    text += word;
    text += '"';
    return text;
}

}  // namespace

std::string factsText(const GameFacts& facts) {
    std::string text;
#define TSW_FACT(Type, name, about) \
    text += #name "=";              \
    put(text, facts.name);          \
    text += ' ';
#include "emulator/game_facts.inc"
#undef TSW_FACT
    return text;
}

bool readFacts(std::string_view words, GameFacts& facts, std::string& error) {
    constexpr std::string_view SPACE = " \t\n\v\f\r";
    std::size_t next = 0;
    for (std::size_t start = words.find_first_not_of(SPACE); start != std::string_view::npos;) {
        const std::size_t end = std::min(words.find_first_of(SPACE, start), words.size());
        const std::string_view word = words.substr(start, end - start);
        const auto equals = word.find('=');
        const FactField* field =
            equals == std::string_view::npos ? nullptr : findField(word.substr(0, equals), next);
        if (field == nullptr || !field->read(word.substr(equals + 1), facts)) {
            error = quoted(word);
            error += field == nullptr ? " names no fact" : " does not read as its fact";
            return false;
        }
        start = words.find_first_not_of(SPACE, end);
    }
    return true;
}
