// Inside the host only: the X clipboard (the CLIPBOARD selection) read through X11 selections, for
// the SDL back end, whose own clipboard carries text only. Kept apart because the X headers name
// types the host names too. The reading runs on a thread with connections of its own, so that an
// owner that sends slowly, stops halfway or never answers holds nobody: the program goes on, and
// takes each part of a copy (its text, its image) as it comes.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

// A copy another program made, as far as it has come.
struct HostX11ClipboardCopy {
    enum class Part : uint8_t {
        kComing, // asked for, or not yet known whether it is offered
        kHere,
        kAbsent, // not offered, or refused: silent owner, damaged transfer, larger than the bound
    };
    using Bytes = std::shared_ptr<const std::vector<uint8_t>>;

    uint64_t serial = 0;  // moves with every read of the clipboard
    bool newCopy = false; // the read follows a copy the display told of (never without XFixes)
    bool owned = false;   // a program owns the clipboard; when false, nothing is offered
    Part text = Part::kComing;
    Bytes utf8;           // offered as UTF8_STRING or text/plain;charset=utf-8
    Part image = Part::kComing;
    bool png = false;     // image/png: the owner listed it before image/tiff, or its TIFF failed
    Bytes imageBytes;
};

class HostX11ClipboardReader {
public:
    // Starts reading the clipboard of the display DISPLAY names: at once, and again whenever
    // another program copies (the XFixes extension tells of each new owner). wake is called on the
    // reading thread whenever the copy changed; it must be safe to call from any thread. A part
    // whose owner sends nothing for the silence is given up (a toolkit may take seconds to make a
    // large image before it answers).
    explicit HostX11ClipboardReader(void (*wake)(), std::chrono::milliseconds silence = std::chrono::seconds(30));
    // Ends the reading at once, whatever the owner is doing, and waits for its thread to end.
    ~HostX11ClipboardReader();
    HostX11ClipboardReader(const HostX11ClipboardReader&) = delete;
    HostX11ClipboardReader& operator=(const HostX11ClipboardReader&) = delete;

    // The copy as far as it has come, when it changed since the last call; false otherwise. Where
    // nothing tells of new copies (no XFixes), a call that finds nothing new and no read running
    // starts a new read, which reports when it is whole.
    bool Take(HostX11ClipboardCopy& copy);
    // Reads the clipboard again, as the same copy (no new copy), for parts whose bytes the program
    // dropped: the owner is asked again in the background and each part published as it comes.
    void ReadAgain();

    struct State;

private:
    std::unique_ptr<State> mState;
};
