// The simulator's reading of the data file after each save: entries as the plug-in reads them,
// and the timeline's account of what a save changed.
#include "sim/data_file_view.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

namespace {

TEST(DataFileView, ReadsLinesAsThePluginDoes) {
    const DataFileView view = dataFileView(
        "\xEF\xBB\xBF"
        "badge=2\r\nxxxxx=0.01\rnote\nbadge=3=x");

    EXPECT_EQ(view.text, "badge=2\nxxxxx=0.01\nnote\nbadge=3=x\n");
    ASSERT_EQ(view.entries.size(), 3u);
    EXPECT_EQ(view.find("badge"), "3=x");
    EXPECT_EQ(view.find("xxxxx"), "0.01");
    EXPECT_EQ(view.find("note"), std::nullopt);
}

// Notepad's "Unicode", either byte order: read as the UTF-8 it stands for. A surrogate pair is
// one character, a lone surrogate U+FFFD, an odd last byte dropped.
TEST(DataFileView, ReadsUtf16AsThePluginDoes) {
    using namespace std::string_literals;
    const std::string little =
        "\xFF\xFE"
        "b\0=\0"
        "2\0\r\0\n\0"
        "\xE9\0=\0"
        "\x3D\xD8\x00\xDE"
        "\x00\xD8"
        "\n\0"
        "x"s;
    const DataFileView fromLittle = dataFileView(little);
    EXPECT_EQ(fromLittle.text, "b=2\n\xC3\xA9=\xF0\x9F\x98\x80\xEF\xBF\xBD\n");
    EXPECT_EQ(fromLittle.find("b"), "2");

    const DataFileView fromBig = dataFileView(
        "\xFE\xFF\0b\0=\0"
        "7"s);
    EXPECT_EQ(fromBig.find("b"), "7");
}

TEST(DataFileView, ChangesReadInKeyOrderTheRemovedLast) {
    EXPECT_EQ(describeChanges(dataFileView("old=1\nbadge=2\n"), dataFileView("mine=1\nbadge=3\n")),
              "badge 2 -> 3, mine=1, old removed");
    EXPECT_EQ(describeChanges(dataFileView("badge=2\n"), dataFileView("badge=2\r\n")), "");
}

// What the timeline said before it was made to read 100,000-line files after every save: the
// entries as maps (the last of repeated keys wins), compared key by key.
std::string describedByMaps(const std::string& before, const std::string& after) {
    const auto entries = [](const std::string& text) {
        std::map<std::string, std::string> map;
        const DataFileView view = dataFileView(text);
        for (const DataFileView::Entry& entry : view.entries) {
            map[std::string(view.keyOf(entry))] = view.valueOf(entry);
        }
        return map;
    };
    const auto old = entries(before);
    const auto now = entries(after);
    std::string changes;
    const auto add = [&](const std::string& change) {
        changes += (changes.empty() ? "" : ", ") + change;
    };
    for (const auto& [key, value] : now) {
        const auto it = old.find(key);
        if (it == old.end()) {
            add(key + "=" + value);
        } else if (it->second != value) {
            add(key + " " + it->second + " -> " + value);
        }
    }
    for (const auto& [key, value] : old) {
        if (now.count(key) == 0) {
            add(key + " removed");
        }
    }
    return changes;
}

// Saves of the same keys with a few values changed (the common case, read line by line), and
// files with keys repeated, added, removed or reordered.
TEST(DataFileView, ChangesAreTheEntriesThatDiffer) {
    std::mt19937 random(18);
    const auto line = [&] {
        return "k" + std::to_string(random() % 6) + "=" + std::to_string(random() % 3) + "\n";
    };
    for (int round = 0; round < 2000; ++round) {
        std::string before;
        for (int i = random() % 8; i > 0; --i) {
            before += line();
        }
        std::string after;
        for (std::size_t at = 0; at < before.size();) {
            const std::size_t end = before.find('\n', at) + 1;
            const std::string kept = before.substr(at, end - at);
            const unsigned what = random() % 8;
            after += what == 0 ? line() : what == 1 ? "" : what == 2 ? kept + line() : kept;
            if (what == 3) {
                after.back() = '\n';
                after.insert(after.size() - 1, std::to_string(random() % 3));
            }
            at = end;
        }
        EXPECT_EQ(describeChanges(dataFileView(before), dataFileView(after)),
                  describedByMaps(before, after))
            << "before:\n"
            << before << "after:\n"
            << after;
    }
}

}  // namespace
