// The hover tip: one small window with a line of text shown just below the resting mouse. There
// is one tip for the whole program; it holds the dispatcher's event capture while shown, and goes
// when the mouse moves on, a click or key arrives, or a modal loop starts.
#pragma once

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
};
