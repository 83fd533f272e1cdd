// The singleton that decides who receives each event. Here: the singleton itself and the reset
// of what it remembers about windows when the application's window list changes.
#pragma once

class FWView;
class FWWindow;

class FWEventDispatcher {
public:
    // The dispatcher; the first call makes a plain one unless a subclass has stored itself.
    static FWEventDispatcher* Instance();
    static void Destroy();

    virtual ~FWEventDispatcher() = default;

    // A window joined or left the list: forget the window and view under the mouse and show
    // the arrow cursor.
    virtual void WindowListReset();

    FWWindow* MouseWindow() const { return mMouseWindow; }
    FWView* MouseView() const { return mMouseView; }

protected:
    FWEventDispatcher() = default;
    static FWEventDispatcher* sAppEventDispatcher;

private:
    FWWindow* mMouseWindow = nullptr;
    FWView* mMouseView = nullptr;
};
