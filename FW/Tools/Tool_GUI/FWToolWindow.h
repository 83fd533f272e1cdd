// The floating window titled "Tools" that shows every folder of tools, at the left edge of the
// main screen. Closing it only hides it; its zoom box switches between large and small icons
// and moves the windows standing beside it.
#pragma once

#include "FWWindow.h"

class FWToolFolder;
class FWToolWindowView;

class FWToolWindow : public FWWindow {
public:
    // The tool window, made on the first call.
    static FWToolWindow* Instance();
    ~FWToolWindow() override;

    FWToolWindowView* GetView() const { return mView; }
    void AddFolder(FWToolFolder& folder);

    bool AcceptsKeyEvents() const override { return mAcceptsKeyEvents; }
    void SetAcceptsKeyEvents(bool accepts) { mAcceptsKeyEvents = accepts; }
    // Hides the window and refuses to close.
    bool CloseEvent() override;
    // The view follows the new content rect.
    void SetSize(int32_t width, int32_t height) override;
    // Switches icon size, 40 pixels narrower for small icons, and moves the windows beside it.
    bool ZoomEvent() override;
    // Scrolls the folders.
    bool WheelEvent(FWPoint where, int16_t notches) override;

private:
    FWToolWindow();

    FWToolWindowView* mView = nullptr;
    bool mAcceptsKeyEvents = true;

    static FWToolWindow* sInstance;
};
