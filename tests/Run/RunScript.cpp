#include "RunScript.h"

#include "FWEventDispatcher.h"
#include "HostEvents.h"

#include <csignal>
#include <unistd.h>

namespace {

extern "C" void onAlarm(int)
{
    HostPostQuit();
}

} // namespace

RunScript::RunScript(std::chrono::seconds limit) : mLimit(limit) {}

RunScript::~RunScript()
{
    alarm(0);
    std::signal(SIGALRM, SIG_DFL);
}

RunScript& RunScript::Then(const std::string& name, Condition ready, Action act)
{
    mSteps.push_back(Step{name, std::move(ready), std::move(act)});
    return *this;
}

void RunScript::Start()
{
    mDeadline = std::chrono::steady_clock::now() + mLimit;
    std::signal(SIGALRM, onAlarm);
    alarm(unsigned(mLimit.count() + 15));
    StartIdling();
}

void RunScript::UseIdleTime()
{
    if (Finished())
        return;
    Step& step = mSteps[mNext];
    if (!step.ready || step.ready()) {
        ++mNext;
        if (step.act)
            step.act();
        return;
    }
    if (std::chrono::steady_clock::now() < mDeadline)
        return;
    mTimedOut = step.name;
    StopIdling();
    FWEventDispatcher::Instance()->Quit();
}
