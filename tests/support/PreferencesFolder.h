// Points the user's configuration folder (where preferences are kept) at a fresh folder for the
// life of the object, and starts and ends with no preference domain read.
#pragma once

#include "TempFolder.h"

#include <string>

class PreferencesFolder {
public:
    PreferencesFolder();
    ~PreferencesFolder();
    PreferencesFolder(const PreferencesFolder&) = delete;
    PreferencesFolder& operator=(const PreferencesFolder&) = delete;

    // The configuration folder and a file in it.
    std::string Path() const { return mFolder.File("config"); }
    std::string File(const std::string& name) const { return Path() + "/" + name; }

private:
    TempFolder mFolder;
    bool mHadPrevious = false;
    std::string mPrevious;
};
