#pragma once
// A command language as one table of verbs: the emulator's (every area's verbs) and the
// simulator's own (sim/sim_verbs.cpp) have the same form. Each form of a verb is one row: its
// usage, which is its parser (verb_form.h), its handler, which is given typed values, and what
// it does, from which docs/scenarios.md's command tables are made. A command that does not
// read is answered with the wrong word, a caret under it and the usage, so a handler never
// checks words or writes its usage out.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "emulator/control_api.h"
#include "emulator/verb_form.h"

using Words = std::vector<std::string>;

struct ControlReply {
    int code = TSW_OK;
    std::string text;
    std::string detail;  // a malformed command's line with the caret, and its usage
};

inline ControlReply ok(std::string text = {}) {
    return {TSW_OK, std::move(text), {}};
}
inline ControlReply badCommand(std::string text) {
    return {TSW_BAD_COMMAND, std::move(text), {}};
}
inline ControlReply expectationFailed(std::string expected, std::string found) {
    return {TSW_EXPECTATION_FAILED, "expected " + expected + ", found " + found, {}};
}

Words splitWords(const std::string& line);

// The tables of docs/scenarios.md, each a section of the language.
enum class DocTable : std::uint8_t {
    INCLUDE,  // one set-up for many stories
    FILES,    // the game folder's files
    TIME,     // the plug-in and time
    WORLD,    // entities and the player
    OPTIONS,  // the readings of the game we are unsure of
    OFFICES,  // the law offices and their doors
    EXPECT,   // expectations
};

// The table's name in docs/scenarios.md's markers ("files").
const char* docTableName(DocTable table);

// One form of a verb. A placeholder its usage names is one of its own (an office's N), else a
// shared one (verb_placeholders.h). In doc, "{N}" stands for the range of its placeholder N.
template <typename Context>
struct VerbOf {
    const char* usage;
    ControlReply (*run)(Context& context, const Args& args);
    DocTable table;
    const char* doc;
    std::array<const Placeholder*, 3> own = {};
};

// "usage: FORM, or FORM".
std::string usageReply(const std::vector<const Form*>& forms);
// The line with a caret under the word (after its end for a missing one), indented.
std::string pointAt(const Command& command, std::size_t word);
// The command does not read: the mistake, then the line pointed at and the usage.
ControlReply malformed(const Command& command, const Mistake& mistake, const std::string& usage);
// A handler's own complaint about a word its form took (an unknown ped flag, a value that does
// not read): answered as a malformed command is, pointing at that word.
ControlReply wrongWord(const Args& args, std::size_t value, std::size_t nth,
                       const std::string& message);
// A form's doc with each "{NAME}" replaced by its placeholder's range ("1 to 8").
std::string expandedDoc(const Form& form, const char* doc);

// How many of the verb's leading words the command has; 0 when they differ.
std::size_t matchedWords(const Words& verbWords, const Words& words);
// A command no verb takes: names the first word no verb has there and the verbs nearest what
// was written. verbWords: every verb's words ("ped set").
std::string unknownCommand(const Words& words, const std::vector<std::string>& verbWords);
// Which word of such a command no verb has there (the count of words when it needs more).
std::size_t unknownWord(const Words& words, const std::vector<std::string>& verbWords);
// Stops the program: two forms that read the same would shadow one another, and a form with
// no doc would be missing from docs/scenarios.md.
[[noreturn]] void verbTableError(const std::string& usage, const std::string& problem);
// The usage's words with single spaces: two forms with the same are one form twice.
std::string normalUsage(const Form& form);

// A form as `query usage` answers it: its table, its usage and its doc, separated by tabs.
template <typename Context>
std::string usageLine(const Form& form, const VerbOf<Context>& verb) {
    return std::string(docTableName(verb.table)) + "\t" + form.usage + "\t" +
           expandedDoc(form, verb.doc) + "\n";
}

template <typename Context>
class VerbTable {
  public:
    using Verb = VerbOf<Context>;

    explicit VerbTable(std::span<const Placeholder* const> shared) : shared_(shared) {}

    void add(std::span<const Verb> verbs) {
        for (const Verb& verb : verbs) {
            Form form = readForm(verb.usage, verb.own, shared_);
            for (const Form& other : forms_) {
                if (normalUsage(other) == normalUsage(form)) {
                    verbTableError(verb.usage, "stands twice");
                }
            }
            if (verb.doc == nullptr || *verb.doc == '\0') {
                verbTableError(verb.usage, "has no doc");
            }
            verbs_.push_back(verb);
            forms_.push_back(std::move(form));
        }
    }

    // Whether some form's leading words start the command.
    bool takes(const Words& words) const { return longestLeading(words) > 0; }
    // Whether the table answers the command itself: it takes it, or the command starts as a few
    // forms do and then names none of them ("folder sideways").
    bool answers(const Words& words) const { return takes(words) || fewFormsFollowed(words); }

    // Of the forms with the most leading words the command starts with ("ped set" before
    // "ped"), the first it reads as runs. A command none reads as is answered with the mistake
    // of the forms whose words it follows the furthest: "player at offce 2" with what each form
    // of "player at" wants there.
    ControlReply run(Context& context, const Command& command) const {
        const Words& words = command.words;
        const std::size_t most = longestLeading(words);
        if (most == 0 && !fewFormsFollowed(words)) {
            return badCommand(unknownCommand(words, verbWords()));
        }
        std::vector<Mistake> mistakes(forms_.size());
        for (std::size_t i = 0; i < forms_.size() && most > 0; ++i) {
            if (forms_[i].leading == most && agreement(forms_[i], words) == most) {
                Parsed parsed = parseForm(forms_[i], command);
                if (parsed.ok()) {
                    return verbs_[i].run(context,
                                         Args(forms_[i], command, std::move(parsed.values)));
                }
                mistakes[i] = std::move(parsed.mistake);
            }
        }
        const std::size_t furthest = furthestAgreement(words);
        std::vector<Mistake> nearest;
        std::vector<const Form*> forms;
        for (std::size_t i = 0; i < forms_.size(); ++i) {
            if (agreement(forms_[i], words) == furthest) {
                nearest.push_back(mistakes[i].kind != Mistake::Kind::NONE
                                      ? mistakes[i]
                                      : leadingMistake(forms_[i], command, furthest));
                forms.push_back(&forms_[i]);
            }
        }
        return malformed(command, furthestMistake(nearest), usageReply(forms));
    }

    std::span<const Verb> verbs() const { return verbs_; }
    const Form& form(std::size_t i) const { return forms_.at(i); }
    // Each verb's leading words once, in the table's order.
    std::vector<std::string> verbWords() const {
        std::vector<std::string> all;
        for (const Form& form : forms_) {
            std::string words;
            for (std::size_t i = 0; i < form.leading; ++i) {
                words += (i == 0 ? "" : " ") + form.elements[i].words[0];
            }
            if (std::find(all.begin(), all.end(), words) == all.end()) {
                all.push_back(words);
            }
        }
        return all;
    }

  private:
    // How many of the form's leading words the command has, in order.
    static std::size_t agreement(const Form& form, const Words& words) {
        std::size_t same = 0;
        while (same < form.leading && same < words.size() &&
               form.elements[same].words[0] == words[same]) {
            ++same;
        }
        return same;
    }

    std::size_t furthestAgreement(const Words& words) const {
        std::size_t furthest = 0;
        for (const Form& form : forms_) {
            furthest = std::max(furthest, agreement(form, words));
        }
        return furthest;
    }

    // No form's leading words start the command, but it follows some forms' first words and
    // then names none of the few words they go on with: those are worth listing. After a word
    // many forms share ("expect tarce") the nearest verbs say more.
    bool fewFormsFollowed(const Words& words) const {
        constexpr std::size_t FEW_ENOUGH_TO_LIST = 4;
        const std::size_t furthest = furthestAgreement(words);
        std::vector<std::string> next;
        for (const Form& form : forms_) {
            if (furthest == 0 || agreement(form, words) != furthest || furthest >= form.leading) {
                continue;  // a form the command leaves, or one it has all the leading words of
            }
            const std::string& wanted = form.elements[furthest].shown;
            if (std::find(next.begin(), next.end(), wanted) == next.end()) {
                next.push_back(wanted);
            }
        }
        return !next.empty() && next.size() <= FEW_ENOUGH_TO_LIST;
    }

    // The most leading words of a form that the command has all of; 0 when none.
    std::size_t longestLeading(const Words& words) const {
        std::size_t most = 0;
        for (const Form& form : forms_) {
            if (agreement(form, words) == form.leading) {
                most = std::max(most, form.leading);
            }
        }
        return most;
    }

    std::span<const Placeholder* const> shared_;
    std::vector<Verb> verbs_;
    std::vector<Form> forms_;  // each verb's usage, read once
};
