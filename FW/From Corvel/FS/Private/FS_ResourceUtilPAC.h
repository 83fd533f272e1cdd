// Platform half of FS_ResourceUtil: the host's Resource Manager and memory calls.
#pragma once

#include "FS_Locator.h"
#include "HostTypes.h"

#include <cstdint>

namespace Corvel {

class FS_ResourceUtilPAC {
public:
    static int32_t OpenResourceFile(const FS_Locator& locator, bool writable);
    static void CloseResourceFile(int32_t fileRef);
    static int32_t CurrentResourceFile();
    static void UseResourceFile(int32_t fileRef);
    static bool CreateResourceFork(const FS_Locator& locator);
    static int32_t ResError();

    static Handle GetResource(uint32_t type, int32_t id);
    static Handle GetIndResource(uint32_t type, int32_t index);
    static Handle Get1Resource(uint32_t type, int32_t id);
    static Handle Get1IndResource(uint32_t type, int32_t index);
    static int32_t Count1Resources(uint32_t type);
    static void GetResInfo(Handle resource, int32_t& id, uint32_t& type, unsigned char* name);
    static void ReleaseResource(Handle resource);

    static void HLock(Handle handle);
    static void HUnlock(Handle handle);
    static int32_t GetHandleSize(Handle handle);
};

} // namespace Corvel
