#include <stdlib.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <clocale>
#include <csignal>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "sim/folder_service.h"
#include "sim/wine_launch.h"

namespace fs = std::filesystem;

namespace {

// Wine's drive Z: is the Unix root.
std::string windowsPath(const std::string& path) {
    return "Z:" + fs::absolute(path).lexically_normal().string();
}

// Wine reads the arguments' bytes in the locale's character set. The C locale has none beyond
// ASCII, so a path's UTF-8 bytes would arrive mangled: Wine is given the UTF-8 one instead.
void argumentsReadAsUtf8() {
    const std::string before = std::setlocale(LC_CTYPE, nullptr);
    const char* environment = std::setlocale(LC_CTYPE, "");
    const std::string chosen = environment != nullptr ? environment : "C";
    std::setlocale(LC_CTYPE, before.c_str());
    if (chosen == "C" || chosen == "POSIX") {
        setenv("LC_ALL", "C.UTF-8", 1);
    }
}

// Starts the program and serves its folder changes until it ends.
int runServingFolderChanges(std::vector<char*>& argv) {
    std::string mailbox = (fs::temp_directory_path() / "tsw-folder-service-XXXXXX").string();
    if (mkdtemp(mailbox.data()) == nullptr) {
        std::perror("cannot make the folder service's mailbox");
        return 1;
    }
    setenv(FOLDER_SERVICE_VARIABLE, mailbox.c_str(), 1);
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);  // a simulator stopped from outside takes Wine along
        execvp(argv[0], argv.data());
        std::perror("cannot start wine");
        _exit(127);
    }
    const int code = child < 0 ? 1 : serveFolderChangesUntilExit(child, mailbox);
    std::error_code ignored;
    fs::remove_all(mailbox, ignored);
    return code;
}

}  // namespace

int runUnderWine(const ScenarioOptions& options, const std::vector<std::string>& extra,
                 const std::vector<std::string>& scenarios) {
    if (!fs::exists(TSW_WINDOWS_SIM) || !fs::exists(TSW_DIST_ASI)) {
        std::fprintf(stderr, "tsw-sim --wine needs %s and %s: run ./tsw build first\n",
                     TSW_WINDOWS_SIM, TSW_DIST_ASI);
        return 1;
    }
    setenv("WINEPREFIX", TSW_WINE_PREFIX, 0);
    setenv("WINEDEBUG", "-all", 0);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 0);
    argumentsReadAsUtf8();
    std::vector<std::string> args = {"wine", TSW_WINDOWS_SIM, "--plugin",
                                     windowsPath(TSW_DIST_ASI)};
    if (!options.tracePath.empty()) {
        args.insert(args.end(), {"--trace", windowsPath(options.tracePath)});
    }
    if (!options.reportPath.empty()) {
        args.insert(args.end(), {"--report", windowsPath(options.reportPath)});
    }
    if (!options.gameDir.empty()) {
        args.insert(args.end(), {"--game-dir", windowsPath(options.gameDir)});
    }
    for (std::size_t i = 0; i < extra.size(); ++i) {
        const bool folder = i > 0 && (extra[i - 1] == "--chaos-out" || extra[i - 1] == "--out-dir");
        args.push_back(folder ? windowsPath(extra[i]) : extra[i]);
    }
    for (const std::string& scenario : scenarios) {
        args.push_back(windowsPath(scenario));
    }
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    return runServingFolderChanges(argv);
}
