#pragma once
// Texts seen before with a number for each, found by their bytes in about one probe: the
// plug-in asks for the same few model names' hashes over and over, and the game's hash walks
// its text a byte at a time. Only looked up, never walked, so its order is never seen.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

class TextTable {
  public:
    // The number kept for the text, or null.
    const std::uint32_t* find(std::string_view text) const {
        const Words words = wordsOf(text);
        const Slot& slot = slots_[home(words, text.size())];
        if (slot.length == text.size() && slot.words == words && text.size() <= WHOLE_IN_WORDS) {
            return &slot.value;  // the usual case: found at home, and the words are the text
        }
        return findAway(text);
    }
    // A text already in the table keeps its number.
    void add(std::string_view text, std::uint32_t value);
    std::size_t size() const { return count_; }

  private:
    static constexpr std::uint32_t FREE = ~0u;
    // Four words of a text, loaded from its start, its middle and its end (the loads may
    // overlap): up to 32 bytes, as long as any model name, they hold every byte, so equal words
    // and lengths are equal texts.
    static constexpr std::size_t WHOLE_IN_WORDS = 32;
    struct Words {
        std::uint64_t word[4] = {};
        bool operator==(const Words&) const = default;
    };
    struct Slot {
        Words words;
        std::uint32_t length = FREE;
        std::uint32_t value = 0;
        std::size_t at = 0;  // where the text starts in texts_
    };

    static std::uint64_t load8(const char* bytes) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes, sizeof word);
        return word;
    }
    static std::uint32_t load4(const char* bytes) {
        std::uint32_t word = 0;
        std::memcpy(&word, bytes, sizeof word);
        return word;
    }
    static Words wordsOf(std::string_view text) {
        const char* bytes = text.data();
        const std::size_t size = text.size();
        if (size > 16) {
            return {{load8(bytes), load8(bytes + size / 2 - 8), load8(bytes + size / 2),
                     load8(bytes + size - 8)}};
        }
        if (size > 8) {
            return {{load8(bytes), load8(bytes + size - 8), 0, 0}};
        }
        if (size >= 4) {
            return {{load4(bytes) | std::uint64_t{load4(bytes + size - 4)} << 32, 0, 0, 0}};
        }
        const auto byte = [&](std::size_t at) -> std::uint64_t {
            return static_cast<unsigned char>(bytes[at]);
        };
        return {{size == 0 ? 0 : byte(0) | byte(size / 2) << 8 | byte(size - 1) << 16, 0, 0, 0}};
    }
    // The words turned apart and folded, then one multiplication, whose high half is the best
    // mixed: a short chain of steps, each waiting on the one before.
    std::size_t home(const Words& words, std::size_t size) const {
        const auto turned = [](std::uint64_t word, int bits) {
            return word << bits | word >> (64 - bits);
        };
        const std::uint64_t folded = words.word[0] ^ turned(words.word[1], 16) ^
                                     turned(words.word[2], 32) ^ turned(words.word[3], 48) ^ size;
        return (folded * 0x9E3779B97F4A7C15ull) >> 32 & mask_;
    }
    bool holds(const Slot& slot, std::string_view text, const Words& words) const {
        return slot.length == text.size() && slot.words == words &&
               (text.size() <= WHOLE_IN_WORDS ||
                std::memcmp(texts_.data() + slot.at, text.data(), text.size()) == 0);
    }
    // The slot holding the text, or the free one where it would go.
    std::size_t slotFor(std::string_view text, const Words& words) const {
        for (std::size_t at = home(words, text.size());; at = (at + 1) & mask_) {
            const Slot& slot = slots_[at];
            if (slot.length == FREE || holds(slot, text, words)) {
                return at;
            }
        }
    }
    // Past its home slot, or a text longer than its words hold: its words made anew, so that
    // the usual case keeps them in registers.
    const std::uint32_t* findAway(std::string_view text) const;
    void grow();

    std::vector<Slot> slots_ = std::vector<Slot>(16);  // a power of two long, at most a
    std::size_t mask_ = 15;                            // quarter full
    std::size_t count_ = 0;
    std::string texts_;  // every text longer than its words hold, one after the other
};
