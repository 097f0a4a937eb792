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
        const Slot& slot = slots_[slotFor(text, quickHash(text))];
        return slot.key != 0 ? &slot.value : nullptr;
    }
    // A text already in the table keeps its number.
    void add(std::string_view text, std::uint32_t value);
    std::size_t size() const { return count_; }

  private:
    struct Slot {
        std::uint64_t key = 0;  // the text's quick hash; 0 marks a free slot
        std::uint32_t value = 0;
        std::uint32_t length = 0;
        std::size_t at = 0;      // where the text starts in texts_
        std::size_t unused = 0;  // a power of two wide
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
    // A text of up to 8 bytes as one word, from loads that may overlap.
    static std::uint64_t shortWord(const char* bytes, std::size_t size) {
        if (size == 8) {
            return load8(bytes);
        }
        if (size >= 4) {
            return load4(bytes) | std::uint64_t{load4(bytes + size - 4)} << 32;
        }
        if (size == 0) {
            return 0;
        }
        const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
        return byte(0) | byte(size / 2) << 8 | byte(size - 1) << 16;
    }
    // The first, middle and last eight bytes and the length, each multiplied apart so that
    // the steps do not wait on each other. Texts that agree in all of them only share a probe
    // sequence; the bytes decide.
    static std::uint64_t quickHash(std::string_view text) {
        const char* bytes = text.data();
        const std::size_t size = text.size();
        const bool longer = size > 8;
        const std::uint64_t first = longer ? load8(bytes) : shortWord(bytes, size);
        const std::uint64_t middle = longer ? load8(bytes + size / 2 - 4) : 0;
        const std::uint64_t last = longer ? load8(bytes + size - 8) : 0;
        const std::uint64_t hash = (first * 0x9E3779B97F4A7C15ull) ^
                                   (middle * 0xC2B2AE3D27D4EB4Full) ^
                                   (last * 0x165667B19E3779F9ull) ^ size;
        return ((hash ^ hash >> 29) * 0xBF58476D1CE4E5B9ull) | 1;  // never 0, the free mark
    }
    // Two texts of one size, compared a word at a time with loads from both ends that may
    // overlap: without a loop up to 32 bytes, which every model name fits.
    static bool sameText(const char* a, const char* b, std::size_t size) {
        const auto differ = [&](std::size_t at) { return load8(a + at) ^ load8(b + at); };
        if (size > 32) {
            std::uint64_t difference = differ(size - 8);
            for (std::size_t at = 0; at + 8 < size; at += 8) {
                difference |= differ(at);
            }
            return difference == 0;
        }
        if (size >= 16) {
            return (differ(0) | differ(8) | differ(size - 16) | differ(size - 8)) == 0;
        }
        if (size > 8) {
            return (differ(0) | differ(size - 8)) == 0;
        }
        return shortWord(a, size) == shortWord(b, size);
    }
    // The high half is the best mixed.
    std::size_t home(std::uint64_t key) const { return (key >> 32) & mask_; }
    // The slot holding the text, or the free one where it would go.
    std::size_t slotFor(std::string_view text, std::uint64_t key) const {
        for (std::size_t at = home(key);; at = (at + 1) & mask_) {
            const Slot& slot = slots_[at];
            if (slot.key == 0 || (slot.key == key && slot.length == text.size() &&
                                  sameText(texts_.data() + slot.at, text.data(), text.size()))) {
                return at;
            }
        }
    }
    void grow();

    std::vector<Slot> slots_ =
        std::vector<Slot>(16);  // a power of two long, at most a quarter full
    std::size_t mask_ = 15;
    std::size_t count_ = 0;
    std::string texts_;  // every text, one after the other
};
