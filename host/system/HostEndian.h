// Byte-order flippers for resource types. Resources are always handed over exactly as stored,
// so flippers are recorded when installed and never called.
#pragma once

#include "HostFiles.h"

using CoreEndianFlipProc = OSStatus (*)(OSType dataDomain, OSType dataType, SInt16 id, void* dataPtr,
                                        ByteCount dataSize, Boolean currentlyNative, void* refcon);

constexpr OSType kCoreEndianResourceManagerDomain = FOUR_CHAR_CODE("rsrc");

OSStatus CoreEndianInstallFlipper(OSType dataDomain, OSType dataType, CoreEndianFlipProc proc, void* refcon);

// The flipper installed for the type, or handlerNotFoundErr. proc and refcon may be null.
OSStatus CoreEndianGetFlipper(OSType dataDomain, OSType dataType, CoreEndianFlipProc* proc, void** refcon);
