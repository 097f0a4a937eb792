#pragma once
// What must always hold while the plug-in plays, whatever the player and the game do: checked
// after every frame of a scenario that asks for it (`invariants on`) and of every chaos game.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "sim/data_file_view.h"

// The emulated game's `query facts` answer, read back after every frame: a score of names,
// looked through in a row (a later one of a name wins).
struct Facts {
    std::vector<std::pair<std::string, std::string>> values;

    static Facts parse(const std::string& text);
    long number(const std::string& name) const;
    // A clock's reading: all 32 bits, also where a long has only 32.
    std::uint32_t clock(const std::string& name) const;
    const std::string& text(const std::string& name) const;
};

class InvariantChecker {
  public:
    // Every scenario command, before it runs.
    void onCommand(const std::string& line);
    // The plug-in rewrote the data file (the simulator noticed a new file).
    void onDataFileWritten(const DataFileView& file);
    // The scenario itself changed the game folder's files: their state is the new baseline.
    void onFilesChanged(const DataFileView& file);
    // After a frame: the first rule that breaks, said as a player would read it.
    std::optional<std::string> afterFrame(std::uint32_t gameTime, const Facts& facts);

  private:
    // A condition that must last a while before what it implies is checked: some game time,
    // and after that some whole badge-script passes (a pass may wait seconds inside).
    struct Window {
        std::uint32_t ms = 0;
        long passEnds = 0;
        bool open = false;
        bool timeUp = false;
        std::uint32_t since = 0;
        long passesWhenTimeUp = 0;

        void track(bool holds, std::uint32_t now, long passes);
        bool lasted(long passes) const;
    };

    struct Greeter {
        long greetings = 0;
        bool awaySince = false;   // more than 50 from the player since its last greeting
        bool remembered = false;  // as the plug-in's greeting table would hold it
    };

    std::optional<std::string> checkBadges(std::uint32_t now, const Facts& facts);
    std::optional<std::string> checkDuty(std::uint32_t now, const Facts& facts);
    std::optional<std::string> checkGreetings(const Facts& facts);
    std::optional<std::string> checkScripts(const Facts& facts);
    std::optional<std::string> checkOffices(std::uint32_t now, const Facts& facts);
    bool looping(const Facts& facts) const;
    // A new load of the plug-in remembers nothing and counts its passes afresh.
    void startInstance(std::uint32_t instance);
    // Restarted scripts (a save load too) start their runs afresh: the greeting tables are
    // empty again and every wait for a run's first passes begins again.
    void startRuns(long restarts);
    // The data file may not yet hold what the player chose: the folder is locked, or took
    // writes again too recently for the plug-in's next try, or a choice it could not save was
    // lost with an unload (until the next save).
    bool fileMayLag(std::uint32_t now) const;

    std::optional<std::string> dataBreak_;
    std::set<std::string> dataKeys_;
    std::optional<std::int32_t>
        recordedBadge_;  // the data file's `badge`, read as the plug-in does
    bool dataFileExists_ = true;
    bool dataFileAtLoad_ = true;
    bool badgeInterfered_ = false;  // the scenario took the badge or changed the gate
    bool playerMoved_ = false;
    bool folderLocked_ = false;
    bool folderUnlocked_ = false;  // `folder writable` after a lock, until the next frame
    std::optional<std::uint32_t> writableSince_;  // the first frame after the last unlock
    bool choiceMayBeLost_ = false;                // unloaded while the file may have lagged
    bool catchingUp_ = false;  // unlocked, and the file not yet held to the badge worn
    std::uint32_t lastFrame_ = 0;
    bool blipsTaken_ = false;    // the game took blips away, or the plug-in's runs began anew
    bool promptsTaken_ = false;  // the same for the prompts, or the player moved
    // Each wait below begins again at a load, a save load or a restart of the scripts, and
    // counts the passes of the run that begins then (its 500 ms start-up has none): a run's
    // scripts have done nothing of their own yet. The seconds are game time: the blocks the
    // rules wait for run on the game timer, which a pause stops.
    //
    // Two passes with control off: the recorded badge is on (one more for each creation of its
    // model the game will still refuse; a newly recorded badge begins again).
    Window recordedAndNoControl_{0, 2};
    // The lawman block waits up to a second; the pass under way when the badge went on may have
    // read the attachment point before the player moved, so the next whole pass decides.
    Window onDuty_{1000, 3};
    Window offDuty_{0, 2};
    // The menu script's prompt and blip block runs on the game timer: a second of it, and every
    // blip is back, and the player at an office is offered "REMOVE BADGE".
    Window blipsBack_{1000, 0};
    Window atOffice_{1000, 0};
    std::map<std::int32_t, Greeter> greeters_;
    std::uint32_t lastInstance_ = 0;
    long lastRestarts_ = 0;
    long runStartPasses_ = 0;  // the badge script's passes when its running run began
};
