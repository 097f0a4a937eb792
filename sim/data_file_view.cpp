#include "sim/data_file_view.h"

#include <fstream>
#include <sstream>
#include <string_view>

DataFileView readDataFile(const std::string& path) {
    DataFileView view;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return view;
    }
    view.exists = true;
    std::ostringstream content;
    content << file.rdbuf();
    std::string_view bytes = content.view();
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    // Lines end as the plug-in reads them: LF, CR LF or a lone CR.
    while (!bytes.empty()) {
        const auto end = bytes.find_first_of("\r\n");
        const std::string line(bytes.substr(0, end));
        bytes = end == std::string_view::npos
                    ? std::string_view()
                    : bytes.substr(end + (bytes.substr(end, 2) == "\r\n" ? 2 : 1));
        view.text += line + "\n";
        const auto equals = line.find('=');
        if (equals != std::string::npos) {
            view.entries[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return view;
}

std::string describeChanges(const DataFileView& before, const DataFileView& after) {
    std::string changes;
    auto add = [&](const std::string& change) {
        changes += (changes.empty() ? "" : ", ") + change;
    };
    for (const auto& [key, value] : after.entries) {
        const auto old = before.entries.find(key);
        if (old == before.entries.end()) {
            add(key + "=" + value);
        } else if (old->second != value) {
            add(key + " " + old->second + " -> " + value);
        }
    }
    for (const auto& [key, value] : before.entries) {
        if (after.entries.count(key) == 0) {
            add(key + " removed");
        }
    }
    return changes;
}
