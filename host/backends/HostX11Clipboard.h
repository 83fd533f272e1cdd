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
// is no display or no owner, when the owner stops answering (about a second of silence ends the
// read) and on an X error on the reader's connection. The read is bounded in time and size: a
// text longer than the bound is cut, an image larger is left out. duringWait (may be null) is
// called at least every few hundredths of a second while the owner is awaited.
bool HostX11ReadClipboard(HostX11ClipboardContents& contents, void (*duringWait)());
