// The file dialogs' event hook: a function the application installs to see events while a file
// dialog runs. The dialogs themselves do not call it.
#pragma once

struct EventRecord;

namespace Corvel {

class FD_MacUtil {
public:
    using EventFunction = bool (*)(EventRecord*);

    // Installs function and returns the one it replaces (null at first).
    static EventFunction SetEventFunction(EventFunction function);
    static EventFunction GetEventFunction() { return sEventFunction; }

private:
    static EventFunction sEventFunction;
};

} // namespace Corvel
