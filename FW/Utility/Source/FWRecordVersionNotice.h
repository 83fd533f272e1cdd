// Stored records this program cannot read whole (a version it does not know, from a newer
// program, or a damaged marker): while a layout is read, the readers' reports are gathered and
// shown once for the layout, in a notice that only goes on; the records keep what could be read.
// Outside such a reading the report is the assertion alert of a programming error.
#pragma once

#include <string>
#include <vector>

class FWRecordVersionNotice {
public:
    // Gathers the reports made from here until Present (or the end of the scope).
    FWRecordVersionNotice();
    ~FWRecordVersionNotice();
    FWRecordVersionNotice(const FWRecordVersionNotice&) = delete;
    FWRecordVersionNotice& operator=(const FWRecordVersionNotice&) = delete;

    // Shows the different messages gathered, one per line, in one notice; nothing when there is
    // none. What is shown is forgotten.
    void Present();

    // A record reader met a version it does not know or a damaged marker; answers 1: reading
    // goes on.
    static int Report(const char* message, const char* sourcePath, int line);

private:
    FWRecordVersionNotice* mOuter;
    std::vector<std::string> mMessages;
    std::string mSourcePath; // where the first report came from
    int mLine = 0;
};
