#pragma once
#include <cstddef>
#include <string>

#include "persist/own_file.h"

// The log a player can switch on ([DIAGNOSTICS] WRITE_LOG=1) and send when asking for help:
// what the plug-in read at load and what went wrong with its files. Plain file writes, never
// through the game; a write that fails is dropped and never fails the plug-in.
class DiagnosticsLog {
  public:
    // Past this the log stops growing; one last line says so.
    static constexpr std::size_t SIZE_LIMIT = 64 * 1024;

    // Empties the file and writes to it from now on: a new file in place of whatever had the
    // name, or, in a folder where no file may be made, the file there when it is a plain one
    // of its own. Never a link's target; a log that cannot be opened so stays off.
    void start(const std::string& path);
    bool on() const { return file_.isOpen(); }
    // One line, written at once (a log line is rare: never one per frame in normal play).
    void line(const std::string& text);

  private:
    void append(const std::string& text);

    // Kept open, so that no line goes to whatever takes the name later.
    OwnFile file_;
    std::size_t size_ = 0;
};

// The plug-in's one log, TinStarWarden/TinStarWarden.log when started.
DiagnosticsLog& diagnosticsLog();
