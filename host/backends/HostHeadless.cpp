// Injected input for the headless back end: a bounded list taken in one input at a time.
#include "HostHeadless.h"

#include "HostClock.h"
#include "HostTimers.h"

#include <deque>

namespace {

// An input, or a step of the manual clock (advance above 0) taken in its turn.
struct PendingInput {
    HostInputEvent input;
    uint64_t advance = 0;
};

std::deque<PendingInput>& pending()
{
    static auto* sPending = new std::deque<PendingInput>;
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
    pending().push_back(PendingInput{input, 0});
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

bool HostInjectWheel(Point where, int16_t notches)
{
    if (!inject(HostInputEvent::Kind::Wheel, where, 0))
        return false;
    pending().back().input.wheelNotches = notches;
    return true;
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

bool HostInjectClockAdvance(uint64_t nanoseconds)
{
    if (pending().size() >= kHostInjectLimit || nanoseconds == 0)
        return false;
    pending().push_back(PendingInput{HostInputEvent(), nanoseconds});
    return true;
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
    const PendingInput next = pending().front();
    pending().pop_front();
    if (next.advance != 0) {
        if (HostClockIsManual()) {
            HostAdvanceManualClock(next.advance);
            HostFireDueTimers();
        }
        return true;
    }
    HostDeliverInput(next.input);
    return true;
}

void HostDiscardInjected()
{
    pending().clear();
}
