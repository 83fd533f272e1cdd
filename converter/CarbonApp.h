// The converter's application: the 'open' command runs the whole conversion, from the open
// dialog to the summary note.
#pragma once

#include "TApplication.h"

struct NavReplyRecord;

class CarbonApp : public TApplication {
public:
    CarbonApp();

    bool HandleCommand(const HICommandExtended& command) override;

private:
    // Asks for the files in the folder remembered under "PATH" and converts them.
    void OpenFile();
    // Collects the chosen files and remembers the first one's folder.
    static int32_t AcceptReply(NavReplyRecord& reply, void* context);
};
