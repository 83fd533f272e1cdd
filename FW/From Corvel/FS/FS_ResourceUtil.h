// The framework's one door to the Resource Manager: opening resource files named by locators
// and reading their resources. Every call forwards to FS_ResourceUtilPAC. File references are
// the platform's 16-bit numbers widened (0 = no file); ids and indexes are cut to 16 bits on
// the way in; indexes count from 1.
#pragma once

#include "FS_Locator.h"
#include "HostTypes.h"

#include <cstddef>
#include <cstdint>

namespace Corvel {

class FS_ResourceUtil {
public:
    // Files
    // Opens the file's resources read-write or read-only and makes it the current resource
    // file; 0 when the file cannot be opened (ResError tells why).
    static int32_t OpenResourceFile(const FS_Locator& locator, bool writable);
    static void CloseResourceFile(int32_t fileRef); // 0 is ignored
    static int32_t CurrentResourceFile();
    static void UseResourceFile(int32_t fileRef);
    // Gives an existing file an empty resource fork; true on success.
    static bool CreateResourceFork(const FS_Locator& locator);
    // Result of the last Resource Manager call, 0 for none.
    static int32_t ResError();

    // Resources: searched from the current file down, or (the "1" forms) in the current file
    // only. A missing resource is a null handle.
    static Handle GetResource(uint32_t type, int32_t id);
    static Handle GetIndResource(uint32_t type, int32_t index);
    static Handle Get1Resource(uint32_t type, int32_t id);
    static Handle Get1IndResource(uint32_t type, int32_t index);
    static int32_t Count1Resources(uint32_t type);
    // name: a 256-byte buffer for the length-prefixed name.
    static void GetResInfo(Handle resource, int32_t& id, uint32_t& type, unsigned char* name);
    static void ReleaseResource(Handle resource);

    // Handles
    static void HLock(Handle handle);
    static void HUnlock(Handle handle);
    static int32_t GetHandleSize(Handle handle);
};

// A resource held locked while it is read, unlocked and released on every way out. A null
// handle, or one whose data was purged, reads as a missing resource.
class FS_LockedResource {
public:
    explicit FS_LockedResource(Handle handle);
    ~FS_LockedResource();
    FS_LockedResource(const FS_LockedResource&) = delete;
    FS_LockedResource& operator=(const FS_LockedResource&) = delete;

    bool Exists() const { return mHandle != nullptr && *mHandle != nullptr; }
    const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(*mHandle); }
    size_t Size() const; // 0 for a missing resource

private:
    Handle mHandle;
};

} // namespace Corvel
