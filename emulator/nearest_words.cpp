#include "emulator/nearest_words.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <utility>

namespace {

constexpr std::size_t MOST = 3;

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) {
        d[i][0] = i;
    }
    for (std::size_t j = 0; j <= b.size(); ++j) {
        d[0][j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) &&
                lower(a[i - 2]) == lower(b[j - 1])) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

bool isSlip(const std::string& written, std::size_t distance) {
    return distance <= std::max<std::size_t>(2, written.size() / 3);
}

std::vector<std::string> nearestWords(const std::string& word,
                                      const std::vector<std::string>& known) {
    std::vector<std::pair<std::size_t, std::size_t>> near;  // distance, index
    for (std::size_t i = 0; i < known.size(); ++i) {
        const std::size_t d = editDistance(word, known[i]);
        const bool repeated = std::any_of(
            near.begin(), near.end(), [&](const auto& n) { return known[n.second] == known[i]; });
        if (isSlip(word, d) && !repeated) {
            near.emplace_back(d, i);
        }
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> words;
    for (std::size_t i = 0; i < near.size() && i < MOST; ++i) {
        words.push_back(known[near[i].second]);
    }
    return words;
}

std::string didYouMean(const std::string& word, const std::vector<std::string>& known) {
    return didYouMean(nearestWords(word, known));
}

std::string listedWithOr(const std::vector<std::string>& words) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + words[i];
    }
    return text;
}

std::string didYouMean(const std::vector<std::string>& words) {
    return words.empty() ? std::string() : " (did you mean " + listedWithOr(words) + "?)";
}
