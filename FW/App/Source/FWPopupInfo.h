// The hover tip: one small window with a line of text shown just below the resting mouse.
#pragma once

class FWString;

class FWPopupInfo {
public:
    virtual ~FWPopupInfo() = default;

    // Opens the tip with text.
    static void Show(const FWString& text);
    // Closes the tip if one is shown.
    static void Hide();
};
