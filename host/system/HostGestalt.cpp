// The table of system facts.
#include "HostGestalt.h"

#include <map>

namespace {

std::map<OSType, SInt32> standardAnswers()
{
    return {
        {FOUR_CHAR_CODE("sysv"), 0x1058}, // system 10.5.8, in binary-coded decimal
        {FOUR_CHAR_CODE("menu"), 0x1},    // menus present; bit 1 (the layout that moves Quit and
                                          // Preferences out of their menus) clear
        {FOUR_CHAR_CODE("appr"), 0x1},    // appearance present
        {FOUR_CHAR_CODE("apvr"), 0x0110}, // appearance version 1.1
    };
}

std::map<OSType, SInt32>& answers()
{
    static auto* table = new std::map<OSType, SInt32>(standardAnswers());
    return *table;
}

} // namespace

OSErr Gestalt(OSType selector, SInt32* response)
{
    auto it = answers().find(selector);
    if (it == answers().end())
        return gestaltUndefSelectorErr;
    if (response == nullptr)
        return paramErr;
    *response = it->second;
    return noErr;
}

void HostSetGestaltAnswer(OSType selector, SInt32 value)
{
    answers()[selector] = value;
}

void HostForgetGestaltAnswer(OSType selector)
{
    answers().erase(selector);
}

void HostResetGestaltAnswers()
{
    answers() = standardAnswers();
}
