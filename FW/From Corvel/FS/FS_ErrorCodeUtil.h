// FS codes: the small error numbers the file services return, and their exceptions.
#pragma once

namespace Corvel {

enum FS_ErrorCode : int {
    kFS_NoError = 0,
    kFS_IOError = 1, // any failure without a code of its own
    kFS_InvalidPrivilege = 2,
    kFS_InvalidAccess = 3,
    kFS_BadPathName = 4,
    kFS_FileNotFound = 5,
    kFS_FileAlreadyOpen = 6,
    kFS_NotAFile = 7,
    kFS_DuplicateFile = 8,
    kFS_ReadError = 9,
    kFS_WriteError = 10,
    kFS_EndOfData = 11,
    kFS_DiskFull = 12,
    kFS_DirectoryNotFound = 13,
    kFS_DuplicateDirectory = 14, // no platform result maps here
    kFS_NotADirectory = 15,      // no platform result maps here
    kFS_DirectoryNotEmpty = 16,
    kFS_VolumeNotFound = 17,
};

class FS_ErrorCodeUtil {
public:
    // Throws the exception of an FS code (1 a plain FS_Exception, 2..17 their own classes);
    // 0 and unknown codes return without throwing.
    static void Throw(int code);
};

} // namespace Corvel
