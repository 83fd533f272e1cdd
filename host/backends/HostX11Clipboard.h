// Inside the host only: the X clipboard (the CLIPBOARD selection) read through X11 selections, for
// the SDL back end, whose own clipboard carries text only. Kept apart because the X headers name
// types the host names too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct HostX11ClipboardContents {
    bool hasText = false;
    std::string utf8;         // offered as UTF8_STRING or text/plain;charset=utf-8
    bool hasTIFF = false;
    std::vector<uint8_t> tiff; // offered as image/tiff
};

// Reads what the owner of the clipboard on the display named by DISPLAY offers; false when there
// is no display or no owner. Each transfer is bounded in time and size: a text longer than the
// bound is cut, an image larger is left out.
bool HostX11ReadClipboard(HostX11ClipboardContents& contents);
