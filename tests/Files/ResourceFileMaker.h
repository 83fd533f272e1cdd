// Writes resource files for tests through the file services and the host's Resource Manager.
#pragma once

#include "FS_FileUtil.h"
#include "FS_ResourceFileRA.h"
#include "FS_ResourceUtil.h"
#include "FS_UtilPAC.h"
#include "HostMemory.h"
#include "HostResources.h"

#include <cstring>
#include <string>
#include <vector>

struct TestResource {
    ResType type;
    SInt16 id;
    std::string name;
    std::string data;
};

inline Corvel::FS_Locator LocatorOfPath(const std::string& path)
{
    Corvel::FS_Locator locator;
    Corvel::FS_UtilPAC::DotPathNameToLocator(FWDynamicString(path.c_str()), locator);
    return locator;
}

// Creates the file at path holding the resources; false if any step fails.
inline bool MakeResourceFile(const std::string& path, const std::vector<TestResource>& resources)
{
    Corvel::FS_Locator locator = LocatorOfPath(path);
    if (!Corvel::FS_FileUtil::Exists(locator) && Corvel::FS_UtilPAC::MakeFile(locator) != 0)
        return false;
    if (!Corvel::FS_ResourceUtil::CreateResourceFork(locator))
        return false;
    Corvel::FS_ResourceFileRA file(locator, true);
    if (file.OpenedResourceFile() == 0)
        return false;
    for (const TestResource& resource : resources) {
        Handle handle = NewHandle(Size(resource.data.size()));
        if (handle == nullptr)
            return false;
        if (!resource.data.empty())
            std::memcpy(*handle, resource.data.data(), resource.data.size());
        Str255 name;
        name[0] = static_cast<unsigned char>(resource.name.size());
        std::memcpy(name + 1, resource.name.data(), name[0]);
        AddResource(handle, resource.type, resource.id, name);
        if (ResError() != noErr)
            return false;
    }
    UpdateResFile(SInt16(file.OpenedResourceFile()));
    return ResError() == noErr;
}
