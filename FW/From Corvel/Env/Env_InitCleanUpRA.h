// Scope guard over a package (or any part with static Init and CleanUp): initialises it when
// made and cleans it up when destroyed, unless told to hand the clean-up over to someone else.
#pragma once

namespace Corvel {

template <class T>
class Env_InitCleanUpRA {
public:
    // Whatever Init answers is not looked at: a package reports its own failures.
    Env_InitCleanUpRA() { T::Init(); }
    ~Env_InitCleanUpRA()
    {
        if (mCleanUp)
            T::CleanUp();
    }
    Env_InitCleanUpRA(const Env_InitCleanUpRA&) = delete;
    Env_InitCleanUpRA& operator=(const Env_InitCleanUpRA&) = delete;

    // The caller takes over the clean-up (a package does once all its dependencies are up).
    void DontCleanUp() { mCleanUp = false; }

private:
    bool mCleanUp = true;
};

} // namespace Corvel
