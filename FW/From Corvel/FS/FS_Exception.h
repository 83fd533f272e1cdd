// The file-error family: FS_Exception for any input/output failure and one class per
// particular failure. Each passes a fixed description when made, which is not kept: a handler
// learns the failure from the class alone (Name).
#pragma once

#include "Env_ExceptionX.h"

namespace Corvel {

class FS_Exception : public Env_ExceptionX {
public:
    explicit FS_Exception(const char* description) { (void)description; }
    const char* Name() const override { return "FS_Exception"; }
};

#define CORVEL_FS_EXCEPTION(ClassName, description)                    \
    class ClassName : public FS_Exception {                            \
    public:                                                            \
        ClassName() : FS_Exception(description) {}                     \
        const char* Name() const override { return #ClassName; }       \
    }

CORVEL_FS_EXCEPTION(FS_InvalidPrivilegeX, "you don't have access privileges");
CORVEL_FS_EXCEPTION(FS_InvalidAccessX, "the file could not be opened because of an access violation");
CORVEL_FS_EXCEPTION(FS_BadPathNameX, "an illegal file name was used");
CORVEL_FS_EXCEPTION(FS_FileNotFoundX, "the file was not found");
CORVEL_FS_EXCEPTION(FS_FileAlreadyOpenX, "the file was already open");
CORVEL_FS_EXCEPTION(FS_NotAFileX, "the specified object was not a file");
CORVEL_FS_EXCEPTION(FS_DuplicateFileX, "there were two files with the same name");
CORVEL_FS_EXCEPTION(FS_ReadErrorX, "there was an error while reading");
CORVEL_FS_EXCEPTION(FS_WriteErrorX, "there was an error while writing");
CORVEL_FS_EXCEPTION(FS_EndOfDataX, "there was no more data");
CORVEL_FS_EXCEPTION(FS_DiskFullX, "the disk was full");
CORVEL_FS_EXCEPTION(FS_DirectoryNotFoundX, "the directory was not found");
CORVEL_FS_EXCEPTION(FS_DuplicateDirectoryX, "there were two directories with the same name");
CORVEL_FS_EXCEPTION(FS_NotADirectoryX, "the specified object was not a directory");
CORVEL_FS_EXCEPTION(FS_DirectoryNotEmptyX, "the directory was not empty");
CORVEL_FS_EXCEPTION(FS_VolumeNotFoundX, "the drive/network-node/volume was not found");

#undef CORVEL_FS_EXCEPTION

} // namespace Corvel
