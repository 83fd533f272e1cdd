#include "FS_ResourceUtil.h"

#include "FS_ResourceUtilPAC.h"

namespace Corvel {

int32_t FS_ResourceUtil::OpenResourceFile(const FS_Locator& locator, bool writable)
{
    return FS_ResourceUtilPAC::OpenResourceFile(locator, writable);
}

void FS_ResourceUtil::CloseResourceFile(int32_t fileRef)
{
    FS_ResourceUtilPAC::CloseResourceFile(fileRef);
}

int32_t FS_ResourceUtil::CurrentResourceFile()
{
    return FS_ResourceUtilPAC::CurrentResourceFile();
}

void FS_ResourceUtil::UseResourceFile(int32_t fileRef)
{
    FS_ResourceUtilPAC::UseResourceFile(fileRef);
}

bool FS_ResourceUtil::CreateResourceFork(const FS_Locator& locator)
{
    return FS_ResourceUtilPAC::CreateResourceFork(locator);
}

int32_t FS_ResourceUtil::ResError()
{
    return FS_ResourceUtilPAC::ResError();
}

Handle FS_ResourceUtil::GetResource(uint32_t type, int32_t id)
{
    return FS_ResourceUtilPAC::GetResource(type, id);
}

Handle FS_ResourceUtil::GetIndResource(uint32_t type, int32_t index)
{
    return FS_ResourceUtilPAC::GetIndResource(type, index);
}

Handle FS_ResourceUtil::Get1Resource(uint32_t type, int32_t id)
{
    return FS_ResourceUtilPAC::Get1Resource(type, id);
}

Handle FS_ResourceUtil::Get1IndResource(uint32_t type, int32_t index)
{
    return FS_ResourceUtilPAC::Get1IndResource(type, index);
}

int32_t FS_ResourceUtil::Count1Resources(uint32_t type)
{
    return FS_ResourceUtilPAC::Count1Resources(type);
}

void FS_ResourceUtil::GetResInfo(Handle resource, int32_t& id, uint32_t& type, unsigned char* name)
{
    FS_ResourceUtilPAC::GetResInfo(resource, id, type, name);
}

void FS_ResourceUtil::ReleaseResource(Handle resource)
{
    FS_ResourceUtilPAC::ReleaseResource(resource);
}

void FS_ResourceUtil::HLock(Handle handle)
{
    FS_ResourceUtilPAC::HLock(handle);
}

void FS_ResourceUtil::HUnlock(Handle handle)
{
    FS_ResourceUtilPAC::HUnlock(handle);
}

int32_t FS_ResourceUtil::GetHandleSize(Handle handle)
{
    return FS_ResourceUtilPAC::GetHandleSize(handle);
}

FS_LockedResource::FS_LockedResource(Handle handle) : mHandle(handle)
{
    if (mHandle != nullptr)
        FS_ResourceUtil::HLock(mHandle);
}

FS_LockedResource::~FS_LockedResource()
{
    if (mHandle == nullptr)
        return;
    FS_ResourceUtil::HUnlock(mHandle);
    FS_ResourceUtil::ReleaseResource(mHandle);
}

size_t FS_LockedResource::Size() const
{
    if (!Exists())
        return 0;
    const int32_t size = FS_ResourceUtil::GetHandleSize(mHandle);
    return size > 0 ? size_t(size) : 0;
}

} // namespace Corvel
