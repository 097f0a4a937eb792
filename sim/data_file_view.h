#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The data file as the simulator reads it back: the raw text and its key=value entries
// (LF, CR LF or CR line ends, a leading byte-order mark and UTF-16 text, as the plug-in reads
// them; of
// repeated keys the last wins; other lines are ignored here). Read after every save the
// plug-in makes, so it costs a pass over the bytes and no more.
struct DataFileView {
    bool exists = false;
    std::string text;  // every line end turned into LF, the byte-order mark left out

    // A line holding '=', in file order: where its key and value lie in the text.
    struct Entry {
        std::size_t key = 0;
        std::size_t keyLength = 0;
        std::size_t value = 0;
        std::size_t valueLength = 0;
    };
    std::vector<Entry> entries;

    std::string_view keyOf(const Entry& entry) const {
        return std::string_view(text).substr(entry.key, entry.keyLength);
    }
    std::string_view valueOf(const Entry& entry) const {
        return std::string_view(text).substr(entry.value, entry.valueLength);
    }
    // The value of the key's last line, if any.
    std::optional<std::string_view> find(std::string_view key) const;
};

DataFileView readDataFile(const std::string& path);
// The view of a file holding these bytes.
DataFileView dataFileView(std::string bytes);

// "badge 2 -> 3, mine=1, old removed" for the timeline, keys in order within the changed or
// added ones and within the removed ones; empty when nothing changed.
std::string describeChanges(const DataFileView& before, const DataFileView& after);
