// The running process: its serial number and information, and its executable, which stands in
// for the application's bundle.
#pragma once

#include "HostFiles.h"

#include <string>

// The serial number that names the calling process in any call.
enum : UInt32 {
    kNoProcess = 0,
    kCurrentProcess = 2,
};

struct ProcessInfoRec {
    UInt32 processInfoLength;
    StringPtr processName;         // in: a 32-byte buffer or null; out: the executable's name
    ProcessSerialNumber processNumber;
    UInt32 processType;            // 'APPL'
    OSType processSignature;       // '????'
    FSSpec* processAppSpec;        // in: null or a specification to fill with the executable's
};

// The current process's serial number.
OSErr GetCurrentProcess(ProcessSerialNumber* psn);

// Information on the current process; any other process answers procNotFound.
OSErr GetProcessInformation(const ProcessSerialNumber* psn, ProcessInfoRec* info);

// The application's location: its executable file.
OSStatus GetProcessBundleLocation(const ProcessSerialNumber* psn, FSRef* location);

// The application is always in front of the virtual screen: nothing to do.
OSErr SetFrontProcess(const ProcessSerialNumber* psn);

// The absolute path of the running executable.
std::string HostExecutablePath();

// Ends a program at its start that lacks what it cannot run without (a display, its own
// resources), before anything is shown or written: one line "PROGRAM: WHY" on standard error and
// status 1.
[[noreturn]] void HostEndAtStart(const std::string& why);

// Test interface: the program answers as if its executable were this file (which must exist), so
// its folder (locators -2 and -6 once the file services start) is a scratch folder the test owns;
// an empty path goes back to the real executable.
void HostSetProgramPathForTests(const std::string& path);
