// Records programmer messages instead of showing them, for the lifetime of the recorder.
#pragma once

#include "FWProgrammerMessage.h"

#include <string>
#include <vector>

struct RecordedProgrammerMessage {
    std::string message;
    std::string sourcePath;
    int line;
    bool offersAbort; // false for a notice about stored data
};

class ProgrammerMessageRecorder {
public:
    ProgrammerMessageRecorder();
    ~ProgrammerMessageRecorder();
    ProgrammerMessageRecorder(const ProgrammerMessageRecorder&) = delete;
    ProgrammerMessageRecorder& operator=(const ProgrammerMessageRecorder&) = delete;

    const std::vector<RecordedProgrammerMessage>& Messages() const { return mMessages; }
    // The recorded messages' texts, in order.
    std::vector<std::string> Texts() const;
    void Clear() { mMessages.clear(); }

private:
    static bool Record(const FWProgrammerMessageInfo& info);

    std::vector<RecordedProgrammerMessage> mMessages;
    ProgrammerMessageRecorder* mOuter;
    FWProgrammerMessagePresenter mPrevious;
};

// For fuzz targets that read stored data: ends the process on an assertion alert, which damaged
// data must never reach, and lets a notice about stored data go on.
bool TrapOnAssertionAlert(const FWProgrammerMessageInfo& info);
