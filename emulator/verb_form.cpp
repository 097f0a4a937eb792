#include "emulator/verb_form.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "emulator/nearest_words.h"

Command::Command(std::string written) : text(std::move(written)) {
    const auto space = [&](std::size_t i) {
        return std::isspace(static_cast<unsigned char>(text[i])) != 0;
    };
    for (std::size_t i = 0; i < text.size();) {
        if (space(i)) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < text.size() && !space(i)) {
            ++i;
        }
        words.push_back(text.substr(start, i - start));
        starts.push_back(start);
        ends.push_back(i);
    }
}

std::string Command::span(std::size_t first, std::size_t last) const {
    return text.substr(starts.at(first), ends.at(last) - starts.at(first));
}

std::size_t Element::leastWords() const {
    return kind == Kind::SLOT && slot->takes == Takes::POSITION && words.empty() ? 3 : 1;
}

namespace {

[[noreturn]] void badUsage(const char* usage, const std::string& problem) {
    std::fprintf(stderr, "verb table: the usage \"%s\" %s\n", usage, problem.c_str());
    std::abort();
}

[[noreturn]] void verbTableMisuse(const char* name, const char* problem) {
    std::fprintf(stderr, "verb table: the placeholder %s %s\n", name, problem);
    std::abort();
}

bool isPlaceholderName(const std::string& token) {
    return !token.empty() && std::isupper(static_cast<unsigned char>(token[0]));
}

std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

// A usage's token with its brackets taken off.
struct Token {
    std::string text;
    bool opens = false;
    bool closes = false;
};

std::vector<Token> tokensOf(const char* usage) {
    std::vector<Token> tokens;
    for (const std::string& word : splitAt(usage, ' ')) {
        if (word.empty()) {
            continue;
        }
        Token token{word};
        token.opens = token.text.starts_with('[');
        token.text.erase(0, token.opens ? 1 : 0);
        token.closes = token.text.ends_with(']');
        token.text.erase(token.text.size() - (token.closes ? 1 : 0));
        tokens.push_back(token);
    }
    return tokens;
}

// The placeholder named by the tokens from t on (one of several words, such as "X Y Z", first);
// length: how many tokens its name takes.
const Placeholder* findPlaceholder(const std::vector<Token>& tokens, std::size_t t,
                                   const std::string& name, std::span<const Placeholder* const> own,
                                   std::span<const Placeholder* const> shared,
                                   std::size_t& length) {
    for (const auto list : {own, shared}) {
        for (const Placeholder* placeholder : list) {
            if (placeholder == nullptr) {
                continue;
            }
            const std::vector<std::string> parts = splitAt(placeholder->name, ' ');
            bool same = t + parts.size() <= tokens.size();
            for (std::size_t i = 0; same && i < parts.size(); ++i) {
                same = (i == 0 ? name : tokens[t + i].text) == parts[i];
            }
            if (same) {
                length = parts.size();
                return placeholder;
            }
        }
    }
    return nullptr;
}

std::string rangeText(const Placeholder& slot) {
    return std::to_string(slot.low) + " to " + std::to_string(slot.high);
}

// What an element takes, as an error says it: "a door state: 0 to 4", "on or off"; after the
// missing placeholder's name, "N is missing: a door state, 0 to 4".
std::string described(const Element& element, const char* before = ": ") {
    if (element.kind != Element::Kind::SLOT) {
        return listedWithOr(element.words);
    }
    const Placeholder& slot = *element.slot;
    std::string text = slot.what;
    switch (slot.takes) {
        case Takes::WHOLE:
            text += before + rangeText(slot);
            break;
        case Takes::NUMBER:
            text += before + std::string("a finite number");
            break;
        case Takes::POSITION:
            text += before + std::string("three finite numbers");
            break;
        default:
            break;
    }
    for (const std::string& word : element.words) {
        text += ", or " + word;
    }
    return text;
}

}  // namespace

Form readForm(const char* usage, std::span<const Placeholder* const> own,
              std::span<const Placeholder* const> shared) {
    Form form{usage, {}, 0};
    const std::vector<Token> tokens = tokensOf(usage);
    int group = -1;
    int groups = 0;
    for (std::size_t t = 0; t < tokens.size(); ++t) {
        if (tokens[t].opens) {
            if (group >= 0) {
                badUsage(usage, "opens a group inside a group");
            }
            group = groups++;
        }
        Element element;
        element.group = group;
        std::vector<std::string> parts = splitAt(tokens[t].text, '|');
        std::string name = parts.empty() ? "" : parts[0];
        std::size_t length = 1;
        if (isPlaceholderName(name)) {
            element.kind = Element::Kind::SLOT;
            element.repeated = name.ends_with("...");
            name.erase(name.size() - (element.repeated ? 3 : 0));
            element.slot = findPlaceholder(tokens, t, name, own, shared, length);
            if (element.slot == nullptr) {
                badUsage(usage, "names " + name + ", which no placeholder declares");
            }
            if (element.repeated && element.slot->takes != Takes::WORD) {
                badUsage(usage, "repeats " + name + ", which is no word");
            }
            parts.erase(parts.begin());
        } else {
            element.kind = parts.size() > 1 ? Element::Kind::CHOICE : Element::Kind::LITERAL;
        }
        element.words = parts;
        for (std::size_t i = t; i < t + length; ++i) {
            element.shown += (i == t ? "" : " ") + tokens[i].text;
        }
        t += length - 1;
        form.elements.push_back(element);
        if (tokens[t].closes) {
            if (group < 0) {
                badUsage(usage, "closes a group it never opened");
            }
            group = -1;
        }
    }
    if (group >= 0) {
        badUsage(usage, "leaves a group open");
    }
    while (form.leading < form.elements.size() &&
           form.elements[form.leading].kind == Element::Kind::LITERAL &&
           form.elements[form.leading].group < 0) {
        ++form.leading;
    }
    if (form.leading == 0) {
        badUsage(usage, "starts with no word of its own");
    }
    return form;
}

bool readWholeNumber(const std::string& word, std::int64_t& value) {
    std::size_t at = word.starts_with('-') ? 1 : 0;
    const bool hex = word.size() > at + 2 && word[at] == '0' && (word[at + 1] | 0x20) == 'x';
    at += hex ? 2 : 0;
    if (at >= word.size()) {
        return false;
    }
    const std::uint64_t base = hex ? 16 : 10;
    std::uint64_t magnitude = 0;
    for (; at < word.size(); ++at) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(word[at])));
        const bool digit = c >= '0' && c <= '9';
        const bool letter = hex && c >= 'a' && c <= 'f';
        if (!digit && !letter) {
            return false;
        }
        const std::uint64_t d =
            digit ? static_cast<std::uint64_t>(c - '0') : static_cast<std::uint64_t>(c - 'a' + 10);
        if (magnitude > (std::numeric_limits<std::uint64_t>::max() - d) / base) {
            return false;
        }
        magnitude = magnitude * base + d;
    }
    if (magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return false;  // beyond every range a placeholder has
    }
    value = word.starts_with('-') ? -static_cast<std::int64_t>(magnitude)
                                  : static_cast<std::int64_t>(magnitude);
    return true;
}

namespace {

// A number that fits a float: not a number and infinity are no positions or headings.
bool readNumber(const std::string& word, float& value) {
    char* end = nullptr;
    const double wide = std::strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0' || !std::isfinite(wide) ||
        std::fabs(wide) > static_cast<double>(std::numeric_limits<float>::max())) {
        return false;
    }
    value = static_cast<float>(wide);
    return true;
}

class FormParser {
  public:
    FormParser(const Form& form, const Command& command)
        : form_(form), words_(command.words), n_(command.words.size()) {}

    Parsed parse() {
        for (std::size_t e = 0; e < form_.elements.size() && ok(); ++e) {
            const Element& element = form_.elements[e];
            if (element.group >= 0 && startsGroup(e) && !groupPresent(element)) {
                e = skipGroup(e);
                continue;
            }
            take(element, e);
        }
        if (ok() && at_ < n_) {
            fail(Mistake::Kind::EXTRA, at_, words_[at_] + " is not expected here", {});
        }
        if (!ok()) {
            parsed_.values.clear();
        }
        return std::move(parsed_);
    }

  private:
    bool ok() const { return parsed_.ok(); }

    bool startsGroup(std::size_t e) const {
        return e == 0 || form_.elements[e - 1].group != form_.elements[e].group;
    }

    // An optional group is there when a word is left for it, and, when it starts with a
    // literal word, that word is written.
    bool groupPresent(const Element& first) const {
        return at_ < n_ && (first.kind != Element::Kind::LITERAL || words_[at_] == first.words[0]);
    }

    std::size_t skipGroup(std::size_t e) {
        const int group = form_.elements[e].group;
        for (; e < form_.elements.size() && form_.elements[e].group == group; ++e) {
            if (form_.elements[e].hasValue()) {
                parsed_.values.push_back({&form_.elements[e]});
            }
        }
        return e - 1;
    }

    // The words the elements after e need at least (those outside optional groups).
    std::size_t neededAfter(std::size_t e) const {
        std::size_t needed = 0;
        for (std::size_t i = e + 1; i < form_.elements.size(); ++i) {
            needed += form_.elements[i].group < 0 ? form_.elements[i].leastWords() : 0;
        }
        return needed;
    }

    void fail(Mistake::Kind kind, std::size_t word, std::string message, const Element* element) {
        Mistake& mistake = parsed_.mistake;
        mistake = {kind, word, std::move(message), word < n_ ? words_[word] : "", {}, {}};
        if (element != nullptr) {
            mistake.wanted.push_back(element->kind == Element::Kind::SLOT ? element->slot->what
                                                                          : element->shown);
            mistake.literals = element->words;
        }
    }

    void missing(const Element& element) {
        const std::string what =
            element.kind == Element::Kind::SLOT ? ": " + described(element, ", ") : "";
        fail(Mistake::Kind::MISSING, n_, element.shown + " is missing" + what, &element);
    }

    void wrong(const Element& element, std::size_t word, const std::string& what) {
        const std::string nearest =
            element.words.empty() ? "" : didYouMean(words_[word], element.words);
        fail(Mistake::Kind::WRONG, word, words_[word] + " is not " + what + nearest, &element);
    }

    void take(const Element& element, std::size_t e) {
        Value value{&element, true};
        value.first = at_;
        value.count = 1;
        if (at_ >= n_) {
            missing(element);
            return;
        }
        const auto written = std::find(element.words.begin(), element.words.end(), words_[at_]);
        if (written != element.words.end()) {
            value.choice = static_cast<int>(written - element.words.begin());
        } else if (element.kind != Element::Kind::SLOT) {
            wrong(element, at_, described(element));
            return;
        } else if (!takeSlot(element, e, value)) {
            return;
        }
        at_ = value.first + value.count;
        if (element.hasValue()) {
            parsed_.values.push_back(value);
        }
    }

    bool takeSlot(const Element& element, std::size_t e, Value& value) {
        const Placeholder& slot = *element.slot;
        const std::string& word = words_[at_];
        if (element.repeated) {
            return takeRest(element, e, value) && takeEach(element, value);
        }
        switch (slot.takes) {
            case Takes::WORD:
                if (slot.accepts != nullptr && !slot.accepts(word)) {
                    wrong(element, at_, described(element));
                    return false;
                }
                return true;
            case Takes::WHOLE:
                if (!readWholeNumber(word, value.whole) || value.whole < slot.low ||
                    value.whole > slot.high) {
                    wrong(element, at_, described(element));
                    return false;
                }
                return true;
            case Takes::NUMBER:
                if (!readNumber(word, value.number)) {
                    wrong(element, at_, described(element));
                    return false;
                }
                return true;
            case Takes::POSITION:
                return takePosition(element, value);
            case Takes::TEXT:
                return takeRest(element, e, value);
        }
        return false;
    }

    bool takeEach(const Element& element, const Value& value) {
        const auto accepts = element.slot->accepts;
        for (std::size_t i = value.first; i < value.first + value.count; ++i) {
            if (accepts != nullptr && !accepts(words_[i])) {
                wrong(element, i, described(element));
                return false;
            }
        }
        return true;
    }

    bool takePosition(const Element& element, Value& value) {
        const std::vector<std::string> axes = splitAt(element.slot->name, ' ');
        float* coordinates[] = {&value.position.x, &value.position.y, &value.position.z};
        for (std::size_t i = 0; i < 3; ++i) {
            if (at_ + i >= n_) {
                fail(Mistake::Kind::MISSING, n_,
                     axes[i] + " is missing: " + element.slot->what + " is " + element.shown +
                         ", three finite numbers",
                     &element);
                return false;
            }
            if (!readNumber(words_[at_ + i], *coordinates[i])) {
                fail(Mistake::Kind::WRONG, at_ + i,
                     words_[at_ + i] + " is not a number: " + element.slot->what + " is " +
                         element.shown + ", three finite numbers",
                     &element);
                return false;
            }
        }
        value.count = 3;
        return true;
    }

    // Text and repeated words take what the rest of the form leaves.
    bool takeRest(const Element& element, std::size_t e, Value& value) {
        const std::size_t needed = neededAfter(e);
        if (at_ + needed >= n_) {
            missing(element);
            return false;
        }
        value.count = n_ - needed - at_;
        return true;
    }

    const Form& form_;
    const std::vector<std::string>& words_;
    const std::size_t n_;
    std::size_t at_ = 0;
    Parsed parsed_;
};

}  // namespace

Parsed parseForm(const Form& form, const Command& command) {
    return FormParser(form, command).parse();
}

Mistake leadingMistake(const Form& form, const Command& command, std::size_t word) {
    const Element& element = form.elements.at(word);
    const bool missing = word >= command.words.size();
    const std::string written = missing ? "" : command.words[word];
    return {missing ? Mistake::Kind::MISSING : Mistake::Kind::WRONG,
            word,
            missing ? element.shown + " is missing"
                    : written + " is not " + element.shown + didYouMean(written, element.words),
            written,
            {element.shown},
            element.words};
}

Mistake furthestMistake(const std::vector<Mistake>& mistakes) {
    Mistake furthest;
    std::size_t sameWord = 0;
    for (const Mistake& mistake : mistakes) {
        const bool further = furthest.kind == Mistake::Kind::NONE || mistake.word > furthest.word;
        if (further) {
            furthest = mistake;
            sameWord = 1;
        } else if (mistake.word == furthest.word && mistake.kind != Mistake::Kind::EXTRA) {
            if (furthest.kind == Mistake::Kind::EXTRA) {
                furthest = mistake;  // a form that wanted a word there says more
                sameWord = 1;
                continue;
            }
            ++sameWord;
            for (const std::string& wanted : mistake.wanted) {
                if (std::find(furthest.wanted.begin(), furthest.wanted.end(), wanted) ==
                    furthest.wanted.end()) {
                    furthest.wanted.push_back(wanted);
                }
            }
            furthest.literals.insert(furthest.literals.end(), mistake.literals.begin(),
                                     mistake.literals.end());
        }
    }
    if (sameWord < 2 || furthest.wanted.size() < 2) {
        return furthest;
    }
    const std::string wanted = listedWithOr(furthest.wanted);
    furthest.message = furthest.kind == Mistake::Kind::MISSING
                           ? wanted + " is missing"
                           : furthest.written + " is not " + wanted +
                                 didYouMean(furthest.written, furthest.literals);
    return furthest;
}

bool readOneWord(const Placeholder& slot, const std::string& word, Value& value,
                 std::string& error) {
    Element element;
    element.kind = Element::Kind::SLOT;
    element.slot = &slot;
    element.shown = slot.name;
    bool read = true;
    switch (slot.takes) {
        case Takes::WHOLE:
            read = readWholeNumber(word, value.whole) && value.whole >= slot.low &&
                   value.whole <= slot.high;
            break;
        case Takes::NUMBER:
            read = readNumber(word, value.number);
            break;
        case Takes::WORD:
            read = slot.accepts == nullptr || slot.accepts(word);
            break;
        default:
            verbTableMisuse(slot.name, "is no placeholder of one word");
    }
    value.given = true;
    if (!read) {
        error = word + " is not " + described(element);
    }
    return read;
}

std::size_t Args::wordAt(std::size_t i, std::size_t nth) const {
    if (i >= values_.size() || !values_[i].given || nth >= values_[i].count) {
        misread(i, "a word's place");
    }
    return values_[i].first + nth;
}

const Value& Args::read(std::size_t i, Takes takes, const char* as) const {
    const Value* value = i < values_.size() ? &values_[i] : nullptr;
    const bool fits = value != nullptr && value->given && value->choice < 0 &&
                      value->element->kind == Element::Kind::SLOT &&
                      value->element->slot->takes == takes;
    if (!fits) {
        misread(i, as);
    }
    return *value;
}

void Args::misread(std::size_t i, const char* as) const {
    const std::string what = i >= values_.size()      ? "the form has no such value"
                             : !values_[i].given      ? "it was not given"
                             : values_[i].choice >= 0 ? "the word " + word(i) + " was written"
                                                      : "it is " + values_[i].element->shown;
    std::fprintf(stderr, "verb \"%s\": value %zu read as %s, but %s\n", form_->usage.c_str(), i, as,
                 what.c_str());
    std::abort();
}

bool Args::is(std::size_t i, const char* word) const {
    if (i >= values_.size()) {
        misread(i, word);
    }
    const Value& value = values_[i];
    const std::vector<std::string>& words = value.element->words;
    const auto offered = std::find(words.begin(), words.end(), word);
    if (offered == words.end()) {
        misread(i, word);
    }
    return value.given && value.choice == static_cast<int>(offered - words.begin());
}

const std::string& Args::word(std::size_t i) const {
    if (i >= values_.size() || !values_[i].given) {
        misread(i, "a word");
    }
    return command_->words[values_[i].first];
}

std::string Args::text(std::size_t i) const {
    if (i >= values_.size() || !values_[i].given) {
        misread(i, "a text");
    }
    const Value& value = values_[i];
    return command_->span(value.first, value.first + value.count - 1);
}

std::string Args::joined(std::size_t i) const {
    std::string joined;
    for (const std::string& word : words(i)) {
        joined += (joined.empty() ? "" : " ") + word;
    }
    if (joined.size() >= 2 && joined.front() == '"' && joined.back() == '"') {
        joined = joined.substr(1, joined.size() - 2);
    }
    return joined;
}

std::vector<std::string> Args::words(std::size_t i) const {
    if (i >= values_.size() || !values_[i].given) {
        misread(i, "words");
    }
    const Value& value = values_[i];
    const auto first = command_->words.begin() + static_cast<std::ptrdiff_t>(value.first);
    return {first, first + static_cast<std::ptrdiff_t>(value.count)};
}

std::int64_t Args::whole(std::size_t i) const {
    return read(i, Takes::WHOLE, "a whole number").whole;
}

float Args::number(std::size_t i) const {
    return read(i, Takes::NUMBER, "a number").number;
}

Vec3 Args::position(std::size_t i) const {
    return read(i, Takes::POSITION, "a position").position;
}
