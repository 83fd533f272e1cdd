// A shown framework window on a clean headless desktop for control tests, with helpers that
// lay out a click the way a user makes it (press, moves, release) in window coordinates.
#pragma once

#include "FWEvent.h"
#include "FWWindow.h"
#include "HostDesktopScope.h"

#include <initializer_list>
#include <string>
#include <vector>

class ControlTestWindow {
public:
    // Content 300 x 200 at global (103, 125).
    ControlTestWindow();
    ~ControlTestWindow();

    FWWindow& Window() { return *mWindow; }
    // Adds the view below the root.
    void Add(FWView* view);
    // Adds a plain view with the id and rectangle below the root.
    FWView* AddPlain(int32_t id, const FWRect& rect = FWRect());
    // Width of the text in the window's font.
    int32_t TextWidth(const char* text);

    // Injects a press at the point, then moves through the points, then the release at the
    // last; the press is taken at once, as the event loop takes it before a control sees it.
    // Answers the press as an event in window coordinates.
    FWEvent Click(FWPoint at, std::initializer_list<FWPoint> moves = {});
    static FWPoint ToGlobal(FWWindow& window, FWPoint local);
    // Draws the window's views as an update does, then composites the screen.
    void Update();
    // The colour (without alpha) the screen shows at a point of the window's content.
    uint32_t ScreenRgb(FWPoint local);

private:
    HostDesktopScope mDesktop;
    FWWindow* mWindow;
};

// What the event dispatcher does for an update of any window: the frame, then the window's own
// drawing, in the platform update; then the screen is composited.
void UpdateWindowAsDispatcher(FWWindow& window);

// Records the interface actions and events a window's views report.
class InterfaceLog : public FWEventHandler {
public:
    bool InterfaceAction(FWView* view, const ActionType& action) override;
    bool InterfaceEvent(FWView* view) override;
    std::vector<std::string> mEntries;
};

// A view's stored record, and the record of its FWView level alone (both written in one pass
// each, so both hold the view's dependency part).
std::vector<uint8_t> StoredRecord(FWView& view);
std::vector<uint8_t> StoredViewLevel(FWView& view);
// A new view made by the factory of the class name and read from the bytes; null without one.
FWView* ReadStoredRecord(const char* className, const std::vector<uint8_t>& bytes);
