// Drives a running application from inside its own main loop: an idle process that, on each turn
// of idle time, runs the next step once its condition holds. A step that does not come within the
// time limit (real time) fails the test and ends the loop, so a run never hangs. A SIGALRM set
// for a little later asks for a quit in case idle time stops coming at all.
#pragma once

#include "FWIdleProcess.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

class RunScript : public FWIdleProcess {
public:
    using Condition = std::function<bool()>;
    using Action = std::function<void()>;

    explicit RunScript(std::chrono::seconds limit = std::chrono::seconds(30));
    ~RunScript() override;

    // Adds a step: once ready() holds, act() runs (a null condition is ready at once).
    RunScript& Then(const std::string& name, Condition ready, Action act);
    // Starts idling and arms the limit.
    void Start();
    // Whether every step ran.
    bool Finished() const { return mNext == mSteps.size(); }
    // The name of the step that timed out, or empty.
    const std::string& TimedOut() const { return mTimedOut; }

    void UseIdleTime() override;

private:
    struct Step {
        std::string name;
        Condition ready;
        Action act;
    };
    std::vector<Step> mSteps;
    size_t mNext = 0;
    std::chrono::seconds mLimit;
    std::chrono::steady_clock::time_point mDeadline;
    std::string mTimedOut;
};
