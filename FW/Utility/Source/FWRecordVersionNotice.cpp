// The gathering of unknown record versions met while a layout is read, and their one notice.
#include "FWRecordVersionNotice.h"

#include "FWProgrammerMessage.h"

#include <algorithm>

namespace {

// The innermost reading going on, or null.
FWRecordVersionNotice* sGathering = nullptr;

} // namespace

FWRecordVersionNotice::FWRecordVersionNotice() : mOuter(sGathering)
{
    sGathering = this;
}

FWRecordVersionNotice::~FWRecordVersionNotice()
{
    sGathering = mOuter;
}

void FWRecordVersionNotice::Present()
{
    if (mMessages.empty())
        return;
    std::string text;
    for (const std::string& message : mMessages)
        text += (text.empty() ? "" : "\r") + message;
    mMessages.clear();
    fw_stored_data_notice(text.c_str(), mSourcePath.c_str(), mLine);
}

int FWRecordVersionNotice::Report(const char* message, const char* sourcePath, int line)
{
    if (sGathering == nullptr)
        return fw_programmer_message(message, sourcePath, line);
    const std::string text = message != nullptr ? message : "";
    std::vector<std::string>& gathered = sGathering->mMessages;
    if (gathered.empty()) {
        sGathering->mSourcePath = sourcePath != nullptr ? sourcePath : "";
        sGathering->mLine = line;
    }
    // A layout of many records of one class names the class once.
    if (std::find(gathered.begin(), gathered.end(), text) == gathered.end())
        gathered.push_back(text);
    return 1;
}
