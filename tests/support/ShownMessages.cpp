#include "ShownMessages.h"

#include "HostModalLoop.h"
#include "HostSound.h"

std::vector<std::string> ShownMessageTexts()
{
    std::vector<std::string> texts;
    for (const HostModalShown& shown : HostModalShownLog())
        if (shown.title.empty())
            texts.push_back(shown.texts.empty() ? std::string() : shown.texts.front());
    return texts;
}

void ShownMessagesTest::SetUp()
{
    HostResetModalLoops();
    HostResetBeeps();
}

void ShownMessagesTest::TearDown()
{
    HostResetModalLoops();
}
