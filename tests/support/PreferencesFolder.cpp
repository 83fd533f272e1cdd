#include "PreferencesFolder.h"

#include "HostPreferences.h"

#include <cstdlib>

PreferencesFolder::PreferencesFolder()
{
    const char* previous = std::getenv("XDG_CONFIG_HOME");
    mHadPrevious = previous != nullptr;
    if (mHadPrevious)
        mPrevious = previous;
    setenv("XDG_CONFIG_HOME", Path().c_str(), 1);
    HostResetPreferences();
}

PreferencesFolder::~PreferencesFolder()
{
    HostResetPreferences();
    if (mHadPrevious)
        setenv("XDG_CONFIG_HOME", mPrevious.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}
