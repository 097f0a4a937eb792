#include "emulator/text_table.h"

void TextTable::add(std::string_view text, std::uint32_t value) {
    if (text.size() >= FREE) {
        return;  // never found, so hashed afresh each time
    }
    if ((count_ + 1) * 4 > slots_.size()) {
        grow();
    }
    const Words words = wordsOf(text);
    Slot& slot = slots_[slotFor(text, words)];
    if (slot.length != FREE) {
        return;
    }
    slot = {words, static_cast<std::uint32_t>(text.size()), value, texts_.size()};
    if (text.size() > WHOLE_IN_WORDS) {
        texts_.append(text);
    }
    ++count_;
}

const std::uint32_t* TextTable::findAway(std::string_view text) const {
    const Slot& found = slots_[slotFor(text, wordsOf(text))];
    return found.length != FREE ? &found.value : nullptr;
}

void TextTable::grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    mask_ = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.length == FREE) {
            continue;
        }
        std::size_t at = home(slot.words, slot.length);
        while (slots_[at].length != FREE) {
            at = (at + 1) & mask_;
        }
        slots_[at] = slot;
    }
}
