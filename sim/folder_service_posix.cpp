#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "sim/folder_service.h"
#include "sim/read_only_folder.h"

namespace {

// How often the child's end is looked for where it cannot be waited for with the requests.
constexpr int CHILD_POLL_MS = 20;

bool answer(const std::string& mode, const std::string& path, std::string& error) {
    if (mode == FOLDER_READ_ONLY) {
        return makeFolderReadOnly(path, error);
    }
    if (mode == FOLDER_WRITABLE) {
        return makeFolderWritable(path, error);
    }
    if (mode == READ_ONLY_FILE) {
        return makeFileReadOnly(path, error);
    }
    if (mode == WRITABLE_FILE) {
        return makeFileWritable(path, error);
    }
    error = "unknown folder request \"" + mode + "\"";
    return false;
}

// A new request waiting in the mailbox is carried out and answered. The request stays where it
// is (Wine's rename that put it there can fail if the name goes before Wine is done with it):
// the asking side removes it once answered, and one already answered is known by its number.
void answerRequest(const std::string& mailbox, unsigned long& lastAnswered) {
    std::ifstream in(mailbox + "/" + FOLDER_REQUEST);
    unsigned long number = 0;
    std::string mode;
    std::string path;
    if (!(in >> number) || number <= lastAnswered) {
        return;
    }
    in.ignore(1);
    std::getline(in, mode);
    std::getline(in, path);
    lastAnswered = number;
    std::string error;
    const std::string reply = answer(mode, path, error) ? FOLDER_DONE : error;
    const std::string part = mailbox + "/" + FOLDER_REPLY + ".part";
    std::ofstream(part) << reply << "\n";
    std::rename(part.c_str(), (mailbox + "/" + FOLDER_REPLY).c_str());
}

void closeIfOpen(int descriptor) {
    if (descriptor >= 0) {
        close(descriptor);
    }
}

int exitCode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

int serveFolderChangesUntilExit(int child, const std::string& mailbox) {
    // A request is noticed as it is moved into the mailbox, the child's end as it happens (a
    // process descriptor), so neither waits for a poll.
    const int requests = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    inotify_add_watch(requests, mailbox.c_str(), IN_MOVED_TO);
    const int childEnd = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    unsigned long lastAnswered = 0;
    for (;;) {
        answerRequest(mailbox, lastAnswered);
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            closeIfOpen(requests);
            closeIfOpen(childEnd);
            return exitCode(status);
        }
        pollfd events[] = {{requests, POLLIN, 0}, {childEnd, POLLIN, 0}};
        const bool bothSeen = requests >= 0 && childEnd >= 0;
        poll(events, 2, bothSeen ? -1 : CHILD_POLL_MS);
        char drained[4096];
        while (requests >= 0 && read(requests, drained, sizeof drained) > 0) {
        }
    }
}
