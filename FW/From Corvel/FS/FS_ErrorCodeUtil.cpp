#include "FS_ErrorCodeUtil.h"

#include "FS_Exception.h"

namespace Corvel {

void FS_ErrorCodeUtil::Throw(int code)
{
    switch (code) {
    case kFS_IOError: throw FS_Exception("an I/O error occurred");
    case kFS_InvalidPrivilege: throw FS_InvalidPrivilegeX();
    case kFS_InvalidAccess: throw FS_InvalidAccessX();
    case kFS_BadPathName: throw FS_BadPathNameX();
    case kFS_FileNotFound: throw FS_FileNotFoundX();
    case kFS_FileAlreadyOpen: throw FS_FileAlreadyOpenX();
    case kFS_NotAFile: throw FS_NotAFileX();
    case kFS_DuplicateFile: throw FS_DuplicateFileX();
    case kFS_ReadError: throw FS_ReadErrorX();
    case kFS_WriteError: throw FS_WriteErrorX();
    case kFS_EndOfData: throw FS_EndOfDataX();
    case kFS_DiskFull: throw FS_DiskFullX();
    case kFS_DirectoryNotFound: throw FS_DirectoryNotFoundX();
    case kFS_DuplicateDirectory: throw FS_DuplicateDirectoryX();
    case kFS_NotADirectory: throw FS_NotADirectoryX();
    case kFS_DirectoryNotEmpty: throw FS_DirectoryNotEmptyX();
    case kFS_VolumeNotFound: throw FS_VolumeNotFoundX();
    default: return;
    }
}

} // namespace Corvel
