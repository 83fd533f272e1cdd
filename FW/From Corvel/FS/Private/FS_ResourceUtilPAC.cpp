// The host's Resource Manager behind FS_ResourceUtil. References, ids and indexes are 16-bit on
// the platform: wider values are cut to their low 16 bits, results widened with their sign.
#include "FS_ResourceUtilPAC.h"

#include "FS_UtilPAC.h"
#include "FWDynamicString.h"
#include "HostFiles.h"
#include "HostForks.h"
#include "HostMemory.h"
#include "HostPathNames.h"
#include "HostResources.h"

#include <cstring>
#include <string>

namespace Corvel {

namespace {

constexpr SInt8 kReadPermission = 1;
constexpr SInt8 kReadWritePermission = 3;

SInt16 platform16(int32_t value)
{
    return static_cast<SInt16>(static_cast<uint16_t>(value));
}

// The folder and name a locator gives, as a file record, whether or not the item exists.
FSSpec specOfNames(const FS_Locator& locator)
{
    FSSpec spec{};
    FWDynamicString text;
    FS_UtilPAC::LocatorToPathName(locator, text, false);
    const std::string path(text.GetCString(), text.GetCurrLength());
    const std::string folder = HostFolderOfPath(path);
    const std::string name = HostNameOfPath(path);
    if (folder.empty() || folder.size() >= sizeof spec.parentPath || name.size() > 255)
        return spec; // no folder: opening it answers a bad parameter
    std::memcpy(spec.parentPath, folder.c_str(), folder.size() + 1);
    spec.name[0] = static_cast<uint8_t>(name.size());
    std::memcpy(spec.name + 1, name.data(), name.size());
    return spec;
}

} // namespace

int32_t FS_ResourceUtilPAC::OpenResourceFile(const FS_Locator& locator, bool writable)
{
    FSSpec spec;
    // A file that is gone (deleted, or moved since the locator was made) is opened by its names
    // all the same, so that ResError tells why it failed rather than keeping an older code.
    if (FS_UtilPAC::LocatorToFSSpec(locator, spec) != 0)
        spec = specOfNames(locator);
    const SInt16 fileRef = FSpOpenResFile(&spec, writable ? kReadWritePermission : kReadPermission);
    if (::ResError() != noErr)
        return 0;
    return fileRef;
}

void FS_ResourceUtilPAC::CloseResourceFile(int32_t fileRef)
{
    if (fileRef != 0)
        CloseResFile(platform16(fileRef));
}

int32_t FS_ResourceUtilPAC::CurrentResourceFile()
{
    return CurResFile();
}

void FS_ResourceUtilPAC::UseResourceFile(int32_t fileRef)
{
    UseResFile(platform16(fileRef));
}

bool FS_ResourceUtilPAC::CreateResourceFork(const FS_Locator& locator)
{
    FSRef ref;
    if (FS_UtilPAC::LocatorToFSRef(locator, ref) != noErr)
        return false;
    HFSUniStr255 forkName;
    if (FSGetResourceForkName(&forkName) != noErr)
        return false;
    return FSCreateResourceFork(&ref, forkName.length, forkName.unicode, 0) == noErr;
}

int32_t FS_ResourceUtilPAC::ResError()
{
    return ::ResError();
}

Handle FS_ResourceUtilPAC::GetResource(uint32_t type, int32_t id)
{
    return ::GetResource(type, platform16(id));
}

Handle FS_ResourceUtilPAC::GetIndResource(uint32_t type, int32_t index)
{
    return ::GetIndResource(type, platform16(index));
}

Handle FS_ResourceUtilPAC::Get1Resource(uint32_t type, int32_t id)
{
    return ::Get1Resource(type, platform16(id));
}

Handle FS_ResourceUtilPAC::Get1IndResource(uint32_t type, int32_t index)
{
    return ::Get1IndResource(type, platform16(index));
}

int32_t FS_ResourceUtilPAC::Count1Resources(uint32_t type)
{
    return ::Count1Resources(type);
}

void FS_ResourceUtilPAC::GetResInfo(Handle resource, int32_t& id, uint32_t& type, unsigned char* name)
{
    SInt16 platformID = 0;
    ResType platformType = 0;
    ::GetResInfo(resource, &platformID, &platformType, name);
    id = platformID;
    type = platformType;
}

void FS_ResourceUtilPAC::ReleaseResource(Handle resource)
{
    ::ReleaseResource(resource);
}

void FS_ResourceUtilPAC::HLock(Handle handle)
{
    ::HLock(handle);
}

void FS_ResourceUtilPAC::HUnlock(Handle handle)
{
    ::HUnlock(handle);
}

int32_t FS_ResourceUtilPAC::GetHandleSize(Handle handle)
{
    return ::GetHandleSize(handle);
}

} // namespace Corvel
