#include "emulator/text_table.h"

void TextTable::add(std::string_view text, std::uint32_t value) {
    if (text.size() > UINT32_MAX) {
        return;  // never found, so hashed afresh each time
    }
    if ((count_ + 1) * 4 > slots_.size()) {
        grow();
    }
    const std::uint64_t key = quickHash(text);
    Slot& slot = slots_[slotFor(text, key)];
    if (slot.key != 0) {
        return;
    }
    slot = {key, value, static_cast<std::uint32_t>(text.size()), texts_.size(), 0};
    texts_.append(text);
    ++count_;
}

void TextTable::grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    mask_ = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.key == 0) {
            continue;
        }
        std::size_t at = home(slot.key);
        while (slots_[at].key != 0) {
            at = (at + 1) & mask_;
        }
        slots_[at] = slot;
    }
}
