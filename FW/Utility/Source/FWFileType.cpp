#include "FWFileType.h"

#include "FWPlatformUtils.h"
#include "FileReference.h"
#include "HostFiles.h"

void FWFileType::SetFileType(const FileReference& file, unsigned long type, unsigned long creator)
{
    FSSpec spec;
    if (FileReferenceToFSSpec(file, spec) != noErr)
        return;
    FInfo info;
    if (FSpGetFInfo(&spec, &info) != noErr)
        return;
    info.fdType = OSType(type);
    info.fdCreator = OSType(creator);
    FSpSetFInfo(&spec, &info);
}
