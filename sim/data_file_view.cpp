#include "sim/data_file_view.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <utility>

namespace {

// The whole file in one read.
bool readBytes(const std::string& path, std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    char block[64 * 1024];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) {
        bytes.append(block, got);
    }
    std::fclose(file);
    return true;
}

void appendUtf8(std::string& text, char32_t code) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// A file that begins with a UTF-16 byte-order mark (Notepad's "Unicode", little or big endian)
// is read as the text it stands for, as the plug-in reads it: an odd last byte is dropped, a
// surrogate without its partner reads as U+FFFD.
bool isMarkedUtf16(std::string_view bytes) {
    return bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF";
}

std::string utf8OfMarkedUtf16(std::string_view bytes) {
    const bool little = bytes[0] == '\xFF';
    std::vector<char16_t> units;
    for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        units.push_back(static_cast<char16_t>(little ? first | second << 8 : first << 8 | second));
    }
    std::string text;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        const bool high = unit >= 0xD800 && unit < 0xDC00;
        const bool paired =
            high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000;
        if (paired) {
            appendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00));
        } else {
            appendUtf8(text, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
        }
    }
    return text;
}

// Lines end as the plug-in reads them: LF, CR LF or a lone CR; each becomes an LF, and a last
// line without one gets one.
std::string withLfLineEnds(std::string bytes) {
    // Byte by byte: GCC warns of starts_with here, wrongly.
    if (bytes.size() >= 3 && bytes[0] == '\xEF' && bytes[1] == '\xBB' && bytes[2] == '\xBF') {
        bytes.erase(0, 3);
    }
    if (bytes.find('\r') == std::string::npos) {
        if (!bytes.empty() && bytes.back() != '\n') {
            bytes += '\n';
        }
        return bytes;
    }
    std::string text;
    text.reserve(bytes.size() + 1);
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        const char c = bytes[at];
        text += c == '\r' ? '\n' : c;
        if (c == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') {
            ++at;
        }
    }
    if (!text.empty() && text.back() != '\n') {
        text += '\n';
    }
    return text;
}

// The key's last line in each view, found in about one probe: only looked up, never walked.
class LastLines {
  public:
    explicit LastLines(const DataFileView& view) : view_(view) {
        std::size_t size = 16;
        while (size < view.entries.size() * 2) {
            size *= 2;
        }
        slots_.assign(size, NONE);
        for (std::size_t i = 0; i < view.entries.size(); ++i) {
            slots_[slotFor(view.keyOf(view.entries[i]))] = i;  // a later line wins
        }
    }
    const DataFileView::Entry* find(std::string_view key) const {
        const std::size_t line = slots_[slotFor(key)];
        return line == NONE ? nullptr : &view_.entries[line];
    }
    bool isLast(std::size_t line) const {
        return slots_[slotFor(view_.keyOf(view_.entries[line]))] == line;
    }

  private:
    static constexpr std::size_t NONE = ~std::size_t{0};

    std::size_t slotFor(std::string_view key) const {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = std::hash<std::string_view>{}(key)&mask;; at = (at + 1) & mask) {
            const std::size_t line = slots_[at];
            if (line == NONE || view_.keyOf(view_.entries[line]) == key) {
                return at;
            }
        }
    }

    const DataFileView& view_;
    std::vector<std::size_t> slots_;
};

using Change = std::pair<std::string_view, std::string>;  // key, what the timeline says

// Files whose lines hold the same keys in the same order, as two saves of the plug-in do: the
// changes are on the lines whose values differ. Empty when a line's key differs.
std::optional<std::vector<std::size_t>> differingLines(const DataFileView& before,
                                                       const DataFileView& after) {
    if (before.entries.size() != after.entries.size()) {
        return std::nullopt;
    }
    std::vector<std::size_t> lines;
    for (std::size_t i = 0; i < after.entries.size(); ++i) {
        const DataFileView::Entry& old = before.entries[i];
        const DataFileView::Entry& now = after.entries[i];
        if (before.keyOf(old) != after.keyOf(now)) {
            return std::nullopt;
        }
        if (before.valueOf(old) != after.valueOf(now)) {
            lines.push_back(i);
        }
    }
    return lines;
}

// A save changes a value or two: their lines are checked against the lines after them, which
// costs less than an index of every key.
constexpr std::size_t FEW_LINES = 8;

bool lastOfItsKey(const DataFileView& view, std::size_t line) {
    const std::string_view key = view.keyOf(view.entries[line]);
    for (std::size_t later = line + 1; later < view.entries.size(); ++later) {
        if (view.keyOf(view.entries[later]) == key) {
            return false;
        }
    }
    return true;
}

std::string joined(std::vector<Change> changes) {
    std::sort(changes.begin(), changes.end());
    std::string text;
    for (const auto& [key, change] : changes) {
        text += (text.empty() ? "" : ", ") + change;
    }
    return text;
}

std::string changeOf(std::string_view key, std::string_view old, std::string_view now) {
    return std::string(key) + " " + std::string(old) + " -> " + std::string(now);
}

}  // namespace

std::optional<std::string_view> DataFileView::find(std::string_view key) const {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (keyOf(*it) == key) {
            return valueOf(*it);
        }
    }
    return std::nullopt;
}

DataFileView dataFileView(std::string bytes) {
    DataFileView view;
    view.exists = true;
    if (isMarkedUtf16(bytes)) {
        bytes = utf8OfMarkedUtf16(bytes);
    }
    view.text = withLfLineEnds(std::move(bytes));
    const std::string_view text = view.text;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        const std::size_t equals = text.substr(start, end - start).find('=');
        if (equals != std::string_view::npos) {
            view.entries.push_back({start, equals, start + equals + 1, end - (start + equals + 1)});
        }
        start = end + 1;
    }
    return view;
}

DataFileView readDataFile(const std::string& path) {
    std::string bytes;
    return readBytes(path, bytes) ? dataFileView(std::move(bytes)) : DataFileView{};
}

std::string describeChanges(const DataFileView& before, const DataFileView& after) {
    if (before.text == after.text) {
        return "";
    }
    std::vector<Change> changes;
    const auto lines = differingLines(before, after);
    if (lines && lines->size() <= FEW_LINES) {
        // The same keys line by line: a changed line counts where it is its key's last.
        for (std::size_t line : *lines) {
            const DataFileView::Entry& now = after.entries[line];
            if (lastOfItsKey(after, line)) {
                const std::string_view key = after.keyOf(now);
                changes.emplace_back(
                    key, changeOf(key, before.valueOf(before.entries[line]), after.valueOf(now)));
            }
        }
        return joined(std::move(changes));
    }
    const LastLines lastBefore(before);
    const LastLines lastAfter(after);
    for (std::size_t line = 0; line < after.entries.size(); ++line) {
        const DataFileView::Entry& now = after.entries[line];
        const std::string_view key = after.keyOf(now);
        const DataFileView::Entry* old = lastBefore.find(key);
        if (!lastAfter.isLast(line)) {
            continue;
        }
        if (old == nullptr) {
            changes.emplace_back(key, std::string(key) + "=" + std::string(after.valueOf(now)));
        } else if (before.valueOf(*old) != after.valueOf(now)) {
            changes.emplace_back(key, changeOf(key, before.valueOf(*old), after.valueOf(now)));
        }
    }
    std::vector<Change> removed;
    for (std::size_t line = 0; line < before.entries.size(); ++line) {
        const std::string_view key = before.keyOf(before.entries[line]);
        if (lastBefore.isLast(line) && lastAfter.find(key) == nullptr) {
            removed.emplace_back(key, std::string(key) + " removed");
        }
    }
    const std::string changed = joined(std::move(changes));
    const std::string gone = joined(std::move(removed));
    return changed + (changed.empty() || gone.empty() ? "" : ", ") + gone;
}
