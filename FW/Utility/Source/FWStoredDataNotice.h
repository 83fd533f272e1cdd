// What the readers of stored data find while a layout or a resource file is read: records of a
// version this program does not know, damaged records and resources, and stored records that do
// not line up with the layout and will not be saved. The reports are gathered and shown once, in a
// notice that only goes on; what was read stays as far as it could be read. Outside such a reading
// a report is the assertion alert of a programming error.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class FWStoredDataNotice {
public:
    // Gathers the reports made from here until Present (or the end of the scope).
    FWStoredDataNotice();
    ~FWStoredDataNotice();
    FWStoredDataNotice(const FWStoredDataNotice&) = delete;
    FWStoredDataNotice& operator=(const FWStoredDataNotice&) = delete;

    // Shows the different messages gathered, one per line, in one notice; nothing when there is
    // none. What is shown is forgotten.
    void Present();

    // A reader met something it cannot read whole or will not keep; answers 1: reading goes on.
    static int Report(const char* message, const char* sourcePath, int line);
    // The characters of the notice the reading going on would show now, its line breaks included;
    // 0 outside a reading. Readers that name many records keep the notice within what it shows.
    static size_t GatheredLength();

private:
    FWStoredDataNotice* mOuter;
    std::vector<std::string> mMessages;
    std::string mSourcePath; // where the first report came from
    int mLine = 0;
};
