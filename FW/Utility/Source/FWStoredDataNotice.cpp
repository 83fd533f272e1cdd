// The gathering of what the readers of stored data report during one reading, and its one notice.
#include "FWStoredDataNotice.h"

#include "FWProgrammerMessage.h"

#include <algorithm>

namespace {

// The innermost reading going on, or null.
FWStoredDataNotice* sGathering = nullptr;

} // namespace

FWStoredDataNotice::FWStoredDataNotice() : mOuter(sGathering)
{
    sGathering = this;
}

FWStoredDataNotice::~FWStoredDataNotice()
{
    sGathering = mOuter;
}

void FWStoredDataNotice::Present()
{
    if (mMessages.empty())
        return;
    std::string text;
    for (const std::string& message : mMessages)
        text += (text.empty() ? "" : "\r") + message;
    mMessages.clear();
    fw_stored_data_notice(text.c_str(), mSourcePath.c_str(), mLine);
}

int FWStoredDataNotice::Report(const char* message, const char* sourcePath, int line)
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

size_t FWStoredDataNotice::GatheredLength()
{
    if (sGathering == nullptr)
        return 0;
    size_t length = 0;
    for (const std::string& message : sGathering->mMessages)
        length += (length > 0 ? 1 : 0) + message.size();
    return length;
}
