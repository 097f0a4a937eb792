#include "persist/nearest_name.h"

#include <algorithm>
#include <cstddef>

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Three rows of the edit table at a time: two back are needed for a swap.
std::size_t edits(std::string_view a, std::string_view b) {
    std::vector<std::size_t> before(b.size() + 1);
    std::vector<std::size_t> last(b.size() + 1);
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        last[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const bool same = lower(a[i - 1]) == lower(b[j - 1]);
            row[j] = std::min({last[j] + 1, row[j - 1] + 1, last[j - 1] + (same ? 0 : 1)});
            const bool swapped = i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) &&
                                 lower(a[i - 2]) == lower(b[j - 1]);
            if (swapped) {
                row[j] = std::min(row[j], before[j - 2] + 1);
            }
        }
        before.swap(last);
        last.swap(row);
    }
    return last[b.size()];
}

}  // namespace

std::string nearestName(std::string_view written, const std::vector<std::string_view>& known) {
    const std::size_t slip = std::max<std::size_t>(2, written.size() / 3);
    std::string_view best;
    std::size_t bestEdits = slip + 1;
    for (const std::string_view name : known) {
        const std::size_t count = edits(written, name);
        if (count < bestEdits) {
            best = name;
            bestEdits = count;
        }
    }
    return std::string(best);
}
