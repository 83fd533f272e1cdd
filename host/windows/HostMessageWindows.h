// Message windows built in code: a modal window with a title strip, a text item (any ID) that
// wraps its text over several lines, and one to three push buttons along the bottom right, each
// sending its command when pressed. The first button is the default button (Return, Enter);
// a button with the command 'not!' is the cancel button (Escape, command-period). A program puts
// such windows in its nibs (HostNibs) under the names it loads them by.
#pragma once

#include "HostControls.h"

#include <string>
#include <vector>

struct HostMessageButton {
    std::string title;  // UTF-8
    uint32_t commandID;
};

struct HostMessageWindowSpec {
    std::string title;  // UTF-8, shown in the title strip
    int32_t textID = 100;
    std::vector<HostMessageButton> buttons; // default button first
};

// Makes the window hidden, centred on the main screen below the menu bar, with its text empty.
OSStatus HostCreateMessageWindow(const HostMessageWindowSpec& spec, WindowRef* outWindow);
