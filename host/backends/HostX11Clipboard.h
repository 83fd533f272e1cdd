// Inside the host only: the X clipboard (the CLIPBOARD selection) read through X11 selections, for
// the SDL back end, whose own clipboard carries text only. Kept apart because the X headers name
// types the host names too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct HostX11ClipboardContents {
    bool hasText = false;
    std::string utf8;          // offered as UTF8_STRING or text/plain;charset=utf-8
    bool hasTIFF = false;
    std::vector<uint8_t> tiff; // offered as image/tiff
    bool hasPNG = false;
    std::vector<uint8_t> png;  // offered as image/png, asked for only when no TIFF is offered
};

// Reads what the owner of the clipboard on the display named by DISPLAY offers; false when there
// is no display or no owner, when the owner stops answering (about a second of silence ends the
// read) and on an X error on the reader's connection. The read is bounded in size (a text longer
// than the bound is cut, an image larger is left out), not in time: an owner that keeps sending is
// read to the end, however long it takes. duringWait (may be null) is called at least every
// few hundredths of a second while the owner is awaited.
bool HostX11ReadClipboard(HostX11ClipboardContents& contents, void (*duringWait)());

// Whether the clipboard may have changed since the last call: true at the first call (which starts
// watching the display's clipboard owners through XFixes), then only when a program took the
// clipboard or its owner went away meanwhile, which it also notes to the pasteboard as a new copy
// (HostClipboardNoteNewCopy). Always true on a server without XFixes, and nothing is noted there:
// the pasteboard then tells copies apart by their bytes. Costs one round trip to the server,
// nothing of the owner.
bool HostX11ClipboardChanged();
// Stops watching; the next HostX11ClipboardChanged answers true. Called when the display closes.
void HostX11StopWatchingClipboard();
