// Targets hold shared handler records, so a handler removed (or a target disposed) while an event
// is being dispatched is skipped instead of freed under the dispatcher's feet.
#include "HostCommands.h"

#include "HostAppleEvents.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

struct HostEventHandler {
    EventHandlerUPP proc = nullptr;
    void* userData = nullptr;
    std::vector<EventTypeSpec> types;
    HostEventTarget* target = nullptr; // null once removed

    bool Takes(uint32_t eventClass, uint32_t eventKind) const
    {
        return std::any_of(types.begin(), types.end(), [&](const EventTypeSpec& t) {
            return t.eventClass == eventClass && t.eventKind == eventKind;
        });
    }
};

struct HostEventTarget {
    std::vector<std::shared_ptr<HostEventHandler>> handlers; // newest first
    HostEventTarget* parent = nullptr;
    bool disposed = false;
};

struct HostEvent {
    int32_t references = 1;
    uint32_t eventClass = 0;
    uint32_t eventKind = 0;
    EventTime when = 0;
    struct Parameter {
        EventParamType type;
        std::vector<uint8_t> bytes;
    };
    std::map<EventParamName, Parameter> parameters;
};

// One dispatch in progress: the handlers still to ask, in order, over the target chain.
struct HostEventHandlerCall {
    std::vector<std::shared_ptr<HostEventHandler>> pending;
    size_t next = 0;
};

namespace {

// Every live target, by address: the owner of each target record.
std::map<HostEventTarget*, std::unique_ptr<HostEventTarget>>& targets()
{
    static auto* table = new std::map<HostEventTarget*, std::unique_ptr<HostEventTarget>>;
    return *table;
}

// Targets disposed while a dispatch may still hold them; freed when no dispatch runs.
std::vector<std::unique_ptr<HostEventTarget>>& retiredTargets()
{
    static auto* list = new std::vector<std::unique_ptr<HostEventTarget>>;
    return *list;
}

int sDispatchDepth = 0;

std::map<WindowRef, EventTargetRef>& windowTargets()
{
    static auto* table = new std::map<WindowRef, EventTargetRef>;
    return *table;
}

void forgetWindowTarget(WindowRef window)
{
    auto found = windowTargets().find(window);
    if (found == windowTargets().end())
        return;
    HostDisposeEventTarget(found->second);
    windowTargets().erase(found);
}

bool isLive(HostEventTarget* target)
{
    return target != nullptr && targets().count(target) != 0 && !target->disposed;
}

HostEventTarget* applicationTarget()
{
    static HostEventTarget* target = HostNewEventTarget(nullptr);
    return target;
}

OSStatus runChain(HostEventHandlerCall& call, EventRef event)
{
    while (call.next < call.pending.size()) {
        std::shared_ptr<HostEventHandler> handler = call.pending[call.next++];
        if (handler->target == nullptr || handler->proc == nullptr)
            continue;
        OSStatus result = handler->proc(&call, event, handler->userData);
        if (result != eventNotHandledErr)
            return result;
    }
    return eventNotHandledErr;
}

} // namespace

EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr proc)
{
    return proc;
}

void DisposeEventHandlerUPP(EventHandlerUPP)
{
}

OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, ItemCount numTypes,
                             const EventTypeSpec* list, void* userData, EventHandlerRef* outRef)
{
    if (outRef != nullptr)
        *outRef = nullptr;
    if (!isLive(target) || handler == nullptr || (numTypes > 0 && list == nullptr))
        return paramErr;
    auto record = std::make_shared<HostEventHandler>();
    record->proc = handler;
    record->userData = userData;
    record->types.assign(list, list + numTypes);
    record->target = target;
    target->handlers.insert(target->handlers.begin(), record);
    if (outRef != nullptr)
        *outRef = record.get();
    return noErr;
}

OSStatus RemoveEventHandler(EventHandlerRef handlerRef)
{
    if (handlerRef == nullptr || handlerRef->target == nullptr)
        return paramErr;
    auto& handlers = handlerRef->target->handlers;
    auto found = std::find_if(handlers.begin(), handlers.end(),
                              [&](const std::shared_ptr<HostEventHandler>& h) { return h.get() == handlerRef; });
    handlerRef->target = nullptr;
    if (found != handlers.end())
        handlers.erase(found); // may free the record: nothing may touch handlerRef below
    return noErr;
}

OSStatus AddEventTypesToHandler(EventHandlerRef handlerRef, ItemCount numTypes, const EventTypeSpec* list)
{
    if (handlerRef == nullptr || handlerRef->target == nullptr || (numTypes > 0 && list == nullptr))
        return paramErr;
    for (ItemCount i = 0; i < numTypes; ++i)
        if (!handlerRef->Takes(list[i].eventClass, list[i].eventKind))
            handlerRef->types.push_back(list[i]);
    return noErr;
}

OSStatus RemoveEventTypesFromHandler(EventHandlerRef handlerRef, ItemCount numTypes, const EventTypeSpec* list)
{
    if (handlerRef == nullptr || handlerRef->target == nullptr || (numTypes > 0 && list == nullptr))
        return paramErr;
    auto& types = handlerRef->types;
    for (ItemCount i = 0; i < numTypes; ++i)
        types.erase(std::remove_if(types.begin(), types.end(),
                                   [&](const EventTypeSpec& t) {
                                       return t.eventClass == list[i].eventClass && t.eventKind == list[i].eventKind;
                                   }),
                    types.end());
    return noErr;
}

OSStatus CallNextEventHandler(EventHandlerCallRef inCallRef, EventRef event)
{
    if (inCallRef == nullptr || event == nullptr)
        return paramErr;
    return runChain(*inCallRef, event);
}

EventTargetRef GetApplicationEventTarget()
{
    return applicationTarget();
}

EventTargetRef GetUserFocusEventTarget()
{
    WindowRef window = FrontNonFloatingWindow();
    EventTargetRef target = window != nullptr ? GetWindowEventTarget(window) : nullptr;
    return target != nullptr ? target : applicationTarget();
}

EventTargetRef GetWindowEventTarget(WindowRef window)
{
    if (!HostIsLiveWindow(window))
        return nullptr;
    auto found = windowTargets().find(window);
    if (found != windowTargets().end())
        return found->second;
    HostAddWindowGoneObserver(forgetWindowTarget);
    EventTargetRef target = HostNewEventTarget(applicationTarget());
    windowTargets()[window] = target;
    return target;
}

OSStatus CreateEvent(CFAllocatorRef, uint32_t eventClass, uint32_t eventKind, EventTime when, EventAttributes,
                     EventRef* outEvent)
{
    if (outEvent == nullptr)
        return paramErr;
    *outEvent = new HostEvent;
    (*outEvent)->eventClass = eventClass;
    (*outEvent)->eventKind = eventKind;
    (*outEvent)->when = when;
    return noErr;
}

EventRef RetainEvent(EventRef event)
{
    if (event != nullptr)
        ++event->references;
    return event;
}

void ReleaseEvent(EventRef event)
{
    if (event != nullptr && --event->references == 0)
        delete event;
}

uint32_t GetEventClass(EventRef event)
{
    return event != nullptr ? event->eventClass : 0;
}

uint32_t GetEventKind(EventRef event)
{
    return event != nullptr ? event->eventKind : 0;
}

OSStatus SetEventParameter(EventRef event, EventParamName name, EventParamType type, ByteCount size,
                           const void* data)
{
    if (event == nullptr || (size > 0 && data == nullptr))
        return paramErr;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    event->parameters[name] = HostEvent::Parameter{type, std::vector<uint8_t>(bytes, bytes + size)};
    return noErr;
}

OSStatus GetEventParameter(EventRef event, EventParamName name, EventParamType desiredType,
                           EventParamType* actualType, ByteCount bufferSize, ByteCount* actualSize,
                           void* outData)
{
    if (event == nullptr)
        return paramErr;
    auto found = event->parameters.find(name);
    if (found == event->parameters.end())
        return eventParameterNotFoundErr;
    const HostEvent::Parameter& parameter = found->second;
    if (desiredType != typeWildCard && desiredType != parameter.type)
        return errAECoercionFail;
    size_t n = std::min(size_t(bufferSize), parameter.bytes.size());
    if (n > 0 && outData == nullptr)
        return paramErr;
    if (n > 0)
        std::memcpy(outData, parameter.bytes.data(), n);
    if (actualType != nullptr)
        *actualType = parameter.type;
    if (actualSize != nullptr)
        *actualSize = ByteCount(parameter.bytes.size());
    return noErr;
}

OSStatus SendEventToEventTarget(EventRef event, EventTargetRef target)
{
    if (event == nullptr || !isLive(target))
        return paramErr;
    HostEventHandlerCall call;
    for (HostEventTarget* t = target; t != nullptr && isLive(t); t = t->parent)
        for (const auto& handler : t->handlers)
            if (handler->Takes(event->eventClass, event->eventKind))
                call.pending.push_back(handler);
    RetainEvent(event);
    ++sDispatchDepth;
    OSStatus result = runChain(call, event);
    if (--sDispatchDepth == 0)
        retiredTargets().clear();
    ReleaseEvent(event);
    return result;
}

namespace {

OSStatus sendCommand(const HICommandExtended& command, EventTargetRef target)
{
    EventRef event = nullptr;
    CreateEvent(kCFAllocatorDefault, kEventClassCommand, kEventCommandProcess, 0, 0, &event);
    SetEventParameter(event, kEventParamDirectObject, typeHICommand, sizeof command, &command);
    OSStatus result = SendEventToEventTarget(event, target);
    ReleaseEvent(event);
    return result;
}

} // namespace

OSStatus ProcessHICommand(const HICommand* command)
{
    if (command == nullptr)
        return paramErr;
    HICommandExtended extended{};
    extended.attributes = command->attributes;
    extended.commandID = command->commandID;
    extended.source.menu.menuRef = command->menu.menuRef;
    extended.source.menu.menuItemIndex = command->menu.menuItemIndex;
    return sendCommand(extended, GetUserFocusEventTarget());
}

OSStatus HostSendControlCommand(ControlRef control, uint32_t commandID)
{
    EventTargetRef target = GetControlEventTarget(control);
    if (target == nullptr)
        return paramErr;
    HICommandExtended command{};
    command.attributes = kHICommandFromControl;
    command.commandID = commandID;
    command.source.control = control;
    return sendCommand(command, target);
}

EventTargetRef HostNewEventTarget(EventTargetRef parent)
{
    auto target = std::make_unique<HostEventTarget>();
    target->parent = parent;
    HostEventTarget* ref = target.get();
    targets()[ref] = std::move(target);
    return ref;
}

void HostDisposeEventTarget(EventTargetRef target)
{
    auto found = targets().find(target);
    if (found == targets().end() || target == applicationTarget())
        return;
    for (auto& handler : target->handlers)
        handler->target = nullptr;
    target->handlers.clear();
    target->disposed = true;
    // Children keep no dangling parent.
    for (auto& [ref, other] : targets())
        if (other->parent == target)
            other->parent = nullptr;
    std::unique_ptr<HostEventTarget> owned = std::move(found->second);
    targets().erase(found);
    if (sDispatchDepth > 0)
        retiredTargets().push_back(std::move(owned));
}

void HostSetEventTargetParent(EventTargetRef target, EventTargetRef parent)
{
    if (isLive(target))
        target->parent = parent;
}

void HostResetApplicationEventTarget()
{
    HostEventTarget* app = applicationTarget();
    for (auto& handler : app->handlers)
        handler->target = nullptr;
    app->handlers.clear();
}
