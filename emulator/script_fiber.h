#pragma once
#include <memory>

// One script's own execution context. The scheduler resumes it; the script yields back from
// inside its waits. Natively a stack of its own and a register switch, on Windows a fiber.
class ScriptFiber {
  public:
    using Entry = void (*)();

    explicit ScriptFiber(Entry entry);
    ~ScriptFiber();
    ScriptFiber(const ScriptFiber&) = delete;
    ScriptFiber& operator=(const ScriptFiber&) = delete;

    // Runs the script until it yields or returns; only from the scheduler's context.
    void resume();
    bool finished() const { return finished_; }

    // From inside a running script: back to whoever resumed it.
    static void yield();
    static ScriptFiber* current();

  private:
    struct Impl;
    static void body(ScriptFiber* fiber);

    Entry entry_;
    bool finished_ = false;
    std::unique_ptr<Impl> impl_;
};
