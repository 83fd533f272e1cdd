// Keys for a property dialog about to run: typing into its fields by their places in the tab
// order.
#pragma once

#include "FWApp.h"
#include "FWWindow.h"
#include "HostHeadless.h"
#include "PushButton.h"

#include <string>

// Types into the fields of a dialog about to run, by their positions in the tab order (the first
// is 0), going forward only. Reaching a field selects its text, so the typing replaces it.
class Typist {
public:
    void Type(int position, const std::string& text)
    {
        constexpr uint8_t kKeyTab = 48;
        constexpr EventModifiers kShift = 0x200;
        if (mAt < 0) {
            // The first field has the focus without a selection: go round to it.
            HostInjectKey(kKeyTab, 9, kShift);
            mAt = -1;
        }
        for (; mAt < position; ++mAt)
            HostInjectKey(kKeyTab, 9);
        for (char c : text)
            HostInjectKey(0, uint8_t(c));
    }

private:
    int mAt = -2;
};

// A click inside the OK button of the front window (a question Return would answer with Cancel).
inline void ClickFrontOK()
{
    FWWindow* front = FWApp::Instance()->GetFrontWindow();
    for (FWView* view = front->ViewMngr().GetViewTree()->FirstChild(); view != nullptr; view = view->NextPeer())
        if (dynamic_cast<OKButton*>(view) != nullptr) {
            FWPoint p(int16_t(view->GetRect().left + 8), int16_t(view->GetRect().top + 8));
            front->WindowToGlobal(&p);
            HostInjectClick(Point{p.v, p.h});
        }
}
