// save_once FOLDER: loads FOLDER\TinStarWarden.dat, stores badge=2 and saves, and writes one
// line to the log FOLDER\TinStarWarden.log, as the plug-in does, for a test that planted
// links in the folder first (links_under_wine.sh).
#include <cstdio>
#include <string>

#include "persist/diagnostics_log.h"
#include "persist/dict_data_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: save_once FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    diagnosticsLog().start(folder + "\\TinStarWarden.log");
    diagnosticsLog().line("saving once");
    DictDataFile file(folder + "\\TinStarWarden.dat");
    if (!file.load()) {
        std::printf("load failed: %s\n", file.error.c_str());
        return 1;
    }
    file.setInt("badge", 2);
    if (!file.save(false)) {
        std::printf("save failed: %s\n", file.error.c_str());
        return 1;
    }
    return 0;
}
