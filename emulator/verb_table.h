#pragma once
// A command language as one table of verbs: the emulator's (every area's verbs) and the
// simulator's own (sim/sim_verbs.cpp) have the same form. A verb is chosen by its leading words
// and answered with a ControlReply; a malformed command is answered with the verb's usage from
// its table, so a handler never writes its usage out.
#include <cstddef>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "emulator/control_api.h"

using Words = std::vector<std::string>;

struct ControlReply {
    int code = TSW_OK;
    std::string text;
    bool wantsUsage = false;  // the dispatcher fills in the verb's usage
};

inline ControlReply ok(std::string text = {}) {
    return {TSW_OK, std::move(text)};
}
inline ControlReply badCommand(std::string text) {
    return {TSW_BAD_COMMAND, std::move(text)};
}
// The command does not read: answered with the verb's usage.
inline ControlReply usage() {
    return {TSW_BAD_COMMAND, {}, true};
}
inline ControlReply expectationFailed(std::string expected, std::string found) {
    return {TSW_EXPECTATION_FAILED, "expected " + expected + ", found " + found};
}

Words splitWords(const std::string& line);

// usage: one form of the command a line ("player at X Y Z [HEADING]\nplayer at office N"), as
// docs/scenarios.md lists them.
template <typename Context>
struct VerbOf {
    const char* words;
    const char* usage;
    ControlReply (*run)(Context& context, const Words& words);
};

std::vector<std::string> usageForms(const char* usage);
// "usage: FORM, or FORM".
std::string usageReply(const char* usage);
// How many of the verb's leading words the command has; 0 when they differ.
std::size_t matchedWords(const Words& verbWords, const Words& words);
// A command no verb takes: names the first word no verb has there and the verbs nearest what
// was written. verbWords: every verb's words ("ped set").
std::string unknownCommand(const Words& words, const std::vector<std::string>& verbWords);
// A malformed command's word that stands where its usage wants a number and is no number, as
// "bad number \"x\" for N; ", or empty.
std::string badNumber(const char* usage, const Words& words);
// Stops the program: two verbs that take the same words would shadow one another.
[[noreturn]] void sameWordsError(const char* words, const char* firstUsage,
                                 const char* secondUsage);

template <typename Context>
class VerbTable {
  public:
    using Verb = VerbOf<Context>;

    void add(std::span<const Verb> verbs) {
        for (const Verb& verb : verbs) {
            Words words = splitWords(verb.words);
            for (std::size_t i = 0; i < words_.size(); ++i) {
                if (words_[i] == words) {
                    sameWordsError(verb.words, verbs_[i].usage, verb.usage);
                }
            }
            verbs_.push_back(verb);
            words_.push_back(std::move(words));
        }
    }

    // The verb with the most leading words that match decides ("ped set" before "ped").
    const Verb* find(const Words& words) const {
        const Verb* best = nullptr;
        std::size_t bestLength = 0;
        for (std::size_t i = 0; i < verbs_.size(); ++i) {
            const std::size_t length = matchedWords(words_[i], words);
            if (length > bestLength) {
                best = &verbs_[i];
                bestLength = length;
            }
        }
        return best;
    }

    std::span<const Verb> verbs() const { return verbs_; }
    std::vector<std::string> verbWords() const {
        std::vector<std::string> all;
        for (const Verb& verb : verbs_) {
            all.push_back(verb.words);
        }
        return all;
    }

  private:
    std::vector<Verb> verbs_;
    std::vector<Words> words_;  // each verb's words, split once
};

template <typename Context>
ControlReply runVerb(const VerbOf<Context>& verb, Context& context, const Words& words) {
    ControlReply reply = verb.run(context, words);
    if (reply.wantsUsage) {
        reply.text = badNumber(verb.usage, words) + usageReply(verb.usage);
    }
    return reply;
}
