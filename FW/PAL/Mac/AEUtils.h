// The application's handlers of the core Apple events: open application, open documents,
// print documents, quit and application died. Each handler checks that every parameter of the
// event was read and then hands the event's content to the callback given for it.
#pragma once

#include "HostAppleEvents.h"
#include "HostFiles.h"

#include <cstdint>

using AEOpenAppProc = OSErr (*)();
// Called once per file, with its 0-based index and the number of files.
using AEOpenDocsProc = OSErr (*)(const FSSpec& file, int32_t index, int32_t count);
using AEPrintDocsProc = AEOpenDocsProc;
using AEQuitProc = OSErr (*)();
using AEAppDiedProc = OSErr (*)(int32_t errorNumber, const ProcessSerialNumber& process);

// Installs the five handlers in the order open application, open documents, print documents,
// quit, application died, keeping each callback (null: none) once its handler is in place.
// Stops at the first installation that fails and answers its result.
OSErr AE_InitAEUtils(AEOpenAppProc openApp, AEOpenDocsProc openDocs, AEPrintDocsProc printDocs,
                     AEQuitProc quit, AEAppDiedProc appDied);

// An application handler for the event.
OSErr AE_InstallHandler(AEEventClass eventClass, AEEventID eventID, AEEventHandlerUPP handler,
                        SRefCon refCon);

// noErr when the handler read every parameter, errAEParamMissed when one was left unread,
// any other failure as it came.
OSErr AE_CheckForRequiredParams(const AppleEvent* event);

// The handlers.
OSErr AE_HandleOpenApplication(const AppleEvent* event, AppleEvent* reply, SRefCon refCon);
OSErr AE_HandleOpenDocuments(const AppleEvent* event, AppleEvent* reply, SRefCon refCon);
OSErr AE_HandlePrintDocuments(const AppleEvent* event, AppleEvent* reply, SRefCon refCon);
OSErr AE_HandleQuitApplication(const AppleEvent* event, AppleEvent* reply, SRefCon refCon);
OSErr AE_HandleApplicationDied(const AppleEvent* event, AppleEvent* reply, SRefCon refCon);
