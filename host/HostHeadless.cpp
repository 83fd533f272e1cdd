// Injected input for the headless back end: a bounded list taken in one input at a time.
#include "HostHeadless.h"

#include "HostClock.h"

#include <deque>

namespace {

std::deque<HostInputEvent>& pending()
{
    static auto* sPending = new std::deque<HostInputEvent>;
    return *sPending;
}

bool inject(HostInputEvent::Kind kind, Point where, EventModifiers modifiers, uint8_t keyCode = 0, uint8_t charCode = 0)
{
    if (pending().size() >= kHostInjectLimit)
        return false;
    HostInputEvent input;
    input.kind = kind;
    input.where = where;
    input.modifiers = modifiers;
    input.keyCode = uint8_t(keyCode & 0x7F);
    input.charCode = charCode;
    input.when = TickCount();
    pending().push_back(input);
    return true;
}

} // namespace

bool HostInjectMouseMove(Point where)
{
    return inject(HostInputEvent::Kind::MouseMove, where, 0);
}

bool HostInjectMouseDown(Point where, EventModifiers modifiers)
{
    return inject(HostInputEvent::Kind::MouseDown, where, modifiers);
}

bool HostInjectMouseUp(Point where, EventModifiers modifiers)
{
    return inject(HostInputEvent::Kind::MouseUp, where, modifiers);
}

bool HostInjectClick(Point where, EventModifiers modifiers)
{
    if (pending().size() + 2 > kHostInjectLimit)
        return false;
    return HostInjectMouseDown(where, modifiers) && HostInjectMouseUp(where, modifiers);
}

bool HostInjectKeyDown(uint8_t keyCode, uint8_t charCode, EventModifiers modifiers)
{
    return inject(HostInputEvent::Kind::KeyDown, Point{0, 0}, modifiers, keyCode, charCode);
}

bool HostInjectKeyUp(uint8_t keyCode, uint8_t charCode, EventModifiers modifiers)
{
    return inject(HostInputEvent::Kind::KeyUp, Point{0, 0}, modifiers, keyCode, charCode);
}

bool HostInjectAutoKey(uint8_t keyCode, uint8_t charCode, EventModifiers modifiers)
{
    return inject(HostInputEvent::Kind::AutoKey, Point{0, 0}, modifiers, keyCode, charCode);
}

bool HostInjectKey(uint8_t keyCode, uint8_t charCode, EventModifiers modifiers)
{
    if (pending().size() + 2 > kHostInjectLimit)
        return false;
    return HostInjectKeyDown(keyCode, charCode, modifiers) && HostInjectKeyUp(keyCode, charCode, modifiers);
}

bool HostInjectModifiers(EventModifiers modifiers)
{
    return inject(HostInputEvent::Kind::Modifiers, Point{0, 0}, modifiers);
}

bool HostInjectSuspend()
{
    return inject(HostInputEvent::Kind::Suspend, Point{0, 0}, 0);
}

bool HostInjectResume()
{
    return inject(HostInputEvent::Kind::Resume, Point{0, 0}, 0);
}

void HostInjectQuit()
{
    HostPostQuit();
}

size_t HostPendingInjectedCount()
{
    return pending().size();
}

bool HostTakeInjectedInput()
{
    if (pending().empty())
        return false;
    HostInputEvent input = pending().front();
    pending().pop_front();
    HostDeliverInput(input);
    return true;
}

void HostDiscardInjected()
{
    pending().clear();
}
