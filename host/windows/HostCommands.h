// Event targets, event handlers and command events. A target (the application, a window, a
// control) keeps the handlers installed on it, newest first, and hands an event on to its parent
// target (control -> enclosing control -> window -> application) when none of its handlers
// takes it. Commands are sent as command-process events whose direct object is the command.
#pragma once

#include "HostAppleEvents.h"
#include "HostCoreFoundation.h"
#include "HostFiles.h"
#include "HostTypes.h"
#include "HostWindows.h"

#include <cstdint>

struct HostControl;
using ControlRef = HostControl*;

struct HostEventTarget;
using EventTargetRef = HostEventTarget*;
struct HostEvent;
using EventRef = HostEvent*;
struct HostEventHandler;
using EventHandlerRef = HostEventHandler*;
struct HostEventHandlerCall;
using EventHandlerCallRef = HostEventHandlerCall*;

using EventParamName = OSType;
using EventParamType = OSType;
using EventTime = double;
using EventAttributes = uint32_t;
using ItemCount = uint32_t;

// A handler answers noErr when it took the event, eventNotHandledErr to let it go on.
using EventHandlerProcPtr = OSStatus (*)(EventHandlerCallRef nextHandler, EventRef event, void* userData);
using EventHandlerUPP = EventHandlerProcPtr;

struct EventTypeSpec {
    uint32_t eventClass;
    uint32_t eventKind;
};

enum : OSStatus {
    eventAlreadyPostedErr = -9860,
    eventTargetBusyErr = -9861,
    eventClassInvalidErr = -9862,
    eventParameterNotFoundErr = -9870,
    eventInternalErr = -9868,
    eventHandlerAlreadyInstalledErr = -9872,
    eventNotHandledErr = -9874,
};

// Event classes and kinds.
constexpr uint32_t kEventClassCommand = FOUR_CHAR_CODE("cmds");
constexpr uint32_t kEventClassControl = FOUR_CHAR_CODE("cntl");
constexpr uint32_t kEventClassTextField = FOUR_CHAR_CODE("txfd");
enum : uint32_t {
    kEventCommandProcess = 1,
    kEventCommandUpdateStatus = 2,
    kEventTextDidChange = 3,
};

// Parameters and their types.
constexpr EventParamName kEventParamDirectObject = FOUR_CHAR_CODE("----");
constexpr EventParamType typeHICommand = FOUR_CHAR_CODE("hcmd");
constexpr EventParamType typeControlRef = FOUR_CHAR_CODE("ctrl");
constexpr EventParamType typeWindowRef = FOUR_CHAR_CODE("wind");

// Commands of the standard buttons and menus.
constexpr uint32_t kHICommandOK = FOUR_CHAR_CODE("ok  ");
constexpr uint32_t kHICommandCancel = FOUR_CHAR_CODE("not!");
constexpr uint32_t kHICommandNew = FOUR_CHAR_CODE("new ");
constexpr uint32_t kHICommandOpen = FOUR_CHAR_CODE("open");
constexpr uint32_t kHICommandQuit = FOUR_CHAR_CODE("quit");

// Where a command came from.
enum : uint32_t {
    kHICommandFromMenu = 1 << 0,
    kHICommandFromControl = 1 << 1,
    kHICommandFromWindow = 1 << 2,
};

struct HICommand {
    uint32_t attributes;
    uint32_t commandID;
    struct {
        void* menuRef; // the menu of a menu command, else null
        uint16_t menuItemIndex;
    } menu;
};

struct HICommandExtended {
    uint32_t attributes;
    uint32_t commandID;
    union {
        ControlRef control;
        WindowRef window;
        struct {
            void* menuRef;
            uint16_t menuItemIndex;
        } menu;
    } source;
};

// --- Handlers -------------------------------------------------------------------------------

EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr proc);
void DisposeEventHandlerUPP(EventHandlerUPP upp);

// Installs handler on target for the event types, in front of the handlers already there.
// outRef may be null (the handler then lives as long as the target). paramErr for a null
// target or handler.
OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, ItemCount numTypes,
                             const EventTypeSpec* list, void* userData, EventHandlerRef* outRef);
// Removes the handler; safe while it is running (it is not called again).
OSStatus RemoveEventHandler(EventHandlerRef handlerRef);
OSStatus AddEventTypesToHandler(EventHandlerRef handlerRef, ItemCount numTypes, const EventTypeSpec* list);
OSStatus RemoveEventTypesFromHandler(EventHandlerRef handlerRef, ItemCount numTypes, const EventTypeSpec* list);

// Hands the event to the handlers after the one running (and then to the parent targets).
OSStatus CallNextEventHandler(EventHandlerCallRef inCallRef, EventRef event);

// --- Targets --------------------------------------------------------------------------------

EventTargetRef GetApplicationEventTarget();
// The target a command without a source goes to: the active window's (whose parent is the
// application's), else the application's.
EventTargetRef GetUserFocusEventTarget();
// The window's and the control's own targets, made on first use and gone with the window or
// control; null for a window or control that is not live.
EventTargetRef GetWindowEventTarget(WindowRef window);
EventTargetRef GetControlEventTarget(ControlRef control);

// --- Events ---------------------------------------------------------------------------------

// A new event holding one reference.
OSStatus CreateEvent(CFAllocatorRef allocator, uint32_t eventClass, uint32_t eventKind, EventTime when,
                     EventAttributes flags, EventRef* outEvent);
EventRef RetainEvent(EventRef event);
void ReleaseEvent(EventRef event);
uint32_t GetEventClass(EventRef event);
uint32_t GetEventKind(EventRef event);
OSStatus SetEventParameter(EventRef event, EventParamName name, EventParamType type, ByteCount size,
                           const void* data);
// Copies at most bufferSize bytes of the parameter; its type must be desiredType (or
// typeWildCard '****'). eventParameterNotFoundErr when there is no such parameter.
OSStatus GetEventParameter(EventRef event, EventParamName name, EventParamType desiredType,
                           EventParamType* actualType, ByteCount bufferSize, ByteCount* actualSize,
                           void* outData);

// Hands the event to the target's handlers and on to its parents; eventNotHandledErr when none
// took it.
OSStatus SendEventToEventTarget(EventRef event, EventTargetRef target);

// Sends a command-process event for the command to the user-focus target.
OSStatus ProcessHICommand(const HICommand* command);
// Sends a command-process event for commandID, coming from control, to the control's target
// (and so on to its window and the application).
OSStatus HostSendControlCommand(ControlRef control, uint32_t commandID);

// --- Host interface: targets of the host's own objects --------------------------------------

// A new target whose events go on to parent (null: nowhere). Disposing of a target removes its
// handlers; an event being handled on it finishes safely.
EventTargetRef HostNewEventTarget(EventTargetRef parent);
void HostDisposeEventTarget(EventTargetRef target);
void HostSetEventTargetParent(EventTargetRef target, EventTargetRef parent);
// Test interface: removes every handler of the application target.
void HostResetApplicationEventTarget();
