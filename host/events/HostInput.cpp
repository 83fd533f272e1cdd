// Mouse and key state held by the host until a display back end or a test changes it.
#include "HostInput.h"

#include "HostEvents.h"

#include <cstring>

namespace {

bool sButtonDown = false;
Point sGlobalMouse = {0, 0};
KeyMap sKeys = {};
bool sSecureInput = false;

} // namespace

Boolean Button()
{
    HostPumpHeldInput();
    return sButtonDown;
}

Boolean WaitMouseUp()
{
    HostPumpHeldInput();
    if (sButtonDown && !HostMouseEventQueued())
        return true;
    HostTakeQueuedMouseUp();
    return false;
}

bool HostButtonState()
{
    return sButtonDown;
}

void GetGlobalMouse(Point* globalMouse)
{
    if (globalMouse != nullptr)
        *globalMouse = sGlobalMouse;
}

void GetKeys(KeyMap keys)
{
    std::memcpy(keys, sKeys, sizeof(KeyMap));
}

Boolean IsSecureEventInputEnabled()
{
    return sSecureInput;
}

OSStatus DisableSecureEventInput()
{
    sSecureInput = false;
    return noErr;
}

void HostSetMouseButton(bool down)
{
    sButtonDown = down;
}

void HostSetGlobalMouse(Point globalMouse)
{
    sGlobalMouse = globalMouse;
}

void HostSetKeyDown(uint16_t keyCode, bool down)
{
    if (keyCode >= 128)
        return;
    uint8_t bit = uint8_t(1u << (keyCode % 8));
    if (down)
        sKeys[keyCode / 8] |= bit;
    else
        sKeys[keyCode / 8] &= uint8_t(~bit);
}

void HostReleaseAllKeys()
{
    std::memset(sKeys, 0, sizeof(KeyMap));
}

void HostSetSecureEventInput(bool enabled)
{
    sSecureInput = enabled;
}

void HostResetInput()
{
    sButtonDown = false;
    sGlobalMouse = {0, 0};
    HostReleaseAllKeys();
    sSecureInput = false;
}
