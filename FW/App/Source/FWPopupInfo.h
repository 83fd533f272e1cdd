// The hover tip: one small window with a line of text shown just below the resting mouse. There
// is one tip for the whole program; it holds the dispatcher's event capture while shown, and goes
// when the mouse moves on, a click or key arrives, or a modal loop starts.
#pragma once

class FWEventHandler;
class FWRect;
class FWString;
class FWWindow;

class FWPopupInfo {
public:
    virtual ~FWPopupInfo();

    // Opens the tip with the text (replacing any tip shown), unless a foreign window is open.
    static void Show(const FWString& text);
    // Closes the tip if one is shown.
    static void Hide();
    // The tip window, or null.
    static FWWindow* Window();

private:
    friend class InfoWindow;

    void open_window(const FWString& text);
    // The tip's global rectangle for the text, below the mouse and kept on its monitor.
    static void calc_window_rect(const FWString& text, FWRect& rect);
    void close_window();
    // The tip window is being deleted by someone else (the application deletes the windows still
    // listed when it goes): forget it, and give the capture back when it still holds it.
    void window_gone(FWWindow* window);

    FWWindow* mWindow = nullptr;
    // Who held the event capture before the tip took it.
    FWEventHandler* mPreviousCapture = nullptr;
};
