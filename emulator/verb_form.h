#pragma once
// One form of a command as its usage writes it ("door HASH state N"), read once into the words
// and typed placeholders it takes, and the one parser that holds a command to it: the count of
// words, each word's type and range, and the typed values a handler is given.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "emulator/vec3.h"

// What a placeholder takes.
enum class Takes : std::uint8_t {
    WORD,      // one word: a name, a model, a group
    WHOLE,     // a whole number from low to high, decimal or hexadecimal after 0x
    NUMBER,    // a finite number (a float)
    POSITION,  // three finite numbers
    TEXT,      // one word or more, as written, spaces kept
};

// A placeholder of a usage: its name there, its type, and what an error calls it.
struct Placeholder {
    const char* name;  // as the usage writes it: "N", "X Y Z", "FLAG=VALUE"
    Takes takes;
    const char* what;  // "a door state": "7 is not a door state: 0 to 4"
    std::int64_t low = 0;
    std::int64_t high = 0;
    // A word it takes, for the test that plays every form (numbers default to low).
    const char* example = nullptr;
    // A word's own shape beyond its type; null: any word.
    bool (*accepts)(const std::string& word) = nullptr;
};

// A command as written, split into words at spaces and tabs.
struct Command {
    std::string text;
    std::vector<std::string> words;
    std::vector<std::size_t> starts;  // where each word begins in text
    std::vector<std::size_t> ends;

    explicit Command(std::string written);
    // The text from word first to the end of word last, as written.
    std::string span(std::size_t first, std::size_t last) const;
};

// One part of a form: a literal word, a choice of words ("on|off"), or a placeholder (with
// literal words that may stand in its place: "N|off").
struct Element {
    enum class Kind : std::uint8_t { LITERAL, CHOICE, SLOT };
    Kind kind = Kind::LITERAL;
    std::vector<std::string> words;  // the literal, the choices, or a slot's alternatives
    const Placeholder* slot = nullptr;
    bool repeated = false;  // `NAME...`: one word or more, each a word the placeholder takes
    int group = -1;         // the optional group (`[...]`) it stands in, or -1
    std::string shown;      // as the usage writes it

    bool hasValue() const { return kind != Kind::LITERAL; }
    // How many words it takes at least when it is there.
    std::size_t leastWords() const;
};

struct Form {
    std::string usage;
    std::vector<Element> elements;
    std::size_t leading = 0;  // its first literal words, which choose the verb
};

// Reads a usage; a placeholder is found among the form's own, then the shared ones. A usage
// that does not read (an unknown placeholder, an unclosed group) stops the program: a verb
// table is written once, and every start of a test reads it.
Form readForm(const char* usage, std::span<const Placeholder* const> own,
              std::span<const Placeholder* const> shared);

// A value of a parsed command, one for each element of its form that has one, in order.
struct Value {
    const Element* element = nullptr;
    bool given = false;     // an optional one may be left out
    int choice = -1;        // which of the element's words was written, or -1 for the placeholder
    std::size_t first = 0;  // the words it spans
    std::size_t count = 0;
    std::int64_t whole = 0;
    float number = 0.0f;
    Vec3 position{};
};

// A whole number as the parser reads one: decimal, or hexadecimal after 0x, with a minus sign
// before either.
bool readWholeNumber(const std::string& word, std::int64_t& value);

// One word read as a placeholder of one word (a ped flag's value, "heading=90"): false, with
// what is wrong with it, when it does not read.
bool readOneWord(const Placeholder& slot, const std::string& word, Value& value,
                 std::string& error);

// What a handler reads of its command: the values in the order of the form's placeholders and
// choices (literal words have none). Reading a value as what it is not stops the program,
// naming the form: the test that plays every form finds such a handler at once.
class Args {
  public:
    Args(const Form& form, const Command& command, std::vector<Value> values)
        : form_(&form), command_(&command), values_(std::move(values)) {}

    const Command& command() const { return *command_; }
    const Form& form() const { return *form_; }
    // Which word of the command the value's nth word is (for a handler's own error about it).
    std::size_t wordAt(std::size_t i, std::size_t nth = 0) const;
    bool given(std::size_t i) const { return values_.at(i).given; }
    // A choice, or a literal that stands for a placeholder: whether that word was written
    // (it must be one the element offers).
    bool is(std::size_t i, const char* word) const;
    // The word written (a single word, a choice, or the first of several).
    const std::string& word(std::size_t i) const;
    // The words as written, spaces kept.
    std::string text(std::size_t i) const;
    // The words joined by single spaces, outer quotes removed ("Select Badge").
    std::string joined(std::size_t i) const;
    std::vector<std::string> words(std::size_t i) const;
    std::int64_t whole(std::size_t i) const;
    template <typename T>
    T whole(std::size_t i) const {
        return static_cast<T>(whole(i));  // the placeholder's range keeps it within T
    }
    float number(std::size_t i) const;
    Vec3 position(std::size_t i) const;

  private:
    const Value& read(std::size_t i, Takes takes, const char* as) const;
    [[noreturn]] void misread(std::size_t i, const char* as) const;

    const Form* form_;
    const Command* command_;
    std::vector<Value> values_;
};

// Where a command went wrong: the word (the count of words when one is missing), what is
// wrong, and what its form wanted there.
struct Mistake {
    enum class Kind : std::uint8_t { NONE, MISSING, WRONG, EXTRA } kind = Kind::NONE;
    std::size_t word = 0;
    std::string message;
    std::string written;                // the wrong word, or empty
    std::vector<std::string> wanted;    // what stands there in the form, for a merged message
    std::vector<std::string> literals;  // the literal words it would take there
};

// The command's values, or (values empty) the mistake.
struct Parsed {
    std::vector<Value> values;
    Mistake mistake;
    bool ok() const { return mistake.kind == Mistake::Kind::NONE; }
};
Parsed parseForm(const Form& form, const Command& command);

// The mistake of a form whose leading words the command leaves at word `word`.
Mistake leadingMistake(const Form& form, const Command& command, std::size_t word);

// Several forms of one verb failed: the mistake of the form that read the most words, and
// where forms failed at the same word, what each wanted there.
Mistake furthestMistake(const std::vector<Mistake>& mistakes);
