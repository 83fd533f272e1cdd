// Resetting the host's windows, events and input between tests.
#include "HostDesktopScope.h"

#include "HostClock.h"
#include "HostCursors.h"
#include "HostEvents.h"
#include "HostHeadless.h"
#include "HostInput.h"
#include "HostScreen.h"

HostDesktopScope::HostDesktopScope(uint32_t ticks)
{
    Clean();
    HostSetManualTicks(ticks);
}

HostDesktopScope::~HostDesktopScope()
{
    Clean();
    HostUseSystemClock();
}

void HostDesktopScope::Clean()
{
    HostDisposeAllWindows();
    HostDiscardInjected();
    HostResetEvents();
    HostResetInput();
    HostResetCursor();
    HostSetMenuBarDrawer(nullptr);
    SetPort(nullptr);
}

WindowRef HostDesktopScope::MakeWindow(const Rect& bounds, uint32_t argb, WindowClass windowClass)
{
    WindowRef window = nullptr;
    if (CreateNewWindow(windowClass, 0, &bounds, &window) != noErr)
        return nullptr;
    Fill(window, argb);
    ShowWindow(window);
    return window;
}

void HostDesktopScope::Fill(WindowRef window, uint32_t argb)
{
    CGrafPtr port = GetWindowPort(window);
    if (port == nullptr)
        return;
    HostPixelMap& pixels = port->Pixels();
    for (int32_t y = 0; y < pixels.Height(); ++y)
        for (int32_t x = 0; x < pixels.Width(); ++x)
            pixels.Set(x, y, argb);
    port->NoteChanged(HostBox{0, 0, pixels.Width(), pixels.Height()});
}
