#include "FWEventDispatcher.h"

#include "FWPlatformUtils.h"

FWEventDispatcher* FWEventDispatcher::sAppEventDispatcher = nullptr;

FWEventDispatcher* FWEventDispatcher::Instance()
{
    if (sAppEventDispatcher == nullptr)
        sAppEventDispatcher = new FWEventDispatcher;
    return sAppEventDispatcher;
}

void FWEventDispatcher::Destroy()
{
    delete sAppEventDispatcher;
    sAppEventDispatcher = nullptr;
}

void FWEventDispatcher::WindowListReset()
{
    mMouseWindow = nullptr;
    mMouseView = nullptr;
    FWSetCursor(0);
}
