// Event loops run by the host: the application event loop and the application-modal loop of a
// window. A modal loop takes the events of the event wait and hands them to the window's own
// handling (HostSetModalHooks), else to its controls (HostControls); clicks outside the window
// are refused. Other windows' update events are answered by drawing their controls.
//
// Headless runs answer without a user. Each modal loop first consumes an answer preset for it:
// by the window's own hooks (the open dialog's answers), else from the queue of preset answers
// (HostModalPresetAnswer, or the environment variable FW_HOST_MODAL_ANSWERS: a comma-separated
// list of "ok", "cancel" and "alternative", one per loop in order), which press the window's
// default, cancel or alternative button. Without a preset, injected input drives the loop; once none is left and the event wait
// has nothing more, the loop answers as an absent user would (the hooks' choice, else the default
// button, else the cancel button, else it just ends).
//
// Every modal loop is recorded: the window's title and the texts it shows (HostModalShownLog). A
// program whose environment names a file in FW_HOST_LOG has each record appended to it as one
// line in UTF-8, the title and then each text, separated by tabs, and once the loop has ended and
// done what its answer asked, "closed" and the title. The file dialogs write their own lines:
// "nav-folder" and "nav-entry" for what they list, "nav-refused" and "nav-replace" for what they
// said, and "nav-answer" with "open", "save" or "cancel" and the paths chosen.
//
// A 'quit' Apple event that nobody handles ends every modal loop from then on as if cancelled,
// and the application event loop, so the program can finish.
#pragma once

#include "HostEvents.h"
#include "HostWindows.h"

#include <string>
#include <vector>

// Runs the modal loop for the window until QuitAppModalLoopForWindow; errInvalidWindowRef for a
// window that is not live. The loop also ends when the window is disposed.
OSStatus RunAppModalLoopForWindow(WindowRef window);
OSStatus QuitAppModalLoopForWindow(WindowRef window);

// Runs the application's event loop until QuitApplicationEventLoop.
void RunApplicationEventLoop();
void QuitApplicationEventLoop();

// --- Host interface -----------------------------------------------------------------------

// A window's own part in its modal loop.
struct HostModalHooks {
    // The window's handling of an event; true when it took the event.
    bool (*handleEvent)(WindowRef window, const EventRecord& event, void* context) = nullptr;
    // Headless, at the start of the loop: applies the window's own preset answer; true when one
    // was applied (the loop then goes on until the answer ends it).
    bool (*applyPreset)(WindowRef window, void* context) = nullptr;
    // Headless, when nothing is left to do: answers as an absent user would.
    void (*unattended)(WindowRef window, void* context) = nullptr;
    // What the loop records of the window: its texts (null: the texts of its static texts).
    std::vector<std::string> (*shownTexts)(WindowRef window, void* context) = nullptr;
    void* context = nullptr;
};
// Installs the hooks of a window (they go with the window).
void HostSetModalHooks(WindowRef window, const HostModalHooks& hooks);

// The answers presets give: press the default button, the cancel button, or the alternative
// button (the first button, in the order made, that is neither of the other two).
enum class HostModalAnswer : uint8_t { kDefault, kCancel, kAlternative };
void HostModalPresetAnswer(HostModalAnswer answer);
void HostModalClearPresetAnswers();

// Modal loops the framework runs itself over the event wait (its modal dialogs) answer through
// the same presets and log. HostModalRecord records what such a window shows (title, texts) as a
// host loop records its window, HostModalRecordClosed the end of its loop. HostModalTakePresetAnswer
// hands out the next preset answer (the environment's after those queued); false when none is
// left. HostModalQuitRequested: a 'quit' nobody handled has arrived, so every modal loop is to end
// as if cancelled.
void HostModalRecord(const std::string& title, const std::vector<std::string>& texts);
void HostModalRecordClosed(const std::string& title);
bool HostModalTakePresetAnswer(HostModalAnswer* answer);
bool HostModalQuitRequested();

// Whether the program is headless (answers come from presets and injected input).
bool HostIsHeadless();
// Appends a line to the FW_HOST_LOG file, when one is named.
void HostLogLine(const std::string& line);

struct HostModalShown {
    std::string title;
    std::vector<std::string> texts;
};
const std::vector<HostModalShown>& HostModalShownLog();
// Test interface: forgets the log, the preset answers and a pending quit.
void HostResetModalLoops();
