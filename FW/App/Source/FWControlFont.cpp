#include "FWControlFont.h"

#include "FWApp.h"
#include "FWFont.h"
#include "FWView.h"
#include "FWWindow.h"

const FWFont& FWControlFont(const FWView& view)
{
    static const FWFont sDefault;
    if (view.GetWindow() != nullptr)
        return view.GetWindow()->Font();
    if (FWApp::Exists())
        if (FWWindow* front = FWApp::Instance()->GetFrontWindow())
            return front->Font();
    return sDefault;
}
